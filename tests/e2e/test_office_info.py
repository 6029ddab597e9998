"""The office information window (the "/show" job and the run without a
switch) of the real orbin.exe under Wine: the ring-shaped window with the
office data drawn on it, its countdown, its close label, moving it with the
mouse and its links. Looked at through screenshots of the virtual display."""
import os
import re
import shutil
import stat
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from harness import ROOT, EXE, WineTestCase, decode_wine_string, wait_for, wait_until, write_ansi

SHOTS = ROOT / "build" / "e2e-shots"
TWIPS_PER_PIXEL = 15  # Wine's screen at 96 dpi
WINDOW_PIXELS = 451   # 6765 twips
OFFICE_INI = ("[VexaDent]\nOfficeCode=3501234567\nOfficeName=  快樂牙醫診所  \n"
              "OfficeTel=02-2345-6789\nOfficeAddress=台北市中正區重慶南路一段1號\n"
              "Directory=c:\\vexa\\\n")
# Byte 26-27 month, 32-33 year of the monthly file's first line.
MONTHLY_LINE = "A" * 25 + "03" + "BBBB" + "05" + "C" * 8


def maker_defaults():
    """The link addresses the program is built with by default."""
    header = (ROOT / "src" / "officeinfo" / "maker_contact.h").read_text()
    return dict(re.findall(r'#define (ORBIN_\w+) "(.*)"', header))


class Screen:
    """One screenshot, as RGB pixels."""

    def __init__(self, display, name):
        SHOTS.mkdir(parents=True, exist_ok=True)
        self.path = display.screenshot(SHOTS / f"office_info_{name}.png")
        data = subprocess.run(["convert", str(self.path), "-depth", "8", "ppm:-"],
                              capture_output=True, check=True, timeout=30).stdout
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        self.width, self.height = int(m.group(1)), int(m.group(2))
        self.pixels = data[m.end():]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def count(self, box, test):
        x0, y0, x1, y1 = box
        return sum(1 for y in range(y0, y1) for x in range(x0, x1) if test(self.pixel(x, y)))

    def rightmost(self, box, test):
        x0, y0, x1, y1 = box
        found = [x for y in range(y0, y1) for x in range(x0, x1) if test(self.pixel(x, y))]
        return max(found) if found else None


def black(p):
    return p == (0, 0, 0)


def dark(p):
    return max(p) < 90


def yellow(p):
    return p[0] > 180 and p[1] > 180 and p[2] < 110


def blue(p):
    return p[2] > 150 and p[2] - max(p[0], p[1]) > 60


def red(p):
    return p[0] > 150 and p[0] - max(p[1], p[2]) > 60


def light(p):
    return min(p) > 150


def twips(left, top, right, bottom):
    """A box in the window, from twips to pixels."""
    return tuple(round(v / TWIPS_PER_PIXEL) for v in (left, top, right, bottom))


class OfficeWindowCase(WineTestCase):
    """Runs with "c:\\vexa.ini", the installation "c:\\vexa\\" holding
    "orbin.exe", the main program and a monthly file, in the Wine prefix."""

    def setUp(self):
        drive_c = self.wine.drive_c
        self.install = drive_c / "vexa"
        self.install.mkdir(exist_ok=True)
        self.addCleanup(shutil.rmtree, self.install, ignore_errors=True)
        shutil.copy(EXE, self.install / "orbin.exe")
        main_program = self.install / "vexa.exe"
        main_program.write_bytes(b"MZ")
        stamp = time.mktime((2005, 3, 17, 9, 5, 7, 0, 0, -1))
        os.utime(main_program, (stamp, stamp))
        write_ansi(self.install / "mth150", MONTHLY_LINE + "\n")
        (self.install / "mth999").write_bytes(b"x" * 20)  # not longer than 20 bytes
        self.ini = drive_c / "vexa.ini"
        self.addCleanup(lambda: self.ini.unlink(missing_ok=True))
        write_ansi(self.ini, OFFICE_INI)
        self.programs = []
        self.addCleanup(self._end_programs)

    def _end_programs(self):
        for program in self.programs:
            program.kill()

    def start(self, argument_text, debug=""):
        program = self.wine.start(argument_text, cwd=self.install, debug=debug)
        self.programs.append(program)
        display = self.wine.display
        [window] = wait_until(lambda: display.program_windows(program, "^orbin$"), bool, 30,
                              what="the office window", interval=0.05,
                              show=lambda found: f"{found}, the program {program.state()}")
        return program, window

    def wait_screen(self, name, problems, timeout=30):
        """The first screenshot on which `problems(screen)` finds nothing
        amiss (the window drawn as far as the case needs); on timeout the
        failure names what the last one still lacked."""
        return wait_until(lambda: (screen := Screen(self.wine.display, name), problems(screen)),
                          lambda sample: not sample[1], timeout, what=f"the office window ({name})",
                          show=lambda sample: f"{sample[1]} on {sample[0].path}")[0]

    def wait_label_drawn(self, window, name):
        """Waits until the close label shows on the screen."""
        return self.wait_screen(name, lambda screen: [] if screen.count(
            self.close_label_box(window), red) > 20 else ["the close label in red"])

    def geometry(self, window):
        out = self.wine.display.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=") for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def in_window(self, window, box):
        x, y, _, _ = self.geometry(window)
        return (box[0] + x, box[1] + y, box[2] + x, box[3] + y)

    def click(self, window, at, button=1):
        x, y, _, _ = self.geometry(window)
        display = self.wine.display
        display.xdotool("mousemove", "--sync", str(x + at[0]), str(y + at[1]))
        display.xdotool("click", str(button))

    def close_label_box(self, window):
        """Where `Label1` ("關閉" and the countdown) may show, on screen."""
        return self.in_window(window, twips(4680, 3960, 6400, 4290))

    def ring_problems(self, screen, window):
        """What keeps the screen from showing the ring-shaped window: [] if nothing."""
        x, y, width, height = self.geometry(window)
        if (width, height) != (WINDOW_PIXELS, WINDOW_PIXELS):
            return [f"the window is {width} x {height}"]
        problems = []
        # Centred on the 1024 x 768 screen.
        if abs(x - (1024 - width) / 2) > 1 or abs(y - (768 - height) / 2) > 1:
            problems.append(f"the window at {x}, {y}, not centred")
        centre = (x + width // 2, y + height // 2)
        outside = [centre, (x + 2, y + 2), (x + width - 3, y + 2), (x + 2, y + height - 3),
                   (x + width - 3, y + height - 3), (centre[0] + 60, centre[1]),
                   (x + 4, centre[1])]
        problems += [f"{point} outside the ring is {screen.pixel(*point)}"
                     for point in outside if not black(screen.pixel(*point))]
        # On the ring, away from every text: the window's background.
        ring = [(centre[0], y + 420), (centre[0] - 100, centre[1] + 100),
                (centre[0] + 75, centre[1]), (x + 20, centre[1] + 60)]
        problems += [f"{point} on the ring is {screen.pixel(*point)}"
                     for point in ring if not light(screen.pixel(*point))]
        return problems

    def assert_ring(self, screen, window):
        self.assertEqual(self.ring_problems(screen, window), [])


def close_label_captions(program):
    """The captions `Label1` was drawn with, in order, a repeat left out
    (the run must have asked for Wine's "font" channel)."""
    captions = [text for text, _ in drawn_texts(program) if re.fullmatch(r"關閉(   \d+)?", text)]
    return [c for i, c in enumerate(captions) if i == 0 or captions[i - 1] != c]


def drawn_texts(program):
    """(text, (x, y)) of every text the program drew, as Wine's "font"
    channel traces its text output (the run must have asked for it)."""
    calls = re.findall(r'NtGdiExtTextOutW [^,]+, (-?\d+), (-?\d+), [0-9a-f]+, '
                       r'(?:\(null\)|\([^)]*\)-\([^)]*\)), L"(.*)", \d+, ', program.stderr())
    return [(decode_wine_string(text), (int(x), int(y))) for x, y, text in calls]


class ShowsTheRing(OfficeWindowCase):
    # (what, text, where it is drawn: window pixels, i.e. its twips / 15)
    TEXTS = [
        ("office code, raised", "3501234567", (153, 33)),
        ("its light layer", "3501234567", (152, 32)),
        ("its shadow layer", "3501234567", (154, 34)),
        ("telephone and address", "02-2345-6789    台北市中正區重慶南路一段1號", (53, 120)),
        ("installation directory", "c:\\vexa\\", (30, 173)),
        ("main program", "vexa.exe", (27, 200)),
        ("main program's date, Taiwanese year", "94/3/17 9:5:7", (23, 227)),
        ("newest monthly file", "mth150 (94年03月)", (40, 280)),
    ]

    # (what, box in twips, colour test, drawn with the prepared installation)
    BANDS = [
        ("raised office code", (2200, 400, 5000, 900), yellow),
        ("office name in Label3", (1200, 1080, 5600, 1635), dark),
        ("telephone and address", (800, 1800, 6000, 2100), dark),
        ("main program date", (350, 3400, 2300, 3700), blue),
        ("monthly file", (600, 4200, 3000, 4500), blue),
    ]

    def bands_missing(self, screen, window):
        missing = [what for what, box, test in self.BANDS
                   if screen.count(self.in_window(window, twips(*box)), test) <= 20]
        if screen.count(self.close_label_box(window), red) <= 20:
            missing.append("the close label")  # a control: it may paint after the window
        return missing

    def test_show_draws_the_office_data_on_a_ring(self):
        program, window = self.start("/show", debug="+font")
        screen = self.wait_screen("show", lambda screen: self.ring_problems(screen, window)
                                  + self.bands_missing(screen, window))
        self.assert_ring(screen, window)
        drawn = drawn_texts(program)
        for what, text, at in self.TEXTS:
            with self.subTest(what):
                self.assertIn((text, at), drawn)
        self.assertIn("快樂牙醫診所", [text for text, _ in drawn], "the office name, trimmed")
        # In their colours:
        for what, box, test in self.BANDS:
            with self.subTest(what):
                self.assertGreater(screen.count(self.in_window(window, twips(*box)), test), 20)
        self.assertGreater(screen.count(self.close_label_box(window), red), 20)
        self.assertTrue(program.running())

    def test_without_office_data_those_texts_stay_empty(self):
        self.ini.unlink()
        (self.install / "vexa.exe").unlink()
        for name in ("mth150", "mth999"):
            (self.install / name).unlink()
        program, window = self.start("/show")
        directory = twips(450, 2600, 2300, 2900)
        # The installation directory is still shown: the default is c:\vexa\.
        # Drawn with every other text, so once it and the close label (a
        # control, like the office name's) show, the others would too.
        screen = self.wait_screen("show_empty", lambda screen: self.ring_problems(screen, window) + (
            [] if screen.count(self.in_window(window, directory), blue) > 20
            else ["the installation directory in blue"]) + (
            [] if screen.count(self.close_label_box(window), red) > 20
            else ["the close label"]))
        self.assert_ring(screen, window)
        for what, box, test in self.BANDS:
            with self.subTest(what):
                self.assertEqual(screen.count(self.in_window(window, twips(*box)), test), 0)

    def test_no_switch_shows_the_same_window_with_the_full_countdown(self):
        program, window = self.start("", debug="+font")
        office_name = twips(1200, 1080, 5600, 1635)
        screen = self.wait_screen("no_switch", lambda screen: self.ring_problems(screen, window) + (
            [] if screen.count(self.in_window(window, office_name), dark) > 20
            else ["the office name"]))
        self.assert_ring(screen, window)
        # The first tick leaves 59 seconds: the countdown started at 60.
        wait_until(lambda: close_label_captions(program), lambda c: "關閉   59" in c, 30,
                   what="the close label after the first tick")
        self.assertTrue(program.running(), "a 60-second countdown is still running")


class Countdown(OfficeWindowCase):
    def test_the_window_ends_the_program_after_its_countdown(self):
        for argument_text, seconds in [("/show2", 2), ("/show10/", 3), ("/show2.5", 2)]:
            with self.subTest(argument_text):
                started = time.monotonic()
                program, window = self.start(argument_text, debug="+font")
                shown = time.monotonic()
                self.assertEqual(program.wait(seconds + 15), 0)
                ended = time.monotonic()
                # One tick a second, the last one at 0 unloads the window.
                self.assertEqual(close_label_captions(program),
                                 ["關閉"] + [f"關閉   {n}" for n in range(seconds - 1, -1, -1)])
                # Its timer starts after the program did and before the
                # window showed; ticks come late on a loaded machine, never early.
                self.assertGreater(ended - started, seconds - 0.6)
                self.assertLess(ended - shown, seconds + 3)

    def test_the_close_label_counts_down(self):
        # From 12: "關閉", then "關閉   11" and "關閉   10" for a second each,
        # then one digit fewer from "關閉   9" on.
        program, window = self.start("/show12", debug="+font")
        box = self.close_label_box(window)
        widths = []  # how far the red label reaches on each screenshot

        def sample():
            right = Screen(self.wine.display, "countdown").rightmost(box, red)
            if right is not None:
                widths.append(right - box[0])
            return widths

        # On the screen the label narrows by a digit's width as it goes from 10 to 9.
        wait_until(sample, lambda w: any(a - b >= 5 for a, b in zip(w, w[1:])), 30,
                   what="the close label to lose a digit", interval=0.05)
        self.assertEqual(close_label_captions(program)[:4],
                         ["關閉", "關閉   11", "關閉   10", "關閉   9"])


class Closing(OfficeWindowCase):
    def test_a_click_on_close_ends_at_once(self):
        program, window = self.start("/show10", debug="+font")
        self.wait_label_drawn(window, "close")
        self.click(window, (round(4680 / TWIPS_PER_PIXEL) + 8, round(3960 / TWIPS_PER_PIXEL) + 8))
        clicked = time.monotonic()
        self.assertEqual(program.wait(15), 0)
        self.assertLess(time.monotonic() - clicked, 3, "at once, even on a busy machine")
        # The countdown had seconds left: the click ended the program.
        captions = close_label_captions(program)
        self.assertNotIn("關閉   0", captions)
        self.assertGreaterEqual(len(captions), 1)


class Moving(OfficeWindowCase):
    # (where the press lands, in window pixels; the button)
    PRESSES = [
        ("the window, left button", (225, 420), 1),
        ("the office name, left button", (120, 90), 1),
        ("the picture, left button", (round(4560 / 15) + 20, round(2400 / 15) + 20), 1),
        ("the window, right button", (225, 420), 3),
    ]

    def test_any_button_on_the_window_moves_it(self):
        program, window = self.start("/show")
        display = self.wine.display
        for what, (px, py), button in self.PRESSES:
            with self.subTest(what):
                x, y, _, _ = self.geometry(window)
                display.xdotool("mousemove", "--sync", str(x + px), str(y + py))
                display.xdotool("mousedown", str(button))
                # The window follows the mouse step by step. The system may
                # take a motion before its move has begun (the press is still
                # being handled); a hand on the mouse sends more, so each
                # look nudges the pointer off its place and back: the window
                # keeps the same offset to the press and ends where it must.
                for step in range(1, 5):
                    pointer = (str(x + px - 10 * step), str(y + py - 5 * step))
                    nudge = (str(x + px - 10 * step + 1), pointer[1])

                    def place_after_motion():
                        display.xdotool("mousemove", *nudge, "mousemove", *pointer)
                        return self.geometry(window)[:2]

                    at = (x - 10 * step, y - 5 * step)
                    wait_until(place_after_motion, lambda place: place == at, 15,
                               what=f"the window at {at}")
                display.xdotool("mouseup", str(button))
                if button != 1:
                    # The move ends as a caption drag does: with the left button.
                    display.xdotool("click", "1")
                self.assertEqual(self.geometry(window)[:2], (x - 40, y - 20))
        self.assertTrue(program.running())


class Links(OfficeWindowCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Wine hands web addresses to the first program of this list.
        cls.record_dir = Path(tempfile.mkdtemp(prefix="orbin-e2e-links-"))
        cls.recorder = cls.record_dir / "browser.sh"
        cls.recorder.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{cls.record_dir}/opened"\n')
        cls.recorder.chmod(cls.recorder.stat().st_mode | stat.S_IEXEC)
        cls.wine.call("reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers",
                      "/d", cls.recorder, "/f", timeout=60)

    @classmethod
    def tearDownClass(cls):
        cls.wine.call("reg", "delete", r"HKCU\Software\Wine\WineBrowser", "/f", timeout=60,
                      check=False)
        shutil.rmtree(cls.record_dir, ignore_errors=True)

    def test_a_link_label_opens_its_address(self):
        defaults = maker_defaults()
        opened = self.record_dir / "opened"
        for index, (left, key) in enumerate([(1440, "ORBIN_MAKER_WEB_ADDRESS"),
                                              (3720, "ORBIN_SERVER_ADDRESS")]):
            with self.subTest(index=index):
                opened.unlink(missing_ok=True)
                program, window = self.start("/show")
                link = self.in_window(window, twips(left, 4680, left + 1800, 4980))
                self.wait_screen(f"link_{index}", lambda screen: [] if screen.count(link, blue) > 20
                                 else ["the link in blue"])
                self.click(window, (round(left / TWIPS_PER_PIXEL) + 4, round(4680 / 15) + 8))
                lines = wait_for(lambda: opened.exists() and opened.read_text().split(), 15,
                                 what="the browser to be started")
                # The shell hands the address on in its canonical form.
                self.assertIn(defaults[key].rstrip("/") + "/", lines)
                self.assertTrue(program.running(), "a link leaves the window open")
                program.kill()


if __name__ == "__main__":
    unittest.main()

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

from harness import ROOT, EXE, WineTestCase, decode_wine_string, wait_for, write_ansi

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
        [window] = wait_for(lambda: display.find_windows("^orbin$"), 30, 0.05,
                            what="the office window")
        return program, window

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

    def assert_ring(self, screen, window):
        x, y, width, height = self.geometry(window)
        self.assertEqual((width, height), (WINDOW_PIXELS, WINDOW_PIXELS))
        # Centred on the 1024 x 768 screen.
        self.assertLessEqual(abs(x - (1024 - width) / 2), 1)
        self.assertLessEqual(abs(y - (768 - height) / 2), 1)
        centre = (x + width // 2, y + height // 2)
        outside = [centre, (x + 2, y + 2), (x + width - 3, y + 2), (x + 2, y + height - 3),
                   (x + width - 3, y + height - 3), (centre[0] + 60, centre[1]),
                   (x + 4, centre[1])]
        for point in outside:
            with self.subTest(outside=point):
                self.assertTrue(black(screen.pixel(*point)), screen.pixel(*point))
        # On the ring, away from every text: the window's background.
        ring = [(centre[0], y + 420), (centre[0] - 100, centre[1] + 100),
                (centre[0] + 75, centre[1]), (x + 20, centre[1] + 60)]
        for point in ring:
            with self.subTest(ring=point):
                self.assertTrue(light(screen.pixel(*point)), screen.pixel(*point))


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

    def test_show_draws_the_office_data_on_a_ring(self):
        program, window = self.start("/show", debug="+font")
        time.sleep(0.5)
        screen = Screen(self.wine.display, "show")
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
        time.sleep(0.5)
        screen = Screen(self.wine.display, "show_empty")
        self.assert_ring(screen, window)
        for what, box, test in self.BANDS:
            with self.subTest(what):
                self.assertEqual(screen.count(self.in_window(window, twips(*box)), test), 0)
        # The installation directory is still shown: the default is c:\vexa\.
        self.assertGreater(screen.count(self.in_window(window, twips(450, 2600, 2300, 2900)), blue),
                           20)

    def test_no_switch_shows_the_same_window_with_the_full_countdown(self):
        program, window = self.start("")
        time.sleep(2.5)
        screen = Screen(self.wine.display, "no_switch")
        self.assert_ring(screen, window)
        self.assertGreater(screen.count(self.in_window(window, twips(1200, 1080, 5600, 1635)), dark),
                           20)
        self.assertTrue(program.running(), "a 60-second countdown is still running")


class Countdown(OfficeWindowCase):
    def test_the_window_ends_the_program_after_its_countdown(self):
        for argument_text, seconds in [("/show2", 2), ("/show10/", 3), ("/show2.5", 2)]:
            with self.subTest(argument_text):
                program, window = self.start(argument_text)
                shown = time.monotonic()
                self.assertEqual(program.wait(15), 0)
                elapsed = time.monotonic() - shown
                self.assertGreater(elapsed, seconds - 0.6)
                self.assertLess(elapsed, seconds + 0.8)

    def test_the_close_label_counts_down(self):
        program, window = self.start("/show10/")
        box = self.close_label_box(window)
        time.sleep(0.3)  # painted, well before the first tick
        before = Screen(self.wine.display, "countdown_start").rightmost(box, red)
        time.sleep(1.4)
        after = Screen(self.wine.display, "countdown_2").rightmost(box, red)
        # "關閉" grew to "關閉   2".
        self.assertGreater(after - before, 20)
        self.assertEqual(program.wait(10), 0)


class Closing(OfficeWindowCase):
    def test_a_click_on_close_ends_at_once(self):
        program, window = self.start("/show")
        time.sleep(0.3)
        self.click(window, (round(4680 / TWIPS_PER_PIXEL) + 8, round(3960 / TWIPS_PER_PIXEL) + 8))
        clicked = time.monotonic()
        self.assertEqual(program.wait(10), 0)
        self.assertLess(time.monotonic() - clicked, 0.8)


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
                for step in range(1, 5):
                    time.sleep(0.05)
                    display.xdotool("mousemove", str(x + px - 10 * step), str(y + py - 5 * step))
                time.sleep(0.2)
                display.xdotool("mouseup", str(button))
                if button != 1:
                    # The move ends as a caption drag does: with the left button.
                    display.xdotool("click", "1")
                moved = wait_for(lambda: self.geometry(window)[:2] == (x - 40, y - 20) or None,
                                 3, what=f"the window at {(x - 40, y - 20)}, now "
                                         f"{self.geometry(window)[:2]}")
                self.assertTrue(moved)
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
                time.sleep(0.3)
                self.click(window, (round(left / TWIPS_PER_PIXEL) + 4, round(4680 / 15) + 8))
                lines = wait_for(lambda: opened.exists() and opened.read_text().split(), 15,
                                 what="the browser to be started")
                # The shell hands the address on in its canonical form.
                self.assertIn(defaults[key].rstrip("/") + "/", lines)
                self.assertTrue(program.running(), "a link leaves the window open")
                program.kill()


if __name__ == "__main__":
    unittest.main()

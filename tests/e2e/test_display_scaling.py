"""The program on a screen at 144 dpi (150 % display scaling), in a Wine
prefix of its own: every window lays out by the screen's pixels per inch,
so its controls are 1.5 times their 96-dpi pixel sizes from the twips
tables, and nothing is cut off by its window. The manifest declares the
program aware of the system's DPI; a program that is not is laid out at
96 dpi and stretched by the system (Wine 10 does so, as Windows does),
which shows here as sizes one rounding off and an office window region
two thirds its size. Looked at through the layout probe, which reads the
windows from outside."""
import json
import shutil
import subprocess
import unittest

from harness import EXE, Wine, WineTestCase, wait_for, write_ansi
from reader_sim import ReaderFolder

DPI = 144
TWIPS_PER_PIXEL = 1440 / DPI


def px(twips):
    """Pixels at 144 dpi, rounded as the program rounds (halves away from 0)."""
    value = twips / TWIPS_PER_PIXEL
    return int(value + 0.5) if value >= 0 else -int(-value + 0.5)


def design(left, top, width, height):
    """A design rectangle in twips as [x, y, width, height] pixels."""
    return [px(left), px(top), px(width), px(height)]


def inside(rect, width, height):
    x, y, w, h = rect
    return x >= 0 and y >= 0 and x + w <= width and y + h <= height


class ScaledDisplay(WineTestCase):
    """One prefix for the module, its screen at 144 dpi: Wine reads
    "LogPixels" when the prefix's server starts."""

    @classmethod
    def setUpClass(cls):
        if not EXE.exists():
            raise AssertionError(f"{EXE} is not built")
        cls.wine = Wine(name="dpi144")
        cls.wine.call("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                      "REG_DWORD", "/d", str(DPI), "/f")
        for option in ("-k", "-p"):  # this prefix's own server, started again
            subprocess.run([*cls.wine.runner, cls.wine.server, option], env=cls.wine.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    @classmethod
    def tearDownClass(cls):
        cls.wine.stop()

    def start(self, argument_text, cwd, exe=None):
        program = self.wine.start(argument_text, cwd=cwd, exe=exe)
        self.addCleanup(program.kill)
        windows = wait_for(lambda: self.wine.display.xdotool(
            "search", "--onlyvisible", "--pid", str(program.pid), check=False).split(), 30,
            what="the program's window")
        return program, windows[0]

    def layout(self, window_class, fonts="-"):
        found = json.loads(self.wine.probe("layout_probe", "window", window_class, fonts))
        self.assertEqual(found["dpi"], DPI)
        found["by_id"] = {c["id"]: c for c in found["controls"]}
        return found

    def assert_fits(self, control, width, height=None):
        """The control's text on one line fits `width` (and `height`)."""
        text_width, text_height = control["text_size"]
        self.assertLessEqual(text_width, width, f"{control['text']!r} fits across: {control}")
        if height is not None:
            self.assertLessEqual(text_height, height, f"{control['text']!r} fits down: {control}")

    def test_entry_window_text_box(self):
        work = self.work_dir()
        shutil.copy(EXE, work / "orbin.exe")
        self.start("/L1200/T300", work, work / "orbin.exe")
        # Text1 and "X" in MS Sans Serif 18 and 8.25 points bold, Latin.
        found = self.layout("chg2eng", "1:MS_Sans_Serif:18:1:A,2:MS_Sans_Serif:8.25:1:A")
        x, y, width, height = found["client"]
        self.assertEqual(found["window"][:2], [px(1200), px(300)])
        self.assertEqual(width, px(4065), "the design client width")
        text1, command2 = found["by_id"][1], found["by_id"][2]
        self.assertEqual(text1["rect"], design(120, 120, 3375, 615))
        self.assertEqual(command2["rect"], design(3600, 240, 375, 375))
        for control in (text1, command2):
            self.assertTrue(inside(control["rect"], width, height), control)
        # A line of the box's font inside its border.
        self.assert_fits(text1, text1["rect"][2] - 4, text1["rect"][3] - 4)
        self.assert_fits(command2, command2["rect"][2] - 4, command2["rect"][3] - 4)

    def test_office_ring_and_its_region(self):
        self.start("/show", self.work_dir())
        found = self.layout("frmCustom")
        side = px(6525 + 2 * 120)
        self.assertEqual(found["window"][2:], [side, side])
        # The ring: the outer circle 6525 twips across at the 120-twip
        # margin (the region's ellipse may be a pixel short), the hole in
        # the middle left out.
        box = found["region"]["box"]
        self.assertEqual(box[:2], [px(120), px(120)])
        for extent in box[2:]:
            self.assertLessEqual(abs(extent - 6525 / TWIPS_PER_PIXEL), 2, box)
        self.assertFalse(found["region"]["centre_inside"], "the hole")
        for control in found["controls"]:
            with self.subTest(control=control["text"] or control["id"]):
                self.assertTrue(inside(control["rect"], side, side), control)
                if control["id"] != 3:  # the office name spans the window; its text is centred
                    self.assertTrue(control["in_region"], f"on the ring: {control}")

    # Design rectangles of prt2 in twips of the client area (frames' corners
    # added), by control id.
    FRAME1, FRAME2, FRAME3, FRAME4 = (120, 120), (3000, 120), (120, 2640), (120, 3960)
    PRT2 = {
        10: (120, 120, 2775, 2415), 11: (3000, 120, 3615, 3975), 12: (120, 2640, 2775, 1335),
        13: (120, 3960, 6495, 2055), 14: (120 + 240, 120 + 2040, 2295, 255),
        15: (3000 + 480, 120 + 240, 1575, 375), 16: (3000 + 120, 120 + 3480, 735, 375),
        19: (960, 6120, 1935, 285), 20: (120, 6120, 1215, 255), 23: (5280, 120, 1335, 495),
        24: (4680, 0, 735, 495), 100: (120 + 600, 120 + 600, 1695, 375),
        101: (120 + 600, 120 + 240, 2055, 375), 120: (3000 + 120, 120 + 600, 1215, 255),
        130: (3000 + 480, 120 + 600, 1095, 285), 174: (120 + 1920, 3960 + 240 + 360 * 4, 4455, 285),
    }
    # Beyond the client width by design: the printer list, the picture and
    # the two print buttons.
    PRT2_HIDDEN = {21, 22, 25, 26}
    # Captions the design's widths cannot hold in the system's message font
    # at any DPI (96 dpi cuts them the same way): the second document kind
    # and the quality hint.
    PRT2_CUT_BY_DESIGN = {101, 14}

    def test_printer_settings_window(self):
        work = self.work_dir()
        write_ansi(work / "VexaSys.ini", "[VexaDent]\nDoctorName2=林醫師\n")
        self.start("/Printer/", work)
        found = self.layout("orbin.prt2", "23:MS_Sans_Serif:12:1")
        _, _, width, height = found["client"]
        self.assertEqual([width, height], [px(6720), px(6465)])
        controls = found["by_id"]
        for control_id, rect in self.PRT2.items():
            with self.subTest(control=control_id):
                self.assertEqual(controls[control_id]["rect"], design(*rect))
        check_box = found["check_box"]
        for control in found["controls"]:
            if control["id"] in self.PRT2_HIDDEN:
                continue
            with self.subTest(control=control["text"] or control["id"]):
                x, y, w, h = control["rect"]
                self.assertTrue(inside(control["rect"], width, height), control)
                if not control["text"] or control["id"] in self.PRT2_CUT_BY_DESIGN:
                    continue
                if control["class"] == "Static":
                    # A label under a box shows up to the box's left edge.
                    covering = [c["rect"][0] for c in found["controls"] if c["class"] == "Edit"
                                and c["rect"][1] == y and x < c["rect"][0] < x + w]
                    self.assert_fits(control, min([x + w] + covering) - x, h)
                elif 100 <= control["id"] < 110 or control["id"] in (15, 16):  # check boxes
                    self.assert_fits(control, w - check_box - 4, h)
                elif control["id"] in (23, 24):  # "存檔", "load"
                    self.assert_fits(control, w - 6, h - 6)
                else:  # a frame's caption, on its top edge
                    self.assert_fits(control, w - 16)

    def test_reader_progress_window(self):
        # The authentication call takes long, the banner "COM: 1  進行認證"
        # shown meanwhile.
        folder = ReaderFolder(self.work_dir(), {1: {"hisGetCardStatus": "1,0", "csVerifySAMDC": "0",
                                                    "csVerifySAMDCDelay": "20000"}})
        self.start("/ReadF4", folder.folder, folder.exe)
        fonts = "102:MS_Sans_Serif:13.5:1,101:MS_Sans_Serif:8.25:1"
        found = wait_for(lambda: (lambda f: f if f["by_id"][102]["text"].endswith("進行認證") else None)(
            self.layout("orbin.lookdc", fonts)), 30, what="the authentication banner")
        _, _, width, height = found["client"]
        self.assertEqual([width, height], [px(3840), px(450)])
        label, button = found["by_id"][102], found["by_id"][101]
        self.assertEqual(label["rect"], design(0, 75, 3615, 495))
        self.assertEqual(button["rect"], design(3600, -10, 255, 255))
        # The label reaches below the client area by design: its line of
        # text must not, nor run under the button.
        self.assert_fits(label, button["rect"][0] - label["rect"][0], height - label["rect"][1])
        self.assert_fits(button, button["rect"][2] - 4, button["rect"][3] - 4)


if __name__ == "__main__":
    unittest.main()

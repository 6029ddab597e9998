"""Start-up and dispatch of the real orbin.exe under Wine: the "/HH/" and
"/VV/" jobs on the cups-pdf printer, the error box, the printer library
loaded only by jobs that print, letter case of switches,
and the module routines through the real platform calls."""
import unittest

from harness import PrintJobs, WineTestCase, pdf_pages, wait_until, windows_path, write_ansi


class PrintResultFile(WineTestCase):
    def test_prints_the_lines_in_order_on_one_landscape_page(self):
        work = self.work_dir()
        write_ansi(work / "orbin.txt", "IC;11B;-;\n診所病歷\n")
        jobs = PrintJobs()
        self.assertEqual(self.wine.run("/HH/", cwd=work).process.returncode, 0)
        [pdf] = jobs.new(expect=1)
        [page] = pdf_pages(pdf)
        self.assertTrue(page.landscape)
        self.assertEqual([w[0] for w in page.words], ["IC;11B;-;", "診所病歷"])
        first, second = page.words
        self.assertLess(first[2], second[2], "the second line lies below the first")

    def test_a_long_file_goes_on_over_landscape_pages_at_twelve_points(self):
        work = self.work_dir()
        lines = [f"第 {n:03d} 行 IC;{n}B;-;" for n in range(1, 151)]
        write_ansi(work / "orbin.txt", "\n".join(lines) + "\n")
        jobs = PrintJobs()
        self.assertEqual(self.wine.run("/HH/", cwd=work).process.returncode, 0)
        [pdf] = jobs.new(expect=1)
        pages = pdf_pages(pdf)
        self.assertGreater(len(pages), 1)
        self.assertTrue(all(page.landscape for page in pages))
        printed = [w[0] for page in pages for w in page.words if w[0].startswith("IC;")]
        self.assertEqual(printed, [f"IC;{n}B;-;" for n in range(1, 151)], "every line, in order")
        for page in pages:
            tops = [w[2] for w in page.words if w[0].startswith("IC;")]
            self.assertEqual(tops, sorted(tops), "down the page")
            self.assertLessEqual(max(w[4] for w in page.words), page.height + 0.5)
        # 12-point text: a line's glyph box is about 12 points tall, whichever
        # stock font the printer driver offers.
        heights = [w[4] - w[2] for w in pages[0].words if w[0].startswith("IC;")]
        self.assertTrue(9 <= min(heights) and max(heights) <= 15, heights[:5])

    def test_missing_file_shows_the_error_box_naming_it_and_prints_nothing(self):
        work = self.work_dir()
        jobs = PrintJobs()
        program = self.wine.start("/HH/", cwd=work, debug="+msgbox")
        self.assertEqual(self.answer_error_box(program, "無法開啟檔案", windows_path(work / "orbin.txt")), 1)
        self.assertEqual(jobs.new(expect=0), [])


class Portrait(WineTestCase):
    def test_portrait_prints_nothing_and_ends(self):
        jobs = PrintJobs()
        self.assertEqual(self.wine.run("/VV/", cwd=self.work_dir()).process.returncode, 0)
        self.assertEqual(jobs.new(expect=0), [])


class WithoutThePrinterLibrary(WineTestCase):
    """Wine told not to load winspool.drv: a job that never prints does not
    miss it; a print job stops in the error box naming it."""

    def start(self, argument_text, work, debug=""):
        env = self.wine.env
        overrides = ";".join(filter(None, [env.get("WINEDLLOVERRIDES"), "winspool.drv=d"]))
        self.wine.env = {**env, "WINEDLLOVERRIDES": overrides}
        try:
            return self.wine.start(argument_text, cwd=work, debug=debug)
        finally:
            self.wine.env = env

    def test_portrait_runs_without_it(self):
        program = self.start("/VV/", self.work_dir())
        self.assertEqual(program.wait(60), 0, program.stderr())

    def test_printing_shows_the_error_box_naming_it_and_prints_nothing(self):
        work = self.work_dir()
        write_ansi(work / "orbin.txt", "IC;11B;-;\n")
        jobs = PrintJobs()
        program = self.start("/HH/", work, debug="+msgbox")
        self.assertEqual(self.answer_error_box(program, "印表機程式庫", "winspool.drv"), 1)
        self.assertEqual(jobs.new(expect=0), [])


class SwitchLetterCase(WineTestCase):
    def test_a_switch_in_another_letter_case_shows_the_office_window_instead(self):
        work = self.work_dir()
        write_ansi(work / "orbin.txt", "IC;11B;-;\n")
        jobs = PrintJobs()
        program = self.wine.start("/hh/", cwd=work)
        self.addCleanup(program.kill)
        display = self.wine.display
        [window] = wait_until(lambda: display.program_windows(program, "^orbin$"), bool, 30,
                              what="a window of the program")
        size = display.xdotool("getwindowgeometry", window).split("Geometry: ")[1]
        self.assertEqual(size, "451x451", "the round office information window")
        self.assertTrue(program.running())
        self.assertEqual(jobs.new(expect=0), [])


class ModuleRoutines(WineTestCase):
    def test_read_ini_key_through_the_profile_call(self):
        work = self.work_dir()
        ini = work / "VexaSys.ini"
        write_ansi(ini, "[VexaDent]\nLong=" + "x" * 120 + "\nWide=診所病歷\nEmpty=\n"
                   "[Other]\nWide=no\n")
        path = windows_path(ini)
        cases = [
            ("Long", "d", path, "x" * 99),
            ("Wide", "d", path, "診所病歷"),
            ("Empty", "d", path, ""),
            ("Missing", "dflt", path, "dflt"),
            ("Wide", "dflt", windows_path(work / "none.ini"), "dflt"),
        ]
        for key, default, file, expected in cases:
            with self.subTest(key=key, file=file):
                self.assertEqual(self.wine.probe("platform_probe", "readini", key, default, file),
                                 expected)

    def test_file_exists_counts_an_empty_file(self):
        work = self.work_dir()
        (work / "empty").write_bytes(b"")
        self.assertEqual(self.wine.probe("platform_probe", "fileexists", windows_path(work / "empty")),
                         "true")
        self.assertEqual(self.wine.probe("platform_probe", "fileexists", windows_path(work / "none")),
                         "false")
        self.assertEqual(self.wine.probe("platform_probe", "fileexists", windows_path(work)), "false")



class CodePageConversion(WineTestCase):
    """The program's own code page conversion under Wine decodes broken
    characters as the native build's stand-in does in the unit tests
    (tests/unit/platform/codepage_test.cpp): a lead byte takes the byte after
    it, a line end too."""

    CASES = [
        ("41", "A"), ("a440", "一"), ("a4a4a4", "中?"), ("42a4", "B?"),
        ("a40d0a42", "?\nB"), ("a40a", "?"), ("a420", "?"), ("810d", "?"), ("a47f", "?"),
        ("a4a0", "?"), ("a4ff", "?"), ("a3c0", "?"), ("a3e1", "€"), ("f9fe", "▓"),
        ("80", "\u0080"), ("ff", "\uf8f8"), ("fa40", "\ue000"), ("fefe", "\ue310"),
        ("fe7f", "?"), ("8e40", "\ue311"), ("a0fe", "\ueeb7"), ("8140", "\ueeb8"),
        ("8dfe", "\uf6b0"), ("c6a1", "\uf6b1"),
    ]

    def test_decodes_as_the_native_stand_in(self):
        for hex_bytes, expected in self.CASES:
            with self.subTest(hex_bytes):
                self.assertEqual(self.wine.probe("platform_probe", "fromansi", hex_bytes), expected)


if __name__ == "__main__":
    unittest.main()

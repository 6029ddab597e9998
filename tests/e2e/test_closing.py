"""Every window of the real orbin.exe under Wine ends the program when the
system asks it to close, as its own close path does: another program's
close request (taskkill) and the end of the user's session (log-off), for
frmCustom, prt2, chg2eng, memfrm with its tray icon and lookdc with the
reader. Alt+F4 on each window is tested with the window's own module."""
import shutil
import unittest

from harness import EXE, WineTestCase, wait_until, write_ansi
from reader_sim import ReaderFolder, wait_gone

OPEN_FAILS, CLOSE = "csOpenCom({})=3", "csCloseCom()=0"
SLOW_FAILING_PORT = {"csOpenCom": "3", "csOpenComDelay": "second"}


class CloseRequests(WineTestCase):
    def start(self, argument_text, work, exe):
        program = self.wine.start(argument_text, cwd=work, exe=exe)
        self.addCleanup(program.kill)
        return program

    def wait_window(self, program, name_pattern, what):
        """The program's own window: the previous case's may still show for
        a moment under the same caption."""
        return wait_until(lambda: self.wine.display.program_windows(program, name_pattern), bool,
                          30, what=what, interval=0.02,
                          show=lambda found: f"{found}, the program {program.state()}, "
                                             f"windows shown {self.wine.display.shown_windows()}")

    def office_window(self, work):
        program = self.start("/show", work, EXE)
        self.wait_window(program, "^orbin$", "frmCustom")
        return program, lambda: None

    def settings_window(self, work):
        write_ansi(work / "VexaSys.ini", "[VexaDent]\nDoctorName2=林醫師\n")
        before = (work / "VexaSys.ini").read_bytes()
        program = self.start("/Printer/", work, EXE)
        self.wait_window(program, "^其他設定$", "prt2")
        return program, lambda: self.assertEqual((work / "VexaSys.ini").read_bytes(), before,
                                                 "closing saves nothing")

    def entry_window(self, work):
        shutil.copy(EXE, work / "orbin.exe")
        program = self.start("/L", work, work / "orbin.exe")
        self.wait_window(program, "^輸入治療", "chg2eng")
        return program, lambda: self.assertFalse((work / "orbin.txt").exists(),
                                                 "closing writes no result")

    def status_monitor(self, work):
        folder = ReaderFolder(work, library=False)
        program = self.start("memfrm", folder.folder, folder.exe)
        self.wait_window(program, " - 53$", "memfrm")
        tray = lambda: self.wine.display.tray_windows(visible_only=False)
        wait_until(tray, bool, 30, what="the tray icon")
        return program, lambda: wait_gone(tray, 30)  # its icon removed

    def progress_window(self, work):
        # The request comes while the second port's open keeps the run in
        # the reader library for 4 s (less than the 5 s after which the
        # system takes the window for hung); the run takes it up at its next
        # message, before that port's one-second wait ends.
        second_port = {"csOpenCom": "3", "csOpenComDelay": "4000"}
        folder = ReaderFolder(work, {1: SLOW_FAILING_PORT, 2: second_port})
        (folder.folder / "ickno").write_bytes(b"XX")
        program = self.start("/ReadF4/COM2/", folder.folder, folder.exe)
        self.wait_window(program, None, "lookdc")
        wait_until(folder.calls, lambda calls: calls == [OPEN_FAILS.format(0), CLOSE], 30,
                   what="the second port's open", interval=0.02)
        # Closed as its "X" does: the reader is closed and the second port's
        # mark in "ickno" untouched (the first port's was reset before).
        return program, lambda: (self.assertEqual(folder.calls(), [OPEN_FAILS.format(0), CLOSE,
                                                                   OPEN_FAILS.format(1), CLOSE]),
                                 self.assertEqual((folder.folder / "ickno").read_bytes(), b"0X"))

    # (window, how it is started, its window class)
    WINDOWS = [
        ("frmCustom", office_window, "frmCustom"),
        ("prt2", settings_window, "orbin.prt2"),
        ("chg2eng", entry_window, "chg2eng"),
        ("memfrm", status_monitor, "orbin.memfrm"),
        ("lookdc", progress_window, "orbin.lookdc"),
    ]

    def test_each_window_ends_the_program_on_a_close_request_and_at_log_off(self):
        requests = [("another program's close request",
                     lambda program, window_class: self.wine.ask_to_close("orbin.exe")),
                    ("the end of the session",
                     lambda program, window_class: self.wine.end_session(window_class))]
        for name, start, window_class in self.WINDOWS:
            for request, ask in requests:
                with self.subTest(window=name, request=request):
                    program, check_close_path = start(self, self.work_dir())
                    ask(program, window_class)
                    self.assertEqual(program.wait(15), 0)
                    check_close_path()


class CloseRequestsUnderTheErrorBox(WineTestCase):
    """A failure's box is up while the program's windows still get events:
    a close request handled meanwhile ends the window's run with 0, which
    must neither take the box away nor turn the failure into success."""

    def test_the_run_ends_with_the_failure_code_after_the_box(self):
        requests = [
            ("another program's close request",
             lambda: self.wine.probe("platform_probe", "close", "orbin.prt2")),
            ("the end of the session", lambda: self.wine.end_session("orbin.prt2")),
        ]
        for request, ask in requests:
            with self.subTest(request):
                work = self.work_dir()
                # "load" fails on a number too large while the (hidden)
                # settings window is there to be asked.
                write_ansi(work / "VexaSys.ini", "[VexaDent]\nprint03=40000\n")
                program = self.wine.start("/Printer/", cwd=work, debug="+msgbox")
                self.addCleanup(program.kill)
                wait_until(lambda: self.wine.display.program_windows(program, "^orbin$"), bool, 30,
                           "the error box")
                ask()  # returns once the window has handled it
                self.assertTrue(program.running(), "the box is still up")
                self.assertEqual(self.answer_error_box(program, "print03"), 1)


if __name__ == "__main__":
    unittest.main()

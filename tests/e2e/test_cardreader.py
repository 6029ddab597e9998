"""Card reader authentication ("/ReadF4", or the program run as "chg2eng")
under Wine with the simulated reader library: the calls made, the bytes of
"ickno" afterwards, the progress window's place, blinking, "X" button and
double click, and the error box when there is no library."""
import shutil
import unittest
from pathlib import Path

from harness import WineTestCase, wait_for, wait_until, windows_path
from reader_sim import ReaderFolder, click_at, wait_gone, window_geometry

SHOTS = Path(__file__).resolve().parents[2] / "build" / "e2e-shots"

# The progress window on the 1024 x 768 test screen (15 twips per pixel):
# client 3840 x 450 twips inside a 45-twip dialog frame, the whole window
# at left (15360 - 3930) / 2 = 5715 and top (11520 - 540) / 3 - 400 = 3260.
OUTER = (5715 // 15, round(3260 / 15), 3930 // 15, 540 // 15)
CLIENT = (OUTER[0] + 3, OUTER[1] + 3, 3840 // 15, 450 // 15)
X_BUTTON = (CLIENT[0] + (3600 + 255 // 2) // 15, CLIENT[1] + (-10 + 255 // 2) // 15)
LABEL = (CLIENT[0] + 1500 // 15, CLIENT[1] + 300 // 15)

OPEN, OPEN_FAILS = "csOpenCom({})=0", "csOpenCom({})=3"
STATUS, VERIFY, CLOSE = "hisGetCardStatus(2)={}", "csVerifySAMDC()={}", "csCloseCom()=0"


class ReaderRuns(WineTestCase):
    """Whole runs that end by themselves: (name, arguments, library results
    per port, "ickno" before (None: missing), expected calls, "ickno" after)."""

    CASES = [
        ("status 0 resets the mark", "/ReadF4",
         {1: {"hisGetCardStatus": "0"}}, b"X",
         [OPEN.format(0), STATUS.format(0), CLOSE], b"0"),
        ("status 1 authenticates, then status 0", "/ReadF4",
         {1: {"hisGetCardStatus": "1,0", "csVerifySAMDC": "0"}}, b"X\x001",
         [OPEN.format(0), STATUS.format(1), VERIFY.format(0), STATUS.format(0), CLOSE], b"0\x001"),
        ("failed authentication, then status 5 marks the port", "/ReadF4",
         {1: {"hisGetCardStatus": "1,5", "csVerifySAMDC": "9"}}, None,
         [OPEN.format(0), STATUS.format(1), VERIFY.format(9), STATUS.format(5), CLOSE], b"X\x001"),
        ("a new failure stops before the second port", "/ReadF4/COM2/",
         {1: {"hisGetCardStatus": "5"}}, None,
         [OPEN.format(0), STATUS.format(5), CLOSE], b"X\x001"),
        ("a known failure goes on to the second port", "/ReadF4/csOpenCom3/COM1//COM4/",
         {3: {"hisGetCardStatus": "5"}, 4: {"hisGetCardStatus": "7"}}, b"X",
         [OPEN.format(2), STATUS.format(5), CLOSE, OPEN.format(3), STATUS.format(7), CLOSE],
         b"XX4"),
        ("a port that cannot open counts as status 0", "/csOpenCom2/ReadF4",
         {2: {"csOpenCom": "3", "hisGetCardStatus": "8"}}, b"X",
         [OPEN_FAILS.format(1), CLOSE], b"0"),
        ("negative status writes nothing", "/ReadF4/COM2/",
         {1: {"hisGetCardStatus": "-2"}, 2: {"hisGetCardStatus": "0"}}, b"\x00X7",
         [OPEN.format(0), STATUS.format(-2), CLOSE, OPEN.format(1), STATUS.format(0), CLOSE],
         b"\x0007"),
    ]

    def test_runs(self):
        for name, args, ports, before, calls, after in self.CASES:
            with self.subTest(name):
                work = ReaderFolder(self.work_dir(), ports)
                if before is not None:
                    (work.folder / "ickno").write_bytes(before)
                program = self.wine.run(args, cwd=work.folder, exe=work.exe, timeout=30)
                self.assertEqual(program.process.returncode, 0, program.stderr()[-2000:])
                self.assertEqual(work.calls(), calls)
                self.assertEqual((work.folder / "ickno").read_bytes(), after)

    def test_run_as_chg2eng_works_in_the_backup_folder(self):
        backup = self.wine.drive_c / "backup" / "vexa"
        backup.mkdir(parents=True, exist_ok=True)
        (backup / "ickno").unlink(missing_ok=True)
        self.addCleanup(lambda: (backup / "ickno").unlink(missing_ok=True))
        programs = ReaderFolder(self.work_dir(), {1: {"hisGetCardStatus": "5"}},
                                exe_name="chg2eng.exe")
        start_dir = self.work_dir()
        program = self.wine.run("", cwd=start_dir, exe=programs.exe, timeout=30)
        self.assertEqual(program.process.returncode, 0, program.stderr()[-2000:])
        self.assertEqual(programs.calls(), [OPEN.format(0), STATUS.format(5), CLOSE])
        self.assertEqual((backup / "ickno").read_bytes(), b"X\x001")
        self.assertEqual(list(start_dir.iterdir()), [])

    def test_the_mark_goes_into_the_file_the_main_program_holds_open(self):
        work = ReaderFolder(self.work_dir(), {1: {"hisGetCardStatus": "5"}})
        ickno = work.folder / "ickno"
        ickno.write_bytes(b"0")
        identity = ickno.stat().st_ino
        holder = self.wine.hold_open(ickno)
        self.addCleanup(holder.kill)
        program = self.wine.run("/ReadF4", cwd=work.folder, exe=work.exe, timeout=30)
        self.assertEqual(program.process.returncode, 0, program.stderr()[-2000:])
        self.assertEqual(ickno.read_bytes(), b"X\x001")
        self.assertEqual(ickno.stat().st_ino, identity, "the same file, written in place")

    def test_without_the_library_the_error_box_names_it(self):
        work = ReaderFolder(self.work_dir(), library=False)
        program = self.wine.start("/ReadF4", cwd=work.folder, exe=work.exe, debug="+msgbox")
        self.assertEqual(self.answer_error_box(program, "找不到檔案「cshis.dll」"), 1)
        self.assertFalse((work.folder / "ickno").exists())

    def test_a_library_that_will_not_load_is_named_with_its_reason(self):
        work = ReaderFolder(self.work_dir(), library=False)
        (work.folder / "cshis.dll").write_bytes(b"MZ" + bytes(range(256)) * 8)  # damaged
        program = self.wine.start("/ReadF4", cwd=work.folder, exe=work.exe, debug="+msgbox")
        library = windows_path(work.folder / "cshis.dll")
        self.assertEqual(self.answer_error_box(program, f"「{library}」不是這個程式能用的"), 1)


class ProgressWindowOnScreen(WineTestCase):
    def start_waiting_run(self, args, ports, ickno=b"X"):
        """Starts a run whose opens fail and return just after a whole
        second, so each wait after "無法開啟:  COM: n" lasts almost a second."""
        work = ReaderFolder(self.work_dir(), ports)
        (work.folder / "ickno").write_bytes(ickno)
        program = self.wine.start(args, cwd=work.folder, exe=work.exe)
        self.addCleanup(program.kill)
        return work, program

    def lookdc(self, program):
        return self.wine.display.xdotool("search", "--onlyvisible", "--pid", str(program.pid),
                                         check=False).split()

    def test_x_while_the_run_waits_closes_the_reader_and_ends_without_writing(self):
        # The click comes while the second port's open keeps the run in the
        # reader library for 4 s; the run takes it up at its next message,
        # before that port's one-second wait ends, whenever it came.
        failing = {"csOpenCom": "3", "csOpenComDelay": "second"}
        slow_open = {"csOpenCom": "3", "csOpenComDelay": "4000"}
        work, program = self.start_waiting_run("/ReadF4/COM2/", {1: failing, 2: slow_open},
                                               ickno=b"XX")
        wait_until(lambda: self.lookdc(program), bool, 30, what="the progress window",
                   interval=0.02)
        wait_until(work.calls, lambda calls: calls == [OPEN_FAILS.format(0), CLOSE], 30,
                   what="the second port's open", interval=0.02)
        click_at(self.wine.display, *X_BUTTON)
        self.assertEqual(program.wait(15), 0)
        self.assertEqual(work.calls(), [OPEN_FAILS.format(0), CLOSE, OPEN_FAILS.format(1), CLOSE])
        # The first port's mark was reset; the second port's stays: the run
        # ended before deciding on it.
        self.assertEqual((work.folder / "ickno").read_bytes(), b"0X")

    def test_placed_and_blinking_while_the_run_waits(self):
        failing = {"csOpenCom": "3", "csOpenComDelay": "second"}
        # Two waits of almost a second each, the window up all the time.
        work, program = self.start_waiting_run("/ReadF4/COM3/", {1: failing, 3: failing})
        work.wait_for_call(OPEN_FAILS.format(0))
        [window] = wait_until(lambda: self.lookdc(program), bool, 30, interval=0.02,
                              what="the progress window")
        # Wine's X window is the whole window or, at times, its client area.
        self.assertIn(window_geometry(self.wine.display, window), (OUTER, CLIENT))
        # The label's colour changes every half second of the waits; it is
        # looked at until both colours showed, for as long as the run lasts.
        colours = []

        def sample():
            colour = self.label_colour()
            if colour and colour not in colours[-1:]:
                colours.append(colour)
            return colours, program.running()

        seen, _ = wait_until(sample, lambda s: len(set(s[0])) == 2 or not s[1], 30,
                             what="the label in both colours", interval=0.02)
        self.assertEqual(set(seen), {"red", "blue"}, f"colours seen, in turn: {seen}")
        self.assertEqual(program.wait(10), 0)
        self.assertEqual(work.calls(), [OPEN_FAILS.format(0), CLOSE, OPEN_FAILS.format(2), CLOSE])

    def test_double_click_hides_until_the_next_message(self):
        failing = {"csOpenCom": "3", "csOpenComDelay": "second"}
        work, program = self.start_waiting_run("/ReadF4/COM2/", {1: failing, 2: failing})
        program.pid  # known before the window is looked for
        # The double click follows the window's showing as closely as it
        # can: it must fall in the first one-second wait, the only time the
        # run takes clicks and then leaves the window as it is.
        wait_until(lambda: self.lookdc(program), bool, 30, what="the progress window",
                   interval=0.01)
        click_at(self.wine.display, *LABEL, repeat=2)
        wait_gone(lambda: self.lookdc(program), 15)
        # Hidden before the wait ended: the second port's open (logged when
        # it returns, a second after the wait) has not come yet.
        self.assertNotIn(OPEN_FAILS.format(1), work.calls(), "hidden during the first wait")
        work.wait_for_call(OPEN_FAILS.format(1))
        wait_until(lambda: self.lookdc(program), bool, 15, interval=0.02,
                   what="the window again")
        self.assertEqual(program.wait(10), 0)
        self.assertEqual(work.calls(),
                         [OPEN_FAILS.format(0), CLOSE, OPEN_FAILS.format(1), CLOSE])
        self.assertEqual((work.folder / "ickno").read_bytes(), b"0")

    def label_colour(self):
        """"red" or "blue": the colour of the most label text pixels; None
        before the label shows."""
        SHOTS.mkdir(parents=True, exist_ok=True)
        shot = self.wine.display.screenshot(SHOTS / "cardreader-progress.png")
        x, y, w, h = CLIENT
        import subprocess
        text = subprocess.run(["convert", str(shot), "-crop", f"{w - 20}x{h}+{x}+{y}", "-depth",
                               "8", "txt:-"], capture_output=True, text=True, check=True).stdout
        red = text.count("#FF0000")
        blue = text.count("#0000FF")
        if red + blue <= 20:
            return None  # the label's text is not drawn yet
        return "red" if red > blue else "blue"


if __name__ == "__main__":
    unittest.main()

"""The treatment-site entry window ("/L") under Wine: keys typed with xdotool
into the real window (keypad included), the result read back from
"orbin.txt", the test display without "orbin.exe", the window's placement
and heights, and an "orbin.txt" that cannot be written."""
import os
import shutil
import stat
import unittest

from harness import BUILD, EXE, WineTestCase, wait_for, wait_until, windows_path, write_ansi

SHOTS = BUILD / "e2e-shots"

DESIGN_CAPTION = "輸入健保治療部位項目"
DEFAULT_LIST = "BCDEFGIJKM"
ENTER_SITES = "輸入治療 部位項目 "
PRESS_SPACE = "按(空白鍵)後為多項輸入格式 "
ENTER_WHEN_DONE = "(完成後按Enter)或(繼續輸入)"


class EntryWindow:
    """One run of the entry window, driven from the keyboard."""

    def __init__(self, case, argument_text="/L1200/T300", files=None, main_program=True,
                 debug=""):
        self.case = case
        self.display = case.wine.display
        self.work = case.work_dir()
        for name, text in (files or {}).items():
            if isinstance(text, bytes):  # as it stands, broken characters and all
                (self.work / name).write_bytes(text)
            else:
                write_ansi(self.work / name, text)
        exe = EXE
        if main_program:
            exe = self.work / "orbin.exe"
            shutil.copy(EXE, exe)
        self.program = case.wine.start(argument_text, cwd=self.work, exe=exe, debug=debug)
        case.addCleanup(self.program.kill)
        self.window = wait_for(self._find_window, 30, what="the entry window")
        # The start-up sets the list caption after placing the window.
        wait_for(lambda: self.caption() != DESIGN_CAPTION, 10, what="the end of the start-up")
        self.display.xdotool("windowfocus", "--sync", self.window)

    def _windows(self):
        out = self.display.xdotool("search", "--onlyvisible", "--pid", str(self.program.pid),
                                   check=False)
        return out.split()

    def _find_window(self):
        windows = [w for w in self._windows() if self.display.window_name(w) != "orbin"]
        return windows[0] if windows else None

    def message_box(self):
        """The program's message box (caption "orbin"), or None."""
        boxes = [w for w in self._windows() if self.display.window_name(w) == "orbin"]
        return boxes[0] if boxes else None

    def type(self, text):
        self.display.xdotool("type", "--delay", "60", text)

    def key(self, *keys):
        self.display.xdotool("key", "--delay", "60", *keys)

    def keypad(self, *keys):
        """Keypad keys with Num Lock on, switched off again afterwards."""
        self.key("Num_Lock", *keys, "Num_Lock")

    def caption(self):
        return self.display.window_name(self.window)

    def wait_caption(self, expected, timeout=10):
        try:
            wait_until(self.caption, lambda caption: caption == expected, timeout,
                       what=f"caption {expected!r}")
        except AssertionError:
            SHOTS.mkdir(parents=True, exist_ok=True)
            shot = self.display.screenshot(SHOTS / f"treatment-{self.case.id()}.png")
            state = "running" if self.program.running() else f"ended {self.program.process.returncode}"
            files = sorted(p.name for p in self.work.iterdir())
            raise AssertionError(f"caption {self.caption()!r}, not {expected!r}; program {state}, "
                                 f"files {files} (see {shot})")

    def geometry(self):
        """Position and size of the window's client area on the screen."""
        out = self.display.xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=") for line in out.splitlines())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, x, y):
        self.display.xdotool("mousemove", "--window", self.window, str(x), str(y))
        self.display.xdotool("click", "1")

    def click_check1(self):
        """Check1 at 3600, 840 twips (240, 56 pixels), 255 twips (17 pixels)
        square, is cut by the client area's bottom, which lies higher the
        taller the system's title bar is (Wine 10's is taller than 8's):
        clicked in the middle of what shows."""
        client_height = self.geometry()[3]
        self.click(248, (56 + min(56 + 17, client_height)) // 2)

    def finished(self, timeout=15):
        """Waits for the end of the run; returns the bytes of "orbin.txt"."""
        self.case.assertEqual(self.program.wait(timeout), 0)
        result = self.work / "orbin.txt"
        return result.read_bytes() if result.exists() else None

    def still_open(self):
        """The window has handled every key sent so far and stays open."""
        self.case.assertEqual(self.case.wine.settled("chg2eng"), "settled",
                              "the window handled the keys and is still there")
        self.case.assertTrue(self.program.running(), "the window is still open")


def treat_dat_line(letter, flag, text, code):
    """A code table line: letter, one unread character, the per-tooth flag,
    17 characters of text (Chinese counts one each), the 8-character code."""
    return f"{letter} {flag}{text:<17}{code:<8}備註"


class Entries(WineTestCase):
    def test_entries_give_the_result_line(self):
        cases = [
            # (what, actions, result)
            ("single item", [("type", "11b")], "IC;11B;-;"),
            ("keypad letter with per-tooth character",
             [("keypad", "KP_2", "KP_1", "KP_Multiply", "KP_5")], "IC;21A;-;A5;"),
            ("keypad minus is L", [("keypad", "KP_1", "KP_1", "KP_Subtract", "KP_3")],
             "IC;11L;-;L3;"),
            ("slash is the full mouth at once", [("keypad", "KP_Divide")], "IC;FMS;-;"),
            ("0 then 0 ends with nothing", [("type", "10"), ("type", "0")], "IC;;"),
            ("Enter on the empty box", [("key", "Return")], "IC;H;-;"),
            ("a second letter replaces the first",
             [("type", "11a"), ("type", "c")], "IC;11C;-;"),
            ("Esc on the empty window", [("key", "Escape")], "IC;;"),
        ]
        for what, actions, result in cases:
            with self.subTest(what):
                window = EntryWindow(self)
                for kind, *args in actions:
                    getattr(window, kind)(*args)
                self.assertEqual(window.finished(), (result + "\r\n").encode("ascii"))

    def test_multi_item_entry_finished_with_enter(self):
        window = EntryWindow(self)
        window.wait_caption(ENTER_SITES + DEFAULT_LIST)
        window.type("11")
        window.wait_caption(PRESS_SPACE + DEFAULT_LIST)
        window.key("Return")  # with text in the box: multi-item format only
        window.wait_caption(ENTER_SITES + DEFAULT_LIST)
        window.type("b")
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        window.keypad("KP_2", "KP_1", "KP_Multiply", "KP_5", "KP_Divide")
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        window.still_open()
        window.key("Return")
        self.assertEqual(window.finished(), b"IC;11B;-;21A;-;A5;FMS;-;\r\n")

    def test_multi_item_format_from_the_command_line_and_the_taller_window(self):
        single = EntryWindow(self, "/L0/T0")
        _, _, width, single_height = single.geometry()
        self.assertEqual(width, 271, "design client width 4065 twips")
        single.key("space")
        wait_until(single.geometry, lambda g: g[3] == single_height + 27, 10,
                   what="the outer height 1800 twips (27 pixels more than 1400)")
        single.program.kill()

        multi = EntryWindow(self, "/L0/T0/+")
        self.assertEqual(multi.geometry()[3], single_height + 27)
        multi.type("11b12c")
        multi.key("Return")
        self.assertEqual(multi.finished(), b"IC;11B;-;12C;-;\r\n")

    def test_shortcut_digits_from_the_settings(self):
        files = {"VexaSys.ini": "[VexaDent]\nBCDEFGIJKM=DFB\n"}
        window = EntryWindow(self, files=files)
        window.wait_caption(ENTER_SITES + "DFB")
        window.type("11")
        window.wait_caption(PRESS_SPACE + "DFB")
        window.keypad("KP_0", "KP_3")  # "0" then 3: the list's third letter
        self.assertEqual(window.finished(), b"IC;11B;-;\r\n")

    def test_per_tooth_entry_with_codes_from_a_chinese_code_table(self):
        table = "\n".join([
            treat_dat_line("B", "0", "拔牙", "92013C"),
            treat_dat_line("D", "1", "根管治療（前牙）", " 90015C "),
            treat_dat_line("D", "1", "重複的字母", "99999C"),
        ]) + "\n"
        files = {"treat.dat": table, "VexaSys.ini": "[VexaDent]\nBCDEFGIJKM=BD\n"}
        window = EntryWindow(self, files=files)
        window.keypad("KP_1", "KP_1", "KP_1", "KP_2", "KP_0", "KP_2")  # 0 2: D
        window.still_open()  # a per-tooth letter waits for one character per pair
        window.keypad("KP_3")
        window.still_open()
        window.keypad("KP_4")
        self.assertEqual(window.finished(), "IC;1112D;90015C;D3D4;\r\n".encode("ascii"))


class HalfCharacterInTheCodeTable(WineTestCase):
    def test_a_line_ending_in_a_lead_byte_keeps_the_next_line(self):
        # Descriptions cut after the first byte of a character; the lines
        # after them still give their code and their per-tooth flag.
        table = b"\r\n".join([
            "A 1根管治療".encode("cp950") + b"\xa4",
            treat_dat_line("B", "0", "補綴", "91001C").encode("cp950"),
            "D 0說明".encode("cp950") + b"\xa4",
            treat_dat_line("Q", "1", "牙周", "91004C").encode("cp950"),
        ]) + b"\r\n"
        window = EntryWindow(self, "/L1200/T300/+", files={"treat.dat": table})
        window.type("11b")
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        window.type("11q2")
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        window.key("Return")
        self.assertEqual(window.finished(), b"IC;11B;91001C;11Q;91004C;Q2;\r\n")


class EscRules(WineTestCase):
    def _window_with_one_item_and_text(self):
        window = EntryWindow(self)
        window.key("space")
        window.type("11b2")
        window.wait_caption(ENTER_SITES + DEFAULT_LIST)
        window.key("Escape")  # clears the box, back to the single-item format
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        return window

    def test_esc_clears_the_box_then_the_items_then_finishes(self):
        window = self._window_with_one_item_and_text()
        window.key("Escape")  # clears the items only
        window.still_open()
        window.key("Escape")
        self.assertEqual(window.finished(), b"IC;;\r\n")

    def test_after_esc_enter_still_finishes_with_the_items(self):
        window = self._window_with_one_item_and_text()
        window.key("Return")
        self.assertEqual(window.finished(), b"IC;11B;-;\r\n")

    def test_after_esc_the_next_entry_finishes_alone(self):
        window = self._window_with_one_item_and_text()
        window.type("12c")
        self.assertEqual(window.finished(), b"IC;12C;-;\r\n")


class WindowPlacement(WineTestCase):
    def test_left_and_top_in_twips_place_the_outer_corner(self):
        origin = EntryWindow(self, "/L0/T0")
        x0, y0, _, _ = origin.geometry()  # the client area lies inside the frame
        origin.program.kill()
        cases = [("/L1200/T300", 80, 20), ("/L12/T300", 1, 20), ("/L1500/T600/+", 100, 40),
                 ("/Lxx/T45", 0, 3)]
        for argument_text, left, top in cases:
            with self.subTest(argument_text):
                window = EntryWindow(self, argument_text)
                x, y, _, _ = window.geometry()
                self.assertEqual((x - x0, y - y0), (left, top))
                window.program.kill()


class ClosingTheWindow(WineTestCase):
    def test_the_x_button_finishes_with_the_empty_text(self):
        window = EntryWindow(self)
        window.type("11")
        window.click(252, 28)  # Command2, 3600 + 375 / 2, 240 + 375 / 2 twips
        self.assertEqual(window.finished(), b"IC;;\r\n")

    def test_the_close_box_writes_nothing(self):
        window = EntryWindow(self)
        window.type("11")
        window.key("alt+F4")
        self.assertIsNone(window.finished())

    def test_a_second_click_on_check1_returns_to_single_items(self):
        window = EntryWindow(self)
        window.click_check1()  # checked
        window.type("11b")  # multi-item format: the item is kept, Text1 has the keys
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        window.click_check1()  # unchecked, not grayed
        window.type("22c")  # single-item format: finishes with this item
        self.assertEqual(window.finished(), b"IC;22C;-;\r\n")


class TestDisplay(WineTestCase):
    def test_without_orbin_exe_the_result_goes_to_the_caption(self):
        window = EntryWindow(self, main_program=False)
        window.type("11b")
        window.wait_caption("IC;11B;-;")
        window.key("Return")  # the window was set up again: a fresh empty box
        window.wait_caption("IC;H;-;")
        window.type("1")
        window.wait_caption(PRESS_SPACE + DEFAULT_LIST)
        window.type("0")
        window.type("0")
        self.assertIsNone(window.finished())
        self.assertEqual(sorted(p.name for p in window.work.iterdir()), [])


class UnwritableResult(WineTestCase):
    """A read-only "orbin.txt": Wine gives a file without write permission
    bits the read-only attribute, which the write honours as Windows does
    (even for root, who could replace the file under Linux)."""

    def _blocked_window(self):
        window = EntryWindow(self, debug="+msgbox")
        result = window.work / "orbin.txt"
        result.write_bytes(b"old\r\n")
        os.chmod(result, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        window.type("11b")
        box = wait_for(window.message_box, 15, what="the retry message box")
        messages = window.program.message_boxes()
        self.assertTrue(any("orbin.txt" in m for m in messages), messages)
        window.still_open()
        self.assertEqual(result.read_bytes(), b"old\r\n")
        return window, box, result

    def test_cancel_keeps_the_window_and_the_entry_for_another_try(self):
        window, box, result = self._blocked_window()
        self.wine.display.xdotool("windowfocus", "--sync", box)
        self.wine.display.xdotool("key", "Escape")
        wait_for(lambda: not window.message_box(), 10, what="the box to close")
        window.still_open()
        self.assertEqual(result.read_bytes(), b"old\r\n")
        self.assertEqual(sorted(p.name for p in window.work.iterdir()), ["orbin.exe", "orbin.txt"],
                         "no temporary file is left behind")
        os.chmod(result, 0o644)
        window.display.xdotool("windowfocus", "--sync", window.window)
        window.type("b")  # the entry is still complete: its key release tries again
        self.assertEqual(window.finished(), b"IC;11B;-;\r\n")

    def test_retry_with_enter_writes_once_the_file_is_writable(self):
        window, box, result = self._blocked_window()
        os.chmod(result, 0o644)
        self.wine.display.xdotool("windowfocus", "--sync", box)
        self.wine.display.xdotool("key", "Return")
        self.assertEqual(window.finished(), b"IC;11B;-;\r\n")


class UnreadableCodeTable(WineTestCase):
    def test_cancel_keeps_the_items_and_the_next_key_reads_the_table_again(self):
        table = treat_dat_line("C", "0", "補綴", "89001C") + "\n"
        window = EntryWindow(self, files={"treat.dat": table}, debug="+msgbox")
        window.type(" 11b")  # multi-item format; the first item kept
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        holder = self.wine.hold_open(window.work / "treat.dat", exclusive=True)
        self.addCleanup(holder.kill)
        window.type("22c")
        box = wait_for(window.message_box, 15, what="the retry message box")
        path = windows_path(window.work / "treat.dat")
        self.assertTrue(any(f"「{path}」" in m for m in window.program.message_boxes()),
                        window.program.message_boxes())
        self.wine.display.xdotool("windowfocus", "--sync", box)
        self.wine.display.xdotool("key", "Escape")
        wait_for(lambda: not window.message_box(), 10, what="the box to close")
        window.still_open()
        holder.kill()
        window.display.xdotool("windowfocus", "--sync", window.window)
        window.type("c")  # the entry is still complete: the table is read again
        window.wait_caption(ENTER_WHEN_DONE + DEFAULT_LIST)
        window.key("Return")
        self.assertEqual(window.finished(), b"IC;11B;-;22C;89001C;\r\n")


if __name__ == "__main__":
    unittest.main()

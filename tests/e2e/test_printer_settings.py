"""The printer settings window `prt2` and its jobs in the real orbin.exe under
Wine, with the cups-pdf printers "PDF" (the CUPS default) and "PDF2":
"/Printers/", "/Printer/" with and without a name, "存檔", "load" and
closing the window as a person does them, and smoke runs of "/Print2VB/"
and "/Print/"."""
import os
import re
import shutil
import signal
import struct
import subprocess
import time
import unittest
from pathlib import Path

from harness import (ROOT, PrintJobs, WineTestCase, read_ansi, wait_for, wait_until,
                     windows_path, write_ansi)

CAPTION = "其他設定"
SHOTS = ROOT / "build" / "e2e-shots"
TWIPS_PER_PIXEL = 15  # the virtual display's 96 dpi

# Design rectangles (left, top, width, height) in twips of the client area;
# a control inside a frame adds the frame's corner.
FRAME2 = (3000, 120)
FRAME4 = (120, 3960)
SAVE_BUTTON = (5280, 120, 1335, 495)
LOAD_BUTTON = (4680, 0, 735, 495)
CHECK_DOCTOR = (FRAME2[0] + 480, FRAME2[1] + 240, 1575, 375)
TEXT11_0 = (FRAME2[0] + 480, FRAME2[1] + 600, 1095, 285)
TEXT16_4 = (FRAME4[0] + 1920, FRAME4[1] + 240 + 360 * 4, 4455, 285)

# Every key in the order "存檔" writes it.
KEY_ORDER = ([k for i in range(5) for k in (f"print0{i}", f"print5{i}")] + ["CheckDoctor"]
             + [k for i in range(2, 10) for k in (f"DoctorName{i}", f"DoctorPckar{i}")]
             + ["ChkDrugName", "DrugName", "DrugPckar", "OutExeData"]
             + [f"AppendData{i}" for i in range(1, 7)]
             + [k for i in range(1, 6) for k in (f"OutExeTop{i}", f"OutExeFile{i}")])

# What "存檔" writes after "load" of a settings file without the section.
FRESH_VALUES = {k: "" for k in KEY_ORDER}
FRESH_VALUES.update({f"print0{i}": "0" for i in range(5)})
FRESH_VALUES.update({"print50": "2", "print51": "1", "print52": "1", "print53": "2", "print54": "3",
                     "CheckDoctor": "0", "ChkDrugName": "0", "OutExeData": "C:\\OutExe.tmp"})
FRESH_VALUES.update({f"AppendData{i}": "&X" for i in range(1, 7)})

LONG_VALUE = "長" * 10 + "x" * 100  # 120 bytes in code page 950

# Stored value -> what "load" shows and "存檔" writes back.
PREPARED = [
    ("print00", "0", "0"),
    ("print01", "2", "1"),       # any non-zero number checks the box
    ("print02", "0.4", "0"),     # rounded to 0
    ("print03", "0.6", "1"),
    ("print04", "-1", "1"),
    ("print50", "4", "4"),
    ("print52", "", "1"),        # empty keeps the box's initial text
    ("print54", "300dpi", "300dpi"),
    ("CheckDoctor", "2", "2"),   # shown grayed, stored as it was
    ("DoctorName2", "林醫師", "林醫師"),
    ("DoctorPckar2", "A123", "A123"),
    ("DoctorName9", "陳 大 明", "陳 大 明"),
    ("ChkDrugName", "7", "7"),   # a number no box shows is kept as stored
    ("DrugName", "王藥師", "王藥師"),
    ("AppendData1", "附加一", "附加一"),
    ("AppendData4", "", ""),
    ("OutExeTop3", "C:\\vexa\\run.exe", "C:\\vexa\\run.exe"),
    ("OutExeFile5", LONG_VALUE, LONG_VALUE[:10 + 79]),  # cut to its first 99 bytes
]


def settings_pairs(path):
    """(key, value) of section VexaDent in file order, read in code page 950."""
    pairs, in_section = [], False
    for line in read_ansi(path).split("\r\n"):
        if line.startswith("["):
            in_section = line.strip() == "[VexaDent]"
        elif in_section and "=" in line:
            key, value = line.split("=", 1)
            pairs.append((key, value))
    return pairs


def profile_device(wine):
    """The profile's default printer, read without loading the printer library,
    from the registry of the running server."""
    out = wine.logs / "reg-query.out"
    with open(out, "wb") as sink:
        subprocess.run(wine.command("reg", "query",
                                    r"HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows",
                                    "/v", "Device"), env=wine.env, stdin=subprocess.DEVNULL, stdout=sink,
                       stderr=subprocess.DEVNULL, timeout=60, check=True)
    for line in out.read_bytes().decode("utf-8", "replace").splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3 and parts[0] == "Device":
            return parts[2].strip()
    raise AssertionError("no Device value in the profile")


def tiny_bitmap(path, width=8, height=8):
    row = bytes([0, 0, 255] * width) + b"\0" * ((4 - width * 3 % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + pixels)


def resume(program):
    if program.running():
        os.kill(program.pid, signal.SIGCONT)


class SettingsWindowCase(WineTestCase):
    def open_window(self, work, debug=""):
        program = self.wine.start("/Printer/", cwd=work, debug=debug)
        self.addCleanup(program.kill)
        # This program's window: that of a program just ended may still show
        # for a moment under the same caption.
        [window] = wait_for(lambda: self.wine.display.xdotool(
            "search", "--all", "--onlyvisible", "--pid", str(program.pid), "--name", f"^{CAPTION}$",
            check=False).split(), 30, what="the printer settings window")
        # The keyboard goes to the window before anything is typed into it.
        self.wine.display.xdotool("windowfocus", "--sync", window)
        return program, window

    def wait_painted(self, window, path):
        """Screenshots of the window until two in a row are alike and not of
        one colour: the window has finished painting; the last is kept."""
        shots = []

        def sample():
            subprocess.run(["import", "-window", window, "-depth", "8", str(path)], check=True,
                           env={**os.environ, "DISPLAY": self.wine.display.name}, timeout=30)
            pixels = subprocess.run(["convert", str(path), "rgb:-"], capture_output=True,
                                    check=True, timeout=30).stdout
            shots.append(pixels)
            return shots

        wait_until(sample, lambda s: len(s) > 1 and s[-1] == s[-2] and len(set(s[-1])) > 1, 30,
                   what="the window painted", interval=0.2,
                   show=lambda s: f"{len(s)} screenshots, the last of {len(set(s[-1]))} byte values")

    def click(self, window, rect):
        left, top, width, height = rect
        x = round((left + width / 2) / TWIPS_PER_PIXEL)
        y = round((top + height / 2) / TWIPS_PER_PIXEL)
        self.wine.display.xdotool("mousemove", "--window", window, str(x), str(y))
        self.wine.display.xdotool("click", "1")

    def type_into(self, window, rect, text):
        self.click(window, rect)
        self.wine.display.xdotool("type", "--delay", "30", text)

    def close(self, window):
        self.wine.display.xdotool("windowfocus", "--sync", window)
        self.wine.display.xdotool("key", "alt+F4")


class PrinterSettingsWindow(SettingsWindowCase):
    def test_save_on_a_fresh_window_writes_every_key_in_order(self):
        work = self.work_dir()
        program, window = self.open_window(work)
        self.assertEqual(self.wine.display.window_name(window), CAPTION)
        SHOTS.mkdir(parents=True, exist_ok=True)
        self.wait_painted(window, SHOTS / "prt2.png")
        self.assertTrue(program.running())
        self.click(window, SAVE_BUTTON)
        self.assertEqual(program.wait(30), 0)
        self.assertEqual(settings_pairs(work / "VexaSys.ini"),
                         [(k, FRESH_VALUES[k]) for k in KEY_ORDER])

    def test_window_has_the_design_client_size_stays_on_top_and_cannot_be_resized(self):
        program, window = self.open_window(self.work_dir())
        geometry = self.wine.display.xdotool("getwindowgeometry", window)
        self.assertIn(f"Geometry: {6720 // TWIPS_PER_PIXEL}x{6465 // TWIPS_PER_PIXEL}", geometry)
        # Asked of the system (Wine 10 tells only a window manager, which the
        # test display lacks, that a shown window went topmost).
        self.assertEqual(self.wine.probe("platform_probe", "window", CAPTION), "shown,topmost")
        if not shutil.which("xprop"):
            self.skipTest("xprop (x11-utils) is not installed")
        props = subprocess.run(["xprop", "-id", window], capture_output=True, text=True,
                               env={**os.environ, "DISPLAY": self.wine.display.name},
                               timeout=20, check=True).stdout
        # Motif hints: flags, functions, decorations; no resizing function
        # (0x2) nor resize border (0x4), no minimise or maximise.
        hints = re.search(r"_MOTIF_WM_HINTS\(_MOTIF_WM_HINTS\) = (\w+), (\w+), (\w+)", props)
        functions, decorations = int(hints.group(2), 16), int(hints.group(3), 16)
        self.assertEqual(functions & (0x2 | 0x8 | 0x10), 0)
        self.assertEqual(decorations & (0x4 | 0x20 | 0x40), 0)

    def test_shown_window_lists_every_printer_with_the_default_as_its_text(self):
        # The list is filled as the window is created, not when it is loaded
        # for a print job; shown, it holds what "/Printers/" lists.
        program, window = self.open_window(self.work_dir())
        text, *entries = self.wine.probe("platform_probe", "combo", CAPTION).split("\n")
        self.assertEqual(text, "PDF")
        self.assertLessEqual({"PDF", "PDF2"}, set(entries))
        self.assertEqual(len(entries), len(set(entries)))
        self.close(window)
        self.assertEqual(program.wait(30), 0)

    def test_typed_text_and_a_clicked_box_are_saved(self):
        work = self.work_dir()
        program, window = self.open_window(work)
        self.type_into(window, TEXT11_0, "Dr Lin")
        self.type_into(window, TEXT16_4, "D:\\out.dat")
        self.click(window, CHECK_DOCTOR)
        self.click(window, SAVE_BUTTON)
        self.assertEqual(program.wait(30), 0)
        saved = dict(settings_pairs(work / "VexaSys.ini"))
        expected = dict(FRESH_VALUES, DoctorName2="Dr Lin", OutExeFile5="D:\\out.dat",
                        CheckDoctor="1")
        self.assertEqual(saved, expected)

    def test_a_click_turns_a_marked_box_off_and_an_empty_one_on(self):
        # (stored, saved after one click): a person never makes a box grayed.
        for stored, saved in (("1", "0"), ("2", "0"), ("0", "1")):
            with self.subTest(stored=stored):
                work = self.work_dir()
                write_ansi(work / "VexaSys.ini", f"[VexaDent]\nCheckDoctor={stored}\n")
                program, window = self.open_window(work)
                self.click(window, CHECK_DOCTOR)
                self.click(window, SAVE_BUTTON)
                self.assertEqual(program.wait(30), 0)
                self.assertEqual(dict(settings_pairs(work / "VexaSys.ini"))["CheckDoctor"], saved)

    def test_prepared_settings_come_back_as_the_keys_say(self):
        work = self.work_dir()
        lines = ["[Other]", "Keep=這個", "[VexaDent]", "Shortcut=ABC"]
        lines += [f"{key}={stored}" for key, stored, _ in PREPARED]
        write_ansi(work / "VexaSys.ini", "\n".join(lines) + "\n")
        program, window = self.open_window(work)
        self.click(window, SAVE_BUTTON)
        self.assertEqual(program.wait(30), 0)
        saved = dict(settings_pairs(work / "VexaSys.ini"))
        expected = dict(FRESH_VALUES, Shortcut="ABC")
        expected.update({key: back for key, _, back in PREPARED})
        for key, value in expected.items():
            with self.subTest(key=key):
                self.assertEqual(saved.get(key), value)
        self.assertEqual(set(saved), set(expected))
        self.assertIn("Keep=這個", read_ansi(work / "VexaSys.ini"))

    def test_load_pressed_again_replaces_edited_values(self):
        work = self.work_dir()
        write_ansi(work / "VexaSys.ini", "[VexaDent]\nDoctorName2=林醫師\n")
        program, window = self.open_window(work)
        self.type_into(window, TEXT11_0, "xyz")
        self.click(window, LOAD_BUTTON)
        self.click(window, SAVE_BUTTON)
        self.assertEqual(program.wait(30), 0)
        self.assertEqual(dict(settings_pairs(work / "VexaSys.ini"))["DoctorName2"], "林醫師")

    def test_closing_after_editing_writes_nothing(self):
        for prepared in (None, "[VexaDent]\r\nDoctorName2=林醫師\r\n"):
            with self.subTest(prepared=prepared):
                work = self.work_dir()
                if prepared:
                    write_ansi(work / "VexaSys.ini", prepared, line_end="\n")
                before = sorted(p.name for p in work.iterdir())
                program, window = self.open_window(work)
                self.type_into(window, TEXT11_0, "changed")
                self.close(window)
                self.assertEqual(program.wait(30), 0)
                self.assertEqual(sorted(p.name for p in work.iterdir()), before)
                if prepared:
                    self.assertEqual(read_ansi(work / "VexaSys.ini"), prepared)

    def test_a_stored_number_too_large_ends_with_the_error_box(self):
        work = self.work_dir()
        write_ansi(work / "VexaSys.ini", "[VexaDent]\nprint03=40000\n")
        program = self.wine.start("/Printer/", cwd=work, debug="+msgbox")
        self.addCleanup(program.kill)
        [box] = wait_until(lambda: self.wine.display.program_windows(program, "^orbin$"), bool,
                           30, what="the error box")
        self.assertTrue(any("print03" in text for text in program.message_boxes()),
                        program.message_boxes())
        self.assertEqual(self.wine.display.program_windows(program, f"^{CAPTION}$"), [])
        self.wine.display.xdotool("windowfocus", "--sync", box)
        self.wine.display.xdotool("key", "Return")
        self.assertEqual(program.wait(30), 1)


class RefusedSave(SettingsWindowCase):
    """"存檔" while "VexaSys.ini" refuses the write: made immutable (Wine runs
    as root here, so file modes do not stop it), or held open without
    sharing by another program."""

    def refuse(self, how, ini):
        if how == "immutable":
            subprocess.run(["chattr", "+i", str(ini)], check=True)
            release = lambda: subprocess.run(["chattr", "-i", str(ini)], check=True)
        else:
            release = self.wine.hold_open(ini, exclusive=True).kill
        self.addCleanup(release)
        return release

    def test_retry_box_names_the_file_cancel_keeps_the_typed_text_and_saving_again_writes_all(self):
        for how in ("immutable", "held"):
            with self.subTest(how):
                work = self.work_dir()
                ini = work / "VexaSys.ini"
                write_ansi(ini, "[VexaDent]\nDoctorName2=林醫師\n")
                program, window = self.open_window(work, debug="+msgbox")
                self.type_into(window, TEXT16_4, "D:\\out.dat")
                release = self.refuse(how, ini)
                self.click(window, SAVE_BUTTON)
                [box] = wait_for(lambda: self.wine.display.program_windows(program, "^orbin$"), 30,
                                 what="the retry box")
                [message] = program.message_boxes()
                self.assertIn(f"無法寫入檔案「{windows_path(ini)}」：", message)
                reason = re.split(r"\\n|\n", message.split("」：", 1)[1])[0]
                self.assertTrue(reason.strip(), f"the system's reason: {message!r}")
                self.wine.display.xdotool("windowfocus", "--sync", box)
                self.wine.display.xdotool("key", "Escape")
                wait_for(lambda: not self.wine.display.program_windows(program, "^orbin$"), 30,
                         what="the box to close")
                self.assertTrue(program.running(), "Cancel keeps the window")
                self.assertEqual(self.wine.display.program_windows(program, f"^{CAPTION}$"), [window])
                self.assertEqual(read_ansi(ini), "[VexaDent]\r\nDoctorName2=林醫師\r\n")
                release()
                self.wine.display.xdotool("windowfocus", "--sync", window)
                self.click(window, SAVE_BUTTON)
                self.assertEqual(program.wait(30), 0)
                self.assertEqual(dict(settings_pairs(ini)),
                                 dict(FRESH_VALUES, DoctorName2="林醫師", OutExeFile5="D:\\out.dat"))


class PrinterList(WineTestCase):
    def test_lists_the_default_then_every_printer(self):
        work = self.work_dir()
        self.assertEqual(self.wine.run("/Printers/", cwd=work, timeout=60).process.returncode, 0)
        data = (work / "Printers.txt").read_bytes()
        self.assertTrue(data.endswith(b"\r\n"))
        lines = data.decode("cp950").split("\r\n")[:-1]
        self.assertEqual(lines[0], "PDF")
        self.assertIn("PDF", lines[1:])
        self.assertIn("PDF2", lines[1:])
        self.assertEqual(len(lines[1:]), len(set(lines[1:])))

    def test_an_unwritable_list_file_fails_with_the_error_box(self):
        work = self.work_dir()
        (work / "Printers.txt").mkdir()
        program = self.wine.start("/Printers/", cwd=work, debug="+msgbox")
        self.addCleanup(program.kill)
        self.assertEqual(self.answer_error_box(program, "Printers.txt"), 1)
        self.assertTrue((work / "Printers.txt").is_dir())
        self.assertEqual(sorted(p.name for p in work.iterdir()), ["Printers.txt"])


class PrinterSwitch(SettingsWindowCase):
    """Wine puts the CUPS default back whenever a program loads the printer
    library while no other program of the prefix has it loaded; an open
    settings window keeps it loaded, so a switch and a refused switch can both
    be read back from the profile."""

    def restore_default(self):
        self.wine.run("/Printer/PDF", cwd=self.work_dir(), timeout=60)
        if "PDF" not in subprocess.run(["lpstat", "-d"], capture_output=True, text=True).stdout:
            subprocess.run(["lpadmin", "-d", "PDF"], check=False)

    def test_named_printer_becomes_the_default_and_an_unknown_one_changes_nothing(self):
        self.addCleanup(self.restore_default)
        program, window = self.open_window(self.work_dir())
        self.assertEqual(profile_device(self.wine), "PDF,wineps.drv,CUPS:PDF")

        switch = self.wine.run("/Printer/PDF2", cwd=self.work_dir(), timeout=60)
        self.assertEqual(switch.process.returncode, 0)
        self.assertEqual(profile_device(self.wine), "PDF2,wineps.drv,CUPS:PDF2")

        unknown = self.wine.run("/Printer/NoSuchPrinter", cwd=self.work_dir(), timeout=60,
                                debug="+msgbox")
        self.assertEqual(unknown.process.returncode, 0)
        self.assertEqual(unknown.message_boxes(), [])
        self.assertEqual(profile_device(self.wine), "PDF2,wineps.drv,CUPS:PDF2")

        back = self.wine.run("/Printer/PDF", cwd=self.work_dir(), timeout=60)
        self.assertEqual(back.process.returncode, 0)
        self.assertEqual(profile_device(self.wine), "PDF,wineps.drv,CUPS:PDF")
        self.assertTrue(program.running(), "the settings window stays open meanwhile")
        self.close(window)
        self.assertEqual(program.wait(30), 0)

    def test_a_hung_window_elsewhere_does_not_hang_the_switch(self):
        self.addCleanup(self.restore_default)
        program, window = self.open_window(self.work_dir())
        # A stopped process answers no message: its window is hung.
        os.kill(program.pid, signal.SIGSTOP)
        self.addCleanup(resume, program)
        started = time.monotonic()
        switch = self.wine.run("/Printer/PDF2", cwd=self.work_dir(), timeout=60)
        self.assertEqual(switch.process.returncode, 0)
        self.assertLess(time.monotonic() - started, 15)
        self.assertEqual(profile_device(self.wine), "PDF2,wineps.drv,CUPS:PDF2")
        resume(program)
        self.close(window)
        self.assertEqual(program.wait(30), 0)


class PrintButtons(WineTestCase):
    def test_print_script_prints_one_document(self):
        work = self.work_dir()
        write_ansi(work / "print2vb", "-2\n1\nPrint\n1440,1440\n診所 hello\nEnd\n")
        jobs = PrintJobs()
        self.assertEqual(self.wine.run("/Print2VB/", cwd=work, timeout=60).process.returncode, 0)
        [pdf] = jobs.new(expect=1)
        self.assertTrue(pdf.stat().st_size > 0)

    def test_without_a_script_nothing_is_printed_and_the_run_ends(self):
        jobs = PrintJobs()
        program = self.wine.run("/Print2VB/", cwd=self.work_dir(), timeout=30)
        self.assertEqual(program.process.returncode, 0)
        self.assertEqual(jobs.new(expect=0), [])

    def test_picture_print_prints_the_selected_picture(self):
        picture = self.wine.drive_c / "PICTUR07.bmp"
        tiny_bitmap(picture)
        self.addCleanup(picture.unlink)
        jobs = PrintJobs()
        self.assertEqual(self.wine.run("/Print//07/", cwd=self.work_dir(), timeout=60)
                         .process.returncode, 0)
        [pdf] = jobs.new(expect=1)
        self.assertTrue(pdf.stat().st_size > 0)


if __name__ == "__main__":
    unittest.main()

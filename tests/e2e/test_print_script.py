"""Print scripts ("/Print2VB/") and picture print ("/Print/") on the real
default printer: cups-pdf writes each job as a PDF, which is read back for
pages, words with their positions, and rendered pixels."""
import struct
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import (WINE_NAME, PrintJobs, WineTestCase, pdf_pages, wait_for, windows_path,
                     write_ansi)

POINTS_PER_TWIP = 1 / 20


def render_gray(pdf, page, dpi):
    """Page `page` of `pdf` as rows of grey bytes (0 black .. 255 white)."""
    out = Path(tempfile.mkdtemp(prefix="orbin-render-")) / "page"
    subprocess.run(["pdftoppm", "-gray", "-r", str(dpi), "-f", str(page), "-l", str(page),
                    "-singlefile", str(pdf), str(out)], check=True)
    data = out.with_suffix(".pgm").read_bytes()
    # Binary PGM: "P5\n<width> <height>\n255\n" then the pixels.
    fields, offset = [], 0
    while len(fields) < 4:
        end = data.index(b"\n", offset)
        fields += data[offset:end].split()
        offset = end + 1
    width, height = int(fields[1]), int(fields[2])
    return [data[offset + y * width: offset + (y + 1) * width] for y in range(height)]


def dark_columns(rows, y_from, y_to):
    return sorted({x for y in range(y_from, y_to) for x, v in enumerate(rows[y]) if v < 128})


def pdf_images(pdf):
    """(page, width, height, x-ppi, y-ppi) of each image in the PDF."""
    out = subprocess.run(["pdfimages", "-list", str(pdf)], capture_output=True, text=True,
                         check=True).stdout.splitlines()[2:]
    return [(int(f[0]), int(f[3]), int(f[4]), int(f[12]), int(f[13]))
            for f in (line.split() for line in out)]


class PrintScript(WineTestCase):
    def print_script(self, script, expect=1):
        work = self.work_dir()
        write_ansi(work / "print2vb", script)
        jobs = PrintJobs()
        program = self.wine.run("/Print2VB/", cwd=work)
        self.assertEqual(program.process.returncode, 0)
        return jobs.new(expect=expect)

    def test_worked_example_positions_text_and_box(self):
        [pdf] = self.print_script("3\n0\nSize10\nPrint\n1440,1440\nPatient record\n"
                                  "LineB\n1000,1000,5000\n2000\nNew\nEnd\n")
        [page] = pdf_pages(pdf)  # "New" then "End" adds no blank page
        self.assertFalse(page.landscape)
        words = [w for w in page.words if w[0] in ("Patient", "record")]
        self.assertEqual([w[0] for w in words], ["Patient", "record"])
        # One inch (72 pt) from the left and top of the printable area (the
        # whole page on this printer): x exactly, the line's top within the
        # font's ascent allowance.
        self.assertAlmostEqual(words[0][1], 72, delta=0.5)
        self.assertGreaterEqual(words[0][2], 71.5)
        self.assertLess(words[0][2], 76)
        # The box: corners (1000, 1000) and (6000, 3000) twips, i.e. 50..300 pt
        # across and 50..150 pt down; at 300 dpi a point is 300/72 pixels.
        rows = render_gray(pdf, 1, 300)
        scale = 300 / 72
        mid_y = int(100 * scale)  # a row through the box, below the text
        columns = dark_columns(rows, mid_y, mid_y + 1)
        self.assertAlmostEqual(columns[0], 50 * scale, delta=2)
        self.assertAlmostEqual(columns[-1], 300 * scale, delta=2)
        column = int(200 * scale)
        dark_rows = [y for y in range(len(rows)) if rows[y][column] < 128]
        self.assertAlmostEqual(dark_rows[0], 50 * scale, delta=2)
        self.assertAlmostEqual(dark_rows[-1], 150 * scale, delta=2)

    def test_orientation_header_one_gives_a_landscape_page(self):
        [pdf] = self.print_script("2\n1\nPrint\n1440,1440\nWide\nEnd\n")
        [page] = pdf_pages(pdf)
        self.assertTrue(page.landscape)
        self.assertEqual(page.text, "Wide")

    def test_new_page_puts_each_text_on_its_own_page(self):
        [pdf] = self.print_script("1\n0\nPrint\n720,720\nFirst\nNew\nPrint\n720,720\nSecond\nEnd\n")
        pages = pdf_pages(pdf)
        self.assertEqual([p.text for p in pages], ["First", "Second"])

    def test_chinese_text_prints_in_chinese(self):
        [pdf] = self.print_script("1\n0\nPrint\n1440,720\n王大明 診所收據\nEnd\n")
        [page] = pdf_pages(pdf)
        self.assertEqual(page.text, "王大明 診所收據")

    def test_underline_and_continuation_at_the_underline_end(self):
        [pdf] = self.print_script("1\n0\nPrintL\n1440,720,1000\nABC\nPrint;DEF\nEnd\n")
        [page] = pdf_pages(pdf)
        [abc, def_] = page.words
        self.assertEqual((abc[0], def_[0]), ("ABC", "DEF"))
        # "ABC" with its top at 1440, 720 twips (72, 36 pt).
        self.assertAlmostEqual(abc[1], 72, delta=0.5)
        self.assertGreaterEqual(abc[2], 35.5)
        self.assertLess(abc[2], 40)
        # The underline runs at 1000 twips (50 pt) from the text's left end as
        # long as "ABC" is wide; "DEF" goes on from the underline's end.
        self.assertAlmostEqual(def_[1], abc[3], delta=1)
        self.assertGreaterEqual(def_[2], 49.5)
        self.assertLess(def_[2], 54)
        rows = render_gray(pdf, 1, 300)
        scale = 300 / 72
        rows_near_50pt = range(round(50 * scale) - 2, round(50 * scale) + 3)
        columns = max(([x for x in dark_columns(rows, y, y + 1) if x < (def_[1] - 1) * scale]
                       for y in rows_near_50pt), key=len)
        self.assertTrue(columns, "an underline at 50 pt")
        self.assertAlmostEqual(columns[0] / scale, 72, delta=1)
        self.assertAlmostEqual(columns[-1] / scale, def_[1], delta=1.5)
        self.assertEqual(len(columns), columns[-1] - columns[0] + 1, "one unbroken line")

    def test_script_without_end_is_printed_as_drawn(self):
        [pdf] = self.print_script("1\n0\nPrint\n720,720\nNo end line\n")
        self.assertEqual(pdf_pages(pdf)[0].text, "No end line")

    def test_an_erroneous_script_prints_nothing_and_names_the_line(self):
        work = self.work_dir()
        write_ansi(work / "print2vb", "1\n0\nPrint\n720,720\nDrawn first\nLineB\n100,200,300\n32768\nEnd\n")
        jobs = PrintJobs()
        program = self.wine.start("/Print2VB/", cwd=work, debug="+msgbox")
        self.assertEqual(self.answer_error_box(
            program, windows_path(work / "print2vb") + " 第 8 行（LineB）：第四個欄位", "「32768」"), 1)
        self.assertEqual(jobs.new(expect=0), [])

    def test_no_script_file_prints_nothing_and_ends(self):
        jobs = PrintJobs()
        self.assertEqual(self.wine.run("/Print2VB/", cwd=self.work_dir()).process.returncode, 0)
        self.assertEqual(jobs.new(expect=0), [])


class LongValueInTheErrorBox(WineTestCase):
    def test_a_million_digit_field_is_quoted_shortened_in_a_box_that_fits_the_screen(self):
        work = self.work_dir()
        write_ansi(work / "print2vb", "1\n0\nLine\n" + "9" * 1000000 + ",2,3,4\nEnd\n")
        program = self.wine.start("/Print2VB/", cwd=work, debug="+msgbox")
        self.addCleanup(program.kill)
        display = self.wine.display
        [box] = wait_for(lambda: display.program_windows(program, "^orbin$"), 60, what="the error box")
        shell = display.xdotool("getwindowgeometry", "--shell", box)
        g = {k: int(v) for k, v in (line.split("=") for line in shell.splitlines())}
        self.assertTrue(0 <= g["X"] and g["X"] + g["WIDTH"] <= 1024 and
                        0 <= g["Y"] and g["Y"] + g["HEIGHT"] <= 768, f"the box lies on the screen: {g}")
        self.assertEqual(self.answer_error_box(
            program, windows_path(work / "print2vb") + " 第 4 行（Line）：第一個欄位",
            "讀到的是「" + "9" * 40 + "…」。"), 1)


class PicturePrint(WineTestCase):
    def setUp(self):
        drive_c = self.wine.drive_c
        self.pictures = [drive_c / f"PICTUR0{n}.bmp" for n in range(10)]
        for picture in self.pictures:
            picture.unlink(missing_ok=True)
        # Picture 01: 192 x 96 pixels, 03: 96 x 288, both at the screen's 96
        # pixels per inch: 2 x 1 and 1 x 3 inches.
        subprocess.run(["convert", "-size", "192x96", "xc:red", f"BMP3:{self.pictures[1]}"], check=True)
        subprocess.run(["convert", "-size", "96x288", "xc:blue", f"BMP3:{self.pictures[3]}"], check=True)
        for picture in self.pictures:
            self.addCleanup(picture.unlink, missing_ok=True)

    def print_pictures(self, argument_text, expect):
        jobs = PrintJobs()
        self.assertEqual(self.wine.run(argument_text, cwd=self.work_dir()).process.returncode, 0)
        return jobs.new(expect=expect)

    def test_selected_pictures_print_highest_first_at_their_own_size(self):
        [pdf] = self.print_pictures("/Print//01//03/", expect=1)
        pages = pdf_pages(pdf)
        self.assertEqual(len(pages), 2)
        self.assertEqual(pdf_images(pdf), [(1, 96, 288, 96, 96), (2, 192, 96, 96, 96)])
        rows = render_gray(pdf, 1, 72)  # picture 03 at the top-left: 72 x 216 pt
        self.assertLess(rows[10][10], 128)
        self.assertLess(rows[210][60], 128)
        self.assertGreater(rows[230][60], 200)
        self.assertGreater(rows[10][80], 200)
        self.assertFalse(pages[0].landscape)

    def test_landscape_mark_gives_landscape_pages(self):
        [pdf] = self.print_pictures("/Print//03//H/", expect=1)
        pages = pdf_pages(pdf)
        self.assertEqual(len(pages), 1)
        # Picture 03 (1 x 3 inches) stands upright on a landscape sheet: its
        # long side runs along the sheet's short side. Wine 8 turns the PDF
        # page; Wine 10 leaves a page holding only a picture unturned and
        # draws the picture turned on it.
        rows = render_gray(pdf, 1, 72)
        dark = [(x, y) for y, row in enumerate(rows) for x, v in enumerate(row) if v < 128]
        width = max(x for x, _ in dark) - min(x for x, _ in dark) + 1
        height = max(y for _, y in dark) - min(y for _, y in dark) + 1
        short, long = sorted((width, height))
        self.assertAlmostEqual(short, 72, delta=2)
        self.assertAlmostEqual(long, 216, delta=2)
        sheet_is_wide = len(rows[0]) > len(rows)
        self.assertEqual(height > width, sheet_is_wide,
                         f"a {width} x {height} pt picture on a {len(rows[0])} x {len(rows)} pt page")

    def test_no_selection_or_missing_files_print_nothing(self):
        self.assertEqual(self.print_pictures("/Print/", expect=0), [])
        self.assertEqual(self.print_pictures("/Print//05/", expect=0), [])


    def test_a_damaged_picture_stops_the_run_before_anything_is_printed(self):
        # A header declaring 100 x 100 pixels with a tenth of their bytes, and
        # a text file under a picture's name; picture 03 is whole.
        info = struct.pack("<IiiHHIIiiII", 40, 100, 100, 1, 24, 0, 30000, 2835, 2835, 0, 0)
        cut = b"BM" + struct.pack("<IHHI", 54 + 3000, 0, 0, 54) + info + bytes(3000)
        cases = [(cut, "檔案在像素資料結束之前就結束了"),
                 ("病歷資料\r\n".encode("cp950"), "這個檔案不是點陣圖")]
        for content, reason in cases:
            with self.subTest(reason=reason):
                self.pictures[5].write_bytes(content)
                jobs = PrintJobs()
                program = self.wine.start("/Print//03//05//01/", cwd=self.work_dir(), debug="+msgbox")
                self.assertEqual(self.answer_error_box(
                    program, "無法列印圖片「c:\\PICTUR05.bmp」：" + reason), 1)
                self.assertEqual(jobs.new(expect=0), [])


class PrinterFaults(WineTestCase):
    """The default queue refusing jobs, or stopped, while a job prints."""

    def set_queue(self, command, undo):
        subprocess.run([command, "PDF"], check=True)
        self.addCleanup(subprocess.run, [undo, "PDF"], check=True)

    def prepare(self):
        work = self.work_dir()
        write_ansi(work / "print2vb", "1\n0\nPrint\n1440,1440\n收據 receipt\nEnd\n")
        write_ansi(work / "orbin.txt", "第一行 line one\n")
        return work

    def test_a_queue_refusing_jobs_fails_naming_the_printer_and_prints_nothing(self):
        if WINE_NAME == "wine10":
            self.skipTest("Wine 10's spooler reports a job CUPS refused as printed (EndDoc "
                          "succeeds), so no program under it can see the refusal")
        self.set_queue("cupsreject", "cupsaccept")
        for argument_text in ("/Print2VB/", "/HH/"):
            with self.subTest(argument_text):
                jobs = PrintJobs()
                program = self.wine.start(argument_text, cwd=self.prepare(), debug="+msgbox")
                self.assertEqual(self.answer_error_box(program, "印表機「PDF」錯誤（"), 1)
                self.assertEqual(jobs.new(expect=0), [])

    def test_a_stopped_queue_keeps_the_job_until_it_is_started(self):
        # As on Windows with a paused printer: the job is handed over and
        # waits in the queue; the run has done its part.
        self.set_queue("cupsdisable", "cupsenable")
        self.addCleanup(subprocess.run, ["cancel", "-a", "PDF"], check=False)
        jobs = PrintJobs()
        self.assertEqual(self.wine.run("/Print2VB/", cwd=self.prepare()).process.returncode, 0)
        queued = wait_for(lambda: subprocess.run(["lpstat", "-o", "PDF"], capture_output=True,
                                                 text=True).stdout.strip(), 30, what="the held job")
        self.assertEqual(len(queued.splitlines()), 1)
        subprocess.run(["cupsenable", "PDF"], check=True)
        [pdf] = jobs.new(expect=1, timeout=60)
        self.assertEqual(pdf_pages(pdf)[0].text, "收據 receipt")


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/env python3
"""The printing jobs of the x86_64 orbin.exe against the floor a user feels:
a minimal program printing the same pages with the same GDI calls
(print_floor.exe). Each run is timed by startup_timer.exe inside one warm
Wine server, from its start to its end (the document handed to the
spooler), with the print system idle at each start: after every run the
benchmark waits until CUPS has written the PDF, and removes it.

  "/Print2VB/" of a one-page script (30 lines of text, a box, five rules);
  "/HH/" of a 150-line "orbin.txt" (several landscape pages);
  "/Print/" of two pictures (800 x 600 and 600 x 800 pixels, 24 bits);
  "/Print2VB/" again with 20 printers installed in CUPS (18 queues added
  for the run and removed after it), against the floor measured the same way.

The programs run interleaved round by round, each round starting one program
further on. Prints the medians and the ratios with their targets."""
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402

BUILD = ROOT / "build" / "x86_64"
TARGET = 1.1
EXTRA_QUEUES = [f"BENCH{n:02d}" for n in range(1, 19)]

# The page print_floor.exe draws for "script".
SCRIPT = ("3\n0\n"
          + "".join(f"Print\n1440,{720 + 300 * i}\nLine {i} 病歷 receipt text\n" for i in range(30))
          + "LineB\n1000,1000,5000\n2000\n"
          + "".join(f"Line\n1000,{11000 + 200 * i},5000\n0\n" for i in range(5))
          + "End\n")
TEXT = "".join(f"{n:3d} 王大明 11B 91001C 診療紀錄 receipt line for the landscape printout\n"
               for n in range(150))

# (name, program, arguments)
PRINTS = [
    ("script", "orbin.exe", "/Print2VB/"),
    ("script floor", "print_floor.exe", "script"),
    ("text", "orbin.exe", "/HH/"),
    ("text floor", "print_floor.exe", "text"),
    ("pictures", "orbin.exe", "/Print//01//03/"),
    ("pictures floor", "print_floor.exe", "pictures"),
]
MANY_PRINTERS = [
    ("script, 20 printers", "orbin.exe", "/Print2VB/"),
    ("script floor, 20 printers", "print_floor.exe", "script"),
]
RATIOS = [
    ("script", "script floor"),
    ("text", "text floor"),
    ("pictures", "pictures floor"),
    ("script, 20 printers", "script floor, 20 printers"),
]
LABELS = {
    "script": '"/Print2VB/" one-page script',
    "script floor": "minimal program printing the same page",
    "text": '"/HH/" 150-line "orbin.txt"',
    "text floor": "minimal program printing the same lines",
    "pictures": '"/Print/" two pictures',
    "pictures floor": "minimal program printing the same pictures",
    "script, 20 printers": '"/Print2VB/" with 20 printers installed',
    "script floor, 20 printers": "the same floor with 20 printers installed",
}


class Bench:
    def __init__(self, wine, work):
        self.wine, self.work = wine, work
        self.results = work / "results.txt"

    def time_one(self, program, arguments):
        """Milliseconds from the start to the end of one run, then waits
        until the print system is idle again."""
        plan = self.work / "plan.txt"
        plan.write_text(f'exit\t"{harness.windows_path(BUILD / program)}" {arguments}\n',
                        encoding="utf-8")
        jobs = harness.PrintJobs()
        timer = self.wine.run(f"{harness.windows_path(plan)} {harness.windows_path(self.results)} 1",
                              cwd=self.work, exe=BUILD / "startup_timer.exe", timeout=120)
        if timer.process.returncode != 0:
            raise SystemExit(f"startup_timer failed: {timer.stderr().strip()}")
        elapsed = float(self.results.read_text().split()[0])
        for pdf in jobs.new(expect=1, timeout=120):
            pdf.unlink()
        return elapsed

    def rounds(self, programs, count):
        """Medians of `count` interleaved rounds (after one uncounted round)."""
        times = {name: [] for name, *_ in programs}
        for round_number in range(count + 1):
            for i in range(len(programs)):
                name, program, arguments = programs[(round_number + i) % len(programs)]
                elapsed = self.time_one(program, arguments)
                if round_number > 0:
                    times[name].append(elapsed)
        return {name: statistics.median(values) for name, values in times.items()}


def add_queues():
    for queue in EXTRA_QUEUES:
        subprocess.run(["lpadmin", "-p", queue, "-v", "cups-pdf:/", "-E", "-m",
                        "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def remove_queues():
    for queue in EXTRA_QUEUES:
        subprocess.run(["lpadmin", "-x", queue], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)


def installed_queues():
    out = subprocess.run(["lpstat", "-e"], capture_output=True, text=True).stdout
    return len(out.split())


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 15
    work = Path(tempfile.mkdtemp(prefix="orbin-print-bench-"))
    wine = harness.Wine(name="bench", runtime="host")
    pictures = [wine.drive_c / "PICTUR01.bmp", wine.drive_c / "PICTUR03.bmp"]
    medians = {}
    try:
        harness.write_ansi(work / "print2vb", SCRIPT)
        harness.write_ansi(work / "orbin.txt", TEXT)
        for picture, size, colour in zip(pictures, ("800x600", "600x800"), ("red", "blue")):
            subprocess.run(["convert", "-size", size, "gradient:white-" + colour,
                            f"BMP3:{picture}"], check=True)
        queues = installed_queues()
        medians.update(Bench(wine, work).rounds(PRINTS, count))
        add_queues()
        try:
            many = installed_queues()
            medians.update(Bench(wine, work).rounds(MANY_PRINTERS, count))
        finally:
            remove_queues()
    finally:
        wine.stop()
        for picture in pictures:
            picture.unlink(missing_ok=True)
        shutil.rmtree(work, ignore_errors=True)
    print(f"printing with orbin.exe (x86_64) under one warm Wine server, the print system idle "
          f"at each start, medians of {count} interleaved rounds "
          f"({queues} printers installed, then {many}):")
    for name, median in medians.items():
        print(f"  {LABELS[name]:48} {median:7.1f} ms")
    for what, baseline in RATIOS:
        ratio = medians[what] / medians[baseline]
        print(f"  ratio {LABELS[what]} / {LABELS[baseline]}: {ratio:.2f} "
              f"(target: at most {TARGET})")


if __name__ == "__main__":
    main()

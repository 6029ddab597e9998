#!/usr/bin/env python3
"""Start-up of the x86_64 orbin.exe against the floor a user feels, timed by
startup_timer.exe inside one warm Wine server on a virtual display, the
programs interleaved round by round:

  "/VV/" from the start to its end, against an empty program that imports
  user32 and gdi32 only (what every windowed program loads);
  "/L" from the start until the entry window shows with the keyboard in
  Text1, against a minimal program showing a window with one edit box that
  has the keyboard, built like orbin.exe (link options and manifest: its
  edit box comes from the same common controls library).

For reference, an empty program importing kernel32 only and the edit-box
program without the manifest are timed too. Prints the medians and the two
ratios."""
import shutil
import statistics
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402

BUILD = ROOT / "build" / "x86_64"

# (name, mode, program, arguments): the timer's plan (startup_timer_win32.c).
PROGRAMS = [
    ("vv", "exit", "orbin.exe", "/VV/"),
    ("floor", "exit", "empty_gui_program.exe", ""),
    ("kernel32", "exit", "empty_program.exe", ""),
    ("entry", "typing", "orbin.exe", "/L"),
    ("edit", "typing", "edit_window_program.exe", ""),
    ("plain edit", "typing", "plain_edit_window_program.exe", ""),
]
# (what, its baseline, target): the ratios reported.
RATIOS = [
    ("vv", "floor", 1.1),
    ("entry", "edit", 1.2),
]
LABELS = {
    "vv": '"/VV/" start to exit',
    "floor": "empty program importing user32 and gdi32",
    "kernel32": "empty program importing kernel32 only",
    "entry": '"/L" start until Text1 has the keyboard',
    "edit": "window with one edit box that has the keyboard",
    "plain edit": "the same without orbin.exe's manifest",
}


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 40
    work = Path(tempfile.mkdtemp(prefix="orbin-bench-"))
    plan = work / "plan.txt"
    results = work / "results.txt"
    lines = [f'{mode}\t"{harness.windows_path(BUILD / exe)}" {args}'.rstrip() + "\n"
             for _, mode, exe, args in PROGRAMS]
    plan.write_text("".join(lines), encoding="utf-8")
    wine = harness.Wine(name="bench", runtime="host")
    try:
        timer = BUILD / "startup_timer.exe"
        arguments = f"{harness.windows_path(plan)} {harness.windows_path(results)}"
        # One round warms the server and the file cache; it is not counted.
        for count in (1, rounds):
            program = wine.run(f"{arguments} {count}", cwd=work, exe=timer, timeout=60 + 10 * count)
            if program.process.returncode != 0:
                raise SystemExit(f"startup_timer failed: {program.stderr().strip()}")
        rows = [[float(t) for t in line.split("\t")] for line in results.read_text().splitlines()]
    finally:
        wine.stop()
        shutil.rmtree(work, ignore_errors=True)
    medians = {name: statistics.median(row[i] for row in rows)
               for i, (name, *_) in enumerate(PROGRAMS)}
    print(f"start-up of orbin.exe (x86_64) under one warm Wine server, medians of {len(rows)} "
          "interleaved rounds:")
    for name, median in medians.items():
        print(f"  {LABELS[name]:48} {median:7.1f} ms")
    for what, baseline, target in RATIOS:
        ratio = medians[what] / medians[baseline]
        print(f"  ratio {LABELS[what]} / {LABELS[baseline]}: {ratio:.2f} (target: at most {target})")


if __name__ == "__main__":
    main()

"""The sample practice that tools/run and tools/guide-pictures run the
program in: laid out in a Wine prefix's drive C: as a real practice has it
(texts in code page 950; samples in tools/sample, tools/sample/drive_c for
the drive's root)."""
import os
import shutil
import time
from pathlib import Path

SAMPLES = Path(__file__).resolve().parent / "sample"

# The main program's file date the office window shows.
MAIN_PROGRAM_DATE = (2026, 11, 20, 8, 30, 0)


def lay_out_sample_practice(drive_c, exe, write_ansi):
    """Writes the sample practice into the prefix's drive C:; returns the
    installation folder, where the job runs."""
    samples = SAMPLES
    install = drive_c / "vexa"
    shutil.rmtree(install, ignore_errors=True)
    install.mkdir(parents=True)
    shutil.copy(exe, install / "orbin.exe")

    def copy_text(source, target):
        write_ansi(target, source.read_text(encoding="utf-8").rstrip("\n") + "\n")

    for sample in samples.iterdir():
        if sample.is_file():
            copy_text(sample, install / sample.name)
    for sample in (samples / "drive_c").iterdir():
        copy_text(sample, drive_c / sample.name)
    main_program = install / "vexa.exe"
    main_program.write_bytes(b"MZ")  # stands in for the main program; only its date is read
    stamp = time.mktime((*MAIN_PROGRAM_DATE, 0, 0, -1))
    os.utime(main_program, (stamp, stamp))
    return install

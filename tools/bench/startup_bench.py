#!/usr/bin/env python3
"""Start-up cost of orbin.exe: "/VV/" (start, pick the job, set portrait,
end) against an empty Win32 program of the same build that imports the same
system DLLs, and for reference a bare one that imports only kernel32; each
run many times under one warm Wine server, interleaved. Prints the medians
and the ratio against the same-imports baseline."""
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402


def timed_run(wine, exe, argument_text, cwd):
    start = time.perf_counter()
    program = wine.start(argument_text, cwd=cwd, exe=exe)
    code = program.wait(60)
    elapsed = time.perf_counter() - start
    if code != 0:
        raise SystemExit(f"{exe.name} {argument_text} ended with {code}")
    return elapsed


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 40
    build = ROOT / "build" / "x86_64"
    wine = harness.Wine(name="bench", display=False)
    cwd = Path(tempfile.mkdtemp(prefix="orbin-bench-"))
    try:
        programs = {"orbin.exe /VV/": (build / "orbin.exe", "/VV/"),
                    "empty program, same imports": (build / "empty_gui_program.exe", ""),
                    "empty program, kernel32 only": (build / "empty_program.exe", "")}
        for exe, args in programs.values():  # warm the server and the file cache
            timed_run(wine, exe, args, cwd)
        times = {name: [] for name in programs}
        for _ in range(runs):
            for name, (exe, args) in programs.items():
                times[name].append(timed_run(wine, exe, args, cwd))
    finally:
        wine.stop()
    medians = {name: statistics.median(values) for name, values in times.items()}
    print(f"start-up, {runs} runs each under one warm Wine server")
    for name, median in medians.items():
        print(f"  {name:30} median {median * 1000:7.1f} ms")
    ratio = medians["orbin.exe /VV/"] / medians["empty program, same imports"]
    print(f"  ratio against the same-imports baseline {ratio:.2f} (target: at most 1.2)")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Start-up cost of orbin.exe: "/VV/" (start, pick the job, set portrait,
end) against an empty Win32 program of the same build, each run many times
under one warm Wine server, interleaved. Prints both medians and the ratio."""
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
        for _ in range(3):  # warm the server and the file cache
            timed_run(wine, build / "orbin.exe", "/VV/", cwd)
            timed_run(wine, build / "empty_program.exe", "", cwd)
        orbin, empty = [], []
        for _ in range(runs):
            orbin.append(timed_run(wine, build / "orbin.exe", "/VV/", cwd))
            empty.append(timed_run(wine, build / "empty_program.exe", "", cwd))
    finally:
        wine.stop()
    m_orbin, m_empty = statistics.median(orbin), statistics.median(empty)
    print(f"start-up, {runs} runs each under one warm Wine server")
    print(f"  orbin.exe /VV/     median {m_orbin * 1000:7.1f} ms")
    print(f"  empty program      median {m_empty * 1000:7.1f} ms")
    print(f"  ratio {m_orbin / m_empty:.2f} (target: at most 1.2)")


if __name__ == "__main__":
    main()

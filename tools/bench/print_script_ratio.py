#!/usr/bin/env python3
"""The print-script interpreter against a bare line read of the same file:
runs the native Google Benchmark (tools/bench/print_script_bench.cpp) five
times and prints the medians of both times and of their ratio."""
import json
import subprocess
import sys
import tempfile
from pathlib import Path

TARGET = 1.5


def main():
    benchmarks = Path(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="orbin-bench-") as work:
        out = Path(work) / "print_script.json"
        command = [str(benchmarks), "--benchmark_filter=BM_PrintScriptAgainstLineReading",
                   "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true",
                   f"--benchmark_out={out}", "--benchmark_out_format=json"]
        result = subprocess.run(command, capture_output=True, text=True)
        if not out.exists():
            raise SystemExit(f"{benchmarks.name} failed:\n{result.stderr}")
        results = json.loads(out.read_text())["benchmarks"]
    [median] = [r for r in results if r.get("aggregate_name") == "median"]
    print("print-script interpreter (native build), medians of 5 repetitions:")
    print(f"  {'interpreting a script of 100,000 commands':48} {median['interpret_ms']:7.2f} ms")
    print(f"  {'reading the same file line by line':48} {median['read_lines_ms']:7.2f} ms")
    print(f"  ratio interpreting / reading line by line: {median['ratio']:.2f} "
          f"(target: at most {TARGET})")


if __name__ == "__main__":
    main()

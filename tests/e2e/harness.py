"""Runs the x86_64 orbin.exe under 64-bit Wine as the main system would:
in a working directory holding the files a case needs, with code page 950,
the cups-pdf printer, and (where a window is involved) a virtual display on
which xdotool types and clicks as a person would.

Every program run has a hard timeout; only processes started here are
ended, by their ids.
"""
import atexit
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("ORBIN_BUILD_ROOT", ROOT / "build"))
EXE = Path(os.environ.get("ORBIN_EXE", BUILD / "x86_64" / "orbin.exe"))
PROBES = EXE.parent / "probes"
PDF_OUT = Path.home() / "PDF"


def wait_for(predicate, timeout, interval=0.1, what="condition"):
    """Polls `predicate` until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def windows_path(path):
    """The Wine (Z:) path of a Linux path."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def write_ansi(path, text, line_end="\r\n"):
    """Writes `text` (lines joined by `line_end`) in code page 950, as the
    main system writes its files."""
    Path(path).write_bytes(text.replace("\n", line_end).encode("cp950"))


def read_ansi(path):
    return Path(path).read_bytes().decode("cp950")


class Display:
    """A virtual X display of 1024 x 768 at 24 bits."""

    def __init__(self):
        self.number = next(n for n in range(90, 200)
                           if not Path(f"/tmp/.X11-unix/X{n}").exists()
                           and not Path(f"/tmp/.X{n}-lock").exists())
        self.name = f":{self.number}"
        self.process = subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: Path(f"/tmp/.X11-unix/X{self.number}").exists(), 10, what="Xvfb")

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": self.name},
                                capture_output=True, text=True, timeout=20)
        if check and result.returncode != 0:
            raise AssertionError(f"xdotool {args}: {result.stderr.strip()}")
        return result.stdout.strip()

    def find_windows(self, name_pattern, visible_only=True):
        visible = ["--onlyvisible"] if visible_only else []
        out = self.xdotool("search", *visible, "--name", name_pattern, check=False)
        return [w for w in out.split() if w]

    def window_name(self, window):
        return self.xdotool("getwindowname", window, check=False)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", "-depth", "8", str(path)],
                       env={**os.environ, "DISPLAY": self.name}, check=True, timeout=30)
        return path

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Program:
    """One started orbin.exe (or probe) process."""

    def __init__(self, process, stderr_path, cwd):
        self.process = process
        self.stderr_path = stderr_path
        self.cwd = cwd

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError(f"program still running after {timeout} s")

    def kill(self):
        if self.running():
            os.kill(self.process.pid, signal.SIGKILL)
            self.process.wait(10)

    def stderr(self):
        return Path(self.stderr_path).read_text(errors="replace")

    def message_boxes(self):
        """Texts of the message boxes the program showed (read from Wine's
        msgbox trace, which the run must have asked for)."""
        texts = re.findall(r'MSGBOX_OnInit L"(.*)"', self.stderr())
        return [decode_wine_string(t) for t in texts]


def decode_wine_string(text):
    text = re.sub(r"\\([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), text)
    return text.replace('\\"', '"').replace("\\\\", "\\")


class Wine:
    """A Wine prefix kept warm for a test module, with a virtual display."""

    def __init__(self, name=None, display=True):
        name = name or os.environ.get("ORBIN_E2E_PREFIX", "e2e")
        self.prefix = BUILD / "wine" / name
        self.env = {**os.environ, "WINEPREFIX": str(self.prefix), "WINEDEBUG": "-all",
                    "LANG": "zh_TW.UTF-8", "LC_ALL": "zh_TW.UTF-8", "WINEDLLOVERRIDES": "mscoree,mshtml="}
        self.display = Display() if display else None
        if self.display:
            self.env["DISPLAY"] = self.display.name
        else:
            self.env.pop("DISPLAY", None)
        self.logs = Path(tempfile.mkdtemp(prefix="orbin-e2e-logs-"))
        if not (self.prefix / "system.reg").exists():
            self.prefix.mkdir(parents=True, exist_ok=True)
            subprocess.run(["wineboot", "-i"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=300, check=True)
        # A persistent server for the module, so every run starts warm; it
        # daemonises, and stop() ends it through the prefix.
        # (It answers non-zero when wineboot's server is still up: that one
        # then serves.)
        subprocess.run(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def start(self, argument_text="", cwd=None, exe=None, debug=""):
        """Starts the program with `argument_text` as its argument text (split
        on single blanks, which Wine joins again unquoted)."""
        exe = Path(exe or EXE)
        cwd = Path(cwd or tempfile.mkdtemp(prefix="orbin-e2e-"))
        args = argument_text.split(" ") if argument_text else []
        env = dict(self.env)
        if debug:
            env["WINEDEBUG"] = "-all," + debug
        stderr_path = self.logs / f"run-{time.monotonic_ns()}.stderr"
        with open(stderr_path, "wb") as err, open(os.devnull, "wb") as out:
            process = subprocess.Popen(["wine", str(exe), *args], cwd=cwd, env=env,
                                       stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        return Program(process, stderr_path, cwd)

    def run(self, argument_text="", cwd=None, exe=None, timeout=60, debug=""):
        program = self.start(argument_text, cwd, exe, debug)
        program.wait(timeout)
        return program

    def probe(self, name, *args, timeout=60):
        """Runs a probe program; returns its result text."""
        work = Path(tempfile.mkdtemp(prefix="orbin-probe-"))
        out = work / "result.txt"
        program = self.start(" ".join([*args, windows_path(out)]), cwd=work,
                             exe=PROBES / f"{name}.exe")
        code = program.wait(timeout)
        if code != 0:
            raise AssertionError(f"probe {name} {args} failed with {code}")
        return out.read_bytes().decode("utf-8")

    def hold_open(self, path, exclusive=False, milliseconds=60000):
        """Another Windows program holding `path` open (sharing reading and
        writing, or nothing); returns it once it has the file. Kill it to
        let go."""
        work = Path(tempfile.mkdtemp(prefix="orbin-probe-"))
        held = work / "result.txt"
        program = self.start(" ".join(["hold", windows_path(path),
                                       "exclusive" if exclusive else "shared", str(milliseconds),
                                       windows_path(held)]),
                             cwd=work, exe=PROBES / "platform_probe.exe")
        wait_for(lambda: held.exists() or not program.running(), 30, what="the file held open")
        if not held.exists():
            raise AssertionError(f"the probe could not open {path}")
        return program

    def ask_to_close(self, image_name):
        """Another program asks the windows of `image_name` to close, as
        taskkill without /F does (WM_CLOSE)."""
        subprocess.run(["wine", "taskkill", "/IM", image_name], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def end_session(self, window_class):
        """The user's session ends, as at log-off, for the window of that class."""
        self.probe("platform_probe", "endsession", window_class)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.display:
            self.display.stop()
        shutil.rmtree(self.logs, ignore_errors=True)


class PrintJobs:
    """The PDF files cups-pdf writes for print jobs started after `mark`."""

    def __init__(self):
        PDF_OUT.mkdir(parents=True, exist_ok=True)
        self.before = set(PDF_OUT.glob("*.pdf"))

    def new(self, expect=1, timeout=30):
        """Waits for `expect` new PDF files (0: waits until the spooler is idle
        and returns whatever appeared)."""
        def ready():
            files = sorted(set(PDF_OUT.glob("*.pdf")) - self.before, key=lambda p: p.stat().st_mtime)
            if expect and len(files) < expect:
                return None
            if not spooler_idle():
                return None
            return files or ([] if not expect else None)
        if expect == 0:
            wait_for(spooler_idle, timeout, what="the print spooler")
            time.sleep(1)
            return sorted(set(PDF_OUT.glob("*.pdf")) - self.before)
        files = wait_for(ready, timeout, what=f"{expect} printed PDF file(s)")
        time.sleep(0.5)  # cups-pdf renames the finished file into place
        return files


def spooler_idle():
    result = subprocess.run(["lpstat", "-o"], capture_output=True, text=True)
    return result.returncode == 0 and not result.stdout.strip()


class PdfPage:
    def __init__(self, width, height, rotation, words):
        self.width, self.height, self.rotation, self.words = width, height, rotation, words

    @property
    def landscape(self):
        w, h = (self.height, self.width) if self.rotation % 180 else (self.width, self.height)
        return w > h

    @property
    def text(self):
        return " ".join(w[0] for w in self.words)


def pdf_pages(path):
    """The pages of a PDF: size, rotation and words with their boxes (points)."""
    info = subprocess.run(["pdfinfo", "-f", "1", "-l", "999", str(path)], capture_output=True,
                          text=True, check=True).stdout
    rotations = [int(r) for r in re.findall(r"Page\s+\d+ rot:\s+(\d+)", info)]
    bbox = subprocess.run(["pdftotext", "-bbox", str(path), "-"], capture_output=True,
                          text=True, check=True).stdout
    pages = []
    for i, m in enumerate(re.finditer(r'<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>', bbox, re.S)):
        words = [(html_unescape(w[4]), float(w[0]), float(w[1]), float(w[2]), float(w[3]))
                 for w in re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                                     r'yMax="([\d.]+)">(.*?)</word>', m.group(3))]
        pages.append(PdfPage(float(m.group(1)), float(m.group(2)),
                             rotations[i] if i < len(rotations) else 0, words))
    return pages


def html_unescape(text):
    import html
    return html.unescape(text)


_shared_wine = None


def shared_wine():
    """One Wine prefix and display for the whole test process, ended at exit."""
    global _shared_wine
    if _shared_wine is None:
        _shared_wine = Wine()
        atexit.register(_shared_wine.stop)
    return _shared_wine


class WineTestCase(unittest.TestCase):
    """A test case running orbin.exe in the shared Wine prefix."""

    wine = None

    @classmethod
    def setUpClass(cls):
        if not EXE.exists():
            raise AssertionError(f"{EXE} is not built")
        cls.wine = shared_wine()

    def answer_error_box(self, program, *expected_texts, timeout=30):
        """Waits for the program's error box, checks that one of its messages
        holds every text in `expected_texts`, presses Enter on it and returns
        the program's exit code. The program must run with debug="+msgbox"."""
        self.addCleanup(program.kill)  # a box left open after a failed check
        display = self.wine.display
        [box] = wait_for(lambda: display.find_windows("^orbin$"), timeout, what="the error box")
        messages = program.message_boxes()
        self.assertTrue(any(all(t in m for t in expected_texts) for m in messages),
                        f"no message holds {expected_texts}: {messages}")
        display.xdotool("windowfocus", "--sync", box)
        display.xdotool("key", "Return")
        return program.wait(timeout)

    def work_dir(self):
        path = Path(tempfile.mkdtemp(prefix="orbin-e2e-"))
        self.addCleanup(shutil.rmtree, path, ignore_errors=True)
        return path

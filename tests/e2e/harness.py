"""Runs orbin.exe under Wine as the main system would: in a working
directory holding the files a case needs, with code page 950, the cups-pdf
printer, and (where a window is involved) a virtual display on which xdotool
types and clicks as a person would.

One harness for both builds, chosen by ORBIN_E2E_BUILD:
- "x86_64" (default): build/x86_64/orbin.exe under the host's 64-bit Wine;
- "i686": build/i686/orbin.exe, the build a practice installs, under
  Debian 13's Wine 10 in its wow64 mode (32-bit Windows code in a 64-bit
  process), from the root tools/wine10/setup makes (tools/wine10/run).
ORBIN_E2E_WINE ("host" or "wine10") picks the Wine apart from the build.
The probes and the simulated reader library come from the same build
folder as the program.

Every program run has a hard timeout; only processes started here are
ended, by their ids.
"""
import atexit
import itertools
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("ORBIN_BUILD_ROOT", ROOT / "build"))
BUILD_NAME = os.environ.get("ORBIN_E2E_BUILD", "x86_64")
if BUILD_NAME not in ("x86_64", "i686"):
    raise SystemExit(f"ORBIN_E2E_BUILD={BUILD_NAME!r}: x86_64 or i686")
EXE = Path(os.environ.get("ORBIN_EXE", BUILD / BUILD_NAME / "orbin.exe"))
PROBES = EXE.parent / "probes"
PDF_OUT = Path.home() / "PDF"
WINE_NAME = os.environ.get("ORBIN_E2E_WINE", "wine10" if BUILD_NAME == "i686" else "host")
WINE10_ROOT = Path(os.environ.get("ORBIN_WINE10_ROOT", "/var/cache/orbin/wine10-trixie"))
# What every case's name shows: the build it ran and the Wine it ran under.
RUN_LABEL = f"{BUILD_NAME}, {'Wine 10 root' if WINE_NAME == 'wine10' else 'host Wine'}"


def wait_until(sample, holds, timeout, what, interval=0.1, show=repr):
    """Takes `sample()` (a screenshot's measurements, a caption, a window's
    place, files written) until `holds(value)`; returns that value. On
    timeout it fails with what it waited for and the last value seen
    (`show(value)`), so the message says what was on the screen. A case
    waits this way for the condition it needs, with a deadline generous
    enough for a loaded machine, instead of sleeping and then looking."""
    deadline = time.monotonic() + timeout
    while True:
        value = sample()
        if holds(value):
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}; "
                                 f"last seen: {show(value)}")
        time.sleep(interval)


def wait_for(predicate, timeout, interval=0.1, what="condition"):
    """Polls `predicate` until it returns something true; returns that."""
    return wait_until(predicate, bool, timeout, what, interval)


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

    def tray_windows(self, visible_only=True):
        """Wine's own tray window (shown where the desktop has no tray):
        explorer's window, captioned "Wine System Tray" by Wine 8 and not
        captioned by Wine 10."""
        visible = ["--onlyvisible"] if visible_only else []
        found = self.xdotool("search", *visible, "--class", "^explorer\\.exe$", check=False)
        return [w for w in found.split() if self.window_name(w) != "Default IME"]

    def program_windows(self, program, name_pattern=None, visible_only=True):
        """The windows of `program`'s own process (with a caption matching
        `name_pattern`): never those of a program just ended, which may
        still show for a moment under the same caption."""
        visible = ["--onlyvisible"] if visible_only else []
        name = ["--name", name_pattern] if name_pattern else []
        out = self.xdotool("search", "--all", *visible, "--pid", str(program.pid), *name,
                           check=False)
        return [w for w in out.split() if w]

    def window_name(self, window):
        return self.xdotool("getwindowname", window, check=False)

    def shown_windows(self):
        """(window, process id, caption) of every visible window: what a
        failure message shows."""
        found = self.xdotool("search", "--onlyvisible", "--name", "", check=False).split()
        return [(w, self.xdotool("getwindowpid", w, check=False), self.window_name(w))
                for w in found]

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
    """One started orbin.exe (or probe) process.

    Wine starts a 32-bit program from its 64-bit loader through
    "start.exe /exec", which waits for it and ends with its exit code: the
    process started here is then start.exe, not the program. `pid` is the
    program's own process (the one owning its windows), found by the mark
    its environment carries and its name; waiting and the exit code go
    through the started process."""

    def __init__(self, process, stderr_path, cwd, mark, exe_name):
        self.process = process
        self.stderr_path = stderr_path
        self.cwd = cwd
        self.mark = mark
        self.exe_name = exe_name.lower()
        self._pid = None

    @property
    def pid(self):
        if (self._pid is not None and self._pid != self.process.pid and self.running()
                and process_name(self._pid) != self.exe_name):
            self._pid = None  # a process on the way to the program, gone meanwhile
        if self._pid is None:
            self._pid = wait_for(self._own_process, 20, interval=0.02,
                                 what=f"the process of {self.exe_name}")
        return self._pid

    def _own_process(self):
        started = self.process.pid
        name = process_name(started)
        if name == self.exe_name:
            return started
        if name == "start.exe":
            # The newest: Wine may pass through more than one on its way.
            found = [pid for pid in marked_processes(self.mark)
                     if pid != started and process_name(pid) == self.exe_name]
            if found:
                return max(found)
        if not self.running():
            return started  # ended before it could be seen
        return None

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError(f"program still running after {timeout} s")

    def kill(self):
        if not self.running():
            return
        own = self._pid if self._pid is not None else self._own_process()
        for pid in {own, self.process.pid} - {None}:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.process.wait(10)

    def stderr(self):
        return Path(self.stderr_path).read_text(errors="replace")

    def state(self):
        """Whether it runs (and as which process), or how it ended with the
        end of its error output: for a failure message."""
        if self.running():
            return f"running as process {self.pid} ({process_name(self.pid)})"
        return f"ended with {self.process.returncode}: {self.stderr()[-1500:]!r}"

    def message_boxes(self):
        """Texts of the message boxes the program showed (read from Wine's
        msgbox trace, which the run must have asked for)."""
        texts = re.findall(r'MSGBOX_OnInit L"(.*)"', self.stderr())
        return [decode_wine_string(t) for t in texts]


def process_name(pid):
    """The lower-case file name a process runs under: Wine names its
    processes after their Windows programs ("Z:\\...\\orbin.exe")."""
    try:
        argv0 = Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0", 1)[0]
    except OSError:
        return None
    return re.split(r"[\\/]", argv0.decode(errors="replace"))[-1].lower()


def marked_processes(mark):
    """Ids of the processes whose environment holds `mark` (NAME=VALUE)."""
    needle = b"\0" + mark.encode() + b"\0"
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            environ = b"\0" + (entry / "environ").read_bytes()
        except OSError:
            continue
        if needle in environ:
            found.append(int(entry.name))
    return found


def decode_wine_string(text):
    text = re.sub(r"\\([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), text)
    return text.replace('\\"', '"').replace("\\\\", "\\")


class Wine:
    """A Wine prefix kept warm for a test module, with a virtual display.
    `runtime` is "host" (the host's Wine) or "wine10" (Debian 13's Wine 10
    from its root, through tools/wine10/run); each has prefixes of its own."""

    _marks = itertools.count(1)

    def __init__(self, name=None, display=True, runtime=None):
        name = name or os.environ.get("ORBIN_E2E_PREFIX", "e2e")
        self.runtime = runtime or WINE_NAME
        if self.runtime == "host":
            self.runner, self.loader, self.server = [], "wine", "wineserver"
            self.prefix = BUILD / "wine" / name
        elif self.runtime == "wine10":
            if not (WINE10_ROOT / ".orbin-wine10-ready").exists():
                raise AssertionError(f"no Wine 10 root at {WINE10_ROOT}: run tools/setup")
            self.runner = [str(ROOT / "tools" / "wine10" / "run")]
            self.loader, self.server = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver"
            self.prefix = BUILD / "wine" / f"{name}-wine10"
        else:
            raise AssertionError(f"unknown Wine {self.runtime!r}: host or wine10")
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
            self.call("wineboot", "-i", timeout=300)
        if self.runtime == "wine10" and not (self.prefix / ".orbin-wow64-ready").exists():
            self._prepare_wow64()
        # A persistent server for the module, so every run starts warm; it
        # daemonises, and stop() ends it through the prefix.
        # (It answers non-zero when wineboot's server is still up: that one
        # then serves.)
        subprocess.run([*self.runner, self.server, "-p"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)

    def command(self, *args):
        """The command line running Wine with `args` (a Windows program and
        its arguments), e.g. command("reg", "query", KEY)."""
        return [*self.runner, self.loader, *(str(a) for a in args)]

    def call(self, *args, timeout=120, check=True):
        """Runs a Wine program to its end, its output discarded."""
        return subprocess.run(self.command(*args), env=self.env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout, check=check)

    def version(self):
        out = subprocess.run(self.command("--version"), env=self.env, capture_output=True,
                             text=True, timeout=60)
        return out.stdout.strip() or out.stderr.strip()

    def _prepare_wow64(self):
        """Completes a new Wine 10 prefix for 32-bit programs. This Wine
        finds none of its 32-bit DLLs that is not a file in the prefix, so
        the first start-up cannot install them (its 32-bit set-up step
        cannot start): they are copied in as that step would, and the step
        runs again. Likewise the 32-bit printer driver and print processor.
        Then the font link that draws Chinese in every window (not from
        Tahoma: the printer's default font is built from Tahoma's links, and
        the printer driver prints linked Chinese glyphs as boxes)."""
        self.wait_server()
        dlls = WINE10_ROOT / "usr/lib/x86_64-linux-gnu/wine/i386-windows"
        windows = self.drive_c / "windows"
        subprocess.run(["cp", "-r", "--no-clobber", f"{dlls}/.", str(windows / "syswow64")],
                       check=True, timeout=300)
        self.call("wineboot", "-u", timeout=300)
        self.wait_server()
        spool = windows / "system32" / "spool"
        drivers = spool / "drivers"
        for target in (drivers / "w32x86" / "3", spool / "prtprocs" / "w32x86"):
            target.mkdir(parents=True, exist_ok=True)
        shutil.copy(dlls / "wineps.drv", drivers / "w32x86" / "3")
        for ppd in (drivers / "x64" / "3").glob("*.ppd"):
            shutil.copy(ppd, drivers / "w32x86" / "3")
        for processor in ("wineps.drv", "winprint.dll"):
            shutil.copy(dlls / processor, spool / "prtprocs" / "w32x86")
        self.call("reg", "add", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink",
                  "/v", "Microsoft Sans Serif", "/t", "REG_MULTI_SZ", "/d", "uming.ttc,AR PL UMing TW",
                  "/f")
        self.wait_server()
        (self.prefix / ".orbin-wow64-ready").write_text("")

    def wait_server(self):
        subprocess.run([*self.runner, self.server, "-w"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def start(self, argument_text="", cwd=None, exe=None, debug=""):
        """Starts the program with `argument_text` as its argument text (split
        on single blanks, which Wine joins again unquoted)."""
        exe = Path(exe or EXE)
        cwd = Path(cwd or tempfile.mkdtemp(prefix="orbin-e2e-"))
        args = argument_text.split(" ") if argument_text else []
        mark = f"ORBIN_E2E_RUN={os.getpid()}.{next(self._marks)}"
        env = dict(self.env, ORBIN_E2E_RUN=mark.split("=", 1)[1])
        if debug:
            env["WINEDEBUG"] = "-all," + debug
        stderr_path = self.logs / f"run-{time.monotonic_ns()}.stderr"
        with open(stderr_path, "wb") as err, open(os.devnull, "wb") as out:
            process = subprocess.Popen(self.command(exe, *args), cwd=cwd, env=env,
                                       stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        return Program(process, stderr_path, cwd, mark, exe.name)

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
            raise AssertionError(f"probe {name} {args} failed with {code}: "
                                 f"{program.stderr()[-1500:]!r}")
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
        self.call("taskkill", "/IM", image_name, timeout=60, check=False)

    def end_session(self, window_class):
        """The user's session ends, as at log-off, for the window of that class."""
        self.probe("platform_probe", "endsession", window_class)

    def settled(self, window_class, timeout=30):
        """Waits until the shown window of that class has handled all the
        input sent to it so far: "settled"; "none" when there is no such
        window (its program ended), "busy" when it has not within `timeout`."""
        return self.probe("platform_probe", "settled", window_class, str(int(timeout * 1000)),
                          timeout=timeout + 60)

    def stop(self):
        subprocess.run([*self.runner, self.server, "-k"], env=self.env, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.display:
            self.display.stop()
        shutil.rmtree(self.logs, ignore_errors=True)


class PrintJobs:
    """The print jobs started after this point and the PDF files cups-pdf
    writes for them in ~/PDF (a file of an earlier job may be written over:
    files are told apart by name and stamp)."""

    def __init__(self):
        PDF_OUT.mkdir(parents=True, exist_ok=True)
        self.before = pdf_stamps()
        self.last_job = max(cups_jobs("all"), default=0)

    def new(self, expect=1, timeout=60):
        """Waits until every job started since has ended and each has its
        complete PDF file, at least `expect` of them; returns the new files,
        oldest first. expect=0 (nothing should print): once the program
        has ended its jobs are queued, so this returns as soon as none is
        left; a job that did print shows as its file."""
        def sample():
            pending = cups_jobs("not-completed")
            started = [job for job in cups_jobs("all") if job > self.last_job]
            stamps = pdf_stamps()
            files = sorted((path for path, stamp in stamps.items()
                            if self.before.get(path) != stamp), key=lambda p: stamps[p])
            return pending, started, files

        def complete(state):
            pending, started, files = state
            return (not pending and len(files) >= max(expect, len(started))
                    and all(pdf_readable(f) for f in files))

        _, _, files = wait_until(
            sample, complete, timeout, what=f"{expect} printed PDF file(s), every job ended",
            interval=0.2, show=lambda s: f"jobs still queued {s[0]}, jobs started {s[1]}, "
                                         f"new files {[f.name for f in s[2]]}")
        return files


def pdf_stamps():
    """{PDF file in ~/PDF: (modification time, size, inode)}."""
    stamps = {}
    for path in PDF_OUT.glob("*.pdf"):
        try:
            st = path.stat()
        except FileNotFoundError:
            continue
        stamps[path] = (st.st_mtime_ns, st.st_size, st.st_ino)
    return stamps


def pdf_readable(path):
    """Whether the PDF is whole: pdfinfo can read it."""
    result = subprocess.run(["pdfinfo", str(path)], capture_output=True, text=True, timeout=30)
    return result.returncode == 0


def cups_jobs(which):
    """Numbers of CUPS jobs: "not-completed" (queued or printing) or "all"
    (with those kept in the history)."""
    result = subprocess.run(["lpstat", "-W", which, "-o"], capture_output=True, text=True,
                            timeout=30)
    if result.returncode != 0:
        raise AssertionError(f"lpstat -W {which} -o: {result.stderr.strip()}")
    return [int(m.group(1)) for m in re.finditer(r"^\S+-(\d+)\s", result.stdout, re.M)]


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
        print(f"e2e: {EXE} under {_shared_wine.version()} ({RUN_LABEL}), "
              f"prefix {_shared_wine.prefix}", file=sys.stderr, flush=True)
    return _shared_wine


class WineTestCase(unittest.TestCase):
    """A test case running orbin.exe in the shared Wine prefix."""

    wine = None

    def __str__(self):
        return f"{super().__str__()} [{RUN_LABEL}]"

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
        [box] = wait_until(lambda: display.program_windows(program, "^orbin$"), bool, timeout,
                           what="the error box",
                           show=lambda found: f"{found}, the program {program.state()}")
        messages = program.message_boxes()
        self.assertTrue(any(all(t in m for t in expected_texts) for m in messages),
                        f"no message holds {expected_texts}: {messages}")
        display.xdotool("windowfocus", "--sync", box)
        # Wine hands a key to the window its program holds as focused: the
        # box only once that program has taken the focus change, which it
        # has when the box has painted again.
        self.wine.settled("#32770", timeout)
        display.xdotool("key", "Return")
        try:
            return program.wait(timeout)
        except AssertionError:
            shown = [(w, display.window_name(w)) for w in display.program_windows(program)]
            raise AssertionError(f"the program still runs {timeout} s after Return on its box; "
                                 f"its windows: {shown}") from None

    def work_dir(self):
        path = Path(tempfile.mkdtemp(prefix="orbin-e2e-"))
        self.addCleanup(shutil.rmtree, path, ignore_errors=True)
        return path

"""The simulated reader library for the end-to-end tests: a folder holding
a copy of orbin.exe (under any name) with the simulated "cshis.dll" beside
it, its settings "cshis_sim.ini" and the call log "cshis.log" it writes."""
import shutil
from pathlib import Path

from harness import EXE, wait_for

SIM_DLL = EXE.parent / "simreader" / "cshis.dll"


def sim_ini(ports):
    """INI text: {1: {"csOpenCom": "0", "hisGetCardStatus": "1,0"}, ...}."""
    lines = []
    for port, keys in ports.items():
        lines.append(f"[COM{port}]")
        lines.extend(f"{key}={value}" for key, value in keys.items())
    return "\r\n".join(lines) + "\r\n"


class ReaderFolder:
    """`folder` with the program as `exe_name` and, unless `library` is
    false, the simulated library set up with `ports`."""

    def __init__(self, folder, ports=None, exe_name="orbin.exe", library=True):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self.exe = self.folder / exe_name
        shutil.copy(EXE, self.exe)
        if library:
            if not SIM_DLL.exists():
                raise AssertionError(f"{SIM_DLL} is not built")
            shutil.copy(SIM_DLL, self.folder / "cshis.dll")
            (self.folder / "cshis_sim.ini").write_text(sim_ini(ports or {}))

    @property
    def log_path(self):
        return self.folder / "cshis.log"

    def calls(self):
        """The library calls so far, e.g. ["csOpenCom(0)=0", "csCloseCom()=0"]."""
        if not self.log_path.exists():
            return []
        return self.log_path.read_text().splitlines()

    def wait_for_call(self, call, timeout=20):
        return wait_for(lambda: call in self.calls(), timeout, interval=0.02,
                        what=f"library call {call}")


def window_geometry(display, window):
    """(left, top, width, height) in pixels of an X window."""
    out = display.xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def click_at(display, x, y, button="1", repeat=1):
    display.xdotool("mousemove", "--sync", str(x), str(y))
    if repeat > 1:
        display.xdotool("click", "--repeat", str(repeat), "--delay", "60", button)
    else:
        display.xdotool("click", button)


def wait_gone(predicate, timeout):
    """Waits until `predicate` is false."""
    wait_for(lambda: not predicate(), timeout, interval=0.05, what="the window to go")

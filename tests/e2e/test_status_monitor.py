"""The status monitor "memfrm" under Wine: the caption with the time and the
reader status once a second (no library: 53; the simulated library: the
status it gives, with open, status and close on every tick), hiding with
"V", the tray icon's double click and pop-up menu, and closing."""
import re
import time
import unittest

from harness import WineTestCase, wait_for, wait_until
from reader_sim import ReaderFolder, click_at, wait_gone, window_geometry

TIME = r"[0-9]{2}:[0-9]{2}:[0-9]{2}"
TICK = ["csOpenCom(0)=0", "hisGetCardStatus(2)={}", "csCloseCom()=0"]
# Client area 3270 x 2070 twips; "V" at 3000, 0, 255 x 255.
CLIENT_SIZE = (3270 // 15, 2070 // 15)
V_BUTTON = ((3000 + 255 // 2) // 15, (255 // 2) // 15)


class StatusMonitor(WineTestCase):
    def start(self, ports=None, library=True):
        work = ReaderFolder(self.work_dir(), ports, library=library)
        program = self.wine.start("memfrm", cwd=work.folder, exe=work.exe)
        self.addCleanup(program.kill)
        self.program = program
        return work, program

    def window(self, status, visible=True):
        pattern = f"^{TIME} - {status}$"
        return wait_for(lambda: self.wine.display.program_windows(self.program, pattern, visible),
                        30, what=f"a caption like {pattern}")[0]

    def caption(self, window):
        return self.wine.display.window_name(window)

    def next_tick(self, window):
        """Waits for the caption to change (its time is the tick's); returns it."""
        first = self.caption(window)
        return wait_until(lambda: self.caption(window), lambda c: c and c != first, 15,
                          what=f"the next tick after {first!r}")

    def assert_caption_ticks(self, window, status):
        first = self.caption(window)
        second = self.next_tick(window)
        for caption in (first, second):
            self.assertRegex(caption, f"^{TIME} - {status}$")

    def assert_ended(self, program):
        self.assertEqual(program.wait(15), 0)
        wait_gone(lambda: self.wine.display.program_windows(program, f"^{TIME} - ", False), 15)
        wait_gone(lambda: self.tray(), 30)  # its only icon removed

    def tray(self, visible=True):
        return self.wine.display.tray_windows(visible)

    def shown(self, status):
        """Whether the system shows the window whose caption ends with
        `status`: asked of the system, as Wine 10 leaves a hidden window
        mapped on a display without a window manager."""
        return self.wine.probe("platform_probe", "window", status).startswith("shown")

    def click_v(self, window):
        left, top, width, height = window_geometry(self.wine.display, window)
        self.assertEqual((width, height), CLIENT_SIZE)
        click_at(self.wine.display, left + V_BUTTON[0], top + V_BUTTON[1])

    def test_without_the_library_shows_53_every_second_and_the_close_box_ends(self):
        work, program = self.start(library=False)
        window = self.window("53")
        self.assert_caption_ticks(window, "53")
        self.assertTrue(self.tray(), "the tray icon's area shows")
        display = self.wine.display
        display.xdotool("windowfocus", "--sync", window)
        display.xdotool("key", "alt+F4")
        self.assert_ended(program)

    def test_simulated_library_status_in_the_caption_and_a_tick_per_second(self):
        work, program = self.start({1: {"hisGetCardStatus": "4"}})
        window = self.window("4")
        self.assert_caption_ticks(window, "4")
        ticks = lambda: len(work.calls()) // 3
        before, started = ticks(), time.monotonic()
        wait_until(ticks, lambda n: n >= before + 5, 30, what="five more ticks")
        seconds = time.monotonic() - started
        calls = work.calls()
        done = len(calls) // 3
        self.assertEqual(calls[:done * 3], [c.format(4) for c in TICK] * done)
        # Five ticks of a one-second timer after a given moment take more than
        # three seconds (a late tick never makes the next one early), and
        # on a loaded machine no more than three seconds beyond five.
        self.assertGreater(seconds, 3, "no more than one tick a second")
        self.assertLess(seconds, 8, "about one tick a second")

    def test_hidden_by_v_ticking_shown_from_the_tray_and_quit_from_its_menu(self):
        work, program = self.start({1: {"hisGetCardStatus": "-1,6"}})
        window = self.window("6")
        display = self.wine.display
        self.click_v(window)
        wait_gone(lambda: self.shown("6"), 15)
        self.assert_caption_ticks(window, "6")  # hidden, still ticking
        [tray] = self.tray()
        icon = window_geometry(display, tray)[:2]
        icon = (icon[0] + 10, icon[1] + 10)

        click_at(display, *icon, repeat=2)
        wait_for(lambda: self.shown("6"), 15, what="the window shown again")
        self.click_v(window)
        wait_gone(lambda: self.shown("6"), 15)

        for item, stays_hidden in (("BytesFree", True), ("Show Form", False)):
            with self.subTest(item):
                menu = self.pop_up_menu(icon)
                self.click_item(menu, item)
                wait_gone(lambda: menu in display.find_windows("^$"), 15)
                # A tick comes only when no other message waits: two ticks on,
                # the item's command has been handled.
                self.next_tick(window)
                self.next_tick(window)
                shown = self.shown("6")
                self.assertEqual(shown, not stays_hidden)
                self.assertTrue(program.running())

        # The shown window lies over the tray's icon here: hide it again.
        self.click_v(window)
        wait_gone(lambda: self.shown("6"), 15)
        self.click_item(self.pop_up_menu(icon), "Quit")
        self.assert_ended(program)

    def pop_up_menu(self, icon):
        display = self.wine.display
        before = set(display.program_windows(self.program, "^$"))
        click_at(display, *icon, button="3")
        # The program's own: the tray's tip ("Memory Status") is another
        # uncaptioned window, shown once the mouse rests on the icon.
        return wait_for(lambda: [w for w in display.program_windows(self.program, "^$")
                                 if w not in before and window_geometry(display, w)[2] < 300],
                        15, what="the pop-up menu")[0]

    def click_item(self, menu, item):
        # BytesFree, Show Form, a separator, Quit: item heights from the top.
        display = self.wine.display
        left, top, width, height = window_geometry(display, menu)
        y = {"BytesFree": top + 13, "Show Form": top + 31, "Quit": top + height - 12}[item]
        x = left + width // 2
        display.xdotool("mousemove", "--sync", str(x), str(y))
        # The tray's tip (a window of the tray's program) may lie over the
        # menu until the mouse has left the icon.
        ours = set(display.program_windows(self.program)) | set(self.tray())

        def covering():
            return [w for w in display.find_windows("^$") if w not in ours
                    and display.xdotool("getwindowpid", w, check=False)
                    and (g := window_geometry(display, w))[0] <= x < g[0] + g[2]
                    and g[1] <= y < g[1] + g[3]]

        wait_until(covering, lambda found: not found, 15, what=f"the item {item!r} uncovered")
        display.xdotool("click", "1")

if __name__ == "__main__":
    unittest.main()

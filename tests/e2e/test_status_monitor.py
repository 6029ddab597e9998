"""The status monitor "memfrm" under Wine: the caption with the time and the
reader status once a second (no library: 53; the simulated library: the
status it gives, with open, status and close on every tick), hiding with
"V", the tray icon's double click and pop-up menu, and closing."""
import re
import time
import unittest

from harness import WineTestCase, wait_for
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
        return work, program

    def window(self, status, visible=True):
        pattern = f"^{TIME} - {status}$"
        return wait_for(lambda: self.wine.display.find_windows(pattern, visible), 15,
                        what=f"a caption like {pattern}")[0]

    def caption(self, window):
        return self.wine.display.window_name(window)

    def assert_caption_ticks(self, window, status):
        first = self.caption(window)
        second = wait_for(lambda: (c := self.caption(window)) != first and c, 3, interval=0.1,
                          what="the next tick")
        for caption in (first, second):
            self.assertRegex(caption, f"^{TIME} - {status}$")

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
        self.assertEqual(program.wait(15), 0)
        self.assertEqual(display.find_windows(f"^{TIME} - ", False), [])
        wait_gone(lambda: self.tray(), 5)  # its only icon removed

    def test_simulated_library_status_in_the_caption_and_a_tick_per_second(self):
        work, program = self.start({1: {"hisGetCardStatus": "4"}})
        window = self.window("4")
        started = time.monotonic()
        self.assert_caption_ticks(window, "4")
        time.sleep(2)
        calls = work.calls()
        seconds = time.monotonic() - started
        ticks = len(calls) // 3
        self.assertEqual(calls[:ticks * 3], [c.format(4) for c in TICK] * ticks)
        self.assertGreaterEqual(ticks, 3)
        self.assertLessEqual(ticks, seconds + 3, "about one tick a second")

    def test_hidden_by_v_ticking_shown_from_the_tray_and_quit_from_its_menu(self):
        work, program = self.start({1: {"hisGetCardStatus": "-1,6"}})
        window = self.window("6")
        display = self.wine.display
        self.click_v(window)
        wait_gone(lambda: self.shown("6"), 5)
        self.assert_caption_ticks(window, "6")  # hidden, still ticking
        [tray] = self.tray()
        icon = window_geometry(display, tray)[:2]
        icon = (icon[0] + 10, icon[1] + 10)

        click_at(display, *icon, repeat=2)
        wait_for(lambda: self.shown("6"), 5, what="the window shown again")
        self.click_v(window)
        wait_gone(lambda: self.shown("6"), 5)

        for item, stays_hidden in (("BytesFree", True), ("Show Form", False)):
            with self.subTest(item):
                menu = self.pop_up_menu(icon)
                self.click_item(menu, item)
                wait_gone(lambda: menu in display.find_windows("^$"), 5)
                time.sleep(0.5)
                shown = self.shown("6")
                self.assertEqual(shown, not stays_hidden)
                self.assertTrue(program.running())

        # The shown window lies over the tray's icon here: hide it again.
        self.click_v(window)
        wait_gone(lambda: self.shown("6"), 5)
        self.click_item(self.pop_up_menu(icon), "Quit")
        self.assertEqual(program.wait(15), 0)
        self.assertEqual(display.find_windows(f"^{TIME} - ", False), [])
        wait_gone(lambda: self.tray(), 5)

    def pop_up_menu(self, icon):
        display = self.wine.display
        before = set(display.find_windows("^$"))
        click_at(display, *icon, button="3")
        return wait_for(lambda: [w for w in display.find_windows("^$") if w not in before
                                 and window_geometry(display, w)[2] < 300], 5,
                        what="the pop-up menu")[0]

    def click_item(self, menu, item):
        # BytesFree, Show Form, a separator, Quit: item heights from the top.
        left, top, width, height = window_geometry(self.wine.display, menu)
        y = {"BytesFree": top + 13, "Show Form": top + 31, "Quit": top + height - 12}[item]
        click_at(self.wine.display, left + width // 2, y)


if __name__ == "__main__":
    unittest.main()

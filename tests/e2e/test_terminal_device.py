"""The terminal device in a real terminal (tmux): keys, mouse, resize, title, clipboard,
and the terminal given back however the program ends."""

import os
import signal
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tmux_pane import TmuxPane  # noqa: E402

ECHO = os.environ.get("TARNHOLM_ECHO", "")


def events(pane):
    """The event lines the echo program lists, oldest first."""
    lines = pane.lines()
    return [l.rstrip() for l in lines[1:] if l.startswith(("key ", "mouse ", "resize "))]


class TerminalDeviceTest(unittest.TestCase):
    def setUp(self):
        if not ECHO:
            self.skipTest("TARNHOLM_ECHO is not set")
        self.pane = TmuxPane([ECHO], cols=100, rows=45)
        self.addCleanup(self.pane.close)
        self.pane.wait_for_text("terminal echo 100x45")

    def expect_events(self, send, expected):
        """Sends one input at a time and checks the events it turns into (one, or a list)."""
        for action, want in zip(send, expected):
            count = len(want) if isinstance(want, list) else 1
            before = len(events(self.pane))
            action()
            self.pane.wait_for(lambda: len(events(self.pane)) >= before + count, "events %r" % (want,))
        flat = [e for want in expected for e in (want if isinstance(want, list) else [want])]
        self.assertEqual(events(self.pane)[-len(flat):], flat)

    def assert_terminal_given_back(self, expected_rc):
        rc, tty = self.pane.wait_for_end()
        self.assertEqual((rc, tty), (expected_rc, "same"))
        flags = self.pane.pane_format("#{alternate_on} #{mouse_any_flag} #{cursor_flag}")
        self.assertEqual(flags, "0 0 1", "alternate screen, mouse reporting, cursor visible")

    def test_keys_arrive_with_their_modifiers(self):
        keys = [("a", "key vk=41 ch=61"), ("Space", "key vk=20 ch=20"), ("C-c", "key vk=43 ch=0 ctrl"),
                ("C-o", "key vk=4F ch=0 ctrl"), ("Enter", "key vk=0D ch=0"),
                ("BSpace", "key vk=08 ch=0"), ("Tab", "key vk=09 ch=0"),
                ("BTab", "key vk=09 ch=0 shift"), ("Escape", "key vk=1B ch=0"),
                ("M-f", "key vk=46 ch=0 alt"), ("M-X", "key vk=58 ch=0 alt shift"),
                ("Up", "key vk=26 ch=0"), ("S-Left", "key vk=25 ch=0 shift"),
                ("C-Left", "key vk=25 ch=0 ctrl"), ("S-Down", "key vk=28 ch=0 shift"),
                ("Home", "key vk=24 ch=0"), ("End", "key vk=23 ch=0"),
                ("PPage", "key vk=21 ch=0"), ("NPage", "key vk=22 ch=0"), ("DC", "key vk=2E ch=0"),
                ("F1", "key vk=70 ch=0"), ("F5", "key vk=74 ch=0"), ("F12", "key vk=7B ch=0"),
                ("S-F5", "key vk=74 ch=0 shift"), ("M-F4", "key vk=73 ch=0 alt")]
        self.expect_events([lambda k=k: self.pane.keys(k) for k, _ in keys], [e for _, e in keys])

    def test_typed_text_is_unicode(self):
        self.expect_events([lambda: self.pane.type("\u00e9"), lambda: self.pane.type("\u4e2d")],
                           ["key vk=00 ch=E9", "key vk=00 ch=4E2D"])

    def test_mouse_clicks_double_clicks_drags_and_wheel(self):
        p = self.pane

        def report(button, col, row):
            return b"\x1b[M" + bytes([32 + button, 33 + col, 33 + row])

        click = report(0, 10, 5) + report(3, 10, 5)
        self.expect_events(
            [lambda: p.raw(click + click),  # one burst, well inside the double-click time
             lambda: p.mouse(0, 20, 7), lambda: p.mouse(32, 25, 8), lambda: p.mouse(3, 25, 8),
             lambda: p.mouse(64, 3, 3), lambda: p.mouse(65, 3, 3)],
            [["mouse press 10,5", "mouse release 10,5", "mouse double 10,5", "mouse release 10,5"],
             "mouse press 20,7", "mouse drag 25,8", "mouse release 25,8", "mouse wheelup 3,3",
             "mouse wheeldown 3,3"])

    def test_resize_reports_the_new_size_and_redraws(self):
        self.pane.resize(80, 24)
        self.pane.wait_for_text("resize 80x24")
        self.pane.wait_for_text("terminal echo 80x24")
        self.assertTrue(self.pane.lines()[23].startswith("bottom right"), self.pane.screen())

    def test_title_and_clipboard_reach_the_terminal(self):
        self.pane.keys("C-t")
        self.pane.wait_for(lambda: self.pane.pane_format("#{pane_title}") == "echo ]0;not this title",
                           "the title without its control characters")
        self.pane.keys("C-y")
        self.pane.wait_for(lambda: self.pane.clipboard() == "copied from the echo", "the clipboard")

    def test_control_characters_on_screen_are_shown_as_stand_ins(self):
        bottom = self.pane.lines()[44]
        self.assertTrue(bottom.startswith("bottom right"), bottom)
        self.assertIn("[31m!", bottom)
        self.assertNotEqual(bottom[12], "[", "the escape itself takes a visible column")
        self.assertNotIn("\x1b[31m", self.pane.screen_with_attributes())

    def test_quitting_gives_the_terminal_back(self):
        self.pane.type("q")
        self.assert_terminal_given_back(0)

    def test_exit_with_the_device_open_gives_the_terminal_back(self):
        self.pane.keys("C-e")
        self.assert_terminal_given_back(7)

    def test_uncaught_exception_gives_the_terminal_back_before_the_report(self):
        self.pane.keys("C-x")
        self.assert_terminal_given_back(128 + signal.SIGABRT)
        self.assertIn("echo gave up", self.pane.screen(), "the report shows on the restored screen")

    def test_signals_give_the_terminal_back(self):
        for sig in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            with self.subTest(signal=sig.name):
                pane = TmuxPane([ECHO], cols=100, rows=45)
                try:
                    pane.wait_for_text("terminal echo")
                    os.kill(pane.pid, sig)
                    rc, tty = pane.wait_for_end()
                    self.assertEqual((rc, tty), (128 + sig, "same"))
                    self.assertEqual(pane.pane_format("#{alternate_on} #{mouse_any_flag} #{cursor_flag}"),
                                     "0 0 1")
                finally:
                    pane.close()


if __name__ == "__main__":
    unittest.main()

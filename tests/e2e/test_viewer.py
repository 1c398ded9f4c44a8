"""The viewer in a real terminal (tmux), used as a person uses it: open a chunk file through
the open dialog, select chunks, change the width, refresh, resize, and quit."""

import os
import signal
import subprocess
import sys
import tempfile
import shutil
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chunk_files import sample  # noqa: E402
from tmux_pane import TmuxPane  # noqa: E402

APP = os.environ.get("TARNHOLM_APP", "")
ROW_OF_16 = "30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46  | 0123456789ABCDEF"
ESCAPED_NAME = "evil\x1b[31mred.zmk"


class ViewerTest(unittest.TestCase):
    def setUp(self):
        if not APP:
            self.skipTest("TARNHOLM_APP is not set")
        self.folder = tempfile.mkdtemp(prefix="tarnholm-files-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.write("sample.zmk", sample())
        self.write("other.QVX", sample())
        self.write("notes.txt", b"not a chunk file")
        self.write(ESCAPED_NAME, sample())
        os.mkdir(os.path.join(self.folder, "subfolder"))
        self.pane = TmuxPane([APP], cols=160, rows=45, cwd=self.folder)
        self.addCleanup(self.pane.close)
        self.pane.wait_for_text("File")

    def write(self, name, data):
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(data)

    def open_sample(self):
        self.pane.keys("C-o")
        self.pane.wait_for_text("sample.zmk")
        self.pane.type("sample.zmk")
        self.pane.keys("Enter")
        self.pane.wait_for_text("00000012h (00000010h)")

    def select_data_chunk(self):
        """Home selects the root, two Downs the 40-byte data chunk 0x200."""
        self.pane.keys("Home")
        self.pane.keys("Down")
        self.pane.keys("Down")
        self.pane.wait_for_text(ROW_OF_16)

    def focus_width_box(self):
        col, row = self.pane.find("Width:")
        self.pane.click(col + 9, row)

    def assert_terminal_given_back(self, expected_rc):
        rc, tty = self.pane.wait_for_end()
        self.assertEqual((rc, tty), (expected_rc, "same"))
        self.assertEqual(self.pane.pane_format("#{alternate_on} #{mouse_any_flag} #{cursor_flag}"),
                         "0 0 1", "alternate screen, mouse reporting, cursor visible")

    def test_open_dialog_lists_the_folder_through_the_chunk_file_filter(self):
        self.assertEqual(self.pane.pane_format("#{pane_title}"), "Tarnholm")
        self.pane.keys("C-o")
        screen = self.pane.wait_for(lambda: "sample.zmk" in self.pane.screen() and self.pane.screen(),
                                    "the dialog's file list")
        self.assertIn("other.QVX", screen)
        self.assertIn("subfolder", screen)
        self.assertNotIn("notes.txt", screen)

    def test_file_name_with_an_escape_sequence_shows_stand_ins(self):
        self.pane.keys("C-o")
        self.pane.wait_for_text("red.zmk")
        line = next(l for l in self.pane.lines() if "red.zmk" in l)
        self.assertIn("evil", line)
        self.assertIn("[31mred.zmk", line)
        self.assertNotIn("evil[31m", line, "the escape character takes a visible column")
        self.assertNotIn("\x1b[31m", self.pane.screen_with_attributes())

    def test_open_select_width_refresh_copy_and_exit(self):
        self.open_sample()
        screen = self.pane.screen()
        for label in ("Chunk File", "00000012h (00000010h)", "00000200h (00000028h)",
                      "00000300h (00000007h)"):
            self.assertIn(label, screen)
        self.assertNotIn("00000100h", screen, "the container starts collapsed")

        self.select_data_chunk()
        self.assertIn("47 48 49 4a 4b 4c 4d 4e 4f 50 51 52 53 54 55 56  | GHIJKLMNOPQRSTUV",
                      self.pane.screen())

        self.assertEqual(self.pane.pane_format("#{cursor_flag}"), "0", "no caret in the tree")
        self.focus_width_box()
        width_row = self.pane.find("Width:")[1]
        self.pane.wait_for(lambda: self.pane.pane_format("#{cursor_flag} #{cursor_y}") == "1 %d" % width_row,
                           "the cursor at the width box's caret")
        self.pane.keys("Up")
        self.pane.wait_for_text("30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46 47  | 0123456789ABCDEFG")
        self.pane.keys("Down")
        self.pane.keys("Down")
        self.pane.wait_for_text("30 31 32 33 34 35 36 37 38 39 41 42 43 44 45  | 0123456789ABCDE")
        self.pane.keys("C-a")
        self.pane.type("8")
        self.pane.wait_for_text("38 39 41 42 43 44 45 46  | 89ABCDEF")
        self.assertNotIn(ROW_OF_16, self.pane.screen())

        self.write("sample.zmk", sample(b"abcdefghijklmnopqrstuvwxyz0123456789ABCD"))
        self.pane.keys("F5")
        self.pane.wait_for_text("61 62 63 64 65 66 67 68  | abcdefgh")
        self.assertNotIn("| 01234567", self.pane.screen())

        col, row = self.pane.find("61 62 63 64")
        self.pane.click(col + 3, row)
        self.pane.keys("C-a")
        self.pane.keys("C-c")
        self.pane.wait_for(lambda: self.pane.clipboard().startswith("61 62 63 64 65 66 67 68  | abcdefgh\n69 6a"),
                           "the data pane's text on the clipboard")

        self.pane.keys("M-f")
        self.pane.wait_for_text("Exit")
        self.pane.keys("x")
        self.assert_terminal_given_back(0)

    def test_missing_file_shows_a_message_box(self):
        self.pane.keys("C-o")
        self.pane.wait_for_text("sample.zmk")
        self.pane.type("missing.zmk")
        self.pane.keys("Enter")
        self.pane.wait_for_text("File not found.")
        self.pane.keys("Enter")
        self.pane.wait_for_gone("File not found.")
        self.pane.keys("Escape")
        self.pane.wait_for_gone("File name:")
        self.assertNotIn("Chunk File", self.pane.screen(), "a cancelled dialog opens nothing")

        self.open_sample()
        os.remove(os.path.join(self.folder, "sample.zmk"))
        self.pane.keys("F5")
        self.pane.wait_for_text("Unable to refresh the opened file")
        self.pane.keys("Enter")
        self.pane.wait_for_gone("Unable to refresh the opened file")
        self.assertIn("00000012h (00000010h)", self.pane.screen(), "the tree stays as it was")

    def test_resize_lays_the_window_out_again(self):
        self.open_sample()
        self.select_data_chunk()
        self.pane.resize(110, 30)
        self.pane.wait_for(lambda: len(self.pane.lines()[0]) <= 110 and "Chunk File" in self.pane.screen(),
                           "the smaller screen")
        self.pane.resize(170, 50)
        self.pane.wait_for_text(ROW_OF_16)
        self.assertIn("00000200h (00000028h)", self.pane.screen())

    def test_signals_give_the_terminal_back(self):
        self.open_sample()
        os.kill(self.pane.pid, signal.SIGTERM)
        self.assert_terminal_given_back(128 + signal.SIGTERM)


class WithoutTerminalTest(unittest.TestCase):
    def test_ends_at_once_when_input_is_not_a_terminal(self):
        if not APP:
            self.skipTest("TARNHOLM_APP is not set")
        result = subprocess.run([APP], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=30)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertNotIn(b"\x1b", result.stdout, "nothing drawn")


if __name__ == "__main__":
    unittest.main()

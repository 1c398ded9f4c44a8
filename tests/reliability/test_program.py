"""The real program in a terminal (tmux): a whole session writes no file, file names full of
control characters never reach the terminal raw, and signals, even fatal ones, give the
terminal back."""

import os
import re
import shutil
import signal
import sys
import tempfile
import unittest

from chunk_files import sample
from tmux_pane import TmuxPane

APP = os.environ.get("TARNHOLM_APP", "")
STRACE = os.environ.get("TARNHOLM_STRACE", "") or shutil.which("strace") or ""
ROW = "30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46  | 0123456789ABCDEF"
WRITE_FLAGS = ("O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND", "O_TMPFILE")
# Calls that change the file system whatever their flags.
CHANGING_CALLS = ("creat", "truncate", "ftruncate", "rename", "renameat", "renameat2", "unlink",
                  "unlinkat", "mkdir", "mkdirat", "rmdir", "link", "linkat", "symlink",
                  "symlinkat", "chmod", "fchmod", "fchmodat", "chown", "fchown", "fchownat",
                  "utimensat")
TERMINAL_PATHS = re.compile(r'^"(/dev/tty|/dev/pts/\d+|/dev/null)"')


class ViewerInTmux(unittest.TestCase):
    def setUp(self):
        if not APP:
            self.skipTest("TARNHOLM_APP is not set")
        self.folder = tempfile.mkdtemp(prefix="tarnholm-reliability-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.write("sample.zmk", sample())

    def write(self, name, data):
        path = os.fsencode(self.folder) + b"/" + name.encode("utf-8", "surrogateescape")
        with open(path, "wb") as f:
            f.write(data)

    def start(self, argv, env=None):
        pane = TmuxPane(argv, cols=160, rows=45, cwd=self.folder, env=env)
        self.addCleanup(pane.close)
        pane.wait_for_text("File")
        return pane

    def assert_terminal_given_back(self, pane, expected_rc=None):
        # Read from the line itself: a program that leaves its screen up leaves it around
        # the wrapper's report too.
        line = pane.wait_for(lambda: next((l for l in pane.lines() if "PROGRAM ENDED" in l), None),
                             "the program to end", timeout=60)
        ended = re.search(r"PROGRAM ENDED rc=(\d+) tty=(same|changed)", line)
        self.assertIsNotNone(ended, line)
        rc, tty = int(ended.group(1)), ended.group(2)
        if expected_rc is not None:
            self.assertEqual(rc, expected_rc)
        self.assertEqual(tty, "same", "the tty modes came back")
        self.assertEqual(pane.pane_format("#{alternate_on} #{mouse_any_flag} #{cursor_flag}"),
                         "0 0 1", "alternate screen, mouse reporting, cursor visible")

    def test_a_whole_session_opens_no_file_for_writing(self):
        if not STRACE:
            self.skipTest("strace is not installed (scripts/ensure-deps.sh lists it)")
        log = os.path.join(self.folder, "..", os.path.basename(self.folder) + ".strace")
        self.addCleanup(lambda: os.path.exists(log) and os.remove(log))
        calls = "open,openat,openat2," + ",".join(CHANGING_CALLS)
        # The leak checker stops the world with ptrace, which a traced process cannot: the
        # other end-to-end tests check leaks on the same program.
        pane = self.start([STRACE, "-f", "-qq", "-o", log, "-e", "trace=" + calls, APP],
                          env={"ASAN_OPTIONS": "detect_leaks=0"})
        pane.keys("C-o")
        pane.wait_for_text("sample.zmk")
        pane.type("sample.zmk")
        pane.keys("Enter")
        pane.wait_for_text("00000012h (00000010h)")
        pane.keys("Home", "Down", "Down")
        pane.wait_for_text(ROW)
        self.write("sample.zmk", sample(b"abcdefghijklmnopqrstuvwxyz0123456789ABCD"))
        pane.keys("F5")
        pane.wait_for_text("61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f 70  | abcdefghijklmnop")
        col, row = pane.find("61 62 63 64")
        pane.click(col + 3, row)
        pane.keys("C-a", "C-c")
        pane.wait_for(lambda: pane.clipboard().startswith("61 62 63"), "the copied text")
        pane.keys("M-f")
        pane.wait_for_text("Exit")
        pane.keys("x")
        self.assert_terminal_given_back(pane, 0)

        with open(log) as traced:
            lines = traced.read().splitlines()
        opened = [l for l in lines if re.search(r"\bopen(at2?)?\(", l)]
        self.assertTrue(any("sample.zmk" in l for l in opened), "the trace saw the file opened")
        writes = []
        for line in lines:
            call = re.match(r"^\d+\s+(\w+)\(", line)
            if not call or "resumed" in line:
                continue
            name = call.group(1)
            if name in CHANGING_CALLS:
                writes.append(line)
            elif name.startswith("open"):
                path = re.search(r'"[^"]*"', line)
                if any(flag in line for flag in WRITE_FLAGS) and not (
                        path and TERMINAL_PATHS.match(path.group(0))):
                    writes.append(line)
        self.assertEqual(writes, [], "files opened for writing or changed")

    def test_control_characters_in_file_names_show_as_stand_ins(self):
        names = {
            "bell\x07\x08back.zmk": "bell\u2407\u2408back.zmk",
            "title\x1b]0;pwned\x07.zmk": "title\u241b]0;pwned\u2407.zmk",
            "csi\u009b31m.zmk": "csi\ufffd31m.zmk",
            "line\nfeed\r.zmk": "line\u240afeed\u240d.zmk",
            "bad\udcff\udcfebytes.zmk": "bad\ufffd\ufffdbytes.zmk",
        }
        for name in names:
            self.write(name, sample())
        pane = self.start([APP])
        pane.keys("C-o")
        pane.wait_for_text("sample.zmk")
        screen = pane.screen()
        for shown in names.values():
            self.assertIn(shown, screen)
        self.assertEqual(pane.pane_format("#{pane_title}"), "Tarnholm", "no title sequence ran")
        self.assertEqual(pane.pane_format("#{window_bell_flag}"), "0", "no bell rang")
        self.assertNotIn("\x1b]", pane.screen_with_attributes())
        pane.keys("Escape")
        pane.wait_for_gone("File name:")
        pane.keys("M-f")
        pane.wait_for_text("Exit")
        pane.keys("x")
        self.assert_terminal_given_back(pane, 0)

    def test_hangup_and_fatal_signals_give_the_terminal_back(self):
        # SIGTERM is covered with the other viewer tests; a crash is stood in for by the
        # signal it would raise.
        for sig in (signal.SIGHUP, signal.SIGABRT, signal.SIGSEGV):
            with self.subTest(signal=sig.name):
                pane = self.start([APP])
                pane.keys("C-o")
                pane.wait_for_text("sample.zmk")
                os.kill(pane.pid, sig)
                self.assert_terminal_given_back(pane)


if __name__ == "__main__":
    unittest.main()

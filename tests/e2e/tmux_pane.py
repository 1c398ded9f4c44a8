"""A program running in a tmux pane of fixed size, driven and read as a person would."""

import os
import shlex
import shutil
import subprocess
import tempfile
import time

DEFAULT_TIMEOUT = 15.0


class TmuxPane:
    """Starts `argv` in a fresh tmux server (private socket) inside a small shell wrapper
    that records the program's pid, exit code and whether the tty modes came back
    unchanged, then keeps the pane open so the end can be read."""

    def __init__(self, argv, cols=160, rows=45, cwd=None, env=None):
        argv = [os.path.abspath(argv[0]) if os.sep in argv[0] else argv[0]] + list(argv[1:])
        self.workdir = tempfile.mkdtemp(prefix="tarnholm-e2e-")
        self.socket = "tarnholm-e2e-%d-%d" % (os.getpid(), int(time.time() * 1000) % 100000)
        self.pidfile = os.path.join(self.workdir, "pid")
        runner = os.path.join(self.workdir, "run.sh")
        with open(runner, "w") as script:
            script.write(
                "#!/bin/sh\n"
                "before=$(stty -g)\n"
                "sh -c 'echo $$ > \"$0\"; exec \"$@\"' %s %s\n"
                "rc=$?\n"
                "after=$(stty -g)\n"
                "if [ \"$before\" = \"$after\" ]; then tty=same; else tty=changed; fi\n"
                "echo \"PROGRAM ENDED rc=$rc tty=$tty\"\n"
                "exec sleep 600\n" % (shlex.quote(self.pidfile), " ".join(shlex.quote(a) for a in argv)))
        os.chmod(runner, 0o755)
        environment = dict(os.environ)
        environment.update({"LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"})
        environment.pop("TMUX", None)
        if env:
            environment.update(env)
        self.env = environment
        config = os.path.join(self.workdir, "tmux.conf")
        with open(config, "w") as settings:
            settings.write("set -g default-terminal tmux-256color\n"
                           "set -g set-clipboard on\n"
                           "set -g escape-time 0\n"
                           "set -g status off\n")
        self._tmux("-f", config, "new-session", "-d", "-x", str(cols), "-y", str(rows),
                   "-c", cwd or self.workdir, runner)
        self.wait_for(self._read_pid, what="the program to start")

    def _tmux(self, *args, check=True):
        result = subprocess.run(["tmux", "-L", self.socket] + list(args), env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if check and result.returncode != 0:
            raise RuntimeError("tmux %s failed: %s" % (" ".join(args), result.stderr))
        return result.stdout

    def close(self):
        socket_path = self._tmux("display-message", "-p", "#{socket_path}", check=False).strip()
        self._tmux("kill-server", check=False)
        if socket_path and os.path.basename(socket_path) == self.socket:
            try:
                os.unlink(socket_path)
            except OSError:
                pass
        shutil.rmtree(self.workdir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _read_pid(self):
        with open(self.pidfile) as recorded:
            return int(recorded.read().strip())

    @property
    def pid(self):
        return self._read_pid()

    def keys(self, *names):
        """Keys by tmux name: "C-o", "Down", "F5", "M-f", "S-Left", "Enter", "Escape"."""
        self._tmux("send-keys", "-t", "0", *names)

    def type(self, text):
        self._tmux("send-keys", "-t", "0", "-l", text)

    def raw(self, data):
        """Bytes exactly as a terminal would send them (mouse reports, odd sequences)."""
        self._tmux("send-keys", "-t", "0", "-H", *["%02x" % b for b in data])

    def mouse(self, button, col, row):
        """An X10 mouse report: button 0 left press, 3 release, 32 motion with the left
        button held, 64/65 wheel; col and row count from 0."""
        self.raw(b"\x1b[M" + bytes([32 + button, 33 + col, 33 + row]))

    def click(self, col, row):
        self.mouse(0, col, row)
        self.mouse(3, col, row)

    def resize(self, cols, rows):
        self._tmux("resize-window", "-t", "0", "-x", str(cols), "-y", str(rows))

    def screen(self):
        return self._tmux("capture-pane", "-p", "-t", "0")

    def screen_with_attributes(self):
        return self._tmux("capture-pane", "-p", "-e", "-t", "0")

    def lines(self):
        return self.screen().split("\n")

    def pane_format(self, fmt):
        return self._tmux("display-message", "-p", "-t", "0", fmt).strip()

    def clipboard(self):
        return self._tmux("show-buffer", check=False)

    def wait_for(self, predicate, what, timeout=DEFAULT_TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            try:
                result = predicate()
            except (OSError, ValueError):
                result = None
            if result:
                return result
            if time.monotonic() > deadline:
                raise AssertionError("timed out waiting for %s; the screen shows:\n%s"
                                     % (what, self.screen()))
            time.sleep(0.05)

    def wait_for_text(self, text, timeout=DEFAULT_TIMEOUT):
        return self.wait_for(lambda: text in self.screen(), "%r on the screen" % text, timeout)

    def wait_for_gone(self, text, timeout=DEFAULT_TIMEOUT):
        return self.wait_for(lambda: text not in self.screen(), "%r to disappear" % text, timeout)

    def wait_for_end(self, timeout=DEFAULT_TIMEOUT):
        """The wrapper's report once the program has ended: (exit code, tty state)."""
        line = self.wait_for(lambda: next((l for l in self.lines() if "PROGRAM ENDED" in l), None),
                             "the program to end", timeout)
        fields = dict(part.split("=") for part in line.split()[2:])
        return int(fields["rc"]), fields["tty"]

    def find(self, text):
        """(col, row) of the first place `text` shows, or None."""
        for row, line in enumerate(self.lines()):
            col = line.find(text)
            if col >= 0:
                return col, row
        return None

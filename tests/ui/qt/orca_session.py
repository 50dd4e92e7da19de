"""A program under the Orca screen reader in German, headless, and what Orca speaks (the SPEECH
OUTPUT lines of its debug file). Xvfb, a session D-Bus, the accessibility bus, Orca (default
settings) and its speech-dispatcher run in a folder of their own; speech goes to libao's null
driver, as Orca 43 hangs when it cannot open a sound card. A marker in every process's environment
ends them all, also after a failure, which prints the last lines spoken. Standard library only;
needs the Debian packages orca speech-dispatcher-espeak-ng at-spi2-core dbus locales xvfb xdotool.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import uuid

# SPEECH OUTPUT: 'text' {voice} or 'text' voice=name {voice}; a text's own lines are indented.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\w+)? ?(?=\{|\[|$)", re.S | re.M)


class OrcaSession:
    def __init__(self):
        self.marker = "ORCA_SESSION_" + uuid.uuid4().hex
        self.procs = []  # (name, Popen), in start order
        self.dir = self.log = None

    def __enter__(self):
        # A time-out's SIGTERM ends the session as a failure does.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit("orca_session: terminated"))
        try:
            self._start()
        except BaseException:
            self._stop(failed=True)
            raise
        return self

    def __exit__(self, kind, value, trace):
        self._stop(failed=kind is not None)

    def _start(self):
        # Orca refuses to start beside another Orca of the same user, whatever the session bus;
        # that one may be a person's own screen reader, so it is never replaced. One that is
        # ending (a session's just before) is given a few seconds.
        others = []
        for _ in range(50):
            others = [pid for pid in subprocess.run(
                ["pgrep", "-u", str(os.getuid()), "-x", "orca"], capture_output=True,
                text=True).stdout.split() if not self._ended(pid)]
            if not others:
                break
            time.sleep(0.1)
        if others:
            raise AssertionError("another Orca of this user runs (process %s): Orca starts only "
                                 "one a user, so this test cannot run beside it; end that Orca "
                                 "or run the test as another user" % ", ".join(others))
        self.dir = tempfile.mkdtemp(prefix="orca-session-")
        home, run, locales, prefs = (os.path.join(self.dir, d) for d in
                                     ("home", "run", "locale", "orca-prefs"))
        for folder in (home, run, locales, prefs):
            os.makedirs(folder, mode=0o700)
        subprocess.run(["localedef", "-i", "de_DE", "-f", "UTF-8",
                        os.path.join(locales, "de_DE.UTF-8")], check=True, capture_output=True)
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home,
                    "XDG_RUNTIME_DIR": run, "LOCPATH": locales, "LANG": "de_DE.UTF-8",
                    "LANGUAGE": "de", "NO_AT_BRIDGE": "0", self.marker: "1"}
        speechd = os.path.join(home, ".config", "speech-dispatcher")
        shutil.copytree("/etc/speech-dispatcher", speechd)
        with open(os.path.join(speechd, "speechd.conf"), "a") as f:
            f.write('\nAudioOutputMethod "libao"\n')
        with open(os.path.join(home, ".libao"), "w") as f:
            f.write("default_driver=null\n")

        read, write = os.pipe()  # Xvfb writes the display it took
        self._spawn("Xvfb", ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as pipe:
            self.env["DISPLAY"] = ":" + pipe.readline().strip()
        bus = self._spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        # The bus starts the accessibility bus's launcher when first asked for its address; one
        # started beside that request could lose the name to it and end.
        self._wait(lambda: subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], env=self.env, capture_output=True).returncode == 0,
            "the accessibility bus", 20)
        # Orca flushes its debug file line by line only to a terminal: script(1) gives it one.
        self.log = os.path.join(self.dir, "orca.log")
        self._spawn("orca", ["script", "-q", "-f", "-e", self.log, "-c",
                             "exec orca -u '%s' --debug-file /dev/stdout" % prefs])
        self._wait(self.spoken, "Orca's first spoken line", 60)

    def _stop(self, failed):
        signal.signal(signal.SIGTERM, signal.SIG_IGN)  # timeout(1) sends it again to its group
        if failed and self.log:
            sys.stderr.write("---- Orca spoke last (log %s):\n" % self.log)
            sys.stderr.writelines("  %s\n" % line for line in self.spoken()[-30:])
        for _, proc in reversed(self.procs):
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    os.killpg(proc.pid, signal.SIGKILL)
                    proc.wait()
        # Then what they started (Orca in script's terminal, speech-dispatcher and its modules,
        # what the buses started).
        mine = ("%s=1" % self.marker).encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if mine in f.read().split(b"\0"):
                        os.kill(int(pid), signal.SIGKILL)
            except OSError:
                pass
        if failed or os.environ.get("ORCA_SESSION_KEEP"):
            sys.stderr.write("---- session files kept in %s\n" % self.dir)
        else:
            shutil.rmtree(self.dir, ignore_errors=True)

    @staticmethod
    def _ended(pid):
        """Whether the process has ended and only waits to be reaped."""
        try:
            with open("/proc/%s/stat" % pid) as f:
                return f.read().rsplit(")", 1)[1].split()[0] == "Z"
        except OSError:
            return True

    def _spawn(self, name, argv, env=None, **kwargs):
        with open(os.path.join(self.dir, name + ".out"), "ab") as out:
            kwargs.setdefault("stdout", out)
            proc = subprocess.Popen(argv, env=env or self.env, start_new_session=True,
                                    stdin=subprocess.DEVNULL, stderr=subprocess.STDOUT, **kwargs)
        self.procs.append((name, proc))
        return proc

    def _wait(self, condition, what, timeout):
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            ended = [name for name, proc in self.procs if proc.poll() is not None]
            if ended or time.monotonic() > deadline:
                raise AssertionError("%s waiting %ss for %s" % (
                    "%s ended" % ended[0] if ended else "timed out", timeout, what))
            time.sleep(0.05)

    def start_app(self, argv, window=r"^Quorbel$"):
        """Starts the program with accessibility on, waits for its window and focuses it."""
        self._spawn("app", argv, env=dict(self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                          QT_QPA_PLATFORM="xcb"))
        xdotool = lambda *args: subprocess.run(  # noqa: E731
            ["xdotool", *args], env=self.env, capture_output=True, text=True).stdout.split()
        found = self._wait(lambda: xdotool("search", "--onlyvisible", "--name", window),
                           "a window named %s" % window, 30)
        xdotool("windowfocus", "--sync", found[0])

    def key(self, *keys):
        """Presses keys (xdotool names: space, Tab, shift+Tab, Down); returns the mark before."""
        mark = self.mark()
        subprocess.run(["xdotool", "key", "--delay", "50", *keys], env=self.env, check=True)
        return mark

    def mark(self):
        """A place in the log, for spoken() and wait_for()."""
        return os.path.getsize(self.log)

    def debug(self, since=0):
        """Orca's debug file after the mark."""
        if not os.path.exists(self.log):
            return ""
        with open(self.log, "rb") as f:
            f.seek(since)
            return f.read().decode("utf-8", "replace").replace("\r\n", "\n")

    def spoken(self, since=0):
        """The texts Orca spoke after the mark, in order."""
        return [m.group(1) for m in SPEECH.finditer(re.sub(r"\n {18}", "\n", self.debug(since)))]

    def wait_for(self, pattern, since=0, timeout=20):
        """Waits for a text spoken after the mark to match; returns the first match and all
        spoken after the mark."""
        regex = re.compile(pattern)
        try:
            self._wait(lambda: any(map(regex.search, self.spoken(since))),
                       "speech matching %r" % pattern, timeout)
        except AssertionError as error:
            raise AssertionError("%s; spoken since: %r" % (error, self.spoken(since))) from None
        texts = self.spoken(since)
        return next(m for m in map(regex.search, texts) if m), texts

"""A private desktop for the real-window tests: an X server on a free display, optionally a window
manager, a D-Bus session bus and the accessibility bus, all ended with the test.

As a module:   with Desktop(wm=True, bus=True) as d: ...   (sets DISPLAY, DBUS_SESSION_BUS_ADDRESS)
As a command:  /usr/bin/python3 desktop.py [--wm] [--bus] [--atspi] [--screen 1280x1024x24] -- COMMAND...
               runs COMMAND on that desktop and exits with its exit code.

Xvfb picks its own free display number (-displayfd), so two tests may start at once. Every wait
is bounded and polls; nothing sleeps for a fixed time.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

SKIP = 77


class Unavailable(RuntimeError):
    """A tool the desktop needs is not installed."""


def need(tool, package):
    path = shutil.which(tool)
    if not path:
        raise Unavailable(f"{tool} not found (Debian package {package})")
    return path


def _poll(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise RuntimeError(f"timed out waiting for {what}")
        time.sleep(0.02)


def _putenv(name, value):
    """Sets a variable of this process's environment; None unsets it."""
    if value is None:
        os.environ.pop(name, None)
    else:
        os.environ[name] = value


def a11y_bus(*call):
    """Calls the session's accessibility bus launcher (org.a11y.Bus at /org/a11y/bus)."""
    subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus", *call],
        check=True,
        stdout=subprocess.DEVNULL,
        timeout=20,
    )


class Processes:
    """A context that starts processes for a test (in _start), each in a session of its own, and
    ends them all with it, the newest first; a failed start ends those already started."""

    def __init__(self):
        self.procs = []

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _spawn(self, argv, **kw):
        p = subprocess.Popen(argv, stdin=subprocess.DEVNULL, start_new_session=True, **kw)
        self.procs.append(p)
        return p

    def _line_from(self, argv, what):
        """Starts argv(fd) and returns the one line it writes to fd once it serves (a display
        number, a bus address)."""
        read, write = os.pipe()
        self._spawn(
            argv(write), pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
        )
        os.close(write)
        with os.fdopen(read) as f:
            line = f.readline().strip()
        if not line:
            raise RuntimeError(f"{what} did not start")
        return line

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    os.killpg(p.pid, signal.SIGKILL)
                    p.wait()
        self.procs.clear()
        return False


class Desktop(Processes):
    def __init__(self, wm=False, bus=False, atspi=False, screen="1280x1024x24", xvfb_args=()):
        super().__init__()
        self.wm, self.bus, self.atspi = wm, bus or atspi, atspi
        self.screen, self.xvfb_args = screen, list(xvfb_args)
        self.saved = {}
        self.display = None

    def _setenv(self, name, value):
        self.saved.setdefault(name, os.environ.get(name))
        _putenv(name, value)

    def _start(self):
        self._start_x()
        if self.bus:
            self._start_bus()
        if self.wm:
            self._start_wm()

    def _start_x(self):
        xvfb = need("Xvfb", "xvfb")
        # -ac: without access control, so that a program run as another user can connect too.
        number = self._line_from(
            lambda fd: [xvfb, "-displayfd", str(fd), "-screen", "0", self.screen, "-ac"]
            + ["-nolisten", "tcp", *self.xvfb_args],
            "Xvfb",
        )
        self.display = ":" + number
        self._setenv("DISPLAY", self.display)
        self._setenv("XAUTHORITY", None)
        self._setenv("WAYLAND_DISPLAY", None)

    def _start_bus(self):
        daemon = need("dbus-daemon", "dbus")
        address = self._line_from(
            lambda fd: [daemon, "--session", "--nofork", f"--print-address={fd}"], "dbus-daemon"
        )
        self._setenv("DBUS_SESSION_BUS_ADDRESS", address)
        if self.atspi:
            # Activates the accessibility bus before the program starts, as a desktop session does.
            need("/usr/libexec/at-spi-bus-launcher", "at-spi2-core")
            a11y_bus("org.a11y.Bus.GetAddress")

    def _start_wm(self):
        openbox = need("openbox", "openbox")
        self._spawn([openbox, "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        from Xlib import display as xdisplay

        d = xdisplay.Display(self.display)
        check = d.intern_atom("_NET_SUPPORTING_WM_CHECK")

        def managed():
            return d.screen().root.get_full_property(check, 0) is not None

        try:
            _poll(managed, 15, "the window manager")
        finally:
            d.close()

    def __exit__(self, *exc):
        super().__exit__(*exc)
        for name, value in self.saved.items():
            _putenv(name, value)
        self.saved.clear()
        return False


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--wm", action="store_true", help="start openbox and wait until it manages")
    ap.add_argument("--bus", action="store_true", help="start a D-Bus session bus")
    ap.add_argument("--atspi", action="store_true", help="also the accessibility bus")
    ap.add_argument("--screen", default="1280x1024x24")
    ap.add_argument("command", nargs=argparse.REMAINDER)
    args = ap.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        ap.error("no command")
    try:
        with Desktop(wm=args.wm, bus=args.bus, atspi=args.atspi, screen=args.screen):
            return subprocess.call(command)
    except Unavailable as e:
        print(f"skipped: {e}")
        return SKIP


if __name__ == "__main__":
    sys.exit(main())

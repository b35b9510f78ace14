"""Drives a real X11 program as a person would: finds its windows, reads pixels, types keys and
presses mouse buttons through XTEST, and closes windows through the window manager protocol.

Used by the real-window tests, which run under Xvfb. Every wait is bounded and polls an observable
condition; nothing sleeps for a fixed time to let the program 'settle'.
"""

import os
import subprocess
import sys
import time

from Xlib import X, XK, display, protocol
from Xlib.ext import xtest


class Timeout(AssertionError):
    pass


def wait_until(condition, timeout=10.0, what="condition"):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout(f"timed out waiting for {what}")
        time.sleep(0.02)


def title(d, win):
    """A window's title (WM_NAME, else _NET_WM_NAME), or None."""
    try:
        name = win.get_wm_name()
        if not name:
            prop = win.get_full_property(
                d.intern_atom("_NET_WM_NAME"), d.intern_atom("UTF8_STRING")
            )
            name = prop.value.decode() if prop else None
        return name.decode("latin-1") if isinstance(name, bytes) else name
    except Exception:  # the window may vanish while we look at it
        return None


class Image:
    """A rectangle of a window read in one request, its pixels decoded as they are asked for:
    depth 24 (4 bytes a pixel) and 16 (2 bytes, red 5, green 6, blue 5 bits)."""

    def __init__(self, win, x, y, width, height):
        self.x, self.y = x, y
        img = win.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        self.data = img.data
        self.stride = len(self.data) // height  # rows are padded to 32 bits
        self.step = 2 if img.depth == 16 else 4  # bytes per pixel

    def rgb(self, x, y):
        """The (red, green, blue) at (x, y) in the window's coordinates."""
        d, at = self.data, (y - self.y) * self.stride + (x - self.x) * self.step
        if self.step == 2:
            v = d[at] | d[at + 1] << 8
            return (v >> 11) * 255 // 31, (v >> 5 & 63) * 255 // 63, (v & 31) * 255 // 31
        return d[at + 2], d[at + 1], d[at]


def steady(read, what):
    """read() once two readings in a row agree (a repaint may be under way between them)."""
    last = None
    for _ in range(50):
        now = read()
        if now == last:
            return now
        last = now
    raise Timeout(f"{what} never held still")


def or_none(read):
    """read(), or None where it fails: the window is unmapped or resized while it is read."""
    try:
        return read()
    except Exception:
        return None


class Program:
    """One run of the program under test, on the display named by $DISPLAY."""

    def __init__(
        self, argv, cwd=None, env=None, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **popen
    ):
        """popen: more of subprocess.Popen's arguments (start_new_session, ...)."""
        self.proc = subprocess.Popen(argv, cwd=cwd, env=env, stdout=stdout, stderr=stderr, **popen)
        self.d = display.Display()
        self.root = self.d.screen().root
        self.wm_protocols = self.d.intern_atom("WM_PROTOCOLS")
        self.wm_delete = self.d.intern_atom("WM_DELETE_WINDOW")

    # Windows -------------------------------------------------------------------------------
    def _titled(self, win):
        return title(self.d, win)

    def windows(self):
        """Mapped top-level windows of the display with their titles."""
        found = []
        try:
            children = self.root.query_tree().children
        except Exception:
            return found
        for w in children:
            try:
                if w.get_attributes().map_state != X.IsViewable:
                    continue
            except Exception:
                continue
            title = self._titled(w)
            if title is None:
                try:
                    children = w.query_tree().children
                except Exception:  # the frame may vanish while we look at it
                    continue
                for c in children:
                    title = self._titled(c)
                    if title is not None:
                        w = c
                        break
            if title is not None:
                found.append((title, w))
        return found

    def find_window(self, title):
        for t, w in self.windows():
            if t == title:
                return w
        return None

    def wait_window(self, title, timeout=15.0):
        return wait_until(lambda: self.find_window(title), timeout, f"window '{title}'")

    def wait_no_window(self, title, timeout=10.0):
        wait_until(lambda: self.find_window(title) is None, timeout, f"'{title}' to close")

    def geometry(self, win):
        """Position of the window on the root window and its size."""
        g = win.get_geometry()
        t = win.translate_coords(self.root, 0, 0)
        return -t.x, -t.y, g.width, g.height

    def pixel(self, win, x, y):
        """The (red, green, blue) of a pixel inside the window."""
        return self.pixels(win, x, y, 1, 1)[0][0]

    def pixels(self, win, x, y, width, height):
        """The (red, green, blue) of a rectangle inside the window, as rows, in one request."""
        img = Image(win, x, y, width, height)
        return [[img.rgb(x + col, y + row) for col in range(width)] for row in range(height)]

    def close(self, win):
        """Asks the window to close, as a window manager's close button does."""
        ev = protocol.event.ClientMessage(
            window=win,
            client_type=self.wm_protocols,
            data=(32, [self.wm_delete, X.CurrentTime, 0, 0, 0]),
        )
        win.send_event(ev, event_mask=X.NoEventMask)
        self.d.flush()

    def focus(self, win):
        win.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.d.sync()

    def has_focus(self, win):
        """The X input focus is on the window or inside it."""
        focus = self.d.get_input_focus().focus
        while hasattr(focus, "id") and focus.id != self.root.id:
            if focus.id == win.id:
                return True
            focus = focus.query_tree().parent
        return False

    # Input ---------------------------------------------------------------------------------
    def _keycode(self, key):
        keysym = XK.string_to_keysym(key)
        if keysym == 0 and len(key) == 1:
            keysym = ord(key)
        code = self.d.keysym_to_keycode(keysym)
        if not code:
            raise ValueError(f"no key for {key!r}")
        return code

    def key_down(self, key):
        xtest.fake_input(self.d, X.KeyPress, self._keycode(key))
        self.d.sync()

    def key_up(self, key):
        xtest.fake_input(self.d, X.KeyRelease, self._keycode(key))
        self.d.sync()

    def tap(self, key):
        self.key_down(key)
        self.key_up(key)

    def type_keys(self, *keys):
        for k in keys:
            self.tap(k)

    # XTEST moves the pointer at once, but a button event sent before the move may reach the
    # clients only after it, at the new place: at machine speed a click on "1" and then one on
    # "2" both land on "2" (a plain X client sees the same). So every fake button event is
    # followed by a wait until the server's own pointer state shows it.
    _MASKS = {1: X.Button1Mask, 2: X.Button2Mask, 3: X.Button3Mask}

    def _settle(self, button, down):
        mask = self._MASKS.get(button)
        if mask is None:
            self.d.sync()
            return
        wait_until(
            lambda: bool(self.root.query_pointer().mask & mask) == down,
            30.0,
            f"the server to take button {button} {'down' if down else 'up'}",
        )

    def mouse_press(self, x, y, button=1):
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        xtest.fake_input(self.d, X.ButtonPress, button)
        self._settle(button, True)

    def mouse_release(self, button=1):
        xtest.fake_input(self.d, X.ButtonRelease, button)
        self._settle(button, False)

    def click(self, x, y, button=1):
        self.mouse_press(x, y, button)
        self.mouse_release(button)

    def tap_apart(self, key):
        """Taps a key so that its press never shares a timestamp with the release before it, as
        a finger taps: the server delays the press by a millisecond. (Quicker taps count too:
        test_key_taps.py sends them.)"""
        code = self._keycode(key)
        xtest.fake_input(self.d, X.KeyPress, code, time=1)
        xtest.fake_input(self.d, X.KeyRelease, code)
        self.d.sync()

    def type_apart(self, *keys):
        for k in keys:
            self.tap_apart(k)

    # Life ----------------------------------------------------------------------------------
    def wait_exit(self, timeout=10.0):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired as e:
            raise Timeout("the program did not end") from e

    def wait_success(self, timeout=10.0):
        """Waits for the program to end, which it must do with exit code 0."""
        code = self.wait_exit(timeout)
        assert code == 0, f"exit code {code}"

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def close_enough(rgb, expected, tolerance=6):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


def screenshot(path):
    """The whole screen into an image file (ImageMagick's import); False where that fails."""
    try:
        return (
            subprocess.run(
                ["import", "-window", "root", path],
                timeout=20,
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
            ).returncode
            == 0
        )
    except (OSError, subprocess.SubprocessError):
        return False


def keep_screen(name):
    """On a failure: the whole screen into <name>-failure.png in the working directory."""
    shot = os.path.abspath(f"{name}-failure.png")
    if screenshot(shot):
        print(f"screenshot: {shot}", file=sys.stderr)


def program_path():
    path = os.environ.get("TARVO_BIN")
    if not path:
        raise SystemExit("TARVO_BIN is not set")
    return path

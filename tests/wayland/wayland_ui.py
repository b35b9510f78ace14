"""What the Wayland tests read and press: the session's windows and pixels (sway's tree and grim)
in the shape the X11 tests' screen helpers use, the keyboards (wtype and a virtual keyboard with
a real layout's keymap), and the run of one test in a session of its own."""

import collections
import contextlib
import os
import shutil
import subprocess
import sys
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import session  # noqa: E402
from desktop import SKIP  # noqa: E402
import vkbd  # noqa: E402
import xdrive  # noqa: E402
from tarvo_ui import CELL, KEY, Screen  # noqa: E402


def _ppm(data):
    """(width, height, RGB bytes) of a binary PPM: P6 <width> <height> 255, then the rows."""
    magic, width, height, depth, rgb = data.split(maxsplit=4)
    assert magic == b"P6" and depth == b"255", data[:20]
    w, h = int(width), int(height)
    # split() may have taken leading whitespace bytes of the pixels: count from the end.
    return w, h, data[len(data) - w * h * 3 :]


class Desk:
    """The session's windows and pixels, in the shape the screen helpers of the X11 tests use."""

    def __init__(self, sway):
        self.sway = sway
        self.frame = None  # (width, height, rgb bytes) of the whole output, while held still
        self._held_views = None

    @contextlib.contextmanager
    def still(self):
        """Every read inside comes from one screenshot: a blink tick cannot fall between two."""
        if self.frame:
            yield
            return
        self.frame = self._grim()
        self._held_views = self.views()
        try:
            yield
        finally:
            self.frame = self._held_views = None

    def _grim(self, *args):
        """(width, height, rgb bytes) of the output, or of the part named by grim's -g."""
        shot = subprocess.run(
            ["grim", *args, "-t", "ppm", "-"],
            env=self.sway.client_env,
            capture_output=True,
            timeout=10,
            check=True,
        ).stdout
        return _ppm(shot)

    def views(self):
        """sway's views of programs, each a dict of its tree (name, pid, focused, rects)."""
        if self._held_views is not None:
            return self._held_views
        found = []

        def walk(node):
            if node.get("pid") and node.get("name") is not None:
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)

        tree = self.sway.swaymsg("-t", "get_tree")
        if tree:
            walk(tree)
        return found

    def windows(self):
        return [(v["name"], v["id"]) for v in self.views()]

    def find_window(self, title):
        return next((i for t, i in self.windows() if t == title), None)

    def wait_window(self, title, timeout=20.0):
        return xdrive.wait_until(lambda: self.find_window(title), timeout, f"window '{title}'")

    def geometry(self, win):
        view = next(v for v in self.views() if v["id"] == win)
        rect, inner = view["rect"], view["window_rect"]
        return rect["x"] + inner["x"], rect["y"] + inner["y"], inner["width"], inner["height"]

    def pixels(self, win, x, y, width, height):
        wx, wy, _, _ = self.geometry(win)
        left, top = wx + x, wy + y
        if self.frame:
            w, _, rgb = self.frame
        else:
            w, _, rgb = self._grim("-g", f"{left},{top} {width}x{height}")
            left = top = 0

        def at(row, col):
            i = ((top + row) * w + left + col) * 3
            return tuple(rgb[i : i + 3])

        return [[at(row, col) for col in range(width)] for row in range(height)]

    def pixel(self, win, x, y):
        return self.pixels(win, x, y, 1, 1)[0][0]


class Shown(Screen):
    """A button's face as the colour most of its left part shows: in a window narrower than the
    X11 tests' the single pixel they read can fall on the dotted focus frame."""

    def face(self, rect):
        x0, y0 = self.at(rect, 0.05, 0.15)
        x1, y1 = self.at(rect, 0.3, 0.85)
        rows = self.p.pixels(self.win, x0, y0, max(1, x1 - x0), max(1, y1 - y0))
        return collections.Counter(px for row in rows for px in row).most_common(1)[0][0]

    def cells(self):
        with self.still():
            return [self.background(c) for c in CELL]

    def still(self):
        return self.p.still()


class Keys:
    """The two keyboards, in the shape of tarvo_ui.Keyboard. The first key of a keyboard new to
    the seat (every wtype run is one), or after the seat changed keyboard, was seen lost, its
    release arriving without its press: each change begins with a SHIFT tap, which the program
    swallows."""

    def __init__(self, sway, layout):
        self.sway = sway
        self.board = vkbd.VirtualKeyboard(vkbd.Keymap(layout), sway.runtime, sway.display)
        self.last = None
        self.numbers = 0  # typed so far, each in the next of four ways

    def _use_board(self):
        if self.last != "board":
            self.board.tap(vkbd.KEY_LEFTSHIFT)
            self.last = "board"
        return self.board

    def wtype(self, *args):
        self.last = "wtype"
        # -d: a pause between keys, as between two presses of a finger.
        subprocess.run(
            ["wtype", "-d", "10", "-k", "Shift_L", *args],
            env=self.sway.client_env,
            check=True,
            timeout=20,
        )

    def digit_row(self, d, shift):
        self._use_board().tap(vkbd.DIGIT_ROW[d], shift=shift)

    def keypad(self, d):
        self._use_board().tap_keypad_digit(d)

    def keypad_multiply(self):
        self._use_board().tap(vkbd.KEY_KPASTERISK)

    def letter(self, ch):
        self._use_board().tap_symbol(ch)

    def enter(self):
        self._use_board().tap(vkbd.KEY_ENTER)

    def letter_and_enter(self, ch):
        board = self._use_board()
        board.tap_symbol(ch, wait=False)
        board.tap(vkbd.KEY_ENTER)

    def number(self, game, value):
        """Types `value` the next of four ways and checks that each digit's button took the
        focus."""
        way = self.numbers % 4
        self.numbers += 1
        digits = [int(c) for c in str(value)]
        if way == 0:
            self.wtype(str(value))
            game.wait_highlight(KEY[digits[-1]], f'"{digits[-1]}" after wtype "{value}"')
            return
        for d in digits:
            if way == 3:
                self.keypad(d)
            else:
                self.digit_row(d, shift=way == 2)
            game.wait_highlight(KEY[d], f'"{d}" (way {way})')


def run(name, test):
    """Runs test(sway, program) in a session of its own, `program` the program started there,
    and returns the exit code: 0 passed, 1 failed (with a screenshot and the program's output),
    SKIP where the compositor cannot start."""
    binary = xdrive.program_path()
    # Only a compositor that cannot start skips the test; its clients are the test's own.
    for tool, package in (("wtype", "wtype"), ("grim", "grim")):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} not found (Debian package {package}: scripts/deps.sh test)")
    try:
        sway = session.Sway().__enter__()
    except session.Unavailable as e:
        print(f"SKIP: {e}")
        return SKIP
    try:
        test(sway, sway.start_program(binary))
    except BaseException:
        traceback.print_exc()
        shot = os.path.abspath(f"{name}-failure.png")
        subprocess.run(["grim", shot], env=sway.client_env, timeout=20)
        print(f"screenshot: {shot}", file=sys.stderr)
        sys.stderr.write(sway.program_log()[-4000:])
        return 1
    finally:
        sway.__exit__(None, None, None)
    print(f"{name}: passed")
    return 0

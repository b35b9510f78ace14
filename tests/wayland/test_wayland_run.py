"""A pupil's whole run under Wayland with a keyboard of the layout given ("it" or "fr"): the
start screen and a tarvo played to its celebration, every digit typed and checked by what the
screen shows. Digits come three ways: from wtype (a virtual keyboard that uploads a keymap of its
own, as on-screen keyboards and switch software do, so "2" may sit on the keycode of a real "1"),
from the layout's digit row with and without SHIFT (French gives "(" for an unshifted 5), and
from the layout's keypad with NumLock on (which Qt on Wayland sends without its keypad flag).
The screen is read by pixels from grim; where each window lies, from sway.

Usage: test_wayland_run.py LAYOUT   (TARVO_BIN names the program)"""

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
from tarvo_ui import (  # noqa: E402
    CELL,
    CHOICE,
    EMPTY_CELL,
    GAME_TITLE,
    KEY,
    START_TITLE,
    Screen,
    leave_celebration,
    open_game,
    play_by_colours,
    same,
)

N = 15


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
        self.views = None

    @contextlib.contextmanager
    def still(self):
        """Every read inside comes from one screenshot: a blink tick cannot fall between two."""
        if self.frame:
            yield
            return
        self.frame = self._grim()
        self.views = self._views()
        try:
            yield
        finally:
            self.frame = self.views = None

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

    def _views(self):
        if self.views is not None:
            return self.views
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
        return [(v["name"], v["id"]) for v in self._views()]

    def find_window(self, title):
        return next((i for t, i in self.windows() if t == title), None)

    def wait_window(self, title, timeout=20.0):
        return xdrive.wait_until(lambda: self.find_window(title), timeout, f"window '{title}'")

    def geometry(self, win):
        view = next(v for v in self._views() if v["id"] == win)
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


def play(keys, desk, layout):
    start = Shown.start(desk)
    start.wait_highlight(CHOICE[0], '"10"')
    print("start window:", desk.geometry(start.win))

    # A digit only moves the highlight: from wtype, its keypad *, the layout's keypad, its
    # digit row with and without SHIFT.
    keys.wtype("2")
    start.wait_highlight(CHOICE[2], '"12" by wtype')
    keys.wtype("-k", "KP_Multiply")
    start.wait_highlight(CHOICE[10], '"20" by wtype\'s keypad *')
    keys.keypad(3)
    start.wait_highlight(CHOICE[3], '"13" by the keypad')
    keys.keypad_multiply()
    start.wait_highlight(CHOICE[10], '"20" by the keypad *')
    keys.digit_row(7, shift=True)
    start.wait_highlight(CHOICE[7], '"17" by SHIFT and 7')
    keys.digit_row(N - 10, shift=False)
    start.wait_highlight(CHOICE[N - 10], f'"{N}" by the unshifted digit row')

    game = open_game(start, keys)
    print("game window:", desk.geometry(game.win), "windows:", desk.windows())
    assert all(same(c, EMPTY_CELL) for c in game.cells()), game.cells()

    checks = play_by_colours(game, keys, N)
    leave_celebration(game, keys)
    print(f"{layout}: answers found after {checks} checks, {keys.numbers} answers typed")


def main():
    layout = sys.argv[1]
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
        program = sway.start_program(binary)
        desk = Desk(sway)
        keys = Keys(sway, layout)
        play(keys, desk, layout)
        code = program.wait(timeout=15)
        assert code == 0, f"exit code {code}"
        assert desk.find_window(GAME_TITLE) is None and desk.find_window(START_TITLE) is None
    except BaseException:
        traceback.print_exc()
        shot = os.path.abspath(f"wayland_{layout}-failure.png")
        subprocess.run(["grim", shot], env=sway.client_env, timeout=20)
        print(f"screenshot: {shot}", file=sys.stderr)
        sys.stderr.write(sway.program_log()[-4000:])
        return 1
    finally:
        sway.__exit__(None, None, None)
    print(f"wayland_{layout}: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

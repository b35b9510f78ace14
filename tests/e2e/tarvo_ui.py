"""Where the program's controls stand on its two main screens, and what their colours mean, for
the real-window tests. Every control keeps its place in proportion to the window's client area,
so a place is its rectangle in twips (from the screen's table, containers added in) scaled to the
client area the window has now. Every wait is bounded and polls what the screen shows.
"""

import contextlib
import os
import sys
import traceback

import xdrive

START_TITLE = "Tavole della moltiplicazione"
GAME_TITLE = "Form1"

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from palette import (
    APRICOT,
    BLINK_PALE,
    BLINK_YELLOW,
    CURTAIN,
    EMPTY_CELL,  # noqa: E402,F401
    HIGHLIGHT,
    RIGHT,
    WRONG,
)


# How far a colour read back may be from the one painted: 2 at depth 24; a test on a 16-bit
# screen (5 or 6 bits a channel) widens it.
TOLERANCE = 2


def _inside(container, rect):
    return (container[0] + rect[0], container[1] + rect[1], rect[2], rect[3])


# Start screen, 11880 x 8310 twips at design time.
START_DESIGN = (11880, 8310)
_FRAME1 = (1980, 4290)
_FRAME2 = (6675, 4290)
_CHOICES = [
    (135, 225, 1230, 585),
    (1425, 225, 1230, 585),
    (2715, 225, 1230, 585),
    (135, 825, 1230, 585),
    (1425, 825, 1230, 585),
    (2715, 825, 1230, 585),
    (135, 1425, 1230, 585),
    (1425, 1425, 1230, 585),
    (2715, 1425, 1230, 585),
    (135, 2025, 1860, 630),
    (2085, 2025, 1860, 630),
]
CHOICE = [_inside(_FRAME1, r) for r in _CHOICES]  # "10" .. "20"
COMMAND = [
    _inside(_FRAME2, (90, top, 3945, 630)) for top in (150, 975, 1740)
]  # Vai, Ripristina, Esci
# Spots where nothing but the window's own background lies.
START_FREE = [(9000, 7600, 1, 1), (1000, 3800, 1, 1)]
# Near the left edge: the left curtain covers it until nearly the end of its opening.
START_EDGE = (300, 4155, 1, 1)

# Game screen, 11910 x 8565 twips at design time.
GAME_DESIGN = (11910, 8565)
_TARVO = (492, 1215)
_KEYPAD = (7260, 5208)
_CELLS = [
    (3030, 255, 810, 810),
    (5055, 915, 810, 810),
    (5595, 2895, 810, 810),
    (5040, 4785, 810, 810),
    (3030, 5640, 810, 810),
    (750, 4785, 810, 810),
    (255, 2895, 885, 810),
    (750, 915, 810, 810),
]
CELL = [_inside(_TARVO, r) for r in _CELLS]
_KEYS = [
    (90, 120, 780),
    (900, 120, 780),
    (1695, 120, 780),
    (2490, 120, 780),
    (3285, 120, 780),
    (90, 765, 780),
    (900, 765, 780),
    (1695, 765, 780),
    (2490, 765, 780),
    (3285, 765, 780),
    (90, 1410, 1980),
    (2100, 1410, 1965),
    (90, 2055, 2328),
    (2448, 2055, 1632),
]
KEY = [_inside(_KEYPAD, (left, top, width, 615)) for left, top, width in _KEYS]
CANCELLA, AVANTI, NUOVO_TARVO, ESCO = 10, 11, 12, 13
TARVO_AREA_FREE = _inside(_TARVO, (150, 6300, 1, 1))  # the tarvo area's own background

# Instructions screen, 9000 x 5745 twips, no menu bar.
INSTRUCTIONS_TITLE = "ISTRUZIONI"
INSTRUCTIONS_DESIGN = (9000, 5745)
INSTRUCTIONS_CLOSE = (2985, 5085, 2700, 600)  # "C h i u d i"

# Author screen, 6975 x 3510 twips, no menu bar.
AUTHOR_TITLE = "Autore"
AUTHOR_DESIGN = (6975, 3510)
AUTHOR_CLOSE = (1845, 2796, 2700, 648)  # "C h i u d i"


class Screen:
    """One main window of the program: places scaled to its client area, colours read there."""

    def __init__(self, program, win, design, menu_bar=True):
        self.p = program
        self.win = win
        self.design = design
        self.top = 0
        if menu_bar:
            self.top = xdrive.wait_until(
                self._client_top, what="the client area below the menu bar"
            )

    @classmethod
    def start(cls, program, **wait):
        """The start screen, once its window shows; wait: the window wait's timeout."""
        return cls(program, program.wait_window(START_TITLE, **wait), START_DESIGN)

    @classmethod
    def game(cls, program):
        """The game screen, once its window shows."""
        return cls(program, program.wait_window(GAME_TITLE), GAME_DESIGN)

    @classmethod
    def instructions(cls, program, win=None):
        """The instructions screen (its window, where known), which has no menu bar."""
        win = win or program.wait_window(INSTRUCTIONS_TITLE)
        return cls(program, win, INSTRUCTIONS_DESIGN, menu_bar=False)

    def still(self):
        """A context in which every read comes from one picture of the screen, where the display
        gives one: X11 reads each pixel where it is, so here nothing is held."""
        return contextlib.nullcontext()

    def _client_top(self):
        # The menu bar is drawn in the platform's colours; the client area starts with the
        # window's background or a curtain at its left edge.
        _, _, _, height = self.p.geometry(self.win)
        column = self.p.pixels(self.win, 10, 0, 1, min(height, 80))
        for y, row in enumerate(column):
            if same(row[0], APRICOT) or same(row[0], CURTAIN):
                return y if y > 0 else None
        return None

    def at(self, rect, fx=0.5, fy=0.5, size=None):
        """The pixel at fractions (fx, fy) of a control's rectangle, in window coordinates; size:
        the window's (width, height) where already read."""
        width, height = size or self.p.geometry(self.win)[2:]
        left, top, w, h = rect
        x = (left + fx * w) / self.design[0] * width
        y = self.top + (top + fy * h) / self.design[1] * (height - self.top)
        return int(x), int(y)

    def colour(self, rect, fx=0.5, fy=0.5):
        return self.p.pixel(self.win, *self.at(rect, fx, fy))

    def colour_or_black(self, rect):
        """The colour, or black while the window is unmapped or being resized."""
        return xdrive.or_none(lambda: self.colour(rect)) or (0, 0, 0)

    def on_root(self, rect, fx=0.5, fy=0.5):
        x, y = self.at(rect, fx, fy)
        wx, wy, _, _ = self.p.geometry(self.win)
        return wx + x, wy + y

    # A button's face beside its caption; a label's background below its text.
    def face(self, rect):
        return self.colour(rect, 0.1, 0.3)

    def background(self, rect):
        return self.colour(rect, 0.08, 0.9)

    def highlighted(self, rect):
        return same(self.face(rect), HIGHLIGHT)

    def wait_highlight(self, rect, what, timeout=10.0):
        xdrive.wait_until(lambda: self.highlighted(rect), timeout, f"the highlight on {what}")

    def wait_background(self, spots=START_FREE, timeout=10.0):
        """Waits until the window's own background shows at every spot: on the start screen, the
        curtains have drawn back. A window resized meanwhile is read again."""
        for spot in spots:
            xdrive.wait_until(
                lambda: same(self.colour_or_black(spot), APRICOT),
                timeout,
                f"the background at {spot}",
            )

    def click(self, rect, button=1):
        self.p.click(*self.on_root(rect), button=button)

    def click_menu(self, button=1):
        """Clicks the menu bar's one entry, which stands at its left end."""
        wx, wy, _, _ = self.p.geometry(self.win)
        self.p.click(wx + 25, wy + self.top // 2, button=button)

    def cells(self):
        """The eight answer cells' colours, read until two readings agree."""
        return xdrive.steady(lambda: [self.background(c) for c in CELL], "the answer cells")


def same(rgb, expected):
    return xdrive.close_enough(rgb, expected, TOLERANCE)


class Keyboard:
    """The pupil's keys through XTEST at a person's pace, in the shape the plays below type them
    (the Wayland test brings keys of its own in the same shape)."""

    def __init__(self, program):
        self.p = program

    def number(self, game, value):
        self.p.type_apart(*str(value))

    def letter(self, ch):
        self.p.tap_apart(ch)

    def enter(self):
        self.p.tap_apart("Return")

    def letter_and_enter(self, ch):
        self.p.type_apart(ch, "Return")


def open_game(start, keys):
    """ENTER on the chosen number, which hands the focus to "Vai", and ENTER on "Vai": the game
    screen (of the start screen's kind), with "0" highlighted."""
    keys.enter()
    start.wait_highlight(COMMAND[0], '"Vai"')
    keys.enter()
    game = type(start).game(start.p)
    game.wait_highlight(KEY[0], '"0"')
    return game


def hand_in(game, keys, value):
    """Types an answer into the current cell, then "A" and ENTER; returns once "Avanti" has
    handed the focus on, which happens in the same step as the move or the check."""
    keys.number(game, value)
    keys.letter("a")
    game.wait_highlight(KEY[AVANTI], '"Avanti"')
    keys.enter()
    xdrive.wait_until(lambda: not game.highlighted(KEY[AVANTI]), what='"Avanti" to act')


def celebrating(cells):
    return all(same(c, RIGHT) or same(c, BLINK_PALE) or same(c, BLINK_YELLOW) for c in cells)


def play_by_colours(game, keys, centre):
    """Plays the open tarvo of `centre` to its celebration reading only the cells' colours, the
    answers not known in advance (the program draws them from the time of day): centre-1 in every
    ray, then the first cell the check paints orange takes the next of centre-1 .. centre-10.
    Returns the number of checks."""
    candidates = [centre - k for k in range(1, 11)]  # every answer a subtrahend of 1..10 can give
    tried = [0] * 8
    for _ in range(8):
        hand_in(game, keys, candidates[0])
    while True:
        cells = game.cells()
        if celebrating(cells):
            return sum(tried) + 1
        wrong = next((i for i, c in enumerate(cells) if same(c, WRONG)), None)
        assert wrong is not None, f"no orange cell after a check: {cells}"
        assert all(same(c, RIGHT) for c in cells[:wrong]), f"before ray {wrong}: {cells}"
        assert all(same(c, EMPTY_CELL) for c in cells[wrong + 1 :]), f"after ray {wrong}: {cells}"
        tried[wrong] += 1
        assert tried[wrong] < len(candidates), f"no answer of {candidates} fits ray {wrong}"
        hand_in(game, keys, candidates[tried[wrong]])


def leave_celebration(game, keys):
    """The blink: cells and the tarvo area swap their two yellows, "Nuovo tarvo" has the focus.
    Each tick gives the focus back to "Nuovo tarvo": the pupil leaves right after one with "E"
    (highlight on "Esco") and ENTER in one burst, which no tick of a loaded machine splits."""

    def phase(cell_colour, area_colour):
        with game.still():
            return all(same(c, cell_colour) for c in game.cells()) and same(
                game.background(TARVO_AREA_FREE), area_colour
            )

    xdrive.wait_until(lambda: phase(BLINK_PALE, BLINK_YELLOW), what="the blink's first colours")
    xdrive.wait_until(lambda: phase(BLINK_YELLOW, BLINK_PALE), what="the blink's second colours")
    game.wait_highlight(KEY[NUOVO_TARVO], '"Nuovo tarvo"')
    xdrive.wait_until(lambda: phase(BLINK_PALE, BLINK_YELLOW), what="a blink tick")
    keys.letter_and_enter("e")


def back_from_instructions(game, instructions):
    """Closes the instructions with their button: the game has the highlight on "1" and the
    keyboard still reaches it."""
    instructions.click(INSTRUCTIONS_CLOSE)
    game.p.wait_no_window(INSTRUCTIONS_TITLE)
    game.wait_highlight(KEY[1], '"1" after the instructions')
    game.p.tap_apart("7")
    game.wait_highlight(KEY[7], '"7", typed after the instructions')


def run(test, name):
    """Starts the program, runs test(program), and ends the run: on failure a screenshot of the
    screen goes to <name>-failure.png in the working directory, with the program's output."""
    program = xdrive.Program([xdrive.program_path()])
    try:
        test(program)
    except BaseException:
        traceback.print_exc()
        xdrive.keep_screen(name)
        program.kill()
        out, err = program.proc.communicate()
        sys.stderr.write(err.decode(errors="replace")[-4000:])
        sys.exit(1)
    finally:
        program.kill()
    print(f"{name}: passed")

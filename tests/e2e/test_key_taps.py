"""Quick taps under a real X server: two presses of one key sent through XTEST with no pause, so
that the first release and the second press carry one X timestamp (as switch interfaces and
on-screen keyboards send them), are two presses. Two quick SPACEs on "10" scan two steps to "12";
two quick "1"s on the game screen type "11" into the answer cell, which then holds twice the ink
of a single "1"."""

import xdrive
from Xlib import X
from Xlib.ext import xtest
from tarvo_ui import CELL, CHOICE, EMPTY_CELL, KEY, Keyboard, Screen, open_game, run


def tap_twice_quickly(p, key):
    """Press, release, press, release of one key in one go, as `xdotool key --delay 0` does."""
    code = p._keycode(key)
    for kind in (X.KeyPress, X.KeyRelease, X.KeyPress, X.KeyRelease):
        xtest.fake_input(p.d, kind, code)
    p.d.sync()


def ink(game, rect):
    """How many pixels of a cell are not its background: the size of the caption drawn in it."""
    _, _, width, height = game.p.geometry(game.win)
    x0, y0 = game.at(rect, 0.0, 0.0)
    x1, y1 = game.at(rect, 1.0, 1.0)
    rows = game.p.pixels(game.win, x0 + 2, y0 + 2, x1 - x0 - 4, y1 - y0 - 4)
    return sum(1 for row in rows for rgb in row if not xdrive.close_enough(rgb, EMPTY_CELL, 40))


def steady_ink(game, rect):
    """The ink of a cell once two readings agree."""
    return xdrive.steady(lambda: ink(game, rect), "the cell")


def test(p):
    start = Screen.start(p)
    start.wait_highlight(CHOICE[0], '"10"')
    tap_twice_quickly(p, "space")
    start.wait_highlight(CHOICE[2], '"12" after two quick SPACEs from "10"', timeout=5)
    assert not start.highlighted(CHOICE[1])

    game = open_game(start, Keyboard(p))  # ENTER chooses 12

    question = steady_ink(game, CELL[0])
    assert question > 0, 'the first cell shows no "?"'
    # One "1", tapped slowly, for the ink of a single digit; BACKSPACE gives "?" back.
    p.tap_apart("1")
    game.wait_highlight(KEY[1], '"1"')
    one = xdrive.wait_until(
        lambda: (lambda n: n if n != question else 0)(steady_ink(game, CELL[0])),
        what='"1" in the first cell',
    )
    p.tap_apart("BackSpace")
    xdrive.wait_until(lambda: steady_ink(game, CELL[0]) == question, what='"?" back in the cell')

    tap_twice_quickly(p, "1")
    xdrive.wait_until(
        lambda: steady_ink(game, CELL[0]) >= 1.6 * one,
        timeout=5,
        what=f'"11" in the first cell (ink of one "1": {one})',
    )

    p.close(game.win)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_key_taps")

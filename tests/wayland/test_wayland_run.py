"""A pupil's whole run under Wayland with a keyboard of the layout given ("it" or "fr"): the
start screen and a tarvo played to its celebration, every digit typed and checked by what the
screen shows. Digits come three ways: from wtype (a virtual keyboard that uploads a keymap of its
own, as on-screen keyboards and switch software do, so "2" may sit on the keycode of a real "1"),
from the layout's digit row with and without SHIFT (French gives "(" for an unshifted 5), and
from the layout's keypad with NumLock on (which Qt on Wayland sends without its keypad flag).
The screen is read by pixels from grim; where each window lies, from sway.

Usage: test_wayland_run.py LAYOUT   (TARVO_BIN names the program)"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wayland_ui import Desk, Keys, Shown, run  # noqa: E402  (puts tests/e2e on the path)
from tarvo_ui import (  # noqa: E402
    CHOICE,
    EMPTY_CELL,
    GAME_TITLE,
    START_TITLE,
    leave_celebration,
    open_game,
    play_by_colours,
    same,
)

N = 15


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

    def test(sway, program):
        desk = Desk(sway)
        play(Keys(sway, layout), desk, layout)
        code = program.wait(timeout=15)
        assert code == 0, f"exit code {code}"
        assert desk.find_window(GAME_TITLE) is None and desk.find_window(START_TITLE) is None

    return run(f"wayland_{layout}", test)


if __name__ == "__main__":
    sys.exit(main())

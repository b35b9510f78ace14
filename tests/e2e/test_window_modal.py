"""The modal screens under a real window manager can never freeze the program: the author screen
(from the start screen's menu) and the instructions screen (from the game screen's menu) offer no
minimise of their own, a minimise request minimises either nothing or their opener along with
them, and activating the opener (as a task bar does) brings the modal screen back in front of
it. Each then still closes with its own button and hands the keyboard back to its opener."""

import xdrive
from ewmh import Wm
from tarvo_ui import (
    COMMAND,
    GAME_DESIGN,
    GAME_TITLE,
    INSTRUCTIONS_CLOSE,
    INSTRUCTIONS_DESIGN,
    INSTRUCTIONS_TITLE,
    KEY,
    START_DESIGN,
    START_TITLE,
    Screen,
    run,
    same,
)
from palette import AQUA  # tarvo_ui puts tests/support on the path

AUTHOR_TITLE = "Autore"
AUTHOR_DESIGN = (6975, 3510)
AUTHOR_CLOSE = (1845, 2796, 2700, 648)  # "C h i u d i"


def check_modal(p, wm, opener, title):
    modal = p.wait_window(title)
    assert not wm.asks_minimise(modal), f"'{title}' asks for a minimise button"

    # Openbox gives every dialog a minimise button all the same; pressing it must minimise
    # the opener along with the modal screen (or nothing), never the modal screen alone.
    wm.minimise(modal)
    wm.sync()
    xdrive.wait_until(
        lambda: not wm.iconic(modal) or wm.iconic(opener.win),
        timeout=5,
        what=f"'{title}' minimised with its opener, or not at all",
    )

    wm.activate(opener.win)
    xdrive.wait_until(
        lambda: not wm.iconic(modal) and not wm.iconic(opener.win),
        what=f"'{title}' and its opener shown again",
    )
    xdrive.wait_until(
        lambda: wm.above(modal, opener.win) and wm.active() == modal.id,
        what=f"'{title}' in front of its opener, active",
    )
    screen = Screen(
        p, modal, AUTHOR_DESIGN if title == AUTHOR_TITLE else INSTRUCTIONS_DESIGN, menu_bar=False
    )
    close = AUTHOR_CLOSE if title == AUTHOR_TITLE else INSTRUCTIONS_CLOSE
    # A person presses what is shown: the close button, painted again.
    xdrive.wait_until(lambda: same(screen.face(close), AQUA), what=f"'{title}' painted again")
    return screen


def test(p):
    wm = Wm(p)
    start = Screen(p, p.wait_window(START_TITLE), START_DESIGN)
    start.click_menu()
    author = check_modal(p, wm, start, AUTHOR_TITLE)
    author.click(AUTHOR_CLOSE)
    p.wait_no_window(AUTHOR_TITLE)

    p.type_apart("5", "Return")
    start.wait_highlight(COMMAND[0], '"Vai"')
    p.type_apart("Return")
    game = Screen(p, p.wait_window(GAME_TITLE), GAME_DESIGN)
    game.click_menu()
    instructions = check_modal(p, wm, game, INSTRUCTIONS_TITLE)
    instructions.click(INSTRUCTIONS_CLOSE)
    p.wait_no_window(INSTRUCTIONS_TITLE)
    game.wait_highlight(KEY[1], '"1" after the instructions')
    p.tap_apart("7")
    game.wait_highlight(KEY[7], '"7", typed after the instructions')

    p.close(game.win)
    assert p.wait_exit() == 0


if __name__ == "__main__":
    run(test, "e2e_window_modal")

"""The modal screens under a real window manager can never freeze the program: the author screen
(from the start screen's menu) and the instructions screen (from the game screen's menu) offer no
minimise of their own, a minimise request minimises either nothing or their opener along with
them, and activating the opener (as a task bar does) brings the modal screen back in front of
it. Each then still closes with its own button and hands the keyboard back to its opener."""

import xdrive
from ewmh import Wm
from tarvo_ui import (
    AUTHOR_CLOSE,
    AUTHOR_DESIGN,
    AUTHOR_TITLE,
    INSTRUCTIONS_CLOSE,
    INSTRUCTIONS_TITLE,
    Keyboard,
    Screen,
    back_from_instructions,
    open_game,
    run,
    same,
)
from palette import AQUA  # tarvo_ui puts tests/support on the path


def check_modal(p, wm, opener, title):
    """Opens the modal screen from its opener's menu and checks it as above; its Screen."""
    opener.click_menu()
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
    if title == AUTHOR_TITLE:
        screen, close = Screen(p, modal, AUTHOR_DESIGN, menu_bar=False), AUTHOR_CLOSE
    else:
        screen, close = Screen.instructions(p, modal), INSTRUCTIONS_CLOSE
    # A person presses what is shown: the close button, painted again.
    xdrive.wait_until(lambda: same(screen.face(close), AQUA), what=f"'{title}' painted again")
    return screen


def test(p):
    wm = Wm(p)
    start = Screen.start(p)
    check_modal(p, wm, start, AUTHOR_TITLE).click(AUTHOR_CLOSE)
    p.wait_no_window(AUTHOR_TITLE)

    p.tap_apart("5")
    game = open_game(start, Keyboard(p))
    back_from_instructions(game, check_modal(p, wm, game, INSTRUCTIONS_TITLE))

    p.close(game.win)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_window_modal")

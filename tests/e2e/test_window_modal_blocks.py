"""While a modal screen is open, no window of the program is left shown and dead, whichever main
window opened it: the author screen opened from the start screen while the game is open, then
the instructions from the game. Minimised from its title bar, the modal screen comes straight
back; a task bar's activation of either brings it back in front, active; a key and the
close command given to either main window are refused and leave the modal screen in front."""

import xdrive
from ewmh import Wm
from tarvo_ui import (
    AUTHOR_CLOSE,
    AUTHOR_DESIGN,
    AUTHOR_TITLE,
    INSTRUCTIONS_CLOSE,
    INSTRUCTIONS_TITLE,
    KEY,
    Keyboard,
    Screen,
    back_from_instructions,
    open_game,
    run,
    same,
)
from palette import AQUA  # tarvo_ui puts tests/support on the path


def in_front(wm, modal, what):
    xdrive.wait_until(
        lambda: not wm.iconic(modal) and wm.active() == modal.id, what=f"{what}: modal in front"
    )


def never_dead(p, wm, modal, mains):
    """Each main window, with the modal screen minimised, then given a key and closed."""
    for main in mains:
        wm.minimise(modal)
        wm.sync()
        in_front(wm, modal, "minimised from its title bar")
        wm.activate(main.win)
        in_front(wm, modal, "a main window activated")
        p.focus(main.win)
        p.tap_apart("7")
        in_front(wm, modal, "a key in a main window")
        # A close that got through would end the program: the next steps would find no window.
        p.close(main.win)
        in_front(wm, modal, "a close of a main window")


def test(p):
    wm = Wm(p)
    keys = Keyboard(p)
    start = Screen.start(p)
    p.tap_apart("5")
    game = open_game(start, keys)
    mains = (start, game)

    wm.activate(start.win)
    xdrive.wait_until(lambda: wm.active() == start.win.id, what="the start window active")
    start.click_menu()
    author = p.wait_window(AUTHOR_TITLE)
    never_dead(p, wm, author, mains)
    shown = Screen(p, author, AUTHOR_DESIGN, menu_bar=False)
    xdrive.wait_until(
        lambda: same(shown.face(AUTHOR_CLOSE), AQUA), what="the author screen painted"
    )
    shown.click(AUTHOR_CLOSE)
    p.wait_no_window(AUTHOR_TITLE)

    # The game took none of it: "0" keeps the highlight it had.
    wm.activate(game.win)
    xdrive.wait_until(lambda: wm.active() == game.win.id, what="the game window active")
    game.wait_highlight(KEY[0], '"0", untouched behind the author screen')
    assert not game.highlighted(KEY[7])

    game.click_menu()
    instructions = p.wait_window(INSTRUCTIONS_TITLE)
    never_dead(p, wm, instructions, mains)
    shown = Screen.instructions(p, instructions)
    xdrive.wait_until(lambda: same(shown.face(INSTRUCTIONS_CLOSE), AQUA), what="painted")
    back_from_instructions(game, shown)

    p.close(game.win)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_window_modal_blocks")

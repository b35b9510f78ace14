"""A run by mouse alone under a real X server: the tarvo of 12 chosen and the game opened with
clicks, every ray answered with the left, right and middle buttons in turn up to the first check,
which paints the first wrong cell orange; the instructions opened from the menu and closed with
their button, after which "1" has the highlight and the keyboard still reaches the game (no
window manager gives the game window its focus back here); then closing the game window from
its frame ends the program, start screen included, with exit code 0."""

import xdrive
from tarvo_ui import (
    AVANTI,
    CHOICE,
    COMMAND,
    EMPTY_CELL,
    GAME_TITLE,
    KEY,
    RIGHT,
    START_TITLE,
    WRONG,
    Screen,
    back_from_instructions,
    run,
    same,
)

N = 12
BUTTONS = (1, 3, 2)  # left, right, middle


def checked(game):
    """The cells once a check has painted one of them orange, else None."""
    cells = game.cells()
    return cells if any(same(c, WRONG) for c in cells) else None


def test(p):
    start = Screen.start(p)
    start.wait_background()  # the pointer needs the buttons uncovered
    start.click(CHOICE[N - 10], button=3)
    start.wait_highlight(COMMAND[0], '"Vai"')
    start.click(COMMAND[0], button=2)

    game = Screen.game(p)
    game.wait_highlight(KEY[0], '"0"')
    # N - 1 everywhere: right only where the subtrahend is 1, so some ray is wrong.
    guess = str(N - 1)
    for ray in range(8):
        button = BUTTONS[ray % 3]
        for digit in guess:
            game.click(KEY[int(digit)], button)
        game.click(KEY[AVANTI], button)

    cells = xdrive.wait_until(lambda: checked(game), what="the check to paint a wrong cell orange")
    wrong = next(i for i, c in enumerate(cells) if same(c, WRONG))
    assert all(same(c, RIGHT) for c in cells[:wrong]), f"before ray {wrong}: {cells}"
    assert all(same(c, EMPTY_CELL) for c in cells[wrong + 1 :]), f"after ray {wrong}: {cells}"
    # "Avanti" gave the focus to "1".
    game.wait_highlight(KEY[1], '"1"')

    # The instructions, from the menu; back from them the focus is on "1" again.
    game.click(KEY[5])
    game.wait_highlight(KEY[5], '"5"')
    game.click_menu()
    back_from_instructions(game, Screen.instructions(p))

    p.close(game.win)
    p.wait_success()
    assert p.find_window(GAME_TITLE) is None and p.find_window(START_TITLE) is None


if __name__ == "__main__":
    run(test, "e2e_mouse_run")

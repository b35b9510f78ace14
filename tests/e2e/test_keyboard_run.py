"""A pupil's whole run by keyboard under a real X server, reading only the screen's colours: the
tarvo of 15 chosen with "5" and ENTER, the game opened with ENTER on "Vai", every answer found by
trying N-1 .. N-10 in the first cell that the check paints orange, the celebration's blink, and
"E" with ENTER ending the program with exit code 0. The answers are not known in advance: the
program draws them from the time of day."""

import xdrive
from tarvo_ui import (
    AVANTI,
    BLINK_PALE,
    BLINK_YELLOW,
    CHOICE,
    COMMAND,
    EMPTY_CELL,
    GAME_DESIGN,
    GAME_TITLE,
    KEY,
    NUOVO_TARVO,
    RIGHT,
    START_DESIGN,
    START_TITLE,
    TARVO_AREA_FREE,
    WRONG,
    Screen,
    run,
    same,
)

N = 15
CANDIDATES = [N - k for k in range(1, 11)]  # every answer a subtrahend of 1..10 can give


def celebrating(cells):
    return all(same(c, RIGHT) or same(c, BLINK_PALE) or same(c, BLINK_YELLOW) for c in cells)


def answer(p, game, value):
    """Types an answer into the current cell, then "A" and ENTER; returns once "Avanti" has
    handed the focus on, which happens in the same step as the move or the check."""
    p.type_apart(*str(value))
    p.tap_apart("a")
    game.wait_highlight(KEY[AVANTI], '"Avanti"')
    p.tap_apart("Return")
    xdrive.wait_until(lambda: not game.highlighted(KEY[AVANTI]), what='"Avanti" to act')


def test(p):
    start = Screen(p, p.wait_window(START_TITLE), START_DESIGN)
    start.wait_highlight(CHOICE[0], '"10"')
    p.tap_apart("5")
    start.wait_highlight(CHOICE[N - 10], f'"{N}"')
    p.tap_apart("Return")
    start.wait_highlight(COMMAND[0], '"Vai"')
    p.tap_apart("Return")

    game = Screen(p, p.wait_window(GAME_TITLE), GAME_DESIGN)
    game.wait_highlight(KEY[0], '"0"')
    cells = game.cells()
    assert same(cells[0], EMPTY_CELL), cells

    # First pass: one guess per ray, then the check after the eighth.
    tried = [0] * 8
    for ray in range(8):
        answer(p, game, CANDIDATES[0])
    # Then the first cell painted orange takes the next guess, until every cell is right.
    while True:
        cells = game.cells()
        if celebrating(cells):
            break
        wrong = next((i for i, c in enumerate(cells) if same(c, WRONG)), None)
        assert wrong is not None, f"no orange cell after a check: {cells}"
        assert all(same(c, RIGHT) for c in cells[:wrong]), f"before ray {wrong}: {cells}"
        assert all(same(c, EMPTY_CELL) for c in cells[wrong + 1 :]), f"after ray {wrong}: {cells}"
        tried[wrong] += 1
        assert tried[wrong] < len(CANDIDATES), f"no answer of {CANDIDATES} fits ray {wrong}"
        answer(p, game, CANDIDATES[tried[wrong]])

    # The blink: cells and the tarvo area swap their two yellows; "Nuovo tarvo" has the focus.
    def phase(cell_colour, area_colour):
        return all(same(c, cell_colour) for c in game.cells()) and same(
            game.background(TARVO_AREA_FREE), area_colour
        )

    xdrive.wait_until(
        lambda: phase(BLINK_PALE, BLINK_YELLOW), what="the first colours of the blink"
    )
    xdrive.wait_until(lambda: phase(BLINK_YELLOW, BLINK_PALE), what="the blink's second colours")
    game.wait_highlight(KEY[NUOVO_TARVO], '"Nuovo tarvo"')
    # Each tick gives the focus back to "Nuovo tarvo": leave right after one, well within the
    # next, with "E" (highlight on "Esco") and ENTER.
    xdrive.wait_until(lambda: phase(BLINK_PALE, BLINK_YELLOW), what="a blink tick")
    p.tap_apart("e")
    p.tap_apart("Return")
    code = p.wait_exit()
    assert code == 0, f"exit code {code}"
    assert p.find_window(GAME_TITLE) is None and p.find_window(START_TITLE) is None
    print(f"answers found after {sum(tried) + 1} checks")


if __name__ == "__main__":
    run(test, "e2e_keyboard_run")

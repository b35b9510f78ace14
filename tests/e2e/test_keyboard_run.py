"""A pupil's whole run by keyboard under a real X server, reading only the screen's colours: the
tarvo of 15 chosen with "5" and ENTER, the game opened with ENTER on "Vai", every answer found by
trying N-1 .. N-10 in the first cell that the check paints orange, the celebration's blink, and
"E" with ENTER ending the program with exit code 0. The answers are not known in advance: the
program draws them from the time of day."""

from tarvo_ui import (
    CHOICE,
    EMPTY_CELL,
    GAME_TITLE,
    START_TITLE,
    Keyboard,
    Screen,
    leave_celebration,
    open_game,
    play_by_colours,
    run,
    same,
)

N = 15


def test(p):
    keys = Keyboard(p)
    start = Screen.start(p)
    start.wait_highlight(CHOICE[0], '"10"')
    p.tap_apart("5")
    start.wait_highlight(CHOICE[N - 10], f'"{N}"')
    game = open_game(start, keys)
    cells = game.cells()
    assert same(cells[0], EMPTY_CELL), cells

    checks = play_by_colours(game, keys, N)
    leave_celebration(game, keys)
    p.wait_success()
    assert p.find_window(GAME_TITLE) is None and p.find_window(START_TITLE) is None
    print(f"answers found after {checks} checks")


if __name__ == "__main__":
    run(test, "e2e_keyboard_run")

"""The curtains' start reads the window's outer width once the window manager has framed it:
maximised, un-maximised and maximised again (four times), the start window ends each opening with
the same strips at its edges as the first time in that state; a stale frame width left a 1 px
orchid line."""

import xdrive
from ewmh import Wm
from tarvo_ui import CURTAIN, START_EDGE, Screen, run, same


def strips(p, screen):
    """Curtain pixels at the left and at the right end of a row across the client area."""
    _, _, width, height = p.geometry(screen.win)
    y = screen.top + (height - screen.top) // 2
    row = p.pixels(screen.win, 0, y, width, 1)[0]
    left = next((i for i, c in enumerate(row) if not same(c, CURTAIN)), width)
    right = next((i for i, c in enumerate(reversed(row)) if not same(c, CURTAIN)), width)
    return left, right


def opened(p, wm, screen, maximised):
    """The strips once the curtains, closed by the change, have stopped again (less than one
    5 px step left)."""
    full = wm.screen_size()[0]
    xdrive.wait_until(
        lambda: wm.maximised(screen.win) == maximised
        and (xdrive.or_none(lambda: p.geometry(screen.win)[2]) == full) == maximised,
        what="the new state",
    )
    xdrive.wait_until(
        lambda: same(screen.colour_or_black(START_EDGE), CURTAIN),
        timeout=15,
        what="the curtains closed",
    )
    screen.wait_background(timeout=15)
    return xdrive.wait_until(
        lambda: (lambda s: s if s and max(s) < 5 else None)(
            xdrive.or_none(lambda: strips(p, screen))
        ),
        timeout=15,
        what="the curtains stopped",
    )


def test(p):
    wm = Wm(p)
    screen = Screen.start(p)
    win = screen.win
    xdrive.wait_until(lambda: wm.maximised(win), what="the start window maximised")
    first = {True: opened(p, wm, screen, True)}
    for n, maximised in enumerate([False, True] * 4):
        wm.set_maximised(win, maximised)
        now = opened(p, wm, screen, maximised)
        first.setdefault(maximised, now)
        assert now == first[maximised], (
            f"change {n}: strips {now}, maximised={maximised}; "
            f"the first time {first[maximised]}"
        )
    p.close(win)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_window_curtains")

"""The curtains' start reads the window's outer width once the window manager has framed it:
maximised, un-maximised and maximised again (four times), the start window ends each opening with
the same strips at its edges as the first time in that state; a stale frame width left a 1 px
orchid line."""

import xdrive
from ewmh import Wm
from tarvo_ui import APRICOT, CURTAIN, START_DESIGN, START_FREE, START_TITLE, Screen, run, same


# Near the left edge: the left curtain covers it until nearly the end of its opening.
EDGE = (300, 4155, 1, 1)


def strips(p, screen):
    """Curtain pixels at the left and at the right end of a row across the client area."""
    _, _, width, height = p.geometry(screen.win)
    y = screen.top + (height - screen.top) // 2
    row = p.pixels(screen.win, 0, y, width, 1)[0]
    left = next((i for i, c in enumerate(row) if not same(c, CURTAIN)), width)
    right = next((i for i, c in enumerate(reversed(row)) if not same(c, CURTAIN)), width)
    return left, right


def safe(read):
    """A reading, or None while the window is being resized under it."""
    try:
        return read()
    except Exception:
        return None


def opened(p, wm, screen, maximised):
    """The strips once the curtains, closed by the change, have stopped again (less than one
    5 px step left)."""
    full = wm.screen_size()[0]
    xdrive.wait_until(
        lambda: wm.maximised(screen.win) == maximised
        and (safe(lambda: p.geometry(screen.win)[2]) == full) == maximised,
        what="the new state",
    )
    xdrive.wait_until(
        lambda: same(safe(lambda: screen.colour(EDGE)) or (0, 0, 0), CURTAIN),
        timeout=15,
        what="the curtains closed",
    )
    for spot in START_FREE:
        xdrive.wait_until(
            lambda: same(safe(lambda: screen.colour(spot)) or (0, 0, 0), APRICOT),
            timeout=15,
            what=f"the background at {spot}",
        )
    return xdrive.wait_until(
        lambda: (lambda s: s if s and max(s) < 5 else None)(safe(lambda: strips(p, screen))),
        timeout=15,
        what="the curtains stopped",
    )


def test(p):
    wm = Wm(p)
    win = p.wait_window(START_TITLE)
    screen = Screen(p, win, START_DESIGN)
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

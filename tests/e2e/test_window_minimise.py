"""Minimise and restore under a real window manager: a restore is a Resize, so the start
window comes back with its curtains closed and draws them back again; and each time the curtains
stop, the strips left at the edges are the same as after the first opening at that size."""

import xdrive
from ewmh import Wm
from tarvo_ui import CURTAIN, START_DESIGN, START_EDGE, START_FREE, START_TITLE, Screen, run, same


def test(p):
    wm = Wm(p)
    win = p.wait_window(START_TITLE)
    xdrive.wait_until(lambda: wm.maximised(win), what="the start window maximised")
    start = Screen(p, win, START_DESIGN)
    start.wait_background(START_FREE + [START_EDGE], timeout=15)
    for round_ in range(3):
        wm.minimise(win)
        xdrive.wait_until(lambda: wm.iconic(win), what=f"minimised ({round_})")
        wm.activate(win)
        xdrive.wait_until(lambda: not wm.iconic(win), what=f"restored ({round_})")
        try:
            xdrive.wait_until(
                lambda: same(start.colour_or_black(START_EDGE), CURTAIN),
                timeout=5,
                what="the curtains closed again",
            )
        except xdrive.Timeout:
            raise AssertionError(
                f"restore {round_}: the start window came back with its "
                f"curtains open ({start.colour_or_black(START_EDGE)} at the "
                "edge)"
            ) from None
        start.wait_background(START_FREE + [START_EDGE], timeout=15)
    p.close(win)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_window_minimise")

"""The start screen under a real X server: it appears with its title, its curtains draw back to
show the pale apricot background with the highlight on "10", and closing its window from the
window frame ends the program with exit code 0."""

import xdrive
from tarvo_ui import APRICOT, CHOICE, COMMAND, HIGHLIGHT, START_TITLE, Screen, run, same


def test(p):
    start = Screen.start(p)
    # Once the curtains have drawn back, the window's own background shows at every free spot.
    start.wait_background()
    xdrive.wait_until(lambda: same(start.face(CHOICE[0]), HIGHLIGHT), what='"10" highlighted')
    for other in CHOICE[1:] + COMMAND:
        assert same(start.face(other), APRICOT), f"{other} shows {start.face(other)}"

    p.close(start.win)
    p.wait_success()
    assert p.find_window(START_TITLE) is None


if __name__ == "__main__":
    run(test, "e2e_start")

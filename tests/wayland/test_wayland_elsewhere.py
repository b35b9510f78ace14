"""A key that comes up while another program has the keyboard, under Wayland: its release goes to
that program, and once the start window has the keyboard again the key's next press is a press
like any other, not the repeat of a key still held. SPACE goes down on "10" (the highlight steps
to "11"); a second program opens and takes the keyboard; SPACE comes up there; the first start
window takes the keyboard back, and one SPACE steps its highlight on by one.

Usage: test_wayland_elsewhere.py   (TARVO_BIN names the program)"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wayland_ui import Desk, Keys, Shown, run  # noqa: E402  (puts tests/e2e on the path)
import vkbd  # noqa: E402
import xdrive  # noqa: E402
from tarvo_ui import CHOICE, START_DESIGN, START_TITLE  # noqa: E402


def test(sway, program):
    desk = Desk(sway)
    board = Keys(sway, "it").board
    board.tap(vkbd.KEY_LEFTSHIFT)  # a new keyboard's first key may be lost
    start = Shown.start(desk)
    start.wait_highlight(CHOICE[0], '"10"')
    board.key_down(vkbd.KEY_SPACE)
    start.wait_highlight(CHOICE[1], '"11" after SPACE went down')

    def focused_pid():
        return next((v["pid"] for v in desk.views() if v["focused"]), None)

    other = sway.start_program(xdrive.program_path(), name="altro")
    xdrive.wait_until(lambda: focused_pid() == other.pid, 20, "the other program's keyboard")
    board.key_up(vkbd.KEY_SPACE)

    sway.swaymsg(f"[pid={program.pid}] focus")
    xdrive.wait_until(lambda: focused_pid() == program.pid, what="the keyboard back on Tarvo")
    # The other window took half the output: the start window was laid out again.
    start = Shown(
        desk, next(v["id"] for v in desk.views() if v["pid"] == program.pid), START_DESIGN
    )
    start.wait_background()  # its curtains open again
    lit = xdrive.steady(
        lambda: [i for i, r in enumerate(CHOICE) if start.highlighted(r)], "the highlight"
    )
    assert len(lit) == 1 and lit[0] + 1 < len(CHOICE), f"highlighted: {lit}"
    at = lit[0]
    board.tap(vkbd.KEY_SPACE)
    start.wait_highlight(CHOICE[at + 1], f'"{10 + at + 1}": SPACE pressed again steps again')
    assert desk.find_window(START_TITLE)


if __name__ == "__main__":
    sys.exit(run("wayland_elsewhere", test))

"""The first frame of the start window on an X server without a window manager: read as early
as the window maps (on the MapNotify event itself), the client area already shows the closed
curtain, never unpainted black. Several starts, since the unpainted moment lasts milliseconds."""

import subprocess
import sys
import time

import xdrive
from tarvo_ui import CURTAIN, START_TITLE, same
from Xlib import X, display

STARTS = 4
# Fractions of the window below any menu bar, away from the middle where the curtains part.
SPOTS = [(0.25, 0.3), (0.3, 0.5), (0.75, 0.7), (0.1, 0.9), (0.9, 0.2)]


def first_frame(d):
    proc = subprocess.Popen(
        [xdrive.program_path()], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE
    )
    try:
        end = time.monotonic() + 20.0
        while time.monotonic() < end:
            if not d.pending_events():
                time.sleep(0.0005)
                continue
            ev = d.next_event()
            if ev.type != X.MapNotify or xdrive.title(d, ev.window) != START_TITLE:
                continue
            win = ev.window
            g = win.get_geometry()
            seen = []
            for fx, fy in SPOTS:
                x, y = int(g.width * fx), int(g.height * fy)
                seen.append(xdrive.Image(win, x, y, 1, 1).rgb(x, y))
            return seen
        raise xdrive.Timeout("the start window never mapped")
    finally:
        proc.kill()
        proc.wait()


def main():
    # One connection for every start: an X server left without clients resets itself.
    d = display.Display()
    d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()
    for n in range(STARTS):
        seen = first_frame(d)
        wrong = [c for c in seen if not same(c, CURTAIN)]
        if wrong:
            print(
                f"FAIL first_frame: start {n}: the first frame shows {seen}, not the curtain "
                f"{CURTAIN}"
            )
            return 1
    print("first_frame: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

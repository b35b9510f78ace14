"""Drives the real program to its two main screens and photographs each (see scripts/screenshots)."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import xdrive  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "support"))
from palette import APRICOT, HIGHLIGHT  # noqa: E402


def shoot(path):
    subprocess.run(["import", "-window", "root", path], check=True)


def main(out):
    p = xdrive.Program([xdrive.program_path()])
    try:
        start = p.wait_window("Tavole della moltiplicazione")
        _, _, width, height = p.geometry(start)
        # The curtains have opened once both window edges show the background again.
        xdrive.wait_until(
            lambda: xdrive.close_enough(p.pixel(start, 2, height // 2), APRICOT)
            and xdrive.close_enough(p.pixel(start, width - 3, height // 2), APRICOT),
            what="the curtains to open",
        )
        p.type_keys("5", "Return")  # the tarvo of 15, highlight on "Vai"
        shoot(os.path.join(out, "schermata-inizio.png"))
        p.tap("Return")
        game = p.wait_window("Form1")
        xdrive.wait_until(lambda: p.find_window("Form1"), what="the game screen")
        p.type_keys("1", "2")
        # A first answer typed: the button "2" keeps the highlight. Its left edge, beside its caption, from the game
        # screen's table (keypad frame + button, in twips of the 11910 x 8565 client area under a
        # menu bar of about 20 pixels).
        _, _, gw, gh = p.geometry(game)
        x = int((7260 + 1695 + 120) / 11910 * gw)
        y = 20 + int((5208 + 120 + 307) / 8565 * (gh - 20))
        xdrive.wait_until(
            lambda: xdrive.close_enough(p.pixel(game, x, y), HIGHLIGHT),
            timeout=5,
            what="the highlighted digit",
        )
        shoot(os.path.join(out, "schermata-gioco.png"))
        p.close(game)
        p.wait_exit()
    finally:
        p.kill()


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "docs")

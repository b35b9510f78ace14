"""Both main windows under a real window manager: each opens maximised with the program's icon;
un-maximised (as a double click on its title bar does) it becomes a normal window of its design
client area at the screen's resolution, centred, wholly on the screen with its title bar; and it
can be maximised again."""

import xdrive
from ewmh import Wm
from tarvo_ui import COMMAND, GAME_DESIGN, GAME_TITLE, START_DESIGN, START_TITLE, Screen, run

TWIPS_PER_INCH = 1440


def dpi(p):
    """The logical resolution of an X session: Xft.dpi where the session sets it, else 96."""
    from Xlib import Xatom

    prop = p.root.get_full_property(p.d.intern_atom("RESOURCE_MANAGER"), Xatom.STRING)
    text = prop.value.decode(errors="replace") if prop else ""
    for line in text.splitlines():
        name, _, value = line.partition(":")
        if name.strip() == "Xft.dpi":
            return float(value)
    return 96.0


def check_states(p, wm, title, design):
    win = p.wait_window(title)
    width, height = wm.screen_size()
    xdrive.wait_until(lambda: wm.maximised(win), what=f"'{title}' maximised")
    xdrive.wait_until(lambda: p.geometry(win)[2] == width, what=f"'{title}' as wide as the screen")
    screen = Screen(p, win, design)
    menu = screen.top

    wm.set_maximised(win, False)
    client = (
        round(design[0] * dpi(p) / TWIPS_PER_INCH),
        round(design[1] * dpi(p) / TWIPS_PER_INCH),
    )

    def normal():
        _, _, w, h = p.geometry(win)
        return not wm.maximised(win) and abs(w - client[0]) <= 1 and abs(h - menu - client[1]) <= 1

    try:
        xdrive.wait_until(normal, what=f"'{title}' at its design size {client}")
    except xdrive.Timeout:
        raise AssertionError(
            f"'{title}' un-maximised: {p.geometry(win)}, states "
            f"{sorted(wm.states(win))}, wanted a client of {client} "
            f"below a menu bar of {menu}"
        ) from None
    fx, fy, fw, fh = wm.frame_geometry(win)
    assert (
        fx >= 0 and fy >= 0 and fx + fw <= width and fy + fh <= height
    ), f"'{title}' frame {fx, fy, fw, fh} leaves the screen {width}x{height}"
    cx, cy = fx + fw / 2, fy + fh / 2
    # The frame's size is known only once mapped: centred to within a title bar.
    assert (
        abs(cx - width / 2) <= 16 and abs(cy - height / 2) <= 16
    ), f"'{title}' frame {fx, fy, fw, fh} is not centred on {width}x{height}"

    wm.set_maximised(win, True)
    xdrive.wait_until(
        lambda: wm.maximised(win) and p.geometry(win)[2] == width, what=f"'{title}' maximised again"
    )
    return win


def test(p):
    wm = Wm(p)
    start = Screen(p, check_states(p, wm, START_TITLE, START_DESIGN), START_DESIGN)
    start_icon = wm.icon(start.win)
    # "5" and ENTER choose "15"; ENTER on "Vai", once the choice has put the focus there.
    p.type_apart("5", "Return")
    start.wait_highlight(COMMAND[0], '"Vai"')
    p.type_apart("Return")
    game = check_states(p, wm, GAME_TITLE, GAME_DESIGN)
    # Both windows show the program's icon, not the window manager's default for the start one.
    assert wm.icon(game) and start_icon == wm.icon(game), "the start window lacks the icon"
    p.close(game)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_window_states")

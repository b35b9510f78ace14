"""A key's release under a real X server goes at once to the button that has the focus when the
key comes up, never later to another one. The start screen's own example: ENTER on "Ripristina"
(the focus goes to "10", where ENTER comes up), a mouse choice of "12" right after the release
(the focus goes to "Vai"), then ENTER on "Vai" does nothing, since the command group still holds
the key of "Ripristina"; the next ENTER opens the game."""

import xdrive
from Xlib import X
from Xlib.ext import xtest
from tarvo_ui import CHOICE, COMMAND, GAME_TITLE, START_TITLE, Screen, run


def window_exists(p, title):
    """Any window with this title, mapped or not: the program creates its window when it shows
    it, before it handles the next key."""

    def search(win):
        try:
            if xdrive.title(p.d, win) == title:
                return True
            return any(search(c) for c in win.query_tree().children)
        except Exception:  # a window may vanish while we look at it
            return False

    return search(p.root)


def test(p):
    start = Screen.start(p)
    start.wait_background()
    start.wait_highlight(CHOICE[0], '"10"')
    p.tap_apart("Return")  # chooses 10, the focus goes to "Vai"
    start.wait_highlight(COMMAND[0], '"Vai"')
    p.tap_apart("space")
    start.wait_highlight(COMMAND[1], '"Ripristina"')

    # ENTER on "Ripristina" and, a moment after its release, a press of "12" with the mouse.
    x, y = start.on_root(CHOICE[2])
    code = p._keycode("Return")
    xtest.fake_input(p.d, X.KeyPress, code)
    xtest.fake_input(p.d, X.KeyRelease, code)
    xtest.fake_input(p.d, X.MotionNotify, x=x, y=y)
    xtest.fake_input(p.d, X.ButtonPress, 1, time=5)
    xtest.fake_input(p.d, X.ButtonRelease, 1)
    p.d.sync()
    start.wait_highlight(COMMAND[0], '"Vai" after the choice of "12"')

    p.tap_apart("Return")  # re-arms the command group only
    p.tap_apart("space")  # handled after that ENTER: proves it has been handled
    start.wait_highlight(COMMAND[1], '"Ripristina" by SPACE after the first ENTER on "Vai"')
    assert not window_exists(p, GAME_TITLE), 'the first ENTER on "Vai" opened the game'

    p.tap_apart("space")
    p.tap_apart("space")
    start.wait_highlight(COMMAND[0], '"Vai" again')
    p.tap_apart("Return")
    p.wait_window(GAME_TITLE)

    p.close(p.wait_window(START_TITLE))
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_key_release")

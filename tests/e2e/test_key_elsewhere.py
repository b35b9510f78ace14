"""A key that comes up while another program has the keyboard, under a real X server with a
window manager: its release goes to that program, and when the start window has the keyboard
again the key's next press is a press like any other, not the repeat of a key still held. SPACE
goes down on "10" (the highlight steps to "11"), another program takes the keyboard, SPACE comes
up there, the start window takes the keyboard back, and one SPACE steps to "12"."""

import xdrive
from Xlib import X, display
from tarvo_ui import CHOICE, Screen, run


class OtherProgram:
    """A plain X client with a window of its own, which records the keys it is sent."""

    def __init__(self):
        self.d = display.Display()
        screen = self.d.screen()
        self.win = screen.root.create_window(
            0,
            0,
            200,
            150,
            0,
            screen.root_depth,
            X.InputOutput,
            X.CopyFromParent,
            background_pixel=screen.white_pixel,
            event_mask=X.KeyPressMask | X.KeyReleaseMask | X.StructureNotifyMask,
        )
        self.win.set_wm_name("Altro programma")
        self.win.map()
        self.d.sync()
        self.released = 0

    def viewable(self):
        return self.win.get_attributes().map_state == X.IsViewable

    def take_keyboard(self):
        xdrive.wait_until(self.viewable, what="the other program's window on screen")
        self.win.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.d.sync()

    def count_releases(self):
        while self.d.pending_events():
            if self.d.next_event().type == X.KeyRelease:
                self.released += 1
        return self.released

    def close(self):
        self.d.close()


def test(p):
    start = Screen.start(p)
    start.wait_highlight(CHOICE[0], '"10"')
    other = OtherProgram()
    try:
        # The window manager hands a new window the keyboard some time after mapping it: wait for
        # that, then take the keyboard back, so that SPACE goes down in the start window.
        xdrive.wait_until(lambda: p.has_focus(other.win), what="the new window's keyboard")
        p.focus(start.win)
        xdrive.wait_until(lambda: p.has_focus(start.win), what="the keyboard back on Tarvo")
        p.key_down("space")
        start.wait_highlight(CHOICE[1], '"11" after SPACE went down')

        other.take_keyboard()
        xdrive.wait_until(lambda: p.has_focus(other.win), what="the other program's keyboard")
        xdrive.wait_until(lambda: not p.has_focus(start.win), what="the start window to let go")
        p.key_up("space")
        xdrive.wait_until(lambda: other.count_releases() == 1, what="SPACE to come up elsewhere")

        p.focus(start.win)
        xdrive.wait_until(lambda: p.has_focus(start.win), what="the keyboard back on Tarvo")
        p.tap_apart("space")
        start.wait_highlight(CHOICE[2], '"12": SPACE pressed again steps again', timeout=5)
        assert not start.highlighted(CHOICE[1])
    finally:
        other.close()

    p.close(start.win)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_key_elsewhere")

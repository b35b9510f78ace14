"""What a window manager does to a program's windows, asked as a task bar or a title bar would:
maximise and un-maximise (_NET_WM_STATE), minimise (WM_CHANGE_STATE), activate
(_NET_ACTIVE_WINDOW); and what it says about them: frame, extents, state, stacking, allowed
actions, icon. For the real-window tests under openbox; every wait polls (xdrive.wait_until).
"""

from Xlib import X, Xatom, protocol

ICONIC = 3


class Wm:
    def __init__(self, program):
        self.p = program
        self.d = program.d
        self.root = program.root

    def atom(self, name):
        return self.d.intern_atom(name)

    def _message(self, win, kind, data):
        ev = protocol.event.ClientMessage(window=win, client_type=self.atom(kind),
                                          data=(32, (list(data) + [0] * 5)[:5]))
        self.root.send_event(ev, event_mask=X.SubstructureRedirectMask
                             | X.SubstructureNotifyMask)
        self.d.flush()

    # Requests ------------------------------------------------------------------------------
    def set_maximised(self, win, on):
        self._message(win, "_NET_WM_STATE", [1 if on else 0,
                                             self.atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                                             self.atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 1])

    def minimise(self, win):
        self._message(win, "WM_CHANGE_STATE", [ICONIC])

    def activate(self, win):
        """As a task bar does when its entry for the window is clicked."""
        self._message(win, "_NET_ACTIVE_WINDOW", [2, X.CurrentTime, 0])

    # Reports -------------------------------------------------------------------------------
    def _atoms(self, win, name):
        try:
            prop = win.get_full_property(self.atom(name), Xatom.ATOM)
        except Exception:
            return []
        return list(prop.value) if prop else []

    def states(self, win):
        return {self.d.get_atom_name(a) for a in self._atoms(win, "_NET_WM_STATE")}

    def maximised(self, win):
        return {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"} <= self.states(win)

    def iconic(self, win):
        try:
            state = win.get_wm_state()
        except Exception:
            return False
        return bool(state) and state.state == ICONIC

    def allowed(self, win):
        return {self.d.get_atom_name(a) for a in self._atoms(win, "_NET_WM_ALLOWED_ACTIONS")}

    def has_icon(self, win):
        prop = win.get_full_property(self.atom("_NET_WM_ICON"), Xatom.CARDINAL)
        return bool(prop and len(prop.value) > 2)

    def frame(self, win):
        """The window manager's frame around a client window (the root's child holding it)."""
        while True:
            parent = win.query_tree().parent
            if parent == self.root or parent.id == self.root.id:
                return win
            win = parent

    def frame_geometry(self, win):
        return self.p.geometry(self.frame(win))

    def stacking(self):
        """Client windows from bottom to top."""
        prop = self.root.get_full_property(self.atom("_NET_CLIENT_LIST_STACKING"), Xatom.WINDOW)
        return list(prop.value) if prop else []

    def above(self, upper, lower):
        order = self.stacking()
        return upper.id in order and lower.id in order and order.index(upper.id) > order.index(
            lower.id)

    def screen_size(self):
        g = self.root.get_geometry()
        return g.width, g.height

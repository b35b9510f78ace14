"""What a window manager does to a program's windows, asked as a task bar or a title bar would:
maximise and un-maximise (_NET_WM_STATE), minimise (WM_CHANGE_STATE), activate
(_NET_ACTIVE_WINDOW); and what it says about them: frame, extents, state, stacking, allowed
actions, icon. For the real-window tests under openbox; every wait polls (xdrive.wait_until).
"""

import xdrive
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
        ev = protocol.event.ClientMessage(
            window=win, client_type=self.atom(kind), data=(32, (list(data) + [0] * 5)[:5])
        )
        self.root.send_event(ev, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.d.flush()

    # Requests ------------------------------------------------------------------------------
    def set_maximised(self, win, on):
        self._message(
            win,
            "_NET_WM_STATE",
            [
                1 if on else 0,
                self.atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                self.atom("_NET_WM_STATE_MAXIMIZED_HORZ"),
                1,
            ],
        )

    def minimise(self, win):
        self._message(win, "WM_CHANGE_STATE", [ICONIC])

    def activate(self, win):
        """As a task bar does when its entry for the window is clicked."""
        self._message(win, "_NET_ACTIVE_WINDOW", [2, X.CurrentTime, 0])

    def sync(self):
        """Returns once the window manager has handled every request sent before: it answers a
        _NET_REQUEST_FRAME_EXTENTS for a window of our own, in order, by setting a property."""
        probe = self.root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        try:
            self._message(probe, "_NET_REQUEST_FRAME_EXTENTS", [])
            xdrive.wait_until(
                lambda: probe.get_full_property(self.atom("_NET_FRAME_EXTENTS"), Xatom.CARDINAL)
                is not None,
                what="the window manager's answer",
            )
        finally:
            probe.destroy()
            self.d.flush()

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

    def asks_minimise(self, win):
        """Whether the window's Motif hints leave it a minimise function or button."""
        prop = win.get_full_property(self.atom("_MOTIF_WM_HINTS"), X.AnyPropertyType)
        if not prop or len(prop.value) < 3:
            return True  # no hints: the window manager's defaults, minimise included
        flags, functions, decorations = prop.value[0], prop.value[1], prop.value[2]
        func_all, func_minimise, decor_all, decor_minimise = 1, 1 << 3, 1, 1 << 5
        asks_function = not flags & 1 or functions & (func_all | func_minimise)
        asks_button = not flags & 2 or decorations & (decor_all | decor_minimise)
        return bool(asks_function or asks_button)

    def icon(self, win):
        """The window's _NET_WM_ICON data (sizes and pixels); openbox puts a default of its own
        on a window that brings none."""
        prop = win.get_full_property(self.atom("_NET_WM_ICON"), Xatom.CARDINAL, sizehint=1 << 20)
        return list(prop.value) if prop else []

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
        return (
            upper.id in order
            and lower.id in order
            and order.index(upper.id) > order.index(lower.id)
        )

    def active(self):
        prop = self.root.get_full_property(self.atom("_NET_ACTIVE_WINDOW"), Xatom.WINDOW)
        return prop.value[0] if prop and len(prop.value) else None

    def screen_size(self):
        g = self.root.get_geometry()
        return g.width, g.height

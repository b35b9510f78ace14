"""A key held down under a real X server (XTEST press, the server's own auto-repeat, release)
acts once, also across the screen it opens or closes. ENTER held on "Vai" opens the game, whose
buttons then get the repeats: "Avanti" must stay disabled with "?" in the first cell. ENTER held
on "C h i u d i" closes the instructions, and the repeats that reach the game must not type the
focused "1" into the cell. The repeats are counted as the server generates them (RECORD), so
the key is released only after several have reached the screen behind."""

import threading

import xdrive
from Xlib import X, display
from Xlib.ext import record
from Xlib.protocol import rq
from tarvo_ui import CHOICE, COMMAND, GAME_DESIGN, GAME_TITLE, INSTRUCTIONS_TITLE, KEY, Screen, run


class KeyPresses:
    """Counts the key presses the server generates, auto-repeats included."""

    def __init__(self):
        self.count = {}
        self.lock = threading.Lock()
        self.d = display.Display()
        self.ctx = self.d.record_create_context(
            0,
            [record.AllClients],
            [
                {
                    "core_requests": (0, 0),
                    "core_replies": (0, 0),
                    "ext_requests": (0, 0, 0, 0),
                    "ext_replies": (0, 0, 0, 0),
                    "delivered_events": (0, 0),
                    "device_events": (X.KeyPress, X.KeyPress),
                    "errors": (0, 0),
                    "client_started": False,
                    "client_died": False,
                }
            ],
        )
        threading.Thread(target=self._run, daemon=True).start()

    def _run(self):
        try:
            self.d.record_enable_context(self.ctx, self._seen)
        except Exception:  # the display goes with the test
            pass

    def _seen(self, reply):
        if reply.category != record.FromServer or reply.client_swapped:
            return
        data = reply.data
        while len(data):
            ev, data = rq.EventField(None).parse_binary_value(data, self.d.display, None, None)
            if ev.type == X.KeyPress:
                with self.lock:
                    self.count[ev.detail] = self.count.get(ev.detail, 0) + 1

    def of(self, keycode):
        with self.lock:
            return self.count.get(keycode, 0)


def hold_until(p, presses, key, shown, what):
    """Holds `key` down until shown() and then three more repeats of it, then releases it."""
    code = p._keycode(key)
    p.key_down(key)
    try:
        xdrive.wait_until(shown, what=what)
        seen = presses.of(code)
        xdrive.wait_until(lambda: presses.of(code) >= seen + 3, what=f"repeats of {key}")
    finally:
        p.key_up(key)


def probe_avanti(p, game, focused):
    """ "A" then RIGHT: with "Avanti" disabled, "A" does nothing and RIGHT moves the focus from the
    focused digit to the next one; with "Avanti" enabled, the two keys end on "0"."""
    p.tap_apart("a")
    p.tap_apart("Right")
    game.wait_highlight(KEY[focused + 1], f'"{focused + 1}": "Avanti" must be disabled', timeout=5)


def test(p):
    presses = KeyPresses()
    start = Screen.start(p)
    start.wait_highlight(CHOICE[0], '"10"')
    p.tap_apart("5")
    start.wait_highlight(CHOICE[5], '"15"')
    p.tap_apart("Return")
    start.wait_highlight(COMMAND[0], '"Vai"')

    found = {}

    def game_shown():
        win = p.find_window(GAME_TITLE)
        if win is None:
            return False
        found.setdefault("game", Screen(p, win, GAME_DESIGN))
        return found["game"].highlighted(KEY[0])

    hold_until(p, presses, "Return", game_shown, 'the game with "0" highlighted')
    game = found["game"]
    probe_avanti(p, game, 0)  # ends on "1"

    # The instructions, from the menu by mouse; their one button has the focus.
    game.click_menu()
    instructions = p.wait_window(INSTRUCTIONS_TITLE)
    xdrive.wait_until(lambda: p.has_focus(instructions), what="the instructions to take the keys")
    hold_until(
        p,
        presses,
        "Return",
        lambda: p.find_window(INSTRUCTIONS_TITLE) is None and game.highlighted(KEY[1]),
        'the instructions to close and "1" to be highlighted',
    )
    probe_avanti(p, game, 1)  # ends on "2"

    p.close(game.win)
    p.wait_success()


if __name__ == "__main__":
    run(test, "e2e_key_held")

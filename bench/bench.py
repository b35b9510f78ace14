#!/usr/bin/python3
"""Measures Tarvo against the floor (a minimal Qt Widgets program) on an X display with no
window manager, as bench/run starts it: start-up to the first painted window, peak RSS, idle CPU,
the curtain animation, the blink period of the celebration and key-press-to-repaint latency.

Everything is timed from X events: DAMAGE reports every drawing into a watched window, XTEST
types keys as a pupil would. Every wait is bounded and ends on an observable condition.
"""

import argparse
import os
import platform
import select
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, display, protocol
from Xlib.ext import damage, xtest

_TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests")
sys.path.insert(0, os.path.join(_TESTS, "support"))
sys.path.insert(0, os.path.join(_TESTS, "e2e"))
from palette import (  # noqa: E402
    BLINK_PALE,
    BLINK_YELLOW,
    CURTAIN,
    EMPTY_CELL,
    HIGHLIGHT,
    RIGHT,
    WRONG,
)

from tarvo_ui import AVANTI, CELL, GAME_DESIGN, GAME_TITLE, KEY, START_TITLE  # noqa: E402

FLOOR_TITLE = "floor"

# Curtains: 75 twips per panel every 10 ms, from half the outer width; a tick that leaves the
# left panel at 10 twips or less, or with less than one full step, is the last.
TICK_MS = 10
STEP_TWIPS = 75
END_TWIPS = 10
BLINK_MS = 400

# The game screen's places (its design size, answer cells and keypad) are the tests' own.

BLINK = (BLINK_YELLOW, BLINK_PALE)

CLOCK_MONOTONIC_COARSE = getattr(time, "CLOCK_MONOTONIC_COARSE", 6)  # Linux

# Targets.
STARTUP_FACTOR = 1.25
RSS_MARGIN_MIB = 12
TOLERANCE = 0.02
KEY_MS = 16.0


class Timeout(Exception):
    pass


def close_to(rgb, expected, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


def intersects(a, b):
    ax, ay, aw, ah = a
    bx, by, bw, bh = b
    return ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah


# X display ------------------------------------------------------------------------------------


class Win:
    """A top-level window as seen from outside: when it mapped and every damage it took."""

    def __init__(self, xwin):
        self.xwin = xwin
        self.mapped = None
        self.title = None
        self.damage = []  # (time, x, y, width, height)

    def damage_since(self, t, rect=None):
        return [d for d in self.damage if d[0] >= t and (rect is None or intersects(d[1:], rect))]


class Screen:
    """One connection to the display: it watches new top-level windows for damage, reads
    pixels and types keys."""

    def __init__(self):
        self.d = display.Display()
        # Windows come and go while we look at them; an InputOnly window takes no damage object.
        self.d.set_error_handler(lambda *args: None)
        for ext in ("DAMAGE", "XTEST"):
            if not self.d.has_extension(ext):
                raise SystemExit(f"the X server lacks the {ext} extension")
        self.d.damage_query_version()
        self.damage_event = self.d.extension_event.DamageNotify
        scr = self.d.screen()
        self.root = scr.root
        self.dpi = round(scr.width_in_pixels * 25.4 / scr.width_in_mms)
        self.size = (scr.width_in_pixels, scr.height_in_pixels)
        self.wins = {}
        self.released = None
        self.wm_protocols = self.d.intern_atom("WM_PROTOCOLS")
        self.wm_delete = self.d.intern_atom("WM_DELETE_WINDOW")
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.d.sync()

    def forget_windows(self):
        self.wins = {}

    # Events: each is stamped when it is read; we sleep in select() on the connection only.
    def pump(self, timeout):
        if not self.d.pending_events():
            select.select([self.d], [], [], max(0.0, timeout))
        now = time.monotonic()
        for _ in range(self.d.pending_events()):
            self._take(self.d.next_event(), now)

    def _take(self, e, now):
        if e.type == self.damage_event:
            w = self.wins.get(e.drawable.id)
            if w:
                w.damage.append((now, e.area.x, e.area.y, e.area.width, e.area.height))
        elif e.type == X.CreateNotify:
            if not e.override:
                # Created before the window maps, so its very first drawing is seen.
                e.window.damage_create(damage.DamageReportRawRectangles)
                self.wins[e.window.id] = Win(e.window)
        elif e.type == X.MapNotify:
            if e.window.id in self.wins:
                self.wins[e.window.id].mapped = now
        elif e.type in (X.UnmapNotify, X.DestroyNotify):
            if e.window.id in self.wins:
                self.wins[e.window.id].mapped = None

    def wait(self, condition, timeout, what):
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            left = deadline - time.monotonic()
            if left <= 0:
                raise Timeout(f"timed out after {timeout:g} s waiting for {what}")
            self.pump(min(left, 0.1))

    def quiet(self, win, since, gap, rect=None):
        """True once the window has taken no damage (in rect) for `gap` seconds."""
        hits = win.damage_since(since, rect)
        last = hits[-1][0] if hits else since
        return time.monotonic() - last >= gap

    # Windows
    def title(self, w):
        if w.title is None:
            try:
                name = w.xwin.get_wm_name()
                if isinstance(name, bytes):
                    name = name.decode("latin-1")
                w.title = name
            except Exception:
                return None
        return w.title

    def painted(self, title):
        """The mapped window with this title once it has drawn something since it mapped."""
        for w in list(self.wins.values()):
            if w.mapped is not None and w.damage_since(w.mapped) and self.title(w) == title:
                return w
        return None

    def geometry(self, w):
        g = w.xwin.get_geometry()
        return g.width, g.height

    def focus(self, w):
        # What a window manager does for a window that maps: give it the keyboard.
        w.xwin.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.d.sync()

    def close(self, w):
        ev = protocol.event.ClientMessage(
            window=w.xwin,
            client_type=self.wm_protocols,
            data=(32, [self.wm_delete, X.CurrentTime, 0, 0, 0]),
        )
        w.xwin.send_event(ev, event_mask=X.NoEventMask)
        self.d.flush()

    # Pixels
    def shot(self, w, rect):
        x, y, width, height = rect
        img = w.xwin.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        return Shot(img.data, x, y, width, height)

    def pixel(self, w, x, y):
        return self.shot(w, (x, y, 1, 1)).at(x, y)

    def save(self, path):
        """The whole screen as a PPM picture, to see what a failed run left."""
        width, height = self.size
        shot = Shot(
            self.root.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF).data,
            0,
            0,
            width,
            height,
        )
        with open(path, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (width, height))
            f.write(bytes(v for y in range(height) for x in range(width) for v in shot.at(x, y)))

    # Keys
    def keycode(self, key):
        keysym = XK.string_to_keysym(key)
        code = self.d.keysym_to_keycode(keysym)
        if not code:
            raise SystemExit(f"no key code for {key!r}")
        return code

    def press(self, key):
        if self.released and self.released[0] == key:
            # X11 clients take a release and a press of one key stamped with the same server
            # millisecond for a key held down; no hand is that fast. The server stamps events
            # with the monotonic clock (or its coarse variant): let both pass the release's.
            while not all(now > then for now, then in zip(clock_ms(), self.released[1])):
                pass
        xtest.fake_input(self.d, X.KeyPress, self.keycode(key))
        self.d.flush()

    def release(self, key):
        xtest.fake_input(self.d, X.KeyRelease, self.keycode(key))
        self.d.sync()  # handled by the server: its time stamp is in the past now
        self.released = (key, clock_ms())

    def tap(self, *keys):
        for k in keys:
            self.press(k)
            self.release(k)


def clock_ms():
    return tuple(
        int(time.clock_gettime(c) * 1000) for c in (time.CLOCK_MONOTONIC, CLOCK_MONOTONIC_COARSE)
    )


class Shot:
    def __init__(self, data, x, y, width, height):
        self.data, self.x, self.y, self.width, self.height = data, x, y, width, height

    def at(self, x, y):
        i = ((y - self.y) * self.width + (x - self.x)) * 4
        b, g, r = self.data[i], self.data[i + 1], self.data[i + 2]
        return r, g, b


# Processes ------------------------------------------------------------------------------------

CLK_TCK = os.sysconf("SC_CLK_TCK")


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def wakeups(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as f:
            for line in f:
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
    return total


def vm_hwm_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM")


class Program:
    def __init__(self, *argv):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        self.err = tempfile.TemporaryFile()
        self.started = time.monotonic()
        self.proc = subprocess.Popen(
            [os.path.abspath(argv[0]), *argv[1:]],
            env=env,
            stdout=subprocess.DEVNULL,
            stderr=self.err,
        )
        self.pid = self.proc.pid

    def alive(self):
        return self.proc.poll() is None

    def stderr(self):
        self.err.seek(0)
        return self.err.read().decode(errors="replace")

    def end(self, screen, window, timeout=10.0):
        """Closes the window as a window manager's close button does; the program must end."""
        if self.alive() and window is not None:
            screen.close(window)
            try:
                self.proc.wait(timeout=timeout)
                return True
            except subprocess.TimeoutExpired:
                pass
        if self.alive():
            self.proc.kill()
            self.proc.wait()
            return False
        return True


def idle_cpu(screen, prog, win, seconds):
    """CPU used while nothing should happen, with the damage the window took meanwhile. It
    starts once the window has drawn nothing for ten curtain ticks."""
    screen.wait(
        lambda: screen.quiet(win, win.mapped, 10 * TICK_MS / 1000), 15, "the window to stop drawing"
    )
    t0, c0, w0 = time.monotonic(), cpu_ticks(prog.pid), wakeups(prog.pid)
    end = t0 + seconds
    while time.monotonic() < end:  # the measuring window itself; events are still recorded
        screen.pump(end - time.monotonic())
    t1, c1, w1 = time.monotonic(), cpu_ticks(prog.pid), wakeups(prog.pid)
    return {
        "cpu": 100.0 * (c1 - c0) / CLK_TCK / (t1 - t0),
        "wakeups": (w1 - w0) / (t1 - t0),
        "idle_damage": len(win.damage_since(t0)),
    }


# Curtains -------------------------------------------------------------------------------------


def curtain_ticks(outer_px, dpi):
    """Ticks the animation takes from half the window's outer width."""
    width = round(outer_px * 1440 / dpi) // 2
    ticks = 0
    while True:
        ticks += 1
        if width - STEP_TWIPS >= 0:
            width -= STEP_TWIPS
        if width <= END_TWIPS or width < STEP_TWIPS:
            return ticks, width


def curtain_gone(screen, win, width, height):
    # The last panels are under one step wide: five pixels from each edge shows the screen.
    edge = -(-STEP_TWIPS * screen.dpi // 1440)
    y = height // 2
    return not close_to(screen.pixel(win, edge, y), CURTAIN) and not close_to(
        screen.pixel(win, width - 1 - edge, y), CURTAIN
    )


def measure_curtain(screen, win, width):
    """From the first painting (panels closed) to the last damage before the panels stop."""
    height = screen.geometry(win)[1]
    first = win.damage[0][0]
    if not close_to(screen.pixel(win, width // 4, height // 2), CURTAIN):
        raise RuntimeError("the curtains do not cover the window at the first painting")
    while True:
        # The panels move every tick; ten quiet ticks mean they stopped (or stalled: look).
        screen.wait(lambda: screen.quiet(win, first, 10 * TICK_MS / 1000), 15, "the curtains")
        if curtain_gone(screen, win, width, height):
            break
    last = win.damage[-1][0]
    paints = 1
    for (a, *_), (b, *_) in zip(win.damage, win.damage[1:]):
        if b - a > TICK_MS / 2000:
            paints += 1
    return (last - first) * 1000, paints


# Game -----------------------------------------------------------------------------------------


class GameLayout:
    """Where the answer cells and "Avanti" are on the game window, scaled with its client
    area, which lies under a menu bar of unknown height."""

    def __init__(self, width, height, top):
        self.width, self.height, self.top = width, height, top

    @staticmethod
    def find(screen, win):
        """The layout once the game window shows its eight empty cells, else None."""
        width, height = screen.geometry(win)
        shot = screen.shot(win, (0, 0, width, height))
        # The top edge of cell 0 gives the menu bar's height (the client area scales below it).
        x = round(width * CELL[0][0] / GAME_DESIGN[0]) + 3
        found = next((y for y in range(height) if close_to(shot.at(x, y), EMPTY_CELL)), None)
        if found is None:
            return None
        k = CELL[0][1] / GAME_DESIGN[1]
        guess = round((found - height * k) / (1 - k))
        for top in sorted(range(guess - 3, guess + 4), key=lambda t: abs(t - guess)):
            layout = GameLayout(width, height, top)
            if all(close_to(shot.at(*p), EMPTY_CELL) for i in range(8) for p in layout.probes(i)):
                return layout
        return None

    def rect(self, left, top, width, height):
        cw, ch = self.width, self.height - self.top
        x = round(cw * left / GAME_DESIGN[0])
        y = self.top + round(ch * top / GAME_DESIGN[1])
        return (
            x,
            y,
            round(cw * (left + width) / GAME_DESIGN[0]) - x,
            self.top + round(ch * (top + height) / GAME_DESIGN[1]) - y,
        )

    def cell(self, i):
        return self.rect(*CELL[i])

    def probes(self, i):
        x, y, w, h = self.cell(i)
        return [(x + 4, y + 4), (x + w - 5, y + 4), (x + 4, y + h - 5), (x + w - 5, y + h - 5)]

    def avanti_probe(self):
        x, y, w, h = self.rect(*KEY[AVANTI])
        return x + 8, y + h // 2


def cell_colour(screen, win, layout, i):
    return screen.pixel(win, *layout.probes(i)[0])


def repainted(screen, win, rect, before, since):
    """A condition: the time of the damage after which rect no longer shows `before`. Damage
    that leaves it unchanged (a late repaint of something else) does not count."""
    seen = 0

    def condition():
        nonlocal seen
        hits = win.damage_since(since, rect)
        if len(hits) == seen:
            return None
        seen = len(hits)
        return hits[-1][0] if screen.shot(win, rect).data != before else None

    return condition


def key_latency(screen, win, layout, presses):
    """Key press to the repaint of answer cell 0, for digits and for BACKSPACE after each."""
    cell = layout.cell(0)
    digits, deletes = [], []
    for n in range(presses):
        for key, into in ((str(1 + n % 9), digits), ("BackSpace", deletes)):
            before = screen.shot(win, cell).data
            t0 = time.monotonic()
            screen.press(key)
            t = screen.wait(repainted(screen, win, cell, before, t0), 5, f"the cell after {key}")
            into.append((t - t0) * 1000)
            screen.release(key)
    return statistics.median(digits), statistics.median(deletes)


def avanti_lit(screen, win, layout):
    return close_to(screen.pixel(win, *layout.avanti_probe()), HIGHLIGHT)


def answer(screen, win, layout, i, value):
    """Types an answer into cell i, a digit once the previous one shows (two presses of one key
    within a millisecond would pass for auto-repeat), then presses "Avanti" (A, ENTER) and
    returns once both were handled: "Avanti" lights up when A reached it and goes dark when
    ENTER moved on to "1"."""
    rect = layout.cell(i)
    for digit in str(value):
        before = screen.shot(win, rect).data
        t0 = time.monotonic()
        screen.tap(digit)
        screen.wait(repainted(screen, win, rect, before, t0), 5, f"{digit} in cell {i}")
    screen.tap("a")
    screen.wait(lambda: avanti_lit(screen, win, layout), 5, "Avanti to take the focus")
    screen.tap("Return")
    screen.wait(lambda: not avanti_lit(screen, win, layout), 5, "Avanti to be pressed")


def play_to_celebration(screen, win, layout, n):
    """Plays a tarvo of n as a pupil would: a guess in every ray, then at each orange (wrong)
    cell the candidates n-1 .. n-10 until the check finds them all right."""
    for i in range(8):
        answer(screen, win, layout, i, n - 1)
    tried = {}
    for _ in range(8 * 10):
        colours = [cell_colour(screen, win, layout, i) for i in range(8)]
        wrong = [i for i, c in enumerate(colours) if close_to(c, WRONG)]
        if not wrong:
            if all(close_to(c, RIGHT) or any(close_to(c, b) for b in BLINK) for c in colours):
                return
            raise RuntimeError(f"unexpected cell colours after a check: {colours}")
        i = wrong[0]
        tried[i] = tried.get(i, 1) + 1
        if tried[i] > 10:
            raise RuntimeError(f"no answer from {n - 1} to {n - 10} is right in cell {i}")
        answer(screen, win, layout, i, n - tried[i])
    raise RuntimeError("the tarvo was never found right")


def blink_period(screen, win, layout, periods):
    """Mean time between colour changes of cell 0 over `periods` periods, from its damage."""
    cell = layout.cell(0)
    screen.wait(
        lambda: any(close_to(cell_colour(screen, win, layout, 0), b) for b in BLINK),
        5,
        "the cells to blink",
    )
    changes, colours = [], []
    since = time.monotonic()
    while len(changes) <= periods:
        hit = screen.wait(lambda: win.damage_since(since, cell), 5, "the next blink")
        changes.append(hit[0][0])
        # One change repaints the cell once; the next one is a blink interval later.
        since = hit[0][0] + BLINK_MS / 2000
        colours.append(cell_colour(screen, win, layout, 0))
    for a, b in zip(colours, colours[1:]):
        if close_to(a, b, 2) or not any(close_to(b, c) for c in BLINK):
            raise RuntimeError(f"the cell does not alternate between the blink colours: {colours}")
    return (changes[-1] - changes[0]) * 1000 / periods


# Runs -----------------------------------------------------------------------------------------


def keep_screen(screen, args, name):
    if args.shots:
        path = os.path.join(args.shots, f"failed-{name}-{time.strftime('%H%M%S')}.ppm")
        screen.save(path)
        print(f"  the screen at the failure is in {path}")


def start_once(screen, title, *argv):
    """Starts a program, waits for its first painting and closes it: the start-up time in ms
    and the window's size."""
    screen.forget_windows()
    prog = Program(*argv)
    win = None
    try:
        win = screen.wait(
            lambda: screen.painted(title) or (not prog.alive() and -1), 15, f"the window '{title}'"
        )
        if win == -1:
            raise RuntimeError(f"{argv[0]} ended at start:\n{prog.stderr()}")
        return (win.damage_since(win.mapped)[0][0] - prog.started) * 1000, screen.geometry(win)
    finally:
        prog.end(screen, win if win not in (None, -1) else None)


def run_tarvo(screen, path, args):
    only = args.only
    screen.forget_windows()
    prog = Program(path)
    start = game = None
    r = {}
    try:
        start = screen.wait(
            lambda: screen.painted(args.start_title) or (not prog.alive() and -1),
            15,
            f"the window '{args.start_title}'",
        )
        if start == -1:
            raise RuntimeError(f"Tarvo ended at start:\n{prog.stderr()}")
        r["startup"] = (start.damage_since(start.mapped)[0][0] - prog.started) * 1000
        width, height = screen.geometry(start)
        r["size"] = (width, height)
        screen.focus(start)
        if "curtain" in only:
            r["curtain"], r["curtain_paints"] = measure_curtain(screen, start, width)
            r["curtain_ticks"], r["curtain_rest"] = curtain_ticks(width, screen.dpi)
        if "idle" in only:
            r.update(idle_cpu(screen, prog, start, args.idle))
        r["rss_start"] = vm_hwm_kib(prog.pid) / 1024
        if "game" in only:
            screen.tap("5", "Return", "Return")  # "15", ENTER; ENTER on "Vai"
            game = screen.wait(lambda: screen.painted(GAME_TITLE), 10, "the game window")
            screen.focus(game)
            layout = screen.wait(
                lambda: GameLayout.find(screen, game),
                5,
                "the answer cells where the layout puts them",
            )
            r["key"], r["key_backspace"] = key_latency(screen, game, layout, args.presses)
            play_to_celebration(screen, game, layout, 15)
            r["blink"] = blink_period(screen, game, layout, args.periods)
        r["rss"] = vm_hwm_kib(prog.pid) / 1024
    except (Timeout, RuntimeError):
        keep_screen(screen, args, "tarvo")
        raise
    finally:
        r["ended"] = prog.end(screen, start if start not in (None, -1) else None)
    return r


def run_floor(screen, path, size, args):
    only = args.only
    screen.forget_windows()
    prog = Program(path, "-qwindowgeometry", f"{size[0]}x{size[1]}+0+0")
    win = None
    r = {}
    try:
        win = screen.wait(
            lambda: screen.painted(FLOOR_TITLE) or (not prog.alive() and -1),
            15,
            "the floor's window",
        )
        if win == -1:
            raise RuntimeError(f"the floor ended at start:\n{prog.stderr()}")
        r["startup"] = (win.damage_since(win.mapped)[0][0] - prog.started) * 1000
        r["size"] = screen.geometry(win)
        if "idle" in only:
            r.update(idle_cpu(screen, prog, win, args.idle))
        r["rss"] = vm_hwm_kib(prog.pid) / 1024
    except (Timeout, RuntimeError):
        keep_screen(screen, args, "floor")
        raise
    finally:
        r["ended"] = prog.end(screen, win if win not in (None, -1) else None)
    return r


# Report ---------------------------------------------------------------------------------------


def median(runs, key):
    values = [r[key] for r in runs if key in r]
    return statistics.median(values) if values else None


def spread(values):
    return f"{min(values):.1f}–{max(values):.1f}"


DIGITS = {"rss": 2, "rss_start": 2, "cpu": 2}


def fmt(v, digits=1):
    if isinstance(v, int):
        return str(v)
    return "n/a" if v is None else f"{v:.{digits}f}"


def machine():
    cpu = "unknown"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        mem = int(f.readline().split()[1]) / 1024 / 1024
    try:
        with open("/etc/debian_version") as f:
            debian = f.read().strip()
    except OSError:
        debian = "not Debian"
    qt = (
        subprocess.run(
            ["dpkg-query", "-W", "-f=${Version}", "libqt6core6"], capture_output=True, text=True
        ).stdout
        or "unknown"
    )
    xvfb = (
        subprocess.run(
            ["dpkg-query", "-W", "-f=${Version}", "xvfb"], capture_output=True, text=True
        ).stdout
        or "unknown"
    )
    return [
        f"{os.cpu_count()} CPUs ({cpu}), {mem:.1f} GiB memory",
        f"Debian {debian}, kernel {platform.release()}, Qt {qt}, Xvfb {xvfb}",
    ]


def report(tarvo, floor, starts, args, screen):
    rows = []
    t, f = statistics.median(starts["Tarvo"]), statistics.median(starts["floor"])
    limit = f * STARTUP_FACTOR if f is not None else None
    rows.append(
        (
            "start-up to first painted window (ms)",
            fmt(t),
            fmt(f),
            f"≤ {STARTUP_FACTOR} × floor ({fmt(limit)})",
            t is not None and limit is not None and t <= limit,
        )
    )
    t, f = median(tarvo, "rss"), median(floor, "rss")
    limit = f + RSS_MARGIN_MIB if f is not None else None
    rows.append(
        (
            "peak RSS, VmHWM (MiB)",
            fmt(t, 2),
            fmt(f, 2),
            f"≤ floor + {RSS_MARGIN_MIB} ({fmt(limit, 2)})",
            t is not None and limit is not None and t <= limit,
        )
    )
    if "idle" in args.only:
        t, f = median(tarvo, "cpu"), median(floor, "cpu")
        rows.append(
            (
                f"idle CPU over {args.idle:g} s after the curtains (%)",
                fmt(t),
                fmt(f),
                "0.0",
                t is not None and round(t, 1) == 0.0,
            )
        )
    if "curtain" in args.only:
        t = median(tarvo, "curtain")
        ticks = median(tarvo, "curtain_ticks")
        nominal = ticks * TICK_MS if ticks is not None else None
        rows.append(
            (
                "curtain animation (ms)",
                fmt(t),
                "–",
                f"{fmt(nominal, 0)} ± 2% ({ticks} ticks)" if nominal else "n/a",
                t is not None and nominal is not None and abs(t - nominal) <= TOLERANCE * nominal,
            )
        )
    if "game" in args.only:
        t = median(tarvo, "blink")
        rows.append(
            (
                "blink period (ms)",
                fmt(t),
                "–",
                f"{BLINK_MS} ± 2%",
                t is not None and abs(t - BLINK_MS) <= TOLERANCE * BLINK_MS,
            )
        )
        t = median(tarvo, "key")
        rows.append(
            (
                "key press to cell repaint, median (ms)",
                fmt(t),
                "–",
                f"< {KEY_MS:g}",
                t is not None and t < KEY_MS,
            )
        )

    head = ("measure", "Tarvo", "floor", "target", "met?")
    table = [head, tuple("---" for _ in head)]
    table += [(m, t, f, g, "yes" if ok else "NO") for m, t, f, g, ok in rows]
    lines = ["| " + " | ".join(r) + " |" for r in table]

    size = tarvo[0]["size"] if tarvo else None
    notes = [
        f"Medians of {len(tarvo)} runs of each program, alternated, after one uncounted "
        f"start of each (warm page cache), under Xvfb "
        f"{screen.size[0]}x{screen.size[1]}x24 at {screen.dpi} dpi with no window manager. "
        f"Start-up: medians of {len(starts['Tarvo'])} and {len(starts['floor'])} starts "
        f"(those runs and {args.startups} more starts of each, alternated); Tarvo "
        f"{spread(starts['Tarvo'])} ms, floor {spread(starts['floor'])} ms (min–max).",
        f"Both programs at the same window size: Tarvo's start window, {size[0]}x{size[1]} "
        f"(the floor's showMaximized() does nothing without a window manager: it gets that "
        f"size with Qt's -qwindowgeometry).",
        (
            "Peak RSS is read just before closing: for Tarvo with the start and game windows open "
            "and the celebration running."
            if "game" in args.only
            else "Peak RSS is read just before closing."
        ),
        "Times are taken when this script reads the X events (DAMAGE, after each drawing "
        "request); the machine is shared, so single runs are noisy.",
    ]
    per_run = ["", "Per run (Tarvo):", ""]
    keys = (
        "startup",
        "rss",
        "rss_start",
        "cpu",
        "wakeups",
        "idle_damage",
        "curtain",
        "curtain_paints",
        "blink",
        "key",
        "key_backspace",
    )
    present = [k for k in keys if any(k in r for r in tarvo)]
    per_run.append("| run | " + " | ".join(present) + " |")
    per_run.append("|---|" + "---|" * len(present))
    for i, r in enumerate(tarvo, 1):
        per_run.append(
            f"| {i} | " + " | ".join(fmt(r.get(k), DIGITS.get(k, 1)) for k in present) + " |"
        )
    per_run += ["", "Per run (floor):", ""]
    present = [
        k for k in ("startup", "rss", "cpu", "wakeups", "idle_damage") if any(k in r for r in floor)
    ]
    per_run.append("| run | " + " | ".join(present) + " |")
    per_run.append("|---|" + "---|" * len(present))
    for i, r in enumerate(floor, 1):
        per_run.append(
            f"| {i} | " + " | ".join(fmt(r.get(k), DIGITS.get(k, 1)) for k in present) + " |"
        )
    per_run += [
        "",
        "startup, curtain, blink, key, key_backspace in ms; rss in MiB; cpu in %; "
        "wakeups per second (all threads); idle_damage = drawings during the idle "
        "window; curtain_paints = separate paintings seen during the curtains; "
        "key_backspace = BACKSPACE to repaint (not a target); rss_start = VmHWM before the "
        "game screen opens.",
    ]
    ok = all(r[-1] for r in rows)
    return lines, notes, per_run, ok


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--tarvo", required=True)
    ap.add_argument("--floor", required=True)
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--idle", type=float, default=10.0, help="idle CPU window, seconds")
    ap.add_argument(
        "--startups",
        type=int,
        default=15,
        help="starts of each program, beyond the runs, for the start-up median",
    )
    ap.add_argument("--presses", type=int, default=20)
    ap.add_argument("--periods", type=int, default=10)
    ap.add_argument(
        "--only",
        default="curtain,idle,game",
        help="phases beyond start-up and RSS: curtain, idle, game",
    )
    ap.add_argument("--start-title", default=START_TITLE)
    ap.add_argument("--out", help="also write the results here (Markdown)")
    ap.add_argument("--shots", help="save the screen of a failed run here")
    args = ap.parse_args()
    args.only = set(filter(None, args.only.split(",")))
    # Qt wants a private runtime directory; one for the whole benchmark.
    runtime = tempfile.TemporaryDirectory(prefix="bench-xdg-")
    os.environ.setdefault("XDG_RUNTIME_DIR", runtime.name)

    screen = Screen()
    tarvo, floor, failures = [], [], []

    def attempt(name, runs, run):
        print(name, flush=True)
        try:
            r = run()
            runs.append(r)
            if not r["ended"]:
                failures.append(f"{name}: still running 10 s after its window was closed")
        except (Timeout, RuntimeError) as e:
            failures.append(f"{name}: {e}")
            print(f"  failed: {e}", flush=True)

    # One uncounted start of each, so that every counted one finds a warm page cache.
    print("warm-up", flush=True)
    try:
        size = start_once(screen, args.start_title, args.tarvo)[1]
        floor_argv = (args.floor, "-qwindowgeometry", f"{size[0]}x{size[1]}+0+0")
        start_once(screen, FLOOR_TITLE, *floor_argv)
    except (Timeout, RuntimeError) as e:
        raise SystemExit(f"warm-up failed: {e}")
    for i in range(1, args.runs + 1):
        attempt(f"run {i}/{args.runs}, Tarvo", tarvo, lambda: run_tarvo(screen, args.tarvo, args))
        attempt(
            f"run {i}/{args.runs}, floor", floor, lambda: run_floor(screen, args.floor, size, args)
        )
    if not tarvo or not floor:
        raise SystemExit("no run of " + ("Tarvo" if not tarvo else "the floor") + " succeeded")
    # Start-up is short and the noisiest figure: more starts, alternated, for its median.
    print(f"{args.startups} more starts of each", flush=True)
    starts = {"Tarvo": [r["startup"] for r in tarvo], "floor": [r["startup"] for r in floor]}
    for _ in range(args.startups):
        for name, argv, title in (
            ("Tarvo", (args.tarvo,), args.start_title),
            ("floor", floor_argv, FLOOR_TITLE),
        ):
            try:
                starts[name].append(start_once(screen, title, *argv)[0])
            except (Timeout, RuntimeError) as e:
                failures.append(f"start-up of {name}: {e}")

    lines, notes, per_run, ok = report(tarvo, floor, starts, args, screen)
    if failures:
        ok = False
        notes += ["", "Failed runs:"] + [f"- {f}" for f in failures]
    desc = machine()
    text = "\n".join(lines) + "\n\n" + "\n".join(notes) + "\n"
    print()
    print(text)
    print("\n".join(desc))
    if args.out:
        # The web edition's section is bench/run-web's: kept as it stands.
        web = ""
        if os.path.exists(args.out):
            with open(args.out) as f:
                old = f.read()
            if "\n## Web edition" in old:
                web = "\n" + old[old.index("\n## Web edition") + 1 :]
        with open(args.out, "w") as f:
            f.write("# Benchmark results\n\n")
            f.write(f"Last run of `bench/run`, {time.strftime('%Y-%m-%d %H:%M %Z')}.\n\n")
            f.write("Machine: " + "; ".join(desc) + ".\n\n")
            f.write(text)
            f.write("\n".join(per_run) + "\n")
            f.write(web)
    print("all targets met" if ok else "TARGETS MISSED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

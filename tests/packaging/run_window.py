"""Runs inside Xvfb: starts the program, waits for its window, checks the window's WM_CLASS against
the desktop entry's StartupWMClass (docks match windows to menu entries by it), closes the window
as a window manager would and expects the program to end with status 0.

Usage: run_window.py XDRIVE_DIR PROGRAM WM_CLASS [WINDOW_TITLE]
Without WINDOW_TITLE any top-level window of the process will do.
"""

import sys

sys.path.insert(0, sys.argv[1])
import xdrive  # noqa: E402
from Xlib import X  # noqa: E402


def pid_of(prog, win):
    try:
        prop = win.get_full_property(prog.d.intern_atom("_NET_WM_PID"), X.AnyPropertyType)
    except Exception:  # the window may vanish while we look at it
        return None
    return prop.value[0] if prop else None


def own_window(prog, title):
    if prog.proc.poll() is not None:
        out, err = prog.proc.communicate()
        raise SystemExit(
            f"the program ended with status {prog.proc.returncode} before showing a "
            f"window:\n{err.decode(errors='replace')}"
        )
    for t, w in prog.windows():
        if pid_of(prog, w) == prog.proc.pid and (title is None or t == title):
            return t, w
    return None


def main():
    binary, wm_class = sys.argv[2], sys.argv[3]
    title = sys.argv[4] if len(sys.argv) > 4 else None
    prog = xdrive.Program([binary])
    try:
        shown, win = xdrive.wait_until(
            lambda: own_window(prog, title),
            15.0,
            f"window {title!r} of {binary}" if title else f"a window of {binary}",
        )
        print(f"window shown: {shown!r}")
        cls = win.get_wm_class()
        if cls is None or cls[1] != wm_class:
            raise SystemExit(f"WM_CLASS is {cls}, the desktop entry says StartupWMClass={wm_class}")
        prog.close(win)
        status = prog.wait_exit(10.0)
        if status != 0:
            err = prog.proc.stderr.read().decode(errors="replace")
            raise SystemExit(f"the program ended with status {status} after close:\n{err}")
        print("closed, exit status 0")
    finally:
        prog.kill()


if __name__ == "__main__":
    main()

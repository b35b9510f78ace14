"""The program on a bare X session, as a pupil's machine may have it: an X server and nothing else,
no window manager, no session bus, no XDG_RUNTIME_DIR. Under strace it must open no file for
writing, create no directory or file, and start no process of its own (no bus launcher, no
daemon left behind); and the toolkit must print no warning about a runtime directory. The
window still opens, its curtains draw back and its close request ends the program with 0.

Run it on a desktop without window manager and without bus (tests/support/desktop.py). Exits 77
when strace is missing.
"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "hostile"))
import hostile  # noqa: E402  (its strace rig and parser, and its list of writing calls)
import xdrive  # noqa: E402
from desktop import SKIP, Unavailable  # noqa: E402  (tests/support, on hostile's path)
from hostile import traced  # noqa: E402
from tarvo_ui import Screen  # noqa: E402

PROCESS_CALLS = ["execve", "execveat", "fork", "vfork", "clone", "clone3"]


def children_started(log):
    """Every traced call that started a process rather than a thread of the program, and every
    program run after the first (which is the program itself)."""
    found = []
    execs = 0
    for name, args, result in hostile.calls(log):
        if name in ("execve", "execveat"):
            execs += 1
            if execs > 1:
                found.append(f"{name}({args[:200]}) = {result}")
        elif name in ("fork", "vfork"):
            found.append(f"{name}() = {result}")
        elif name in ("clone", "clone3") and "CLONE_THREAD" not in args:
            found.append(f"{name}({args[:200]}) = {result}")
    return found


def main():
    scratch = tempfile.mkdtemp(prefix="tarvo-bare-")
    home = os.path.join(scratch, "home")
    os.mkdir(home, 0o700)
    log = os.path.join(scratch, "trace.log")
    env = dict(os.environ)
    for name in (
        "DBUS_SESSION_BUS_ADDRESS",
        "XDG_RUNTIME_DIR",
        "AT_SPI_BUS_ADDRESS",
        "QT_QPA_PLATFORM",
        "WAYLAND_DISPLAY",
    ):
        env.pop(name, None)
    env["HOME"] = home
    try:
        argv = traced(
            [os.path.abspath(xdrive.program_path())], log, hostile.WRITING + PROCESS_CALLS, env
        )
    except Unavailable as e:
        shutil.rmtree(scratch, ignore_errors=True)
        print(f"skipped: {e}")
        return SKIP
    p = hostile.Program(argv, cwd=scratch, env=env, stderr_path=os.path.join(scratch, "stderr.txt"))
    failures = []
    try:
        start = Screen.start(p, timeout=20)
        start.wait_background(timeout=20)
        p.close(start.win)
        # strace ends only once every process it follows has ended: a daemon left behind
        # keeps it running.
        try:
            code = p.wait_exit(timeout=20)
            if code != 0:
                failures.append(f"exit code {code}")
        except xdrive.Timeout:
            failures.append("a process was still running 20 s after the close")
    finally:
        p.kill()
    stderr = p.stderr()
    written = hostile.writes(log)
    if written:
        failures.append("files written or created:\n  " + "\n  ".join(written))
    started = children_started(log)
    if started:
        failures.append("processes started:\n  " + "\n  ".join(started))
    if os.listdir(home):
        failures.append(f"the home folder gained {os.listdir(home)}")
    if "XDG_RUNTIME_DIR" in stderr or "runtime directory" in stderr:
        failures.append("a runtime directory warning:\n" + stderr[-1500:])
    if failures:
        print("FAIL writes_nothing:\n" + "\n".join(failures))
        return 1
    shutil.rmtree(scratch, ignore_errors=True)
    print("writes_nothing: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

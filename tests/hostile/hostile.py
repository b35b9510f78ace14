"""The real program started in hostile surroundings, one case per run: the settings file
ImpostazioniVa.dat missing, a directory, unreadable, a dangling or looping symlink, a named pipe
without a writer, a device, a very large sparse file; or no Arial and no Liberation font at all.

Each case starts the program on its own Xvfb server in a working directory prepared for it, under
strace, and checks that the start screen appears within a bound, looks exactly as with no settings
file once the curtains have stopped, closes with exit code 0 from the window manager's close
request, and that nothing was opened for writing or created anywhere and the settings file was
opened read-only at most once.

Usage: hostile.py CASE   (TARVO_BIN names the program; TARVO_TIME_FACTOR stretches the bounds for
sanitizer builds). Exits 77 (skipped) when a tool it needs is missing.
"""

import hashlib
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from desktop import SKIP, Desktop, Unavailable, need  # noqa: E402

try:
    sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
    import xdrive  # noqa: E402
    from palette import APRICOT, NAVY  # noqa: E402
    from Xlib import X  # noqa: E402
except ImportError as e:
    print(f"skipped: {e} (Debian package python3-xlib)")
    sys.exit(SKIP)

TITLE = "Tavole della moltiplicazione"
SETTINGS = "ImpostazioniVa.dat"
FACTOR = float(os.environ.get("TARVO_TIME_FACTOR", "1"))
STARTUP_BOUND = 5.0 * FACTOR
# Every call that could write, create or remove a file, and the lookups that show the probe ran.
WRITING = [
    "open",
    "openat",
    "creat",
    "truncate",
    "ftruncate",
    "rename",
    "renameat",
    "renameat2",
    "unlink",
    "unlinkat",
    "mkdir",
    "mkdirat",
    "link",
    "linkat",
    "symlink",
    "symlinkat",
    "rmdir",
]
LOOKUPS = ["stat", "lstat", "newfstatat", "statx", "access", "faccessat", "faccessat2"]
WRITE_FLAGS = ("O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND")
LAST_STDERR = ""


class Failure(AssertionError):
    pass


def private_x():
    """A private X server on a free display number; without access control, so that another
    user can connect too."""
    return Desktop(screen="1024x768x24")


class Program(xdrive.Program):
    """xdrive's program in a session of its own, so that the whole tree (session bus, strace) can
    be ended, with its error output in a file rather than a pipe that could fill up."""

    def __init__(self, argv, cwd, env, stderr_path):
        self.stderr_path = stderr_path
        with open(stderr_path, "wb") as err:
            super().__init__(
                argv, cwd, env, stdout=subprocess.DEVNULL, stderr=err, start_new_session=True
            )

    def kill(self):
        if self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.proc.wait()

    def stderr(self):
        with open(self.stderr_path, errors="replace") as f:
            return f.read()


class Run:
    """What one run of the program showed and did."""

    startup = 0.0
    checksum = ""
    navy = 0
    exit_code = None
    trace = None
    opens = 0  # of the settings file
    stderr = ""


def owned_dir(parent, name, user):
    path = os.path.join(parent, name)
    os.mkdir(path, 0o700)
    if user:
        pw = pwd.getpwnam(user)
        os.chown(path, pw.pw_uid, pw.pw_gid)
    return path


def window_image(p, win):
    _, _, width, height = p.geometry(win)
    data = win.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF).data
    return width, height, bytes(data)


def settled_image(p, win):
    """The window once the curtains have opened and nothing moves any more."""
    deadline = time.monotonic() + 15 * FACTOR
    last = None
    while time.monotonic() < deadline:
        width, height, data = window_image(p, win)
        # The curtains stop with less than one step (5 pixels) left at each edge.
        edges_open = xdrive.close_enough(
            p.pixel(win, 6, height // 2), APRICOT, 0
        ) and xdrive.close_enough(p.pixel(win, width - 7, height // 2), APRICOT, 0)
        if edges_open and data == last:
            return width, height, data
        last = data if edges_open else None
        time.sleep(0.25)
    raise Failure("the curtains never opened, or the screen never came to rest")


def count_colour(data, rgb):
    r, g, b = rgb
    pixel = bytes((b, g, r))
    return sum(1 for i in range(0, len(data) - 3, 4) if data[i : i + 3] == pixel)


def reachable_copy(program, folder):
    """The program as another user can start it: the build tree may sit in a private folder (a
    checkout in root's 0700 home), so the other user always starts a copy in the test's own
    world-readable folder."""
    copy = os.path.join(folder, "bin", os.path.basename(program))
    os.makedirs(os.path.dirname(copy), exist_ok=True)
    os.chmod(os.path.dirname(copy), 0o755)
    shutil.copy2(program, copy)
    os.chmod(copy, 0o755)
    return copy


def traced(argv, log, calls, env):
    """argv under strace, every process it starts followed, the calls named logged to log.
    LeakSanitizer cannot work under ptrace (the soak tests check leaks): env goes without."""
    env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":detect_leaks=0").lstrip(":")
    strace = need("strace", "strace")
    return [strace, "-f", "-qq", "-s", "512", "-o", log, "-e", "trace=" + ",".join(calls), *argv]


def run_program(workdir, scratch, user=None, extra_env=None, trace=True):
    """Starts the program in workdir, waits for the settled start screen, closes it."""
    program = os.path.abspath(xdrive.program_path())
    if user:
        program = reachable_copy(program, os.path.dirname(scratch))
    env = dict(os.environ)
    env.update(extra_env or {})
    # A desktop session has these: without them the libraries around Qt would create them.
    env["XDG_RUNTIME_DIR"] = owned_dir(scratch, "runtime", user)
    env["HOME"] = owned_dir(scratch, "home", user)
    run = Run()
    argv = [program]
    if trace:
        log = os.path.join(scratch, "trace.log")
        argv = traced(argv, log, WRITING + LOOKUPS, env)
        run.trace = log
    # A session bus, as on a desktop: without one, libdbus would launch its own and write files.
    argv = [need("dbus-run-session", "dbus")] + ["--"] + argv
    if user:
        pw = pwd.getpwnam(user)
        argv = [
            need("setpriv", "util-linux"),
            f"--reuid={pw.pw_uid}",
            f"--regid={pw.pw_gid}",
            "--clear-groups",
            "--",
        ] + argv
        if trace:
            os.chown(scratch, pw.pw_uid, pw.pw_gid)
    p = Program(argv, cwd=workdir, env=env, stderr_path=os.path.join(scratch, "stderr.txt"))
    try:
        started = time.monotonic()
        win = p.wait_window(TITLE, timeout=STARTUP_BOUND)
        run.startup = time.monotonic() - started
        width, height, data = settled_image(p, win)
        run.checksum = hashlib.sha256(data).hexdigest() + f" {width}x{height}"
        run.navy = count_colour(data, NAVY)
        p.close(win)
        run.exit_code = p.wait_exit(timeout=10 * FACTOR)
    finally:
        p.kill()
        run.stderr = p.stderr()
        global LAST_STDERR
        LAST_STDERR = run.stderr
    return run


def calls(log):
    """(syscall, arguments, result) of each traced call, unfinished ones joined."""
    pending = {}
    with open(log, errors="replace") as f:
        for line in f:
            # strace pads the pid column: short pids are followed by more than one blank.
            pid, _, rest = line.rstrip("\n").partition(" ")
            rest = rest.lstrip()
            if rest.endswith("<unfinished ...>"):
                pending[pid] = rest[: -len("<unfinished ...>")]
                continue
            m = re.match(r"<\.\.\. (\w+) resumed>(.*)", rest)
            if m:
                rest = pending.pop(pid, m.group(1) + "(") + m.group(2)
            m = re.match(r"(\w+)\((.*)\)\s+=\s+(-?\d+|\?)", rest)
            if m:
                yield m.group(1), m.group(2), m.group(3)


def writes(log):
    """Every traced call that wrote, created or removed a file, as strace showed it."""
    found = []
    for name, args, result in calls(log):
        ok = result != "?" and int(result) >= 0
        if name in ("open", "openat"):
            if ok and any(flag in args for flag in WRITE_FLAGS):
                found.append(f"{name}({args}) = {result}")
        elif name in WRITING and ok:
            found.append(f"{name}({args}) = {result}")
    return found


def check_trace(run):
    opens_of_settings = []
    looked_up = False
    for name, args, _ in calls(run.trace):
        mentions_settings = f'"{SETTINGS}"' in args or f'/{SETTINGS}"' in args
        if name in LOOKUPS:
            looked_up = looked_up or mentions_settings
        elif name in ("open", "openat") and mentions_settings:
            opens_of_settings.append(args)
    written = writes(run.trace)
    if written:
        raise Failure("files written, created or removed:\n  " + "\n  ".join(written))
    if not looked_up and not opens_of_settings:
        raise Failure(f"the program never looked for {SETTINGS}")
    if len(opens_of_settings) > 1:
        raise Failure(f"{SETTINGS} opened {len(opens_of_settings)} times")
    for args in opens_of_settings:
        if any(flag in args for flag in WRITE_FLAGS):
            raise Failure(f"{SETTINGS} opened for writing: {args}")
    return len(opens_of_settings)


def check_run(run, what):
    if run.exit_code != 0:
        raise Failure(f"{what}: exit code {run.exit_code}\n{run.stderr[-2000:]}")
    if run.startup > STARTUP_BOUND:
        raise Failure(f"{what}: the start screen took {run.startup:.2f} s")
    if run.trace:
        run.opens = check_trace(run)


# The working directories ------------------------------------------------------------------------


def prepare(case, workdir):
    path = os.path.join(workdir, SETTINGS)
    if case == "missing":
        pass
    elif case == "directory":
        os.mkdir(path)
    elif case == "unreadable":
        with open(path, "w") as f:
            f.write("[Impostazioni]\n")
        os.chmod(path, 0)
    elif case == "dangling-symlink":
        os.symlink("nessun-file-qui.dat", path)
    elif case == "looping-symlink":
        os.symlink("anello.dat", path)
        os.symlink(SETTINGS, os.path.join(workdir, "anello.dat"))
    elif case == "fifo":
        os.mkfifo(path)  # nobody will ever write to it
    elif case == "device":
        os.symlink("/dev/zero", path)
    elif case == "sparse":
        with open(path, "wb") as f:
            for size in (1 << 40, 1 << 36, 1 << 32):  # 1 TiB, or what the file system allows
                try:
                    f.truncate(size)
                    break
                except OSError:
                    continue
    else:
        raise SystemExit(f"unknown case {case}")


def settings_case(case):
    user = None
    if case == "unreadable" and os.geteuid() == 0:
        # root reads any file: the unreadable file is only unreadable to someone else.
        need("setpriv", "util-linux")
        user = "nobody"
    with tempfile.TemporaryDirectory() as root, private_x():
        os.chmod(root, 0o755)
        base_dir = os.path.join(root, "base")
        case_dir = os.path.join(root, "case")
        for d in (base_dir, case_dir):
            os.mkdir(d)
            os.chmod(d, 0o755)
        prepare(case, case_dir)
        base_scratch = os.path.join(root, "scratch-base")
        os.mkdir(base_scratch)
        base = run_program(base_dir, base_scratch, user)
        check_run(base, "no settings file")
        if case == "missing":
            print(f"start screen after {base.startup:.2f} s, nothing written")
            return
        scratch = os.path.join(root, "scratch-case")
        os.mkdir(scratch)
        run = run_program(case_dir, scratch, user)
        check_run(run, case)
        if run.checksum != base.checksum:
            raise Failure(f"{case}: the start screen differs from the one without settings file")
        print(
            f"{case}: start screen after {run.startup:.2f} s (without file {base.startup:.2f} s),"
            f" identical; settings file opened {run.opens} time(s), read-only; nothing written"
        )


FONTCONFIG = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>{fonts}</dir>
  <cachedir>{cache}</cachedir>
  <selectfont>
    <rejectfont>
      <glob>*Liberation*</glob>
      <glob>*arial*</glob>
      <glob>*Arial*</glob>
      <pattern><patelt name="family"><string>Liberation Sans</string></patelt></pattern>
      <pattern><patelt name="family"><string>Arial</string></patelt></pattern>
    </rejectfont>
  </selectfont>
</fontconfig>
"""


def fonts_case():
    fonts = "/usr/share/fonts/truetype/dejavu"
    if not os.path.isdir(fonts):
        print("skipped: no DejaVu fonts (Debian package fonts-dejavu-core)")
        sys.exit(SKIP)
    with tempfile.TemporaryDirectory() as root, private_x():
        os.chmod(root, 0o755)
        config = os.path.join(root, "fonts.conf")
        with open(config, "w") as f:
            f.write(FONTCONFIG.format(fonts=fonts, cache=os.path.join(root, "fontcache")))
        env = {"FONTCONFIG_FILE": config}
        fc_match = shutil.which("fc-match")
        if fc_match:
            for family in ("Arial", "Liberation Sans", "MS Sans Serif"):
                got = subprocess.run(
                    [fc_match, "-f", "%{family}", family],
                    env=dict(os.environ, **env),
                    capture_output=True,
                    text=True,
                ).stdout
                if "Liberation" in got or "Arial" in got:
                    raise Failure(f"the font configuration still offers {got} for {family}")
        for d in ("base", "case", "scratch-base", "scratch-case"):
            os.mkdir(os.path.join(root, d))
        base = run_program(
            os.path.join(root, "base"), os.path.join(root, "scratch-base"), trace=False
        )
        check_run(base, "all fonts")
        run = run_program(
            os.path.join(root, "case"),
            os.path.join(root, "scratch-case"),
            extra_env=env,
            trace=False,
        )
        check_run(run, "no Arial, no Liberation")
        # The captions are drawn with a substitute: about as much navy text as with the fonts.
        if run.navy < base.navy // 3:
            raise Failure(
                f"hardly any text drawn: {run.navy} navy pixels, {base.navy} with"
                " the usual fonts"
            )
        print(
            f"without Arial and Liberation: start screen after {run.startup:.2f} s,"
            f" {run.navy} navy text pixels ({base.navy} with the usual fonts)"
        )


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    case = sys.argv[1]
    try:
        if case == "fonts":
            fonts_case()
        else:
            settings_case(case)
    except Unavailable as e:
        print(f"skipped: {e}")
        sys.exit(SKIP)
    except (Failure, xdrive.Timeout) as e:
        print(f"FAIL {case}: {e}")
        if LAST_STDERR:
            print("program's error output:\n" + LAST_STDERR[-3000:])
        sys.exit(1)


if __name__ == "__main__":
    main()

"""A private Wayland session for the real-window tests: sway on its headless backend (no screen,
no input devices: keys come from virtual keyboards, see vkbd.py), one output of 1280x1024, and
the program under test started in it on Qt's Wayland platform.

sway tiles: the start window alone fills the output; once the game opens, the two share it side
by side, 640x1024 each, and the program lays each out in proportion to its size.

sway refuses to run as root, and the tests often run as root (CI does): then the compositor and
the program run as the unprivileged user "nobody", from a world-readable scratch copy of the
program (the checkout may sit in a folder only root can enter). The test's own clients (grim,
swaymsg, wtype, the layout keyboard) reach the compositor through its socket. Every wait is
bounded and polls; the scratch folder and every process started go at the end.
"""

import glob
import json
import os
import pwd
import shutil
import subprocess
import tempfile

from desktop import Processes  # tests/support, on the path of every real-window test
from xdrive import wait_until  # tests/e2e, likewise


class Unavailable(RuntimeError):
    """The compositor cannot start here."""


CONFIG = """\
output HEADLESS-1 resolution 1280x1024 position 0 0
default_border none
default_floating_border none
focus_follows_mouse no
"""


class Sway(Processes):
    def __init__(self):
        super().__init__()
        self.scratch = None
        self.program_out = None

    def _start(self):
        sway = shutil.which("sway")
        if not sway:
            raise Unavailable("sway not found (Debian package sway)")
        self.scratch = tempfile.mkdtemp(prefix="tarvo-wayland-")
        os.chmod(self.scratch, 0o755)
        if os.getuid() == 0:
            user = pwd.getpwnam("nobody")
            self.uid, self.gid = user.pw_uid, user.pw_gid
            self.as_user = [
                "setpriv",
                f"--reuid={self.uid}",
                f"--regid={self.gid}",
                "--clear-groups",
                "--",
            ]
        else:
            self.uid, self.gid = os.getuid(), os.getgid()
            self.as_user = []
        self.runtime = os.path.join(self.scratch, "run")
        os.mkdir(self.runtime, 0o700)
        os.chown(self.runtime, self.uid, self.gid)
        config = os.path.join(self.scratch, "sway.conf")
        with open(config, "w") as f:
            f.write(CONFIG)
        os.chmod(config, 0o644)
        self.user_env = {
            "PATH": "/usr/bin:/bin",
            "HOME": self.runtime,
            "XDG_RUNTIME_DIR": self.runtime,
            "LANG": "C.UTF-8",
        }
        self.log = open(os.path.join(self.scratch, "sway.log"), "w+")
        env = dict(
            self.user_env,
            WLR_BACKENDS="headless",
            WLR_LIBINPUT_NO_DEVICES="1",
            WLR_RENDERER="pixman",
        )
        self.sway = self._spawn(
            self.as_user + [sway, "-c", config], env=env, stdout=self.log, stderr=subprocess.STDOUT
        )

        def ready():
            if self.sway.poll() is not None:
                self.log.seek(0)
                raise Unavailable(
                    f"sway ended at start ({self.sway.returncode}): " + self.log.read()[-1500:]
                )
            sockets = [
                p
                for p in glob.glob(os.path.join(self.runtime, "wayland-*"))
                if not p.endswith(".lock")
            ]
            ipc = glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock"))
            return sockets and ipc and (sockets[0], ipc[0])

        display, ipc = wait_until(ready, 15, "sway's sockets")
        self.display = os.path.basename(display)
        self.client_env = dict(
            os.environ, XDG_RUNTIME_DIR=self.runtime, WAYLAND_DISPLAY=self.display, SWAYSOCK=ipc
        )
        self.client_env.pop("DISPLAY", None)
        wait_until(lambda: self.outputs(), 10, "sway's output")

    def _spawn(self, argv, **kw):
        # The scratch folder as working directory: the checkout may be closed to the user.
        return super()._spawn(argv, cwd=self.scratch, **kw)

    def swaymsg(self, *args):
        out = subprocess.run(
            ["swaymsg", "-r", *args], env=self.client_env, capture_output=True, timeout=10
        )
        return json.loads(out.stdout) if out.returncode == 0 else None

    def outputs(self):
        return [o for o in self.swaymsg("-t", "get_outputs") or [] if o.get("active")]

    def start_program(self, binary, extra_env=(), name=None):
        """The program as the session's user, on Qt's Wayland platform, from a scratch copy
        (named `name`, for a second one beside the first)."""
        copy = os.path.join(self.scratch, name or os.path.basename(binary))
        shutil.copy(binary, copy)
        os.chmod(copy, 0o755)
        env = dict(
            self.user_env,
            WAYLAND_DISPLAY=self.display,
            QT_QPA_PLATFORM="wayland",
            **dict(extra_env),
        )
        out = open(copy + ".log", "w+")
        # The first program's output is the one a failure shows.
        self.program_out = self.program_out or out
        return self._spawn(self.as_user + [copy], env=env, stdout=out, stderr=subprocess.STDOUT)

    def program_log(self):
        if not self.program_out:
            return ""
        self.program_out.flush()
        self.program_out.seek(0)
        return self.program_out.read()

    def __exit__(self, *exc):
        super().__exit__(*exc)
        if self.scratch:
            shutil.rmtree(self.scratch, ignore_errors=True)
            self.scratch = None
        return False

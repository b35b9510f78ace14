"""Runs the installed Orca unchanged, except that its debug log is written line by line, so that a
test can read each utterance as soon as Orca has spoken it (Orca's own file is block-buffered and
loses its tail when Orca is killed)."""

import builtins
import runpy
import sys

LOG = next(a.split("=", 1)[1] for a in sys.argv if a.startswith("--debug-file="))
_open = builtins.open


def _lined_open(file, mode="r", *args, **kwargs):
    if file == LOG and "w" in mode and not args and "buffering" not in kwargs:
        kwargs["buffering"] = 1
    return _open(file, mode, *args, **kwargs)


builtins.open = _lined_open
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")

"""cmake --install of the current build into a scratch root, then the installed-tree checks.

Usage: check_install.py BUILD_DIR SCRATCH_DIR
"""

import shutil
import sys
from pathlib import Path

import treecheck


def main():
    build, scratch = Path(sys.argv[1]), Path(sys.argv[2])
    shutil.rmtree(scratch, ignore_errors=True)
    scratch.mkdir(parents=True)
    r = treecheck.run([treecheck.tool("cmake"), "--install", str(build), "--prefix",
                       str(scratch / "usr")])
    if r.returncode != 0:
        raise SystemExit(f"cmake --install failed:\n{r.stdout}{r.stderr}")
    f = treecheck.Failures()
    treecheck.check_tree(f, scratch)
    f.finish()


if __name__ == "__main__":
    main()

"""cmake --install of the current build into a scratch root, then the installed-tree checks.

Usage: check_install.py BUILD_DIR SCRATCH_DIR
"""

import os
import shutil
import sys
from pathlib import Path

import treecheck


def main():
    build, scratch = Path(sys.argv[1]), Path(sys.argv[2])
    manifest = build / "install_manifest.txt"
    if manifest.exists() and not os.access(manifest, os.W_OK):
        raise SystemExit(
            f"{manifest} belongs to {manifest.owner()}: a sudo cmake --install ran in"
            " this build tree. Remove the file (sudo rm) and install from a build"
            " folder of its own, as the README shows."
        )
    shutil.rmtree(scratch, ignore_errors=True)
    scratch.mkdir(parents=True)
    r = treecheck.run(
        [treecheck.tool("cmake"), "--install", str(build), "--prefix", str(scratch / "usr")]
    )
    if r.returncode != 0:
        raise SystemExit(f"cmake --install failed:\n{r.stdout}{r.stderr}")
    f = treecheck.Failures()
    treecheck.check_tree(f, scratch)
    f.finish()


if __name__ == "__main__":
    main()

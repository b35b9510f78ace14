"""The source tarball as a packager gets it: cpack --config CPackSourceConfig.cmake must give
tarvo-<version>.tar.xz holding exactly the files git tracks (as they are in the working tree),
under tarvo-<version>/, with no build trees or __pycache__.

Usage: check_source.py BUILD_DIR SOURCE_DIR SCRATCH_DIR VERSION
"""

import shutil
import subprocess
import sys
import tarfile
from pathlib import Path

import treecheck


def main():
    build, source, scratch, version = (
        Path(sys.argv[1]),
        Path(sys.argv[2]),
        Path(sys.argv[3]),
        sys.argv[4],
    )
    shutil.rmtree(scratch, ignore_errors=True)
    scratch.mkdir(parents=True)
    treecheck.cpack(build / "CPackSourceConfig.cmake", scratch)
    top = f"tarvo-{version}"
    tarball = scratch / f"{top}.tar.xz"
    if not tarball.is_file():
        raise SystemExit(f"no {tarball.name} in {sorted(p.name for p in scratch.iterdir())}")
    with tarfile.open(tarball) as t:
        members = t.getmembers()
    f = treecheck.Failures()
    outside = [m.name for m in members if m.name != top and not m.name.startswith(top + "/")]
    f.check(not outside, f"entries outside {top}/: {outside[:5]}")
    files = {
        m.name[len(top) + 1 :] for m in members if not m.isdir() and m.name.startswith(top + "/")
    }
    if (source / ".git").exists():
        tracked = subprocess.run(
            ["git", "-c", "core.quotePath=off", "ls-files", "--cached"],
            cwd=source,
            capture_output=True,
            text=True,
            check=True,
        ).stdout
        expected = {p for p in tracked.splitlines() if (source / p).exists()}
        f.check(not (expected - files), f"tracked but missing: {sorted(expected - files)[:10]}")
        f.check(not (files - expected), f"not tracked but packed: {sorted(files - expected)[:10]}")
    for needed in ("CMakeLists.txt", "README.md", "LICENSE", "src/main.cpp", ".gitignore"):
        f.check(needed in files, f"{needed} is not in the tarball")
    f.check(
        not [p for p in files if "__pycache__" in p or p.startswith("build")],
        "the tarball holds build trees or __pycache__",
    )
    f.finish()


if __name__ == "__main__":
    main()

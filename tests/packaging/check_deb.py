"""Builds the .deb from the current build, unpacks it into a scratch root, checks what it holds and
what it depends on, lets lintian judge it (not one tag of any level may show), and starts the
unpacked program on a private X server until its window shows and closes.

Usage: check_deb.py BUILD_DIR SCRATCH_DIR XDRIVE_DIR [WINDOW_TITLE]
"""

import re
import shutil
import subprocess
import sys
from pathlib import Path

import treecheck

HERE = Path(__file__).resolve().parent


def build_deb(build, out):
    r = treecheck.cpack(build / "CPackConfig.cmake", out, "-G", "DEB")
    debs = sorted(out.glob("*.deb"))
    if len(debs) != 1:
        raise SystemExit(f"cpack made {debs}, expected one .deb\n{r.stdout}")
    return debs[0]


def field(deb, name):
    return treecheck.run([treecheck.tool("dpkg-deb"), "-f", str(deb), name]).stdout.strip()


def depends(deb):
    """Package names of the Depends field, versions and alternatives' bars dropped."""
    names = set()
    for item in field(deb, "Depends").split(","):
        for alt in item.split("|"):
            names.add(alt.strip().split(" ")[0])
    return names


def check_control(f, deb):
    arch = subprocess.run(
        ["dpkg", "--print-architecture"], capture_output=True, text=True
    ).stdout.strip()
    f.check(field(deb, "Package") == "tarvo", f"package name is {field(deb, 'Package')!r}")
    f.check(
        deb.name.startswith("tarvo_") and deb.name.endswith(f"_{arch}.deb"),
        f"{deb.name} does not match tarvo_*_{arch}.deb",
    )
    deps = depends(deb)
    # Proof that dpkg-shlibdeps ran on the program: Qt Widgets is only known from its links.
    f.check("libqt6widgets6" in deps, f"Depends lacks libqt6widgets6: {sorted(deps)}")
    f.check("fonts-liberation2" in deps, f"Depends lacks fonts-liberation2: {sorted(deps)}")
    recommends = field(deb, "Recommends")
    f.check("qt6-wayland" in recommends, f"Recommends lacks qt6-wayland: {recommends!r}")
    desc = field(deb, "Description")
    f.check("\n" in desc and " ." in desc, f"Description has no English/Italian long part:\n{desc}")


def check_binary(f, binary):
    dyn = treecheck.run([treecheck.tool("readelf"), "-d", str(binary)]).stdout
    f.check(
        "RPATH" not in dyn and "RUNPATH" not in dyn,
        "the packaged program keeps a build-tree RPATH/RUNPATH",
    )
    sections = treecheck.run([treecheck.tool("readelf"), "-S", "-W", str(binary)]).stdout
    f.check(".debug_info" not in sections, "the packaged program is not stripped")
    f.check(".comment" not in sections, "the packaged program keeps the compiler's .comment")
    # Immediate binding and read-only relocations: Debian's hardening, independent of lintian.
    f.check(
        "BIND_NOW" in dyn or "FLAGS_1" in dyn and "NOW" in dyn,
        "the packaged program is not linked with immediate binding (-z now)",
    )
    headers = treecheck.run([treecheck.tool("readelf"), "-l", "-W", str(binary)]).stdout
    f.check("GNU_RELRO" in headers, "the packaged program has no read-only relocations (-z relro)")
    symbols = treecheck.run([treecheck.tool("readelf"), "--dyn-syms", "-W", str(binary)]).stdout
    f.check("__stack_chk_fail" in symbols, "the packaged program has no stack protector")


def check_lintian(f, deb):
    # Info tags count as well as errors and warnings; root may run it too.
    r = treecheck.run([treecheck.tool("lintian"), "--display-info", "--allow-root", str(deb)])
    tags = [line for line in r.stdout.splitlines() if re.match(r"^[EWIXO]: ", line)]
    f.check(
        r.returncode == 0 and not tags, f"lintian finds faults in {deb.name}:\n{r.stdout}{r.stderr}"
    )


def check_runs(f, binary, wm_class, xdrive_dir, title):
    argv = [
        "/usr/bin/python3",
        str(HERE.parent / "support/desktop.py"),
        "--",
        "/usr/bin/python3",
        str(HERE / "run_window.py"),
        str(xdrive_dir),
        str(binary),
        wm_class,
    ]
    if title:
        argv.append(title)
    # Bounded by the waits inside run_window.py; the timeout only guards against a hung Xvfb.
    r = subprocess.run(argv, capture_output=True, text=True, timeout=120)
    print(r.stdout, end="")
    f.check(
        r.returncode == 0, f"the unpacked program did not run and close cleanly:\n" f"{r.stderr}"
    )


def main():
    build, scratch, xdrive_dir = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
    title = sys.argv[4] if len(sys.argv) > 4 else None
    if not (xdrive_dir / "xdrive.py").is_file():
        raise SystemExit(f"no xdrive.py in {xdrive_dir}")
    shutil.rmtree(scratch, ignore_errors=True)
    root = scratch / "root"
    root.mkdir(parents=True)

    deb = build_deb(build, scratch / "cpack")
    print(f"built {deb.name}")
    r = treecheck.run([treecheck.tool("dpkg-deb"), "-x", str(deb), str(root)])
    if r.returncode != 0:
        raise SystemExit(f"dpkg-deb -x failed:\n{r.stderr}")

    f = treecheck.Failures()
    check_control(f, deb)
    check_lintian(f, deb)
    entry = treecheck.check_tree(f, root)
    binary = root / "usr/bin/tarvo"
    if binary.is_file():
        check_binary(f, binary)
        wm_class = entry.get("StartupWMClass", "") if entry is not None else ""
        check_runs(f, binary, wm_class, xdrive_dir, title)
    f.finish()


if __name__ == "__main__":
    main()

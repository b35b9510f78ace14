"""Checks an installed Tarvo tree (a scratch root holding usr/...): the exact file list, the desktop
entry and the AppStream metainfo against their validators, and that the names tying them together
(Exec, Icon, launchable) point at files that are really there.
"""

import configparser
import gzip
import re
import shutil
import struct
import subprocess
import xml.etree.ElementTree as ET
from pathlib import Path

APP_ID = "org.example.tarvo"
SOURCE = Path(__file__).resolve().parents[2]
ICON_SIZES = (32, 48, 64, 128)
XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"

# Every file the install puts down, relative to the prefix. Anything else is a stray install.
EXPECTED = {
    "bin/tarvo",
    f"share/applications/{APP_ID}.desktop",
    f"share/metainfo/{APP_ID}.metainfo.xml",
    f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
    *(f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES),
    "share/doc/tarvo/copyright",
    "share/doc/tarvo/changelog.gz",
    "share/man/man6/tarvo.6.gz",
}

TOOLS = {
    "desktop-file-validate": "desktop-file-utils",
    "appstreamcli": "appstream",
    "dpkg-deb": "dpkg",
    "cmake": "cmake",
    "cpack": "cmake",
    "readelf": "binutils",
    "lintian": "lintian",
}


class Failures:
    """Collects every fault of a run, so that one run reports them all."""

    def __init__(self):
        self.items = []

    def check(self, ok, message):
        if not ok:
            self.items.append(message)
        return ok

    def finish(self):
        if self.items:
            raise SystemExit("FAILED:\n  " + "\n  ".join(self.items))
        print("all checks passed")


def tool(name):
    path = shutil.which(name)
    if path is None:
        raise SystemExit(f"{name} is missing: install the Debian package {TOOLS[name]}")
    return path


def run(argv, **kw):
    return subprocess.run(argv, capture_output=True, text=True, **kw)


def cpack(config, out, *options):
    """cpack on one of the build's configurations, its package put in out; the run fails where
    cpack does."""
    r = run([tool("cpack"), *options, "--config", str(config), "-B", str(out)])
    if r.returncode != 0:
        raise SystemExit(f"cpack failed:\n{r.stdout}{r.stderr}")
    return r


def png_size(path):
    data = path.read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case-sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def check_desktop(f, prefix):
    path = prefix / f"share/applications/{APP_ID}.desktop"
    if not f.check(path.is_file(), f"no desktop entry at {path}"):
        return None
    # Some errors only print "will be fatal in the future" and still exit 0: any diagnostic fails.
    r = run([tool("desktop-file-validate"), str(path)])
    f.check(
        r.returncode == 0 and not (r.stdout + r.stderr).strip(),
        f"desktop-file-validate rejects {path.name}:\n{r.stdout}{r.stderr}",
    )
    entry = desktop_entry(path)
    binary = prefix / "bin" / entry.get("Exec", "").split(" ")[0]
    f.check(binary.is_file(), f"Exec={entry.get('Exec')} names no installed program")
    icon = entry.get("Icon", "")
    f.check(
        (prefix / f"share/icons/hicolor/scalable/apps/{icon}.svg").is_file(),
        f"Icon={icon} has no scalable icon",
    )
    for n in ICON_SIZES:
        png = prefix / f"share/icons/hicolor/{n}x{n}/apps/{icon}.png"
        if f.check(png.is_file(), f"Icon={icon} has no {n}x{n} icon"):
            f.check(png_size(png) == (n, n), f"{png} is {png_size(png)}, not a {n}x{n} PNG")
    return entry


def check_metainfo(f, root, prefix):
    path = prefix / f"share/metainfo/{APP_ID}.metainfo.xml"
    if not f.check(path.is_file(), f"no metainfo at {path}"):
        return
    # Pedantic hints count too: software centres show what the hints are about.
    r = run([tool("appstreamcli"), "validate", "--no-net", "--pedantic", "--explain", str(path)])
    f.check(
        r.returncode == 0 and "pedantic" not in r.stdout + r.stderr,
        f"appstreamcli validate rejects {path.name}:\n{r.stdout}{r.stderr}",
    )
    # The tree check also finds the desktop entry the launchable names.
    r = run([tool("appstreamcli"), "validate-tree", "--no-net", "--explain", str(root)])
    f.check(r.returncode == 0, f"appstreamcli validate-tree rejects {root}:\n{r.stdout}{r.stderr}")

    component = ET.parse(path).getroot()
    f.check(component.findtext("id") == APP_ID, f"metainfo id is not {APP_ID}")
    launchable = component.findtext("launchable[@type='desktop-id']")
    f.check(launchable == f"{APP_ID}.desktop", f"launchable {launchable} is not the desktop entry")
    for tag in ("name", "summary"):
        langs = {e.get(XML_LANG) for e in component.findall(tag)}
        f.check({None, "it"} <= langs, f"metainfo {tag} lacks English or Italian: {langs}")
    paragraphs = [p.get(XML_LANG) for p in component.findall("description/p")]
    f.check(
        paragraphs.count(None) == paragraphs.count("it") > 0,
        f"description paragraphs are not paired English/Italian: {paragraphs}",
    )
    check_centre_fields(f, component)


def check_centre_fields(f, component):
    """What software centres show besides the description."""
    f.check(bool((component.findtext("developer_name") or "").strip()), "no developer_name")
    homepage = component.findtext("url[@type='homepage']") or ""
    f.check(homepage.startswith("https://"), f"homepage URL is {homepage!r}")
    controls = {c.text for c in component.findall("supports/control")}
    f.check(
        {"keyboard", "pointing", "touch"} <= controls, f"supports lists only {sorted(controls)}"
    )
    f.check(component.find("content_rating[@type='oars-1.1']") is not None, "no OARS rating")
    versions = [r.get("version") for r in component.findall("releases/release")]
    f.check(bool(versions), "no releases entry")
    # The newest release is the version the build says it is.
    cmake = (SOURCE / "CMakeLists.txt").read_text()
    version = re.search(r"project\(tarvo VERSION ([0-9.]+)", cmake)
    f.check(
        version is not None and versions[:1] == [version.group(1)],
        f"newest release {versions[:1]} is not the project version",
    )
    # Each screenshot is one of the pictures scripts/screenshots takes into docs/, at its size.
    shots = component.findall("screenshots/screenshot/image")
    f.check(len(shots) >= 2, f"{len(shots)} screenshots, expected the start and the game screen")
    for image in shots:
        name = (image.text or "").rsplit("/", 1)[-1]
        picture = SOURCE / "docs" / name
        if f.check(picture.is_file(), f"screenshot {image.text} is not a picture in docs/"):
            size = (int(image.get("width", 0)), int(image.get("height", 0)))
            f.check(
                png_size(picture) == size,
                f"screenshot {name} is {png_size(picture)}, the metainfo says {size}",
            )


def check_svg(f, prefix):
    path = prefix / f"share/icons/hicolor/scalable/apps/{APP_ID}.svg"
    if path.is_file():
        f.check(
            ET.parse(path).getroot().tag == "{http://www.w3.org/2000/svg}svg",
            f"{path} is not an SVG document",
        )


def check_compressed(f, prefix):
    """Manual page and changelog: gzip without a name or date in the header, readable text."""
    for name in ("share/man/man6/tarvo.6.gz", "share/doc/tarvo/changelog.gz"):
        path = prefix / name
        if not path.is_file():
            continue
        head = path.read_bytes()[:10]
        f.check(
            head[:2] == b"\x1f\x8b" and not head[3] & 0x08 and head[4:8] == b"\0\0\0\0",
            f"{name} carries a file name or date in its gzip header",
        )
        text = gzip.decompress(path.read_bytes()).decode("utf-8")
        if name.endswith("tarvo.6.gz"):
            f.check(text.startswith('.\\"') or text.startswith(".TH"), f"{name} is no manual page")
            f.check(".SH NOME" in text, f"{name} is not the Italian manual page")
        else:
            f.check(text.startswith("tarvo ("), f"{name} is no Debian changelog")


def check_tree(f, root):
    """root holds usr/; returns the desktop entry for callers that need more of it."""
    prefix = root / "usr"
    found = {str(p.relative_to(prefix)) for p in prefix.rglob("*") if not p.is_dir()}
    f.check(not (EXPECTED - found), f"missing from the install: {sorted(EXPECTED - found)}")
    f.check(not (found - EXPECTED), f"unexpected in the install: {sorted(found - EXPECTED)}")
    f.check(
        not [p for p in root.iterdir() if p.name != "usr"],
        f"files outside usr/: {sorted(p.name for p in root.iterdir())}",
    )
    entry = check_desktop(f, prefix)
    check_metainfo(f, root, prefix)
    check_svg(f, prefix)
    check_compressed(f, prefix)
    return entry

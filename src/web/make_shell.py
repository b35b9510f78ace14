"""Writes the web edition's page around the program: its look (the CSS properties a command
prints from the model's, put in for @LOOK@) and the two Liberation Sans faces, cut down to the
characters the program's sources hold (every screen text is among them), as WOFF2 inside the page.
Usage: make_shell.py TEMPLATE OUTPUT "LOOK COMMAND" SOURCE..."""

import base64
import io
import os
import shlex
import subprocess
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# Debian 12 keeps Liberation 2 in a folder of its own; from Debian 13 on it is the only Liberation.
FOLDERS = ["/usr/share/fonts/truetype/liberation2", "/usr/share/fonts/truetype/liberation"]
FACES = {"@REGULAR@": "LiberationSans-Regular.ttf", "@BOLD@": "LiberationSans-Bold.ttf"}


def face(name):
    for folder in FOLDERS:
        path = os.path.join(folder, name)
        if os.path.exists(path):
            return path
    sys.exit(f"make_shell.py: {name} is in none of {FOLDERS} (Debian: fonts-liberation2)")


def characters(paths):
    chars = {chr(c) for c in range(32, 127)}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            chars.update(ch for ch in f.read() if ord(ch) > 127)
    return "".join(sorted(chars))


def woff2(path, text):
    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["kern"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6]  # the licence's copyright and names stay
    options.hinting = False
    options.desubroutinize = True
    font = TTFont(path, recalcTimestamp=False)  # the same bytes at every build
    sub = subset.Subsetter(options)
    sub.populate(text=text)
    sub.subset(font)
    out = io.BytesIO()
    font.flavor = "woff2"
    font.save(out)
    return base64.b64encode(out.getvalue()).decode("ascii")


def look(command):
    css = subprocess.run(shlex.split(command), check=True, capture_output=True, text=True).stdout
    if not css.startswith(":root {"):
        sys.exit(f"make_shell.py: {command} printed no look: {css[:80]!r}")
    return css.rstrip("\n")


def main():
    template, output, command, *sources = sys.argv[1:]
    text = characters(sources)
    with open(template, encoding="utf-8") as f:
        page = f.read()
    if page.count("@LOOK@") != 1:
        sys.exit(f"make_shell.py: {template} must hold @LOOK@ once")
    page = page.replace("@LOOK@", look(command))
    for mark, name in FACES.items():
        page = page.replace(mark, woff2(face(name), text))
    with open(output, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()

"""Writes the web edition's page around the program: the two Liberation Sans faces, cut down to
the characters the program's sources hold (every screen text is among them), as WOFF2 inside
the page. Usage: make_shell.py TEMPLATE OUTPUT SOURCE..."""

import base64
import io
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FACES = {
    "@REGULAR@": "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "@BOLD@": "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
}


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
    font = TTFont(path)
    sub = subset.Subsetter(options)
    sub.populate(text=text)
    sub.subset(font)
    out = io.BytesIO()
    font.flavor = "woff2"
    font.save(out)
    return base64.b64encode(out.getvalue()).decode("ascii")


def main():
    template, output, *sources = sys.argv[1:]
    text = characters(sources)
    with open(template, encoding="utf-8") as f:
        page = f.read()
    for mark, path in FACES.items():
        page = page.replace(mark, woff2(path, text))
    with open(output, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()

"""Draws the web app's icons (PNG) from the shapes a command prints: the game screen's tarvo area,
as icon_web.cpp reads it from the screen table. Lines of the command's output, in twips:
  area WIDTH HEIGHT BACK            the area and its background
  centre X Y                        the tarvo's centre, the icon's centre
  oval|box X Y WIDTH HEIGHT FILL [BORDER PEN]   back to front; a pen lies inside the outline
Colours are #rrggbb or none. Usage: make_icons.py OUTPUT_FOLDER COMMAND..."""

import math
import os
import struct
import subprocess
import sys
import zlib

# File, size in pixels, the manifest's purpose (None: the Home Screen icon of iPadOS, which the
# page names and the manifest does not). Every icon is opaque, the area's background to its edges;
# a maskable icon keeps its drawing within the central circle of 40% of its size that every mask
# leaves whole, and the others within 47%, inside the rounded corners launchers cut.
ICONS = [
    ("icon-192.png", 192, "any"),
    ("icon-512.png", 512, "any"),
    ("icon-maskable-512.png", 512, "maskable"),
    ("apple-touch-icon.png", 180, None),
]
REACH = {"maskable": 0.40}
DEFAULT_REACH = 0.47


def rgb(text):
    return None if text == "none" else tuple(int(text[i : i + 2], 16) for i in (1, 3, 5))


def read(lines):
    back, centre, shapes = None, None, []
    for line in lines:
        word, *rest = line.split()
        if word == "area":
            back = rgb(rest[2])
        elif word == "centre":
            centre = tuple(map(float, rest))
        elif word in ("oval", "box"):
            x, y, w, h = map(float, rest[:4])
            pen = (rgb(rest[5]), float(rest[6])) if len(rest) > 5 else None
            shapes.append((word, (x, y, x + w, y + h), rgb(rest[4]), pen))
        else:
            sys.exit(f"make_icons.py: cannot read {line!r}")
    if not back or not centre or not shapes:
        sys.exit("make_icons.py: the command printed no area, centre or shape")
    return back, centre, shapes


def reach(shape, centre):
    """How far from the centre the shape goes."""
    kind, (x0, y0, x1, y1), _, _ = shape
    cx, cy = centre
    if kind == "oval":
        return math.hypot((x0 + x1) / 2 - cx, (y0 + y1) / 2 - cy) + max(x1 - x0, y1 - y0) / 2
    return max(math.hypot(x - cx, y - cy) for x in (x0, x1) for y in (y0, y1))


def coverage(kind, box, px, py):
    """The share of the pixel whose top left corner is (px, py) inside the oval or box."""
    x0, y0, x1, y1 = box
    if kind == "box":
        return max(0.0, min(px + 1, x1) - max(px, x0)) * max(0.0, min(py + 1, y1) - max(py, y0))
    a, b = (x1 - x0) / 2, (y1 - y0) / 2
    if a <= 0 or b <= 0:
        return 0.0
    x, y = px + 0.5 - (x0 + a), py + 0.5 - (y0 + b)
    k = math.hypot(x / a, y / b)
    if k == 0:
        return 1.0
    # The distance to the outline, to first order: exact for a circle.
    distance = (k - 1) / (math.hypot(x / (a * a), y / (b * b)) / k)
    return min(1.0, max(0.0, 0.5 - distance))


def paint(pixels, size, kind, box, colour, hole=None):
    """Lays `colour` over the pixels the shape covers (less those of the shape `hole`)."""
    x0, y0, x1, y1 = box
    for py in range(max(0, int(y0)), min(size, math.ceil(y1))):
        for px in range(max(0, int(x0)), min(size, math.ceil(x1))):
            c = coverage(kind, box, px, py)
            if hole:
                c = max(0.0, c - coverage(kind, hole, px, py))
            if c > 0:
                i = 3 * (py * size + px)
                pixels[i : i + 3] = [p + (q - p) * c for p, q in zip(pixels[i : i + 3], colour)]


def draw(back, centre, shapes, size, purpose):
    scale = size * REACH.get(purpose, DEFAULT_REACH) / max(reach(s, centre) for s in shapes)
    pixels = [float(v) for v in back] * (size * size)
    for kind, box, fill, pen in shapes:
        box = tuple(size / 2 + (v - centre[i % 2]) * scale for i, v in enumerate(box))
        inner = box
        if pen:
            # A pen of at least one pixel, so that the small icons keep their outlines.
            w = max(1.0, pen[1] * scale)
            inner = (box[0] + w, box[1] + w, box[2] - w, box[3] - w)
            paint(pixels, size, kind, box, pen[0], hole=inner if fill is None else None)
        if fill is not None:
            paint(pixels, size, kind, inner, fill)
    return bytes(min(255, max(0, round(v))) for v in pixels)


def png(size, rgb_bytes):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    stride = 3 * size
    rows = b"".join(b"\0" + rgb_bytes[y * stride : (y + 1) * stride] for y in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(rows, 9))
        + chunk(b"IEND", b"")
    )


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    folder, command = sys.argv[1], sys.argv[2:]
    out = subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True).stdout
    back, centre, shapes = read(line for line in out.splitlines() if line.strip())
    os.makedirs(folder, exist_ok=True)
    for name, size, purpose in ICONS:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(png(size, draw(back, centre, shapes, size, purpose)))


if __name__ == "__main__":
    main()

"""Makes the web app, a folder to publish on any static web host, from the one-file page: beside
the icons (make_icons.py, already in the folder) it writes index.html (the page, with its manifest,
its Home Screen icon and title, and its service worker registered; its policy lets in the manifest,
the worker and the images of its own origin, and nothing else), manifest.webmanifest, and sw.js
(the worker, from sw.js here) with each file's hash and a version made of them. Usage:
make_app.py PAGE PALETTE_H FOLDER"""

import hashlib
import json
import os
import re
import sys

from make_icons import ICONS

HERE = os.path.dirname(os.path.abspath(__file__))
MANIFEST = "manifest.webmanifest"
# What the page's policy gains: each directive as the one-file page has it, and as the app's.
POLICY = {
    "img-src data:;": "img-src data: 'self';",
    "worker-src 'none';": "worker-src 'self';",
    "manifest-src 'none';": "manifest-src 'self';",
}


def fail(message):
    sys.exit(f"make_app.py: {message}")


def background(palette):
    """The main screens' background, ColoreNormale (0x00BBGGRR), as #rrggbb."""
    with open(palette, encoding="utf-8") as f:
        found = re.findall(r"\bColoreNormale = 0x00([0-9A-Fa-f]{6});", f.read())
    if len(found) != 1:
        fail(f"{palette} must define ColoreNormale once")
    b, g, r = found[0][0:2], found[0][2:4], found[0][4:6]
    return f"#{r}{g}{b}".lower()


def once(text, old, new, where="the page"):
    if text.count(old) != 1:
        fail(f"{where} must hold {old!r} once")
    return text.replace(old, new)


def page(text, colour):
    policy = re.findall(r'<meta http-equiv="Content-Security-Policy" content="([^"]*)">', text)
    if len(policy) != 1:
        fail("the page must hold one Content-Security-Policy")
    rules = policy[0]
    for old, new in POLICY.items():
        rules = once(rules, old, new)
    text = once(text, policy[0], rules)
    head = (
        f'<link rel="manifest" href="{MANIFEST}">\n'
        '<link rel="icon" href="icon-192.png" type="image/png" sizes="192x192">\n'
        '<link rel="apple-touch-icon" href="apple-touch-icon.png">\n'
        '<meta name="apple-mobile-web-app-capable" content="yes">\n'
        '<meta name="mobile-web-app-capable" content="yes">\n'
        '<meta name="apple-mobile-web-app-title" content="Tarvo">\n'
        f'<meta name="theme-color" content="{colour}">\n'
    )
    text = once(text, "</title>\n", "</title>\n" + head)
    # After the program's start, so as not to delay it. Where there is no worker (a page not on
    # HTTPS), or its script is missing, the page plays all the same, online.
    register = (
        "<script>\n"
        "if ('serviceWorker' in navigator)\n"
        "  navigator.serviceWorker.register('sw.js').catch(function () {});\n"
        "</script>\n"
    )
    return once(text, "</body>", register + "</body>")


def manifest(colour):
    icons = [
        {"src": name, "sizes": f"{size}x{size}", "type": "image/png", "purpose": purpose}
        for name, size, purpose in ICONS
        if purpose
    ]
    return {
        "name": "Tarvo",
        "short_name": "Tarvo",
        "description": "Sottrazioni entro il 20",
        "lang": "it",
        "dir": "ltr",
        "id": "./",
        "start_url": "./",
        "scope": "./",
        "display": "fullscreen",
        "display_override": ["fullscreen", "standalone"],
        "background_color": colour,
        "theme_color": colour,
        "icons": icons,
    }


def main():
    if len(sys.argv) != 4:
        fail(__doc__)
    source, palette, folder = sys.argv[1:]
    colour = background(palette)
    with open(source, encoding="utf-8") as f:
        text = page(f.read(), colour)
    with open(os.path.join(folder, "index.html"), "w", encoding="utf-8") as f:
        f.write(text)
    with open(os.path.join(folder, MANIFEST), "w", encoding="utf-8") as f:
        json.dump(manifest(colour), f, ensure_ascii=False, indent=2)
        f.write("\n")
    files = {}
    for name in ["index.html", MANIFEST] + [name for name, _, _ in ICONS]:
        with open(os.path.join(folder, name), "rb") as f:
            files[name] = hashlib.sha256(f.read()).hexdigest()
    version = hashlib.sha256(json.dumps(files, sort_keys=True).encode()).hexdigest()[:16]
    with open(os.path.join(HERE, "sw.js"), encoding="utf-8") as f:
        worker = f.read()
    worker = once(worker, "@FILES@", json.dumps(files, indent=4), "sw.js")
    worker = once(worker, "@VERSION@", version, "sw.js")
    with open(os.path.join(folder, "sw.js"), "w", encoding="utf-8") as f:
        f.write(worker)


if __name__ == "__main__":
    main()

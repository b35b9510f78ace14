"""Writes the web edition's one file: the page (shell.html with its fonts, from make_shell.py) with
the program's code put in as base64 (a data element) and its script inline, in the script
that starts the code. Usage:
make_page.py PAGE SCRIPT WASM OUTPUT"""

import base64
import sys


def main():
    page, script, wasm, output = sys.argv[1:]
    with open(page, encoding="utf-8") as f:
        text = f.read()
    with open(script, encoding="utf-8") as f:
        code = f.read()
    if "</script" in code.lower():
        sys.exit("make_page.py: the script would end the page's <script> element early")
    with open(wasm, "rb") as f:
        program = base64.b64encode(f.read()).decode("ascii")
    for mark in ("@PROGRAM@", "{{{ SCRIPT }}}"):
        if text.count(mark) != 1:
            sys.exit(f"make_page.py: {page} must hold {mark} once")
    text = text.replace("@PROGRAM@", program)
    # In the same script as the code's start: the browser then reads no more of the page, and
    # paints nothing, between the two.
    text = text.replace("{{{ SCRIPT }}}", code)
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()

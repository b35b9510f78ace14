"""The real program as a screen reader meets it over AT-SPI: finds the application, walks the start
screen, follows the focus as SPACE scans and as the program moves it, opens the game and reads an
answer cell after a digit. Keys go in through XTEST, as from a keyboard.

Run under atspi-session (virtual display, D-Bus session, accessibility bus) with TARVO_BIN set to
the program and tests/e2e on PYTHONPATH.
"""

import os
import re
import sys
import tempfile

import pyatspi
from gi.repository import GLib

import xdrive

events = []


def heard(event):
    events.append((event.type, event.source, event.detail1))


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_until(condition, what, timeout=15.0):
    def pumped():
        pump()
        return condition()

    return xdrive.wait_until(pumped, timeout, what)


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def application():
    """The program on the accessibility bus, or None."""
    return next(
        (a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Tarvo"), None
    )


def frame(app, title):
    """The application's top-level window of this title, or None."""
    return next(
        (f for f in app if f is not None and f.name == title and f.getRole() == pyatspi.ROLE_FRAME),
        None,
    )


def named(node, role, name):
    for o in descendants(node):
        if o.getRole() == role and o.name == name:
            return o
    return None


def fresh(o):
    """The object as it is now, not as libatspi remembers it."""
    o.clear_cache()
    return o


def focused(o):
    return fresh(o).getState().contains(pyatspi.STATE_FOCUSED)


def focus_event_on(o):
    return any(
        source == o and (kind.startswith("focus") or detail == 1) for kind, source, detail in events
    )


def reader_env():
    """The environment of a program run for a screen reader: Qt's accessibility bridge always on,
    and Qt's own choice of platform for the display rather than one the tests may have set."""
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("QT_QPA_PLATFORM", None)
    return env


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def main():
    pyatspi.Registry.registerEventListener(
        heard, "focus:", "object:state-changed:focused", "object:property-change:accessible-name"
    )
    program = xdrive.Program(
        [os.path.abspath(xdrive.program_path())], cwd=tempfile.mkdtemp(), env=reader_env()
    )
    try:
        run(program)
    finally:
        program.kill()
        pyatspi.Registry.deregisterEventListener(
            heard,
            "focus:",
            "object:state-changed:focused",
            "object:property-change:accessible-name",
        )
    print("PASS: the screen reader found, followed and read the program")


def run(program):
    app = wait_until(application, "the application on the accessibility bus")
    start = wait_until(
        lambda: frame(app, "Tavole della moltiplicazione"), "the start window by its title"
    )
    program.focus(program.wait_window("Tavole della moltiplicazione"))

    # The start screen: its buttons by caption, its texts, nothing else in the way.
    buttons = [o for o in descendants(start) if o.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    names = [b.name for b in buttons]
    check(
        names == [str(n) for n in range(10, 21)] + ["Vai", "Ripristina", "Esci"],
        f"start screen buttons: {names}",
    )
    for b in buttons:
        states = b.getState()
        check(
            states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_ENABLED),
            f"button {b.name} is not focusable and enabled",
        )
    # By number: the names are at-spi2-core's to change ("push button" became "button").
    allowed = {
        pyatspi.ROLE_FILLER,
        pyatspi.ROLE_PANEL,
        pyatspi.ROLE_LABEL,
        pyatspi.ROLE_PUSH_BUTTON,
        pyatspi.ROLE_MENU_BAR,
        pyatspi.ROLE_MENU_ITEM,
    }
    unexpected = {o.getRoleName() for o in descendants(start) if o.getRole() not in allowed}
    check(not unexpected, f"unexpected roles on the start screen: {unexpected}")
    texts = [o.name for o in descendants(start) if o.getRole() == pyatspi.ROLE_LABEL]
    check(
        texts[0] == "TARVO: sottraggo" and texts[-1] == "Il nuovo software di Vadorne",
        f"start screen texts: {texts}",
    )

    ten = named(start, pyatspi.ROLE_PUSH_BUTTON, "10")
    eleven = named(start, pyatspi.ROLE_PUSH_BUTTON, "11")
    wait_until(lambda: focused(ten), "the focus on '10'")

    # SPACE scans: the reader hears the focus move to the next button.
    events.clear()
    program.tap("space")
    wait_until(lambda: focus_event_on(eleven), "a focus event on '11'")
    check(focused(eleven) and not focused(ten), "the focused state did not move to '11'")

    # A reader's press on "15" chooses it; the program moves the focus to "Vai".
    fifteen = named(start, pyatspi.ROLE_PUSH_BUTTON, "15")
    vai = named(start, pyatspi.ROLE_PUSH_BUTTON, "Vai")
    action = fifteen.queryAction()
    check(
        any(action.getName(i) == "Press" for i in range(action.nActions)),
        "no press action on a button",
    )
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
    wait_until(lambda: focus_event_on(vai), "a focus event on 'Vai'")
    check(focused(vai), "'Vai' does not say it is focused")

    # ENTER on "Vai" opens the game.
    program.tap("Return")
    game = wait_until(lambda: frame(app, "Form1"), "the game window")
    program.focus(program.wait_window("Form1"))
    texts = [o for o in descendants(game) if o.getRole() == pyatspi.ROLE_LABEL]
    check(texts and texts[0].name == "15", f"the centre number reads {texts[0].name!r}")
    cell = texts[2]
    match = re.fullmatch(r"15 meno (\d+) uguale \?", cell.name)
    check(match is not None, f"the first answer cell reads {cell.name!r}")
    check(texts[1].name == match.group(1), "the first subtrahend is not read before its cell")
    answer = str(15 - int(match.group(1)))
    zero = named(game, pyatspi.ROLE_PUSH_BUTTON, "0")
    wait_until(lambda: focused(zero), "the focus on '0'")

    # Each digit changes the cell's sentence, and the reader is told so. A person's pace: the
    # next key once the last one has shown (two presses of one key within a millisecond read as
    # a held key on X11).
    for typed in range(1, len(answer) + 1):
        events.clear()
        program.tap(answer[typed - 1])
        expected = f"15 meno {match.group(1)} uguale {answer[:typed]}"
        wait_until(
            lambda: any(
                kind.startswith("object:property-change:accessible-name") and source == cell
                for kind, source, _ in events
            ),
            "a name change of the answer cell",
        )
        wait_until(lambda: fresh(cell).name == expected, f"the cell to read {expected!r}")
    avanti = named(game, pyatspi.ROLE_PUSH_BUTTON, "Avanti")
    wait_until(
        lambda: fresh(avanti).getState().contains(pyatspi.STATE_ENABLED),
        "'Avanti' to say it is enabled",
    )


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"FAIL: {e}", file=sys.stderr)
        sys.exit(1)

"""A whole tarvo played by ear with the real Orca screen reader as the judge.

Each run has a desktop of its own (Xvfb, openbox, D-Bus session, accessibility bus) on which the
accessibility bus reports "not enabled", as on a desktop where nobody has switched it on; Orca
speaks through speech-dispatcher (its dummy output: nothing is played) and logs every utterance
to its debug file. The test presses keys through XTEST and plays only by what Orca says: it reads
each ray's subtrahend from the spoken sentence, gives one answer wrong, corrects it after the
check and reaches the celebration. Orca is started before the program in one run and after it in
the other, as a teacher may turn it on mid-lesson.

Exit code 77 (skipped) only where Orca or speech-dispatcher is not installed.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import xdrive  # noqa: E402
from desktop import Desktop, a11y_bus  # noqa: E402
from tarvo_ui import BLINK_PALE, BLINK_YELLOW, START_TITLE, Screen, same  # noqa: E402

N = 15
WRONG_RAY = 3
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'\s*\{")
# Logged just before Orca enters its event loop (43: registry, 48: main event loop). Orca 48 speaks
# the focused control at its start before it registers for the program's events, so a key sent on
# that utterance alone moves the focus while nobody listens, and the move is never told.
LISTENING = re.compile(r"ORCA: Starting (ATSPI registry|Atspi main event loop)")
RAY = re.compile(r"(\d+) meno (\d+) uguale quanto\?")


class Heard:
    """Orca's utterances, in order, read from its debug log as Orca writes it."""

    def __init__(self, log):
        self.log = log
        self.said = []
        self.next = 0  # the first utterance not yet matched by expect()
        self._offset = 0
        self._partial = ""
        self.listening = False

    def _read(self):
        if not os.path.exists(self.log):
            return
        with open(self.log, encoding="utf-8", errors="replace") as f:
            f.seek(self._offset)
            chunk = f.read()
            self._offset = f.tell()
        lines = (self._partial + chunk).split("\n")
        self._partial = lines.pop()
        for line in lines:
            m = UTTERANCE.search(line)
            if m:
                self.said.append(m.group(1))
            elif LISTENING.search(line):
                self.listening = True

    def expect(self, pattern, what, timeout=20.0):
        """Waits for an utterance after the last one expected that matches pattern; returns the
        match. Utterances in between (key echo, focus) are passed over."""
        rx = re.compile(pattern)

        def found():
            self._read()
            for i in range(self.next, len(self.said)):
                m = rx.search(self.said[i])
                if m:
                    self.next = i + 1
                    return m
            return None

        try:
            return xdrive.wait_until(found, timeout, what)
        except xdrive.Timeout:
            raise AssertionError(f"Orca never said {what}; it said: {self.said[-15:]}") from None

    def wait_listening(self):
        def listening():
            self._read()
            return self.listening

        xdrive.wait_until(listening, 20.0, "Orca to listen for the program's events")

    def count(self, pattern):
        self._read()
        rx = re.compile(pattern)
        return sum(1 for s in self.said if rx.search(s))


class Orca:
    """Real Orca, with a home, settings and a speech-dispatcher of its own in scratch."""

    def __init__(self, scratch):
        self.scratch = scratch
        self.log = os.path.join(scratch, "orca.log")
        self.own = dict(
            HOME=scratch,
            XDG_RUNTIME_DIR=scratch,
            XDG_CONFIG_HOME=os.path.join(scratch, "config"),
            XDG_DATA_HOME=os.path.join(scratch, "data"),
            XDG_CACHE_HOME=os.path.join(scratch, "cache"),
            LANG="C.UTF-8",
        )
        speechd = os.path.join(scratch, "config", "speech-dispatcher")
        os.makedirs(speechd)
        with open(os.path.join(speechd, "speechd.conf"), "w") as f:
            f.write(
                'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n'
                f'LogDir "{scratch}"\nLogLevel 2\n'
            )
        self.proc = None

    def start(self):
        out = open(os.path.join(self.scratch, "orca.out"), "w")
        self.proc = subprocess.Popen(
            [
                "/usr/bin/python3",
                os.path.join(HERE, "lined_orca.py"),
                "--replace",
                "--debug-file=" + self.log,
            ],
            env=dict(os.environ, **self.own),
            stdout=out,
            stderr=subprocess.STDOUT,
        )

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        # Orca spawned speech-dispatcher, which leaves its pid in the scratch directory.
        pidfile = os.path.join(self.scratch, "speech-dispatcher", "pid", "speech-dispatcher.pid")
        if os.path.exists(pidfile):
            try:
                os.kill(int(open(pidfile).read().strip()), 15)
            except (ValueError, ProcessLookupError):
                pass


def accessibility_off():
    a11y_bus(
        "org.freedesktop.DBus.Properties.Set",
        "string:org.a11y.Status",
        "string:IsEnabled",
        "variant:boolean:false",
    )


def give(p, heard, answer):
    """Types an answer digit by digit; each digit is heard as what the cell now holds."""
    typed = ""
    for d in str(answer):
        typed += d
        p.tap_apart(d)
        heard.expect(rf"^(?:\w+ )?Risposta {typed}\.?$", f'"Risposta {typed}"')


def avanti(p):
    p.tap_apart("a")
    p.tap_apart("Return")


def play(p, heard):
    """From the start screen to a celebration and a new tarvo, by ear."""
    p.tap_apart("5")
    heard.expect(rf"^{N}\b", f'the focused choice "{N}"')
    p.tap_apart("Return")
    heard.expect(rf"Tarvo del {N}\.?$", f'"Tarvo del {N}"')
    p.tap_apart("Return")
    game = Screen.game(p)

    answers = []
    for ray in range(8):
        m = heard.expect(RAY.pattern, f"ray {ray} as a sentence")
        assert int(m.group(1)) == N, m.group(0)
        right = N - int(m.group(2))
        answers.append(right)
        if ray == 0:
            # A slip corrected with BACKSPACE, and a digit too many taken back with "C".
            p.tap_apart("9")
            heard.expect(r"Risposta 9\.?$", '"Risposta 9"')
            p.tap_apart("BackSpace")
            heard.expect(r"Risposta vuota\.?$", '"Risposta vuota" after BACKSPACE')
            give(p, heard, right)
            p.tap_apart("7")
            heard.expect(rf"Risposta {right}7\.?$", f'"Risposta {right}7"')
            p.tap_apart("c")
            heard.expect(rf"Risposta {right}\.?$", f'"Risposta {right}" after "Cancella"')
        else:
            give(p, heard, right + 1 if ray == WRONG_RAY else right)
        avanti(p)

    m = heard.expect(
        r"Controllati i raggi dal primo al (\w+): .*, da correggere il \1\. " + RAY.pattern,
        "the check's verdict",
    )
    assert m.group(1) == "quarto" and WRONG_RAY == 3, m.group(0)
    assert N - int(m.group(3)) == answers[WRONG_RAY], (m.group(0), answers)
    give(p, heard, answers[WRONG_RAY])
    avanti(p)
    heard.expect(r"Tutto il tarvo è giusto!", "the celebration")

    # Let the blink tick a few times (the cells change colour at every tick), then look back:
    # the celebration was said once, and the focus return at each tick says nothing new.
    seen = []

    def ticked():
        c = game.cells()[0]
        if not seen or not same(c, seen[-1]):
            seen.append(c)
        return len(seen) >= 5

    xdrive.wait_until(ticked, 15.0, "four blink ticks")
    assert all(same(c, BLINK_PALE) or same(c, BLINK_YELLOW) for c in seen[1:]), seen
    assert heard.count(r"Tutto il tarvo è giusto") == 1, heard.said
    assert heard.count(r"^Nuovo tarvo\b") <= 1, heard.said

    p.tap_apart("Return")  # "Nuovo tarvo" has the focus
    m = heard.expect(RAY.pattern, "the new tarvo's first ray")
    assert int(m.group(1)) == N, m.group(0)


def run(orca_first):
    scratch = tempfile.mkdtemp(prefix="orca-", dir=os.getcwd())
    orca = Orca(scratch)
    heard = Heard(orca.log)
    p = None
    try:
        with Desktop(wm=True, atspi=True):
            accessibility_off()
            if orca_first:
                orca.start()
                heard.expect(r".", "anything at its start")
            # Nothing of the reader's is set for the program: it finds out by itself.
            env = {k: v for k, v in os.environ.items() if k != "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"}
            p = xdrive.Program([xdrive.program_path()], env=env)
            p.wait_window(START_TITLE)
            if not orca_first:
                orca.start()
            heard.expect(rf"^{START_TITLE}\b", "the start window")
            heard.expect(r"^10\b", 'the focused choice "10"')
            heard.wait_listening()
            play(p, heard)
    finally:
        print(f"--- Orca said (started {'before' if orca_first else 'after'} the program):")
        for s in heard.said:
            print("   ", s)
        if p:
            p.kill()
        orca.stop()
    print(
        f"Orca {'before' if orca_first else 'after'} the program: {len(heard.said)} "
        "utterances, all expected ones heard in order"
    )
    shutil.rmtree(scratch, ignore_errors=True)


def main():
    for tool in (
        "/usr/bin/orca",
        "/usr/bin/speech-dispatcher",
        "/usr/lib/speech-dispatcher-modules/sd_dummy",
    ):
        if not os.path.exists(tool):
            print(f"SKIP: {tool} is not installed (Debian packages orca, speech-dispatcher)")
            return 77
    run(orca_first=True)
    run(orca_first=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())

#include "GameRig.h"
#include "LambdaEvents.h"
#include "TestPrint.h"
#include "input/GameKeypad.h"
#include "input/Highlight.h"

#include <QTest>

using namespace tarvo;
using namespace tarvo::test;

namespace {

constexpr int Shift = 1, Ctrl = 2, Alt = 4;

// The game screen with its keypad, both installed before the window loads, as the program does.
struct KeypadRig : GameRig {
    GameKeypad& keypad = game.useInput(std::make_unique<GameKeypad>(w, game));
    explicit KeypadRig(int centre = 15, std::initializer_list<int> first = {})
        : GameRig(centre, first, false)
    {
        start();
    }

    // KeyDown alone on the focused button; returns the key code as the handler left it.
    int keyDown(int code, int shift = 0)
    {
        w.raiseKeyDown(*w.focused(), code, shift);
        return code;
    }
    // KeyPress alone on the focused button; returns the character as the handler left it.
    int keyPress(int ascii)
    {
        w.raiseKeyPress(*w.focused(), ascii);
        return ascii;
    }
    void release() { w.raiseKeyUp(w.focused(), 0); }

    // A digit key as a person types it, on the main row or on the numeric keypad.
    void tapDigit(char d, bool numpad = false)
    {
        tapKey(w, (numpad ? vk::Numpad0 : vk::Digit0) + (d - '0'), d);
    }
    // Scanning: SPACE until button `index` has the focus, then ENTER.
    void scanTo(int index)
    {
        for (int steps = 0; focusedKey() != index; ++steps) {
            QVERIFY2(steps < NumeroTasti, "the scan never reaches the button");
            tapSpace(w);
        }
    }
    void scanAndEnter(int index)
    {
        scanTo(index);
        tapEnter(w);
    }

    // Buttons wearing the highlight colour.
    std::vector<int> highlighted()
    {
        std::vector<int> keys;
        for (int k = 0; k < NumeroTasti; ++k) {
            if (key(k).backColor() == ColoreEvidenziato)
                keys.push_back(k);
            else if (key(k).backColor() != ColoreNormale)
                keys.push_back(-1 - k); // neither colour: shows up as a failure
        }
        return keys;
    }
};

void verifyCelebrationKeypad(KeypadRig& r)
{
    for (int k = 0; k < NumeroTasti; ++k)
        QCOMPARE(r.key(k).enabled(), k >= TastoNuovoTarvo);
    QCOMPARE(r.focusedKey(), TastoNuovoTarvo);
}

void verifyNewTarvo(KeypadRig& r)
{
    QCOMPARE(r.caption(0), std::string("?"));
    for (int i = 1; i < 8; ++i)
        QCOMPARE(r.caption(i), std::string());
    QCOMPARE(r.w.at("Frame1").backColor(), std::optional<Bgr>(ColoreNormale));
    QVERIFY(!r.celebrating());
    for (int k = 0; k < NumeroTasti; ++k)
        QCOMPARE(r.key(k).enabled(), k <= TastoCancella);
}

} // namespace

class TestGameKeypad : public QObject {
    Q_OBJECT

private slots:
    void highlightFollowsTheFocusWhateverMovesIt()
    {
        KeypadRig r;
        QCOMPARE(r.highlighted(), std::vector<int> { 0 });
        r.tapDigit('7');
        QCOMPARE(r.highlighted(), std::vector<int> { 7 });
        tapSpace(r.w);
        QCOMPARE(r.highlighted(), std::vector<int> { 8 });
        tapKey(r.w, vk::C, 'c');
        QCOMPARE(r.highlighted(), std::vector<int> { TastoCancella });
        click(r.w, r.key(3));
        QCOMPARE(r.highlighted(), std::vector<int> { 3 });
        tapKey(r.w, vk::A, 'a');
        QCOMPARE(r.highlighted(), std::vector<int> { TastoAvanti });
        tapEnter(r.w); // "Avanti" hands the focus to "1"
        QCOMPARE(r.highlighted(), std::vector<int> { 1 });
        // A button left selected by the toolkit's own handling shows unselected on either move.
        r.key(4).setValue(true);
        r.key(1).setValue(true);
        r.w.setFocus(r.key(4));
        QVERIFY(!r.key(4).value());
        QVERIFY(!r.key(1).value());
    }

    void keyTable_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("shift");
        QTest::addColumn<std::string>("before");
        QTest::addColumn<std::string>("after");
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("codeAfter");
        QTest::addColumn<bool>("latched");
        QTest::addColumn<bool>("avanti");
        auto row = [](const char* name, int code, int shift, std::string before, std::string after,
                       int focus, int codeAfter, bool latched, bool avanti) {
            QTest::newRow(name) << code << shift << before << after << focus << codeAfter << latched
                                << avanti;
        };
        // The focus starts on "3"; `before` is typed into ray 0 first.
        // clang-format off
        //   name                      code  shift       before after  focus codeAfter latched avanti
        row("main-row 5",              53,   0,          "",    "5",   5,    53,   true,  true);
        row("keypad 7",                103,  0,          "",    "7",   7,    103,  true,  true);
        row("main-row 0 on ?",         48,   0,          "",    "?",   0,    48,   true,  true);
        row("keypad 0 after 1",        96,   0,          "1",   "10",  0,    96,   true,  true);
        row("digit with shift",        56,   Shift,      "",    "8",   8,    56,   true,  true);
        row("digit with ctrl alt",     105,  Ctrl | Alt, "",    "9",   9,    105,  true,  true);
        row("C on two digits",         67,   0,          "12",  "1",   10,   67,   true,  true);
        row("C on one digit",          67,   Shift,      "4",   "?",   10,   67,   true,  false);
        row("A while Avanti disabled", 65,   0,          "",    "?",   3,    65,   true,  false);
        row("A while Avanti enabled",  65,   Ctrl,       "4",   "4",   11,   65,   true,  true);
        row("N while disabled",        78,   0,          "4",   "4",   3,    78,   true,  true);
        row("E while disabled",        69,   Alt,        "",    "?",   3,    69,   true,  false);
        row("BACKSPACE on one digit",  8,    0,          "6",   "?",   3,    8,    true,  true);
        row("BACKSPACE on two digits", 8,    0,          "61",  "6",   3,    8,    true,  true);
        row("LEFT",                    37,   0,          "",    "?",   3,    37,   true,  false);
        row("UP",                      38,   0,          "",    "?",   3,    38,   true,  false);
        row("RIGHT",                   39,   0,          "",    "?",   3,    39,   true,  false);
        row("DOWN",                    40,   0,          "",    "?",   3,    40,   true,  false);
        row("V",                       86,   0,          "",    "?",   3,    86,   true,  false);
        row("F2",                      113,  0,          "",    "?",   3,    113,  true,  false);
        row("SPACE",                   32,   0,          "",    "?",   3,    0,    false, false);
        row("B",                       66,   0,          "",    "?",   3,    0,    false, false);
        row("Z with shift",            90,   Shift,      "",    "?",   3,    0,    false, false);
        row("HOME",                    36,   0,          "",    "?",   3,    0,    false, false);
        row("DELETE",                  46,   0,          "7",   "7",   3,    0,    false, true);
        row("ESCAPE",                  27,   0,          "",    "?",   3,    0,    false, false);
        row("F1",                      112,  0,          "",    "?",   3,    0,    false, false);
        row("TAB",                     9,    0,          "",    "?",   3,    0,    false, false);
        row("SHIFT alone",             16,   Shift,      "",    "?",   3,    0,    false, false);
        row("keypad minus",            109,  0,          "",    "?",   3,    0,    false, false);
        // clang-format on
    }
    void keyTable()
    {
        QFETCH(int, code);
        QFETCH(int, shift);
        QFETCH(std::string, before);
        QFETCH(std::string, after);
        QFETCH(int, focus);
        QFETCH(int, codeAfter);
        QFETCH(bool, latched);
        QFETCH(bool, avanti);
        KeypadRig r;
        r.type(before);
        r.w.setFocus(r.key(3));
        QCOMPARE(r.keyDown(code, shift), codeAfter);
        QCOMPARE(r.caption(0), after);
        QCOMPARE(r.focusedKey(), focus);
        QCOMPARE(r.keypad.keyLatched(), latched);
        QCOMPARE(r.avanti(), avanti);
        QVERIFY(!r.keypad.spaceLatched());
        r.release();
        QVERIFY(!r.keypad.keyLatched());
    }

    void charactersOtherThanSpaceAreDiscarded()
    {
        KeypadRig r;
        for (int ascii : { int('5'), int('c'), int('A'), 13, 8, 27 }) {
            QCOMPARE(r.keyPress(ascii), 0);
            QCOMPARE(r.focusedKey(), 0);
        }
        QCOMPARE(r.caption(0), std::string("?"));
        QVERIFY(!r.keypad.spaceLatched());
    }

    void heldKeyActsOnceUntilReleased()
    {
        KeypadRig r;
        pressKey(r.w, vk::Digit0 + 5, '5');
        pressKey(r.w, vk::Digit0 + 5, '5'); // the toolkit's repeat
        pressKey(r.w, vk::Digit0 + 5, '5');
        QCOMPARE(r.caption(0), std::string("5"));
        // A repeat is left alone, not swallowed.
        QCOMPARE(r.keyDown(vk::Digit0 + 5), vk::Digit0 + 5);
        r.release();
        pressKey(r.w, vk::Digit0 + 5, '5');
        QCOMPARE(r.caption(0), std::string("55"));
    }

    void whileADigitIsHeldOtherKeysWaitButSpaceScans()
    {
        KeypadRig r;
        pressKey(r.w, vk::Digit0 + 5, '5');
        QCOMPARE(r.focusedKey(), 5);
        QCOMPARE(r.keyDown(vk::Digit0 + 6), vk::Digit0 + 6);
        QCOMPARE(r.keyDown(vk::Home), vk::Home); // not even swallowed while latched
        QCOMPARE(r.caption(0), std::string("5"));
        QCOMPARE(r.focusedKey(), 5);
        pressKey(r.w, vk::Space, ' ');
        QCOMPARE(r.focusedKey(), 6);
        QCOMPARE(r.caption(0), std::string("5"));
        r.release();
        QVERIFY(!r.keypad.keyLatched());
        QVERIFY(!r.keypad.spaceLatched());
        r.tapDigit('6');
        QCOMPARE(r.caption(0), std::string("56"));
    }

    void whileSpaceIsHeldItScansOnceButKeysStillAct()
    {
        KeypadRig r;
        pressKey(r.w, vk::Space, ' ');
        QCOMPARE(r.focusedKey(), 1);
        pressKey(r.w, vk::Space, ' '); // repeat
        pressKey(r.w, vk::Space, ' ');
        QCOMPARE(r.focusedKey(), 1);
        QVERIFY(!r.keypad.keyLatched()); // SPACE is no key of the key table
        pressKey(r.w, vk::Digit0 + 6, '6');
        QCOMPARE(r.caption(0), std::string("6"));
        QCOMPARE(r.focusedKey(), 6);
        pressKey(r.w, vk::Space, ' ');
        QCOMPARE(r.focusedKey(), 6);
        r.release();
        tapSpace(r.w);
        QCOMPARE(r.focusedKey(), 7);
    }

    void releaseWithoutFocusStillClearsTheLatches()
    {
        KeypadRig r;
        pressKey(r.w, vk::Digit0 + 2, '2');
        pressKey(r.w, vk::Space, ' ');
        r.w.raiseKeyUp(nullptr, vk::Digit0 + 2);
        QVERIFY(!r.keypad.keyLatched());
        QVERIFY(!r.keypad.spaceLatched());
        r.tapDigit('2', true);
        QCOMPARE(r.caption(0), std::string("22"));
    }

    void digitKeysTypeEvenWhenTheirButtonIsDisabled()
    {
        // Only reachable with the digits disabled before any celebration; the write does not ask.
        KeypadRig r;
        r.key(4).setEnabled(false);
        r.tapDigit('4');
        QCOMPARE(r.caption(0), std::string("4"));
        QCOMPARE(r.focusedKey(), 0);
        // "C" is refused with "Cancella" disabled; BACKSPACE does not ask.
        r.key(TastoCancella).setEnabled(false);
        tapKey(r.w, vk::C, 'c');
        QCOMPARE(r.caption(0), std::string("4"));
        tapKey(r.w, vk::Back, 8);
        QCOMPARE(r.caption(0), std::string("?"));
    }

    void enterPressesTheFocusedDigitOrCancella_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<std::string>("after");
        for (int d = 0; d <= 9; ++d)
            QTest::addRow("digit %d", d) << d << "7" + std::to_string(d);
        QTest::newRow("Cancella") << int(TastoCancella) << std::string("?");
    }
    void enterPressesTheFocusedDigitOrCancella()
    {
        QFETCH(int, index);
        QFETCH(std::string, after);
        KeypadRig r;
        r.tapDigit('7');
        r.w.setFocus(r.key(index));
        tapEnter(r.w);
        QCOMPARE(r.caption(0), after);
        QCOMPARE(r.focusedKey(), index);
        QCOMPARE(r.avanti(), index != TastoCancella);
    }

    void enterOnAvantiFocusesOneBeforeMovingOn()
    {
        KeypadRig r;
        r.tapDigit('9');
        tapKey(r.w, vk::A, 'a');
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(0)); // "A" only moves the focus
        std::vector<std::string> events;
        LambdaEvents spy { r.w };
        spy.on.gotFocus = [&](Control& c) {
            events.push_back("focus " + std::to_string(c.index()));
            spy.inner().gotFocus(c);
        };
        spy.on.change = [&](Control& c) {
            events.push_back(c.name() + " " + std::to_string(c.index()) + " " + c.caption());
            spy.inner().change(c);
        };
        tapEnter(r.w);
        QCOMPARE(events, (std::vector<std::string> { "focus 1", "lblRisultato 1 ?" }));
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(1));
        QVERIFY(!r.avanti());
    }

    void everyMouseButtonActsOnPress_data()
    {
        QTest::addColumn<MouseButton>("button");
        QTest::newRow("left") << MouseButton::Left;
        QTest::newRow("right") << MouseButton::Right;
        QTest::newRow("middle") << MouseButton::Middle;
    }
    void everyMouseButtonActsOnPress()
    {
        QFETCH(MouseButton, button);
        KeypadRig r;
        mousePress(r.w, r.key(0), button);
        QCOMPARE(r.caption(0), std::string("?"));
        QVERIFY(r.avanti());
        mousePress(r.w, r.key(5), button);
        QCOMPARE(r.caption(0), std::string("5"));
        r.key(5).setValue(true); // as the toolkit's own handling of a click may leave it
        mouseRelease(r.w, button);
        QVERIFY(!r.key(5).value());
        mousePress(r.w, r.key(2), button);
        mousePress(r.w, r.key(TastoCancella), button);
        QCOMPARE(r.caption(0), std::string("5"));
        QVERIFY(r.avanti());
        mousePress(r.w, r.key(TastoCancella), button);
        QCOMPARE(r.caption(0), std::string("?"));
        QVERIFY(!r.avanti());
        mousePress(r.w, r.key(TastoCancella), button);
        QCOMPARE(r.caption(0), std::string("?"));
        mousePress(r.w, r.key(8), button);
        mousePress(r.w, r.key(TastoAvanti), button);
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(1));
        QCOMPARE(r.focusedKey(), 1);
        QCOMPARE(r.caption(0), std::string("8"));
        // Mouse presses neither set nor need the key latches.
        QVERIFY(!r.keypad.keyLatched());
    }

    void mouseActsWhileAKeyIsHeld()
    {
        KeypadRig r;
        pressKey(r.w, vk::Digit0 + 1, '1');
        click(r.w, r.key(2));
        QCOMPARE(r.caption(0), std::string("12"));
        QVERIFY(r.keypad.keyLatched());
    }

    void disabledButtonsTakeNoPress()
    {
        KeypadRig r;
        r.tapDigit('3');
        click(r.w, r.key(TastoNuovoTarvo));
        click(r.w, r.key(TastoEsco), MouseButton::Right);
        QCOMPARE(r.caption(0), std::string("3"));
        QVERIFY(r.host.calls.empty());
        QCOMPARE(r.focusedKey(), 3);

        r.game.CancellaCifra(true);
        r.enterAll();
        r.w.raiseTimer(r.w.at("Timer3"));
        click(r.w, r.key(4));
        click(r.w, r.key(TastoAvanti));
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(8));
        verifyCelebrationKeypad(r);
    }

    void scanningVisitsEnabledButtonsInIndexOrder()
    {
        KeypadRig r;
        std::vector<int> visited;
        for (int i = 0; i < 12; ++i) {
            tapSpace(r.w);
            visited.push_back(r.focusedKey());
        }
        QCOMPARE(visited, (std::vector<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1 }));

        // With a digit typed, "Avanti" joins the round (index order, not tab order).
        r.tapDigit('4');
        r.w.setFocus(r.key(9));
        visited.clear();
        for (int i = 0; i < 4; ++i) {
            tapSpace(r.w);
            visited.push_back(r.focusedKey());
        }
        QCOMPARE(visited, (std::vector<int> { TastoCancella, TastoAvanti, 0, 1 }));

        // From the last button the scan wraps to the first.
        r.key(TastoEsco).setEnabled(true);
        r.w.setFocus(r.key(TastoEsco));
        tapSpace(r.w);
        QCOMPARE(r.focusedKey(), 0);
    }

    void scanningAtTheEndOfATarvoAlternatesNuovoTarvoAndEsco()
    {
        KeypadRig r;
        r.enterAll();
        r.w.raiseTimer(r.w.at("Timer3"));
        verifyCelebrationKeypad(r);
        tapSpace(r.w);
        QCOMPARE(r.focusedKey(), TastoEsco);
        tapSpace(r.w);
        QCOMPARE(r.focusedKey(), TastoNuovoTarvo);
        // Only one button left: the scan stays on it.
        r.key(TastoEsco).setEnabled(false);
        tapSpace(r.w);
        QCOMPARE(r.focusedKey(), TastoNuovoTarvo);
    }

    void lettersOnlyFocusNuovoTarvoAndEsco()
    {
        KeypadRig r;
        r.enterAll();
        r.w.raiseTimer(r.w.at("Timer3"));
        tapKey(r.w, vk::E, 'e');
        QCOMPARE(r.focusedKey(), TastoEsco);
        tapKey(r.w, vk::N, 'n');
        QCOMPARE(r.focusedKey(), TastoNuovoTarvo);
        QVERIFY(r.celebrating());
        QVERIFY(r.host.calls.empty());
        // The digit keys still reach the engine, which has no ray to write into.
        r.tapDigit('5');
        tapKey(r.w, vk::Back, 8);
        tapKey(r.w, vk::C, 'c');
        for (int i = 0; i < 8; ++i)
            QCOMPARE(r.caption(i), r.answer(i));
        QCOMPARE(r.focusedKey(), TastoNuovoTarvo);
    }

    void wholeTarvoByKeyboardOnly()
    {
        KeypadRig r(13);
        // Ray 4 wrong first, then corrected; digits from both rows.
        for (int i = 0; i < 8; ++i) {
            const std::string a = i == 4 ? r.wrongAnswer(i) : r.answer(i);
            for (char d : a)
                r.tapDigit(d, i % 2 == 1);
            tapKey(r.w, vk::A, 'a');
            tapEnter(r.w);
        }
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(4));
        QCOMPARE(r.cell(4).backColor(), std::optional<Bgr>(ColoreSbagliato));
        r.tapDigit('9');
        tapKey(r.w, vk::Back, 8);
        for (char d : r.answer(4))
            r.tapDigit(d);
        tapKey(r.w, vk::A, 'a');
        tapEnter(r.w);
        QVERIFY(r.celebrating());
        r.w.raiseTimer(r.w.at("Timer3"));
        verifyCelebrationKeypad(r);

        tapEnter(r.w); // on "Nuovo tarvo"
        verifyNewTarvo(r);
        // The release after the reset reached a button: the next key acts.
        r.tapDigit('2');
        QCOMPARE(r.caption(0), std::string("2"));

        tapKey(r.w, vk::C, 'c');
        for (int i = 0; i < 8; ++i) {
            for (char d : r.answer(i))
                r.tapDigit(d, true);
            tapKey(r.w, vk::A, 'a');
            tapEnter(r.w);
        }
        r.w.raiseTimer(r.w.at("Timer3"));
        tapKey(r.w, vk::E, 'e');
        tapEnter(r.w);
        QCOMPARE(r.host.unloads(),
            (std::vector<ScreenId> { ScreenId::Operativo, ScreenId::Autore, ScreenId::Istruzioni,
                ScreenId::Operativo, ScreenId::Inizio }));
    }

    void wholeTarvoBySpaceAndEnterOnly()
    {
        // A tarvo of 10 that draws 10: one answer is 0, given as "?".
        KeypadRig r(10, { 3, 10, 7, 1, 9, 2, 8, 5 });
        QCOMPARE(r.state.Risultati[1], std::uint8_t(0));
        for (int i = 0; i < 8; ++i) {
            for (char d : r.answer(i))
                r.scanAndEnter(d - '0');
            r.scanAndEnter(TastoAvanti);
            QCOMPARE(r.focusedKey(), 1);
        }
        QVERIFY(r.celebrating());
        r.w.raiseTimer(r.w.at("Timer3"));
        verifyCelebrationKeypad(r);
        tapSpace(r.w);
        tapSpace(r.w);
        tapEnter(r.w);
        verifyNewTarvo(r);
        r.w.raiseTimer(r.w.at("Timer3")); // stopped: nothing happens
        QVERIFY(r.key(0).enabled());

        for (int i = 0; i < 8; ++i) {
            for (char d : r.answer(i))
                r.scanAndEnter(d - '0');
            r.scanAndEnter(TastoAvanti);
        }
        r.w.raiseTimer(r.w.at("Timer3"));
        r.scanAndEnter(TastoEsco);
        QVERIFY(r.host.loaded.empty());
    }

    void wholeTarvoByMouseOnly()
    {
        KeypadRig r(20);
        const std::array<MouseButton, 3> buttons { MouseButton::Left, MouseButton::Right,
            MouseButton::Middle };
        int n = 0;
        auto play = [&](int wrongRay) {
            for (int i = 0; i < 8; ++i) {
                for (char d : i == wrongRay ? r.wrongAnswer(i) : r.answer(i))
                    click(r.w, r.key(d - '0'), buttons[n++ % 3]);
                click(r.w, r.key(TastoAvanti), buttons[n++ % 3]);
            }
        };
        play(7);
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(7));
        click(r.w, r.key(TastoCancella));
        for (char d : r.answer(7))
            click(r.w, r.key(d - '0'), MouseButton::Right);
        click(r.w, r.key(TastoAvanti), MouseButton::Middle);
        QVERIFY(r.celebrating());
        r.w.raiseTimer(r.w.at("Timer3"));
        r.w.raiseTimer(r.w.at("Timer3"));
        verifyCelebrationKeypad(r);
        click(r.w, r.key(TastoNuovoTarvo), MouseButton::Right);
        verifyNewTarvo(r);

        play(-1);
        QVERIFY(r.celebrating());
        r.w.raiseTimer(r.w.at("Timer3"));
        click(r.w, r.key(TastoEsco), MouseButton::Middle);
        QVERIFY(r.host.loaded.empty());
    }
};

QTEST_GUILESS_MAIN(TestGameKeypad)
#include "tst_gamekeypad.moc"

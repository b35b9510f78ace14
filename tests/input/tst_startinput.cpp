#include "StartRig.h"
#include "input/Highlight.h"
#include "input/StartInput.h"

#include <QTest>

using namespace tarvo;
using namespace tarvo::test;

namespace {

// Records which routine each input reached, then runs the real one.
class Registro : public StartCommands {
public:
    explicit Registro(StartScreen& start)
        : start_(start)
    {
    }
    void ScegliTarvo(std::int16_t i) override
    {
        calls.push_back("ScegliTarvo " + std::to_string(i));
        start_.ScegliTarvo(i);
    }
    void EseguiComando(std::int16_t i) override
    {
        calls.push_back("EseguiComando " + std::to_string(i));
        start_.EseguiComando(i);
    }
    std::vector<std::string> calls;

private:
    StartScreen& start_;
};

// The start screen with every input recorded on its way to the screen's routines; shown without
// a Resize, so that no curtain runs.
struct Schermo : StartRig {
    Schermo()
        : StartRig(false, false)
    {
        show(false);
    }
    Registro registro { start };
    StartInput& input = start.useInput(std::make_unique<StartInput>(*w, registro));

    Control* focused() { return w->focused(); }
    // KeyDown on the focused button; the key code as the handler left it.
    int keyDown(int code)
    {
        w->raiseKeyDown(*w->focused(), code);
        return code;
    }
    int keyPress(int ascii)
    {
        w->raiseKeyPress(*w->focused(), ascii);
        return ascii;
    }
};

} // namespace

class TestStartInput : public QObject {
    Q_OBJECT

private slots:
    void digitKeysOnlyMoveTheFocus_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("target");
        QTest::newRow("main 2 to 12") << vk::Digit0 + 2 << 2;
        QTest::newRow("keypad 2 to 12") << vk::Numpad0 + 2 << 2;
        QTest::newRow("keypad * to 20") << vk::Multiply << 10;
        QTest::newRow("main 9 to 19") << vk::Digit0 + 9 << 9;
    }

    void digitKeysOnlyMoveTheFocus()
    {
        QFETCH(int, key);
        QFETCH(int, target);
        Schermo s;
        s.w->setFocus(s.choice(5));
        QCOMPARE(s.keyDown(key), key);
        QCOMPARE(s.focused(), &s.choice(target));
        QCOMPARE(*s.choice(target).backColor(), ColoreEvidenziato);
        QCOMPARE(*s.choice(5).backColor(), ColoreNormale);
        releaseKey(*s.w, key);
        tapKey(*s.w, vk::Digit0); // back to "10"
        QCOMPARE(s.focused(), &s.choice(0));
        QVERIFY(s.registro.calls.empty());
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(0));
    }

    void enterChoosesThenEnterOpens()
    {
        Schermo s;
        tapKey(*s.w, vk::Digit0 + 5);
        tapEnter(*s.w);
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(15));
        QCOMPARE(s.w->at("Label1").caption(), std::string("Tarvo del 15"));
        QCOMPARE(s.focused(), &s.command(0));
        QCOMPARE(*s.command(0).backColor(), ColoreEvidenziato);
        QCOMPARE(s.host.count('S', ScreenId::Operativo), 0);
        tapEnter(*s.w);
        QCOMPARE(s.host.count('S', ScreenId::Operativo), 1);
        QCOMPARE(
            s.registro.calls, (std::vector<std::string> { "ScegliTarvo 5", "EseguiComando 0" }));
    }

    void heldKeyActsOnceUntilReleased()
    {
        Schermo s;
        s.keyDown(vk::Digit0 + 3);
        s.keyDown(vk::Digit0 + 7); // still held: the latch ignores it
        QCOMPARE(s.focused(), &s.choice(3));
        s.keyDown(vk::Return);
        QVERIFY(s.registro.calls.empty());
        releaseKey(*s.w, vk::Digit0 + 3);
        s.keyDown(vk::Digit0 + 7);
        QCOMPARE(s.focused(), &s.choice(7));
    }

    void choiceGroupKeyTable_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("swallowed");
        QTest::newRow("S passes") << vk::S << false;
        QTest::newRow("N passes") << vk::N << false;
        QTest::newRow("left arrow") << vk::Left << true;
        QTest::newRow("down arrow") << vk::Down << true;
        QTest::newRow("A") << vk::A << true;
        QTest::newRow("keypad +") << vk::Add << true;
        QTest::newRow("F2") << vk::F2 << true;
    }

    void choiceGroupKeyTable()
    {
        QFETCH(int, key);
        QFETCH(bool, swallowed);
        Schermo s;
        s.w->setFocus(s.choice(4));
        QCOMPARE(s.keyDown(key), swallowed ? 0 : key);
        QCOMPARE(s.focused(), &s.choice(4));
        // A swallowed key does not latch: the next key acts at once.
        QCOMPARE(s.input.choiceLatches().key, !swallowed);
        QVERIFY(s.registro.calls.empty());
    }

    void commandGroupKeyTable_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("swallowed");
        QTest::newRow("0 to Vai") << vk::Digit0 << 2 << 0 << false;
        QTest::newRow("1 to Ripristina") << vk::Digit0 + 1 << 0 << 1 << false;
        QTest::newRow("2 does nothing") << vk::Digit0 + 2 << 0 << 0 << false;
        QTest::newRow("keypad 1 does nothing") << vk::Numpad0 + 1 << 0 << 0 << false;
        QTest::newRow("E passes") << vk::E << 1 << 1 << false;
        QTest::newRow("backspace passes") << vk::Back << 1 << 1 << false;
        QTest::newRow("down arrow") << vk::Down << 0 << 0 << true;
        QTest::newRow("up arrow") << vk::Up << 2 << 2 << true;
        QTest::newRow("S") << vk::S << 0 << 0 << true;
        QTest::newRow("keypad *") << vk::Multiply << 0 << 0 << true;
    }

    void commandGroupKeyTable()
    {
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, swallowed);
        Schermo s;
        s.w->setFocus(s.command(from));
        QCOMPARE(s.keyDown(key), swallowed ? 0 : key);
        QCOMPARE(s.focused(), &s.command(to));
        QCOMPARE(s.input.commandLatches().key, !swallowed);
        QVERIFY(!s.input.choiceLatches().key);
        QVERIFY(s.registro.calls.empty());
    }

    void scanningStaysInItsGroupAndWraps()
    {
        Schermo s;
        s.w->setFocus(s.choice(9));
        tapSpace(*s.w);
        QCOMPARE(s.focused(), &s.choice(10));
        tapSpace(*s.w);
        QCOMPARE(s.focused(), &s.choice(0));
        s.w->setFocus(s.command(1));
        tapSpace(*s.w);
        QCOMPARE(s.focused(), &s.command(2)); // "Esci" is reached by scanning
        tapSpace(*s.w);
        QCOMPARE(s.focused(), &s.command(0));
        QVERIFY(s.registro.calls.empty());
    }

    void heldSpaceMovesOneButtonOnly()
    {
        Schermo s;
        // Auto-repeat: KeyDown and KeyPress again and again, one release at the end.
        for (int i = 0; i < 5; ++i) {
            int code = vk::Space;
            s.w->raiseKeyDown(*s.focused(), code);
            QCOMPARE(code, 0); // SPACE is no key of the choice table
            QCOMPARE(s.keyPress(' '), int(' '));
        }
        QCOMPARE(s.focused(), &s.choice(1));
        releaseKey(*s.w, vk::Space);
        tapSpace(*s.w);
        QCOMPARE(s.focused(), &s.choice(2));
    }

    void otherCharactersAreSwallowedWithoutScanning()
    {
        Schermo s;
        QCOMPARE(s.keyPress('5'), 0);
        QCOMPARE(s.keyPress(13), 0);
        QCOMPARE(s.focused(), &s.choice(0));
        QVERIFY(!s.input.choiceLatches().space);
        s.w->setFocus(s.command(0));
        QCOMPARE(s.keyPress('a'), 0);
        QCOMPARE(s.focused(), &s.command(0));
    }

    void releaseClearsOnlyItsOwnGroup()
    {
        Schermo s;
        s.w->setFocus(s.command(1));
        s.keyDown(vk::Digit0 + 2); // latches the command group, focus stays
        s.w->setFocus(s.choice(3)); // e.g. by the tab key, key still down
        s.keyDown(vk::Digit0 + 4); // latches the choice group
        s.choice(4).setValue(true);
        releaseKey(*s.w, vk::Digit0 + 4);
        QVERIFY(!s.input.choiceLatches().key);
        QVERIFY(s.input.commandLatches().key);
        QVERIFY(!s.choice(4).value());
        // And the other way round, by the mouse.
        s.w->setFocus(s.choice(6));
        s.keyDown(vk::Digit0 + 6);
        s.command(2).setValue(true);
        s.w->raiseMouseUp(s.command(2), MouseButton::Left);
        QVERIFY(!s.input.commandLatches().key);
        QVERIFY(s.input.choiceLatches().key);
        QVERIFY(!s.command(2).value());
    }

    void commandKeyUpLeavesTheSelectedStateAlone()
    {
        Schermo s;
        s.w->setFocus(s.command(1));
        s.command(1).setValue(true);
        s.w->raiseKeyUp(&s.command(1), vk::Digit0 + 5);
        QVERIFY(s.command(1).value());
    }

    void releaseWithNoFocusRearmsBothGroups()
    {
        Schermo s;
        s.keyDown(vk::Digit0 + 1);
        tapSpace(*s.w);
        s.w->setFocus(s.command(0));
        s.keyDown(vk::Digit0 + 1);
        s.w->raiseKeyUp(nullptr, vk::Digit0 + 1);
        QVERIFY(!s.input.choiceLatches().key);
        QVERIFY(!s.input.commandLatches().key);
        QVERIFY(!s.input.choiceLatches().space);
    }

    // ENTER on "Ripristina" releases on "10"; a mouse choice releases on the choice button: the
    // command group's latch from that ENTER is still set when "Vai" gets the focus.
    void firstEnterOnVaiAfterRipristinaAndMouseChoiceDoesNothing()
    {
        Schermo s;
        tapKey(*s.w, vk::Digit0 + 8);
        tapEnter(*s.w); // "18" chosen, focus on "Vai"
        tapKey(*s.w, vk::Digit0 + 1); // to "Ripristina"
        QCOMPARE(s.focused(), &s.command(1));
        tapEnter(*s.w);
        QCOMPARE(s.focused(), &s.choice(0));
        click(*s.w, s.choice(2));
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(12));
        QCOMPARE(s.w->at("Label1").caption(), std::string("Tarvo del 12"));
        QCOMPARE(s.focused(), &s.command(0));
        tapEnter(*s.w);
        QCOMPARE(s.host.count('S', ScreenId::Operativo), 0);
        tapEnter(*s.w);
        QCOMPARE(s.host.count('S', ScreenId::Operativo), 1);
        const std::vector<std::string> expected { "ScegliTarvo 8", "EseguiComando 1",
            "ScegliTarvo 2", "EseguiComando 0" };
        QCOMPARE(s.registro.calls, expected);
    }

    void anyMouseButtonActsOnPress_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(MouseButton::Left);
        QTest::newRow("right") << int(MouseButton::Right);
        QTest::newRow("middle") << int(MouseButton::Middle);
    }

    void anyMouseButtonActsOnPress()
    {
        QFETCH(int, button);
        const auto b = static_cast<MouseButton>(button);
        Schermo s;
        s.choice(6).setValue(true); // as the toolkit's own click would leave it
        mousePress(*s.w, s.choice(6), b);
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(16));
        mouseRelease(*s.w, b);
        QVERIFY(!s.choice(6).value());
        s.command(2).setValue(true);
        mousePress(*s.w, s.command(2), b);
        QCOMPARE(s.host.count('U', ScreenId::Inizio), 1);
        mouseRelease(*s.w, b);
        QVERIFY(!s.command(2).value());
        for (int i = 0; i < 11; ++i)
            QVERIFY(!s.choice(i).value());
    }

    void keysWorkWhileTheCurtainsMove()
    {
        Schermo s;
        s.w->raiseResize();
        QVERIFY(s.start.curtains().running());
        tapKey(*s.w, vk::Numpad0 + 4);
        tapEnter(*s.w);
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(14));
    }
};

QTEST_GUILESS_MAIN(TestStartInput)
#include "tst_startinput.moc"

// Key translation where the offscreen platform cannot reach: key events as X11 (xcb) and Wayland
// deliver them, with their native scan code (XKB keycode), native virtual key (keysym) and
// modifiers. The values of each row were read from real events of Qt 6.4: X11 from Xvfb with
// XTEST, Wayland from sway with wtype, which uploads a keymap of its own and so puts any symbol
// on any keycode, the digit row's included.
#include "qt/KeyMap.h"

#include <QInputDevice>
#include <QKeyEvent>
#include <QTest>

using namespace tarvo::qt;

class TestKeyMap : public QObject {
    Q_OBJECT

private slots:
    void virtualKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<uint>("scan");
        QTest::addColumn<uint>("keysym");
        QTest::addColumn<int>("scanCodes");
        QTest::addColumn<int>("code");
        const int xkb = int(ScanCodes::Xkb);
        const int none = int(ScanCodes::None);
        const int shift = int(Qt::ShiftModifier);
        const int keypad = int(Qt::KeypadModifier);
        // Italian layout: SHIFT+7 is '/', SHIFT+0 is '='; US: SHIFT+2 is '@'.
        QTest::newRow("xkb shift 7 (it)")
            << int(Qt::Key_Slash) << shift << 16u << 0x2fu << xkb << 55;
        QTest::newRow("xkb shift 0 (it)")
            << int(Qt::Key_Equal) << shift << 19u << 0x3du << xkb << 48;
        QTest::newRow("xkb shift 2 (us)") << int(Qt::Key_At) << shift << 11u << 0x40u << xkb << 50;
        QTest::newRow("xkb plain 1") << int(Qt::Key_1) << 0 << 10u << 0x31u << xkb << 49;
        QTest::newRow("xkb plain 0") << int(Qt::Key_0) << 0 << 19u << 0x30u << xkb << 48;
        // A layout whose unshifted digit row gives other characters (French: '&' on 1).
        QTest::newRow("xkb azerty 1") << int(Qt::Key_Ampersand) << 0 << 10u << 0x26u << xkb << 49;
        // The slash elsewhere on the keyboard is no digit.
        QTest::newRow("xkb slash key") << int(Qt::Key_Slash) << 0 << 61u << 0x2fu << xkb << 0;
        // The keypad wins over the scan code and the shifted-symbol fallback.
        QTest::newRow("keypad 5") << int(Qt::Key_5) << keypad << 84u << 0xffb5u << xkb << 101;
        QTest::newRow("keypad divide")
            << int(Qt::Key_Slash) << keypad << 106u << 0xffafu << xkb << 111;
        QTest::newRow("keypad multiply")
            << int(Qt::Key_Asterisk) << keypad << 63u << 0xffaau << xkb << 106;
        QTest::newRow("keypad decimal comma")
            << int(Qt::Key_Comma) << keypad << 91u << 0xffacu << xkb << 110;
        QTest::newRow("keypad home, numlock off")
            << int(Qt::Key_Home) << keypad << 79u << 0xff95u << xkb << 36;
        QTest::newRow("keypad 5, numlock off")
            << int(Qt::Key_Clear) << keypad << 84u << 0xff9du << xkb << 12;
        // Wayland's virtual keyboards: the symbol is the digit, wherever its keycode lies.
        // wtype "12" puts "2" on keycode 10, where a real keyboard has its "1".
        QTest::newRow("wtype 2 on keycode 10") << int(Qt::Key_2) << 0 << 10u << 0x32u << xkb << 50;
        QTest::newRow("wtype 4 on keycode 10") << int(Qt::Key_4) << 0 << 10u << 0x34u << xkb << 52;
        QTest::newRow("wtype 1 on keycode 9") << int(Qt::Key_1) << 0 << 9u << 0x31u << xkb << 49;
        QTest::newRow("wtype shift 2 on keycode 9")
            << int(Qt::Key_2) << shift << 9u << 0x32u << xkb << 50;
        // Named keys on digit-row keycodes stay what they are.
        QTest::newRow("wtype escape on keycode 15")
            << int(Qt::Key_Escape) << 0 << 15u << 0xff1bu << xkb << 27;
        QTest::newRow("wtype return on keycode 12")
            << int(Qt::Key_Return) << 0 << 12u << 0xff0du << xkb << 13;
        QTest::newRow("wtype space on keycode 13")
            << int(Qt::Key_Space) << 0 << 13u << 0x20u << xkb << 32;
        QTest::newRow("wtype a on keycode 14") << int(Qt::Key_A) << 0 << 14u << 0x61u << xkb << 65;
        // Wayland sends keypad keys without KeypadModifier: the keysym tells them.
        QTest::newRow("wayland keypad multiply")
            << int(Qt::Key_Asterisk) << 0 << 10u << 0xffaau << xkb << 106;
        QTest::newRow("wayland keypad 0") << int(Qt::Key_0) << 0 << 11u << 0xffb0u << xkb << 96;
        QTest::newRow("wayland keypad 5") << int(Qt::Key_5) << 0 << 10u << 0xffb5u << xkb << 101;
        QTest::newRow("wayland keypad enter")
            << int(Qt::Key_Enter) << 0 << 11u << 0xff8du << xkb << 13;
        QTest::newRow("wayland keypad home, numlock off")
            << int(Qt::Key_Home) << 0 << 12u << 0xff95u << xkb << 36;
        // Layouts on Wayland (sway, a keyboard with the layout's own keymap). French: the
        // unshifted digit row gives '&', 'é', '(', 'à', the shifted one the digits.
        QTest::newRow("fr 1 unshifted") << int(Qt::Key_Ampersand) << 0 << 10u << 0x26u << xkb << 49;
        QTest::newRow("fr 2 unshifted") << int(Qt::Key_Eacute) << 0 << 11u << 0xe9u << xkb << 50;
        QTest::newRow("fr 5 unshifted") << int(Qt::Key_ParenLeft) << 0 << 14u << 0x28u << xkb << 53;
        QTest::newRow("fr 0 unshifted") << int(Qt::Key_Agrave) << 0 << 19u << 0xe0u << xkb << 48;
        QTest::newRow("fr 1 shifted") << int(Qt::Key_1) << shift << 10u << 0x31u << xkb << 49;
        QTest::newRow("fr a (the q key)") << int(Qt::Key_A) << 0 << 24u << 0x61u << xkb << 65;
        // Italian: the shifted digit row gives '!', '%', '='.
        QTest::newRow("it 1 shifted") << int(Qt::Key_Exclam) << shift << 10u << 0x21u << xkb << 49;
        QTest::newRow("it 5 shifted") << int(Qt::Key_Percent) << shift << 14u << 0x25u << xkb << 53;
        QTest::newRow("it 0 shifted") << int(Qt::Key_Equal) << shift << 19u << 0x3du << xkb << 48;
        QTest::newRow("it keypad 5, numlock on")
            << int(Qt::Key_5) << 0 << 84u << 0xffb5u << xkb << 101;
        QTest::newRow("it keypad multiply")
            << int(Qt::Key_Asterisk) << 0 << 63u << 0xffaau << xkb << 106;
        // A main-row '*' is no keypad key.
        QTest::newRow("xkb main-row asterisk")
            << int(Qt::Key_Asterisk) << shift << 17u << 0x2au << xkb << 56;
        // Without scan codes the shifted symbols of the digit row are recognised...
        QTest::newRow("fallback shift 8 (it)")
            << int(Qt::Key_ParenLeft) << shift << 0u << 0u << none << 56;
        // ...but only with SHIFT held.
        QTest::newRow("fallback plain slash") << int(Qt::Key_Slash) << 0 << 0u << 0u << none << 0;
        // Such a platform's native codes mean nothing: a keypad keysym there is no keypad key.
        QTest::newRow("no scan codes, keysym ignored")
            << int(Qt::Key_Asterisk) << 0 << 10u << 0xffaau << none << 0;
        QTest::newRow("letter with shift") << int(Qt::Key_Z) << shift << 52u << 0x5au << xkb << 90;
    }

    void virtualKeys()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(uint, scan);
        QFETCH(uint, keysym);
        QFETCH(int, scanCodes);
        QFETCH(int, code);
        // A keyboard of the test's own: with no application, Qt's default one is never freed.
        static const QInputDevice keyboard(
            QStringLiteral("test keyboard"), 1, QInputDevice::DeviceType::Keyboard);
        const QKeyEvent e(QEvent::KeyPress, key, Qt::KeyboardModifiers(mods), scan, keysym,
            mods & Qt::ShiftModifier ? 1u : 0u, QString(), false, 1, &keyboard);
        QCOMPARE(virtualKey(e, ScanCodes(scanCodes)), code);
        QCOMPARE(
            virtualKey(key, Qt::KeyboardModifiers(mods), scan, keysym, ScanCodes(scanCodes)), code);
    }

    void characters()
    {
        QCOMPARE(keyAscii(Qt::Key_Space, {}, QStringLiteral(" ")), 32);
        QCOMPARE(keyAscii(Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r")), 13);
        QCOMPARE(keyAscii(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A")), 65);
        QCOMPARE(keyAscii(Qt::Key_A, Qt::ControlModifier, QString(QChar(1))), 1);
        // Keys that give no character give no KeyPress.
        QCOMPARE(keyAscii(Qt::Key_Left, {}, QString()), 0);
        QCOMPARE(keyAscii(Qt::Key_Shift, Qt::ShiftModifier, QString()), 0);
        QCOMPARE(keyAscii(Qt::Key_Delete, {}, QString(QChar(127))), 0);
        QCOMPARE(keyAscii(Qt::Key_Escape, {}, QString(QChar(27))), 27);
        QCOMPARE(keyAscii(Qt::Key_Backspace, {}, QString(QChar(8))), 8);
        QCOMPARE(shiftState(Qt::ShiftModifier | Qt::AltModifier), 5);
    }
};

QTEST_APPLESS_MAIN(TestKeyMap)
#include "tst_keymap.moc"

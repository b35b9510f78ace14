// Key translation where the offscreen platform cannot reach: X11/Wayland scan codes, which
// decide the digit row whatever the layout and SHIFT make of the character.
#include "qt/KeyMap.h"

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
        QTest::addColumn<int>("scanCodes");
        QTest::addColumn<int>("code");
        const int xkb = int(ScanCodes::Xkb);
        const int none = int(ScanCodes::None);
        const int shift = int(Qt::ShiftModifier);
        const int keypad = int(Qt::KeypadModifier);
        // Italian layout: SHIFT+7 is '/', SHIFT+0 is '='; US: SHIFT+2 is '@'.
        QTest::newRow("xkb shift 7 (it)") << int(Qt::Key_Slash) << shift << 16u << xkb << 55;
        QTest::newRow("xkb shift 0 (it)") << int(Qt::Key_Equal) << shift << 19u << xkb << 48;
        QTest::newRow("xkb shift 2 (us)") << int(Qt::Key_At) << shift << 11u << xkb << 50;
        QTest::newRow("xkb plain 1") << int(Qt::Key_1) << 0 << 10u << xkb << 49;
        // A layout whose unshifted digit row gives other characters (French: '&' on 1).
        QTest::newRow("xkb azerty 1") << int(Qt::Key_Ampersand) << 0 << 10u << xkb << 49;
        // The slash elsewhere on the keyboard is no digit.
        QTest::newRow("xkb slash key") << int(Qt::Key_Slash) << 0 << 61u << xkb << 0;
        // The keypad wins over the scan code and the shifted-symbol fallback.
        QTest::newRow("keypad 5") << int(Qt::Key_5) << keypad << 84u << xkb << 101;
        QTest::newRow("keypad divide") << int(Qt::Key_Slash) << keypad << 106u << xkb << 111;
        QTest::newRow("keypad decimal comma") << int(Qt::Key_Comma) << keypad << 91u << xkb << 110;
        QTest::newRow("keypad home, numlock off")
            << int(Qt::Key_Home) << keypad << 79u << xkb << 36;
        // Without scan codes the shifted symbols of the digit row are recognised...
        QTest::newRow("fallback shift 8 (it)")
            << int(Qt::Key_ParenLeft) << shift << 0u << none << 56;
        // ...but only with SHIFT held.
        QTest::newRow("fallback plain slash") << int(Qt::Key_Slash) << 0 << 0u << none << 0;
        QTest::newRow("letter with shift") << int(Qt::Key_Z) << shift << 52u << xkb << 90;
    }

    void virtualKeys()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(uint, scan);
        QFETCH(int, scanCodes);
        QFETCH(int, code);
        QCOMPARE(virtualKey(key, Qt::KeyboardModifiers(mods), scan, ScanCodes(scanCodes)), code);
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
        QCOMPARE(shiftState(Qt::ShiftModifier | Qt::AltModifier), 5);
    }
};

QTEST_APPLESS_MAIN(TestKeyMap)
#include "tst_keymap.moc"

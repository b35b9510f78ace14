#include "model/Look.h"
#include "model/Palette.h"
#include "web/Buttons.h"
#include "web/Changes.h"
#include "web/KeyCodes.h"
#include "web/Reading.h"
#include "web/Units.h"

#include <QColor>
#include <QTest>

using namespace tarvo;

class TstWebBinding : public QObject {
    Q_OBJECT
private slots:
    void virtualKeys_data();
    void virtualKeys();
    void characters_data();
    void characters();
    void colours();
    void bevelsAsTheDesktopDrawsThem();
    void keysThatStayTheBrowsers();
    void pointerButtons();
    void wordsForAReader();
    void recordTexts();
};

void TstWebBinding::virtualKeys_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("vk");
    // Digits: the main row and the keypad are different keys; SHIFT or a layout without digits
    // on the row still gives the row's digit.
    QTest::newRow("row 7") << "Digit7"
                           << "7" << 55;
    QTest::newRow("row 0 shifted, Italian") << "Digit0"
                                            << "=" << 48;
    QTest::newRow("row 1 on a French layout") << "Digit1"
                                              << "&" << 49;
    QTest::newRow("keypad 7") << "Numpad7"
                              << "7" << 103;
    QTest::newRow("keypad 0") << "Numpad0"
                              << "0" << 96;
    QTest::newRow("keypad plus") << "NumpadAdd"
                                 << "+" << vk::Add;
    QTest::newRow("keypad comma") << "NumpadDecimal"
                                  << "," << vk::Decimal;
    QTest::newRow("keypad enter") << "NumpadEnter"
                                  << "Enter" << vk::Return;
    QTest::newRow("keypad 7, NumLock off") << "Numpad7"
                                           << "Home" << vk::Home;
    // Letters by the layout's symbol, not by position.
    QTest::newRow("letter e") << "KeyE"
                              << "e" << vk::E;
    QTest::newRow("shifted letter") << "KeyN"
                                    << "N" << vk::N;
    QTest::newRow("A where a US Q lies") << "KeyQ"
                                         << "a" << vk::A;
    QTest::newRow("return") << "Enter"
                            << "Enter" << vk::Return;
    QTest::newRow("space") << "Space"
                           << " " << vk::Space;
    QTest::newRow("tab") << "Tab"
                         << "Tab" << vk::Tab;
    QTest::newRow("backspace") << "Backspace"
                               << "Backspace" << vk::Back;
    QTest::newRow("escape") << "Escape"
                            << "Escape" << vk::Escape;
    QTest::newRow("left arrow") << "ArrowLeft"
                                << "ArrowLeft" << vk::Left;
    QTest::newRow("F1") << "F1"
                        << "F1" << vk::F1;
    QTest::newRow("F12") << "F12"
                         << "F12" << vk::F1 + 11;
    QTest::newRow("right alt") << "AltRight"
                               << "AltGraph" << vk::Menu;
    QTest::newRow("a symbol of no meaning") << "Backquote"
                                            << "\\" << 0;
    QTest::newRow("an accented letter") << "Quote" << QString::fromUtf8("à") << 0;
}

void TstWebBinding::virtualKeys()
{
    QFETCH(QString, code);
    QFETCH(QString, key);
    QFETCH(int, vk);
    QCOMPARE(web::virtualKey(code.toStdString(), key.toStdString()), vk);
}

void TstWebBinding::characters_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("ascii");
    QTest::newRow("digit") << "7" << false << int('7');
    QTest::newRow("space") << " " << false << int(' ');
    QTest::newRow("enter") << "Enter" << false << 13;
    QTest::newRow("backspace") << "Backspace" << false << 8;
    QTest::newRow("escape") << "Escape" << false << 27;
    QTest::newRow("accented letter") << QString::fromUtf8("è") << false << 0xE8;
    QTest::newRow("CTRL with a letter") << "c" << true << 3;
    QTest::newRow("a named key") << "ArrowUp" << false << 0;
    QTest::newRow("shift alone") << "Shift" << false << 0;
    QTest::newRow("two characters") << "ab" << false << 0;
}

void TstWebBinding::characters()
{
    QFETCH(QString, key);
    QFETCH(bool, ctrl);
    QFETCH(int, ascii);
    QCOMPARE(web::keyAscii(key.toStdString(), ctrl), ascii);
}

void TstWebBinding::colours()
{
    QCOMPARE(web::css(0x00C0E0FF), std::string("#ffe0c0"));
}

void TstWebBinding::bevelsAsTheDesktopDrawsThem()
{
    // A button's inner bevel is its face lightened by 110 and darkened by 160, as the desktop
    // toolkit does it (the model's shading, which both bindings paint with), for every face the
    // screens use and the default one: exactly.
    for (const Bgr face :
        { ColoreNormale, ColoreEvidenziato, Acqua, Ciano, Giallo, Blu, 0xEFEFEFu, 0xFFFFFFu, 0u }) {
        const QColor qt(redOf(face), greenOf(face), blueOf(face));
        for (const auto& [mine, theirs] : { std::pair { look::lighter(face, 110), qt.lighter(110) },
                 std::pair { look::darker(face, 160), qt.darker(160) } }) {
            const std::string what = "face " + web::css(face) + ": " + web::css(mine) + " against "
                + theirs.name().toStdString();
            QVERIFY2(redOf(mine) == theirs.red() && greenOf(mine) == theirs.green()
                    && blueOf(mine) == theirs.blue(),
                what.c_str());
        }
    }
}

void TstWebBinding::keysThatStayTheBrowsers()
{
    // The browser's reload, zoom, close and tools stay its own; SPACE and ENTER are the
    // program's whatever is held with them.
    const struct {
        const char *code, *key;
        bool ctrl, meta, browsers;
    } rows[] = {
        { "KeyR", "r", true, false, true },
        { "Equal", "+", false, true, true },
        { "F5", "F5", false, false, true },
        { "F12", "F12", false, false, true },
        { "F2", "F2", false, false, false },
        { "Space", " ", true, false, false },
        { "Enter", "Enter", false, true, false },
        { "NumpadEnter", "Enter", true, false, false },
        { "Digit5", "5", false, false, false },
    };
    for (const auto& r : rows)
        QVERIFY2(web::browsersOwn(r.code, r.key, r.ctrl, r.meta) == r.browsers, r.code);
}

void TstWebBinding::pointerButtons()
{
    // PointerEvent.button and .buttons of a press: touch and pen are the left button, the side
    // buttons none, and WebKitGTK's side press as the left one with the left one up none too.
    const struct {
        bool mouse;
        int button, buttons;
        std::optional<MouseButton> is;
    } rows[] = {
        { true, 0, 1, MouseButton::Left },
        { true, 1, 4, MouseButton::Middle },
        { true, 2, 2, MouseButton::Right },
        { true, 3, 8, std::nullopt },
        { true, 0, 0, std::nullopt },
        { false, 0, 1, MouseButton::Left },
        { false, 2, 0, MouseButton::Left },
    };
    for (const auto& r : rows)
        QVERIFY(web::buttonOf(r.mouse, true, r.button, r.buttons) == r.is);
    // A release has no button left down: the left one's comes up all the same.
    QVERIFY(web::buttonOf(true, false, 0, 0) == MouseButton::Left);
    QVERIFY(web::holds(5, MouseButton::Middle) && !web::holds(5, MouseButton::Right));
}

void TstWebBinding::wordsForAReader()
{
    // A button or a group is named where the reader's words are not what it shows; a text's
    // words go to a span of their own, hiding the shown text, unless they are that text.
    const struct {
        const char* what;
        ReaderRole role;
        const char *shown, *name, *description;
        bool textPart;
        web::Reading is;
    } rows[] = {
        { "a button as shown", ReaderRole::Button, "Vai", "Vai", "", false, {} },
        { "a button named", ReaderRole::Button, "?", "15 meno 7 uguale ?", "giusto", false,
            { "15 meno 7 uguale ?", "giusto", "", false } },
        { "a group", ReaderRole::Group, "", "Tarvo", "", false, { "Tarvo", "", "", false } },
        { "a text as shown", ReaderRole::Text, "12", "12", "", true, {} },
        { "a text read otherwise", ReaderRole::Text, "12", "12", "giusto", true,
            { "", "", "12, giusto", true } },
        { "a text with no part of its own", ReaderRole::Text, "", "Istruzioni", "", false,
            { "", "", "Istruzioni", false } },
        { "decoration", ReaderRole::None, "x", "x", "y", true, {} },
    };
    for (const auto& r : rows)
        QVERIFY2(
            web::readingOf(r.role, r.shown, r.textPart, r.name, r.description) == r.is, r.what);
}

void TstWebBinding::recordTexts()
{
    QCOMPARE(web::quoted("a \"b\" \\ c\rd\ne\x01 è"),
        std::string("\"a \\\"b\\\" \\\\ c\\u000dd\\ne\\u0001 è\""));
    web::Changes changes;
    changes.add(web::Record("set").field("id", 7).field("shown", false).field("text", "7"));
    changes.add(web::Record("post"));
    QCOMPARE(changes.take(),
        std::string(R"([{"op":"set","id":7,"shown":false,"text":"7"},{"op":"post"}])"));
    QVERIFY(changes.empty());
    // Numbers as CSS and the records write them: no exponent, no trailing zero.
    QCOMPARE(web::number(8.25), std::string("8.25"));
    QCOMPARE(web::number(-0.0004), std::string("0"));
    QCOMPARE(web::number(2.0 / 3, 9), std::string("0.666666667"));
    QCOMPARE(web::number(1366.0 / 0.9, 9), std::string("1517.777777778"));
}

QTEST_APPLESS_MAIN(TstWebBinding)
#include "tst_webbinding.moc"

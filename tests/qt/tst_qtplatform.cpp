// The binding driven through real Qt events on the offscreen platform: a small window built by
// hand, its widgets found by name, every event checked on the model's side.
#include "Describe.h"
#include "LambdaEvents.h"
#include "model/Window.h"
#include "qt/QtPlatform.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace tarvo;
using tarvo::qt::QtPlatform;
using tarvo::test::describe;

namespace {

// Twips that are whole pixels at 96 DPI, so that the expected geometry is exact.
std::unique_ptr<Window> makeWindow()
{
    auto pw = std::make_unique<Window>(WindowDef {
        .name = "frmProva", .title = "Prova", .clientWidth = 6000, .clientHeight = 4500 });
    Window& w = *pw;
    w.add({ .kind = Kind::Timer, .name = "Timer1", .enabled = false, .intervalMs = 10 });
    w.add({ .kind = Kind::Menu, .name = "mnuInfo", .caption = "Info" });
    w.add({ .kind = Kind::PictureBox,
        .name = "Picture1",
        .rect = { 0, 0, 300, 4500 },
        .back = 0x00FF80FF,
        .dock = Dock::Left });
    w.add({ .kind = Kind::Frame,
        .name = "fra",
        .rect = { 1500, 1500, 4200, 2700 },
        .back = 0x00C0E0FF,
        .frameLine = true });
    // Defined after the frame and with a higher z, yet drawn behind it: labels never cover
    // frames or buttons.
    w.add({ .kind = Kind::Label,
        .name = "Label1",
        .rect = { 450, 150, 3000, 450 },
        .back = 0x0000FF00,
        .z = 5 });
    w.add({ .kind = Kind::Shape,
        .name = "Shape1",
        .rect = { 450, 750, 1500, 600 },
        .back = 0x0000FFFF,
        .shape = ShapeKind::Circle,
        .borderPx = 0 });
    for (int i = 0; i < 4; ++i)
        w.add({ .kind = Kind::OptionButton,
            .name = "Option1",
            .index = i,
            .container = "fra",
            .rect = { 90 + 1020 * i, 120, 975, 600 },
            .caption = std::string_view("0123").substr(std::size_t(i), 1),
            .back = 0x00C0E0FF,
            .tabIndex = 3 - i }); // backwards: tab order is not index order
    w.add({ .kind = Kind::CommandButton,
        .name = "Command1",
        .rect = { 450, 3900, 1200, 450 },
        .caption = "Chiudi",
        .tabIndex = 10 });
    return pw;
}

} // namespace

class TestQtPlatform : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<Window> win;
    std::unique_ptr<test::LambdaEvents> events; // win's, gone before it
    std::vector<std::string> log;

    Control& option(int i) { return win->at("Option1", i); }
    QWidget* widget(const Control& c) { return platform->widgetFor(c); }
    QWidget* view() { return platform->viewFor(*win); }
    void record(std::string s) { log.push_back(std::move(s)); }
    std::vector<std::string> take() { return std::exchange(log, {}); }
    // The real path of a key: to whatever widget holds the keyboard focus.
    static QWidget* keyTarget() { return QApplication::focusWidget(); }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init()
    {
        platform = std::make_unique<QtPlatform>();
        win = makeWindow();
        events = std::make_unique<test::LambdaEvents>(*win);
        test::LambdaEvents::Slots& h = events->on;
        h.gotFocus = [this](Control& c) { record("got " + describe(&c)); };
        h.lostFocus = [this](Control& c) { record("lost " + describe(&c)); };
        h.keyDown = [this](Control& c, int& code, int) {
            record("down " + describe(&c) + " " + std::to_string(code));
        };
        h.keyPress = [this](Control& c, int& ascii) {
            record("press " + describe(&c) + " " + std::to_string(ascii));
        };
        h.keyUp = [this](Control* c, int code, int) {
            record("up " + describe(c) + " " + std::to_string(code));
        };
        h.mouseDown = [this](Control& c, int b, int) {
            record("mdown " + describe(&c) + " " + std::to_string(b));
        };
        h.mouseUp = [this](Control& c, int b, int) {
            record("mup " + describe(&c) + " " + std::to_string(b));
        };
        h.click = [this](Control& c) { record("click " + describe(&c)); };
        h.resize = [this] {
            record("resize " + std::to_string(win->innerWidth()) + "x"
                + std::to_string(win->innerHeight()));
        };
        platform->show(*win, false);
        QVERIFY(view());
        QVERIFY(QTest::qWaitForWindowActive(view()));
    }

    void cleanup()
    {
        platform->unload(*win);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        events.reset();
        win.reset();
        platform.reset();
        log.clear();
    }

    void showReportsSizeThenFocusesFirstInTabOrder()
    {
        // Resize came first, with the design size, then the focus went to tab position 0.
        QCOMPARE(log.at(0), std::string("resize 6000x4500"));
        QCOMPARE(win->focused(), &option(3));
        QCOMPARE(view()->focusWidget(), widget(option(3)));
        QCOMPARE(view()->windowTitle(), QStringLiteral("Prova"));
    }

    void geometryIsTwipsOverFifteenAtNinetySixDpi()
    {
        QCOMPARE(view()->screen()->logicalDotsPerInch(), 96.0);
        QCOMPARE(widget(win->at("Label1"))->geometry(), QRect(30, 10, 200, 30));
        QCOMPARE(widget(win->at("fra"))->geometry(), QRect(100, 100, 280, 180));
        // Inside the frame: relative to the frame.
        QCOMPARE(widget(option(2))->geometry(), QRect(142, 8, 65, 40));
        QCOMPARE(widget(option(2))->parentWidget(), widget(win->at("fra")));
        // A move in the model moves the widget.
        option(2).move({ 150, 300, 1500, 750 });
        QCOMPARE(widget(option(2))->geometry(), QRect(10, 20, 100, 50));
    }

    void resizingTheWindowReportsTheInnerSizeAndRedocks()
    {
        take();
        QWidget* client = widget(win->at("Label1"))->parentWidget();
        const int menu = view()->height() - client->height();
        view()->resize(500, 350 + menu);
        QTRY_COMPARE(win->innerWidth(), 7500);
        QCOMPARE(win->innerHeight(), 5250);
        QCOMPARE(take(), (std::vector<std::string> { "resize 7500x5250" }));
        QCOMPARE(widget(win->at("Picture1"))->geometry(), QRect(0, 0, 20, 350));
    }

    void stackingPutsDrawnControlsBehindChildWindows()
    {
        const QObjectList order = widget(win->at("fra"))->parentWidget()->children();
        const auto pos = [&](const char* name) { return order.indexOf(widget(win->at(name))); };
        QVERIFY(pos("Label1") < pos("fra"));
        QVERIFY(pos("Shape1") < pos("Label1")); // same class: the higher z in front
        QVERIFY(pos("Label1") < pos("Picture1"));
    }

    void spaceAndEnterNeverClickAnOptionButton()
    {
        QVERIFY(win->setFocus(option(1)));
        auto* button = qobject_cast<QPushButton*>(widget(option(1)));
        QSignalSpy clicked(button, &QPushButton::clicked);
        QSignalSpy pressed(button, &QPushButton::pressed);
        take();
        QTest::keyClick(keyTarget(), Qt::Key_Space);
        QTest::keyClick(keyTarget(), Qt::Key_Return);
        QTest::keyClick(keyTarget(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(take(),
            (std::vector<std::string> { "down Option1(1) 32", "press Option1(1) 32",
                "up Option1(1) 32", "down Option1(1) 13", "press Option1(1) 13", "up Option1(1) 13",
                "down Option1(1) 13", "press Option1(1) 13", "up Option1(1) 13" }));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(pressed.count(), 0);
        QVERIFY(!button->isDown());
    }

    void keysMapToVirtualKeyCodes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<int>("code");
        QTest::newRow("main-row 7") << int(Qt::Key_7) << 0 << 55;
        QTest::newRow("keypad 7") << int(Qt::Key_7) << int(Qt::KeypadModifier) << 103;
        QTest::newRow("keypad 0") << int(Qt::Key_0) << int(Qt::KeypadModifier) << 96;
        QTest::newRow("shift 1 gives the digit")
            << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 49;
        QTest::newRow("shift letter") << int(Qt::Key_N) << int(Qt::ShiftModifier) << 78;
        QTest::newRow("ctrl letter") << int(Qt::Key_C) << int(Qt::ControlModifier) << 67;
        QTest::newRow("alt letter") << int(Qt::Key_E) << int(Qt::AltModifier) << 69;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << 8;
        QTest::newRow("F2") << int(Qt::Key_F2) << 0 << 113;
    }

    void keysMapToVirtualKeyCodes()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(int, code);
        std::vector<int> codes;
        events->on.keyDown = [&](Control&, int& c, int) { codes.push_back(c); };
        QTest::keyClick(keyTarget(), Qt::Key(key), Qt::KeyboardModifiers(mods));
        // A modifier held with the key arrives first as a key of its own.
        QVERIFY(!codes.empty());
        QCOMPARE(codes.back(), code);
    }

    void heldKeyRepeatsPressesAndReleasesOnce()
    {
        take();
        QWidget* target = keyTarget();
        const auto send = [&](QEvent::Type type, Qt::Key key, quint64 time, bool autoRepeat) {
            const QString text = QString(QChar(key));
            QKeyEvent e(type, key, Qt::NoModifier, 0, 0, 0, text, autoRepeat);
            e.setTimestamp(time);
            QApplication::sendEvent(target, &e);
        };
        // A pair flagged as auto-repeat: the held key's repeat, no KeyUp between.
        send(QEvent::KeyPress, Qt::Key_5, 1000, false);
        send(QEvent::KeyRelease, Qt::Key_5, 1500, true);
        send(QEvent::KeyPress, Qt::Key_5, 1500, true);
        QCOMPARE(take(),
            (std::vector<std::string> { "down Option1(3) 53", "press Option1(3) 53",
                "down Option1(3) 53", "press Option1(3) 53" }));
        // An unflagged release is real, even with the timestamp of the press after it: it is
        // reported at once, before that press, which is a press of its own.
        send(QEvent::KeyRelease, Qt::Key_5, 1530, false);
        QCOMPARE(take(), (std::vector<std::string> { "up Option1(3) 53" }));
        send(QEvent::KeyPress, Qt::Key_5, 1530, false);
        QCOMPARE(
            take(), (std::vector<std::string> { "down Option1(3) 53", "press Option1(3) 53" }));
        send(QEvent::KeyRelease, Qt::Key_5, 1800, false);
        QCOMPARE(take(), (std::vector<std::string> { "up Option1(3) 53" }));
        // A release followed by another key is reported before that key goes down.
        send(QEvent::KeyPress, Qt::Key_5, 2000, false);
        send(QEvent::KeyRelease, Qt::Key_5, 2100, false);
        send(QEvent::KeyPress, Qt::Key_6, 2100, false);
        QCOMPARE(take(),
            (std::vector<std::string> { "down Option1(3) 53", "press Option1(3) 53",
                "up Option1(3) 53", "down Option1(3) 54", "press Option1(3) 54" }));
        send(QEvent::KeyRelease, Qt::Key_6, 2200, false);
        QCOMPARE(take(), (std::vector<std::string> { "up Option1(3) 54" }));
    }

    void quickTapsClickTwiceAHeldKeyOnce()
    {
        Control& cmd = win->at("Command1");
        QVERIFY(win->setFocus(cmd));
        take();
        const auto send = [&](QEvent::Type type, Qt::Key key, const char* text, bool autoRepeat) {
            QKeyEvent e(type, key, Qt::NoModifier, 0, 0, 0, QString::fromLatin1(text), autoRepeat);
            e.setTimestamp(5000); // one timestamp for every event: quick as a switch interface
            QApplication::sendEvent(keyTarget(), &e);
        };
        const auto clicks = [&] { return std::count(log.begin(), log.end(), "click Command1"); };
        // Two taps of ENTER: two clicks.
        for (int i = 0; i < 2; ++i) {
            send(QEvent::KeyPress, Qt::Key_Return, "\r", false);
            send(QEvent::KeyRelease, Qt::Key_Return, "\r", false);
        }
        QCOMPARE(clicks(), 2);
        take();
        // ENTER held: the repeats reach the handlers, but click no more.
        send(QEvent::KeyPress, Qt::Key_Return, "\r", false);
        for (int i = 0; i < 3; ++i) {
            send(QEvent::KeyRelease, Qt::Key_Return, "\r", true);
            send(QEvent::KeyPress, Qt::Key_Return, "\r", true);
        }
        send(QEvent::KeyRelease, Qt::Key_Return, "\r", false);
        QCOMPARE(std::count(log.begin(), log.end(), "down Command1 13"), 4);
        QCOMPARE(clicks(), 1);
        QCOMPARE(std::count(log.begin(), log.end(), "up Command1 13"), 1);
        take();
        // SPACE clicks when it comes up, once however long it was held, and only on the button
        // it went down on.
        send(QEvent::KeyPress, Qt::Key_Space, " ", false);
        send(QEvent::KeyPress, Qt::Key_Space, " ", true);
        QCOMPARE(clicks(), 0);
        send(QEvent::KeyRelease, Qt::Key_Space, " ", false);
        QCOMPARE(clicks(), 1);
        send(QEvent::KeyPress, Qt::Key_Space, " ", false);
        QVERIFY(win->setFocus(option(0)));
        QVERIFY(win->setFocus(cmd));
        send(QEvent::KeyRelease, Qt::Key_Space, " ", false);
        QCOMPARE(clicks(), 1);
    }

    void altAloneLeavesTheKeysToTheButtons()
    {
        // The menu bar would take the keyboard after a lone ALT; a pupil's stray ALT must not
        // leave the keypad deaf.
        QTest::keyClick(keyTarget(), Qt::Key_Alt);
        take();
        QTest::keyClick(keyTarget(), Qt::Key_5);
        QCOMPARE(take(),
            (std::vector<std::string> {
                "down Option1(3) 53", "press Option1(3) 53", "up Option1(3) 53" }));
    }

    void arrowsMoveWithinTheGroupWrappingAndSkippingDisabled()
    {
        option(3).setEnabled(false); // had the focus: it moved on in tab order, to Option1(2)
        QCOMPARE(win->focused(), &option(2));
        QCOMPARE(keyTarget(), widget(option(2)));
        QTest::keyClick(keyTarget(), Qt::Key_Right); // skips 3, wraps to 0
        QCOMPARE(win->focused(), &option(0));
        QCOMPARE(keyTarget(), widget(option(0)));
        QTest::keyClick(keyTarget(), Qt::Key_Up); // back over the start: 2
        QCOMPARE(win->focused(), &option(2));
        QTest::keyClick(keyTarget(), Qt::Key_Left);
        QCOMPARE(win->focused(), &option(1));

        // A handler that swallows the key keeps the focus where it is.
        events->on.keyDown = [](Control&, int& code, int) { code = 0; };
        QTest::keyClick(keyTarget(), Qt::Key_Down);
        QCOMPARE(win->focused(), &option(1));
        QCOMPARE(keyTarget(), widget(option(1)));
    }

    void mouseButtonsActOnPressAndOnlyTheLeftFocuses()
    {
        QWidget* two = widget(option(2));
        auto* button = qobject_cast<QPushButton*>(two);
        QSignalSpy clicked(button, &QPushButton::clicked);
        take();
        QTest::mousePress(two, Qt::RightButton);
        QTest::mouseRelease(two, Qt::RightButton);
        QTest::mousePress(two, Qt::MiddleButton);
        QTest::mouseRelease(two, Qt::MiddleButton);
        QCOMPARE(win->focused(), &option(3));
        QTest::mousePress(two, Qt::LeftButton);
        QVERIFY(!button->isDown());
        QTest::mouseRelease(two, Qt::LeftButton);
        QCOMPARE(take(),
            (std::vector<std::string> { "mdown Option1(2) 2", "mup Option1(2) 2",
                "mdown Option1(2) 4", "mup Option1(2) 4", "lost Option1(3)", "got Option1(2)",
                "mdown Option1(2) 1", "mup Option1(2) 1" }));
        QCOMPARE(keyTarget(), two);
        QCOMPARE(clicked.count(), 0);

        // The second press of a double click acts too; a disabled button hears nothing.
        QTest::mouseClick(two, Qt::RightButton);
        QTest::mouseDClick(two, Qt::RightButton);
        QCOMPARE(std::count(log.begin(), log.end(), "mdown Option1(2) 2"), 2);
        take();
        option(1).setEnabled(false);
        QTest::mouseClick(widget(option(1)), Qt::LeftButton);
        QTest::mouseClick(widget(option(1)), Qt::RightButton);
        QCOMPARE(take(), std::vector<std::string> {});
    }

    void commandButtonClicksOnReleaseInside()
    {
        QWidget* cmd = widget(win->at("Command1"));
        take();
        QTest::mouseClick(cmd, Qt::LeftButton);
        QCOMPARE(take(),
            (std::vector<std::string> { "lost Option1(3)", "got Command1", "mdown Command1 1",
                "mup Command1 1", "click Command1" }));
        // Pressed, dragged away, released outside: no click.
        QTest::mousePress(cmd, Qt::LeftButton);
        QTest::mouseRelease(cmd, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(take(), (std::vector<std::string> { "mdown Command1 1", "mup Command1 1" }));
        // ENTER pushes it too; its KeyPress may cancel that.
        QTest::keyClick(keyTarget(), Qt::Key_Return);
        QCOMPARE(std::count(log.begin(), log.end(), "click Command1"), 1);
        events->on.keyPress = [](Control&, int& ascii) { ascii = 0; };
        QTest::keyClick(keyTarget(), Qt::Key_Return);
        QCOMPARE(std::count(log.begin(), log.end(), "click Command1"), 1);
    }

    void modelFocusFollowsQtFocus()
    {
        QVERIFY(win->setFocus(option(0)));
        QCOMPARE(keyTarget(), widget(option(0)));
        // Tab follows the tab positions, which run against the indexes here.
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(keyTarget(), widget(win->at("Command1")));
        QCOMPARE(win->focused(), &win->at("Command1"));
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(win->focused(), &option(3));
        // Hiding the focused button moves the focus on.
        option(3).setVisible(false);
        QCOMPARE(win->focused(), &option(2));
        QCOMPARE(keyTarget(), widget(option(2)));
        // A focus move inside a handler completes before the outer request returns.
        events->on.gotFocus = [this](Control& c) {
            record("got " + describe(&c));
            if (&c == &option(1))
                win->setFocus(option(0));
        };
        take();
        QVERIFY(!win->setFocus(option(1))); // it ended elsewhere
        QCOMPARE(take(),
            (std::vector<std::string> {
                "lost Option1(2)", "got Option1(1)", "lost Option1(1)", "got Option1(0)" }));
        QCOMPARE(keyTarget(), widget(option(0)));
    }

    void focusStaysTrueWhileTheWindowIsInactive()
    {
        Window other(WindowDef {
            .name = "frmAltro", .title = "Altro", .clientWidth = 1500, .clientHeight = 1500 });
        platform->show(other, false);
        QVERIFY(QTest::qWaitForWindowActive(platform->viewFor(other)));
        QVERIFY(win->setFocus(option(1)));
        QCOMPARE(view()->focusWidget(), widget(option(1)));
        QCOMPARE(win->focused(), &option(1));
        // Qt itself moves the focus off a hidden widget only in the active window.
        option(1).setVisible(false);
        QCOMPARE(win->focused(), &option(0)); // next in tab order
        QCOMPARE(view()->focusWidget(), widget(option(0)));

        // Keys at a window where no button has the focus still release to the behaviour.
        std::vector<std::string> ups;
        test::LambdaEvents otherEvents { other };
        otherEvents.on.keyUp = [&](Control* c, int code, int) {
            ups.push_back(describe(c) + " " + std::to_string(code));
        };
        QTest::keyClick(keyTarget() ? keyTarget() : QApplication::activeWindow(), Qt::Key_7);
        QCOMPARE(ups, (std::vector<std::string> { "none 55" }));

        // Back to the first window: it is activated again and its focus is where it was.
        int activated = 0;
        events->on.activate = [&] { ++activated; };
        platform->unload(other);
        platform->raise(*win);
        QTRY_COMPARE(activated, 1);
        QCOMPARE(keyTarget(), widget(option(0)));
    }

    void modelChangesReachTheWidgets()
    {
        QWidget* label = widget(win->at("Label1"));
        const auto centre = [](QWidget* w) {
            return w->grab().toImage().pixelColor(w->width() / 2, w->height() / 2);
        };
        QCOMPARE(centre(label), QColor(0, 255, 0));
        win->at("Label1").setBackColor(0x00FF0000);
        QCOMPARE(centre(label), QColor(0, 0, 255));
        const QImage before = label->grab().toImage();
        win->at("Label1").setCaption("Ciao");
        QVERIFY(label->grab().toImage() != before);

        // A circle leaves the corners of its rectangle to what lies behind: the client area.
        QWidget* shape = widget(win->at("Shape1"));
        const QImage client = shape->parentWidget()->grab().toImage();
        const QRect box = shape->geometry();
        QCOMPARE(client.pixelColor(box.center()), QColor(255, 255, 0));
        QCOMPARE(client.pixelColor(box.topLeft() + QPoint(1, 1)), QColor(255, 224, 192));

        option(0).setCaption("Zero");
        QCOMPARE(widget(option(0))->accessibleName(), QStringLiteral("Zero"));
        win->at("Label1").setVisible(false);
        QVERIFY(!label->isVisible());
        win->at("Label1").setFont({ .face = "Arial", .points = 18, .bold = true });
        QCOMPARE(label->font().pointSizeF(), 18.0);
        QVERIFY(label->font().bold());
    }

    void timerTicksThroughTheHandlerWhileEnabled()
    {
        int ticks = 0;
        events->on.timer = [&](Control& c) {
            QCOMPARE(c.name(), std::string("Timer1"));
            ++ticks;
        };
        Control& timer = win->at("Timer1");
        QVERIFY(!platform->timerFor(timer)->isActive());
        timer.setEnabled(true);
        QTRY_VERIFY(ticks >= 3);
        timer.setEnabled(false);
        QVERIFY(!platform->timerFor(timer)->isActive());
        timer.setEnabled(true);
        QPointer<QTimer> qtimer = platform->timerFor(timer);
        QVERIFY(qtimer->isActive());
        platform->unload(*win); // unloading stops it
        QVERIFY(qtimer && !qtimer->isActive());
    }

    void menuEntryRaisesClickAndFollowsTheModel()
    {
        Control& entry = win->at("mnuInfo");
        QAction* action = platform->actionFor(entry);
        QCOMPARE(action->text(), QStringLiteral("Info"));
        take();
        action->trigger();
        QCOMPARE(take(), (std::vector<std::string> { "click mnuInfo" }));
        entry.setEnabled(false);
        QVERIFY(!action->isEnabled());
        entry.setVisible(false);
        QVERIFY(!static_cast<QMainWindow*>(view())->menuBar()->isVisible());
    }

    void modalShowIsModalUntilUnload()
    {
        Window dialog(WindowDef { .name = "frmDialogo",
            .title = "Dialogo",
            .clientWidth = 3000,
            .clientHeight = 1500,
            .resizable = false });
        platform->show(dialog, true);
        QWidget* v = platform->viewFor(dialog);
        QVERIFY(v && v->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), v);
        platform->unload(dialog);
        QVERIFY(!platform->viewFor(dialog));
    }

    void closingFromTheFrameAsksTheProgram()
    {
        int asked = 0;
        win->closeRequested = [&] { ++asked; };
        QVERIFY(!view()->close());
        QCOMPARE(asked, 1);
        QVERIFY(view()->isVisible());
        win->closeRequested = nullptr;
        QVERIFY(view()->close());
    }
};

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"

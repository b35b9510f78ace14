#include "FakePlatform.h"
#include "LambdaEvents.h"
#include "model/KeyRoad.h"
#include "model/Look.h"
#include "model/MouseRoad.h"
#include "model/Random.h"
#include "model/Scale.h"
#include "model/ScreenEvents.h"
#include "model/Window.h"
#include "model/WindowStack.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <sstream>

using namespace tarvo;

class TestModel : public QObject {
    Q_OBJECT

    static std::unique_ptr<Window> makeWindow()
    {
        auto pw = std::make_unique<Window>(WindowDef {
            .name = "frmProva", .title = "Prova", .clientWidth = 3000, .clientHeight = 2000 });
        Window& w = *pw;
        w.add({ .kind = Kind::Frame, .name = "fra", .rect = { 100, 100, 2000, 1500 } });
        for (int i = 0; i < 3; ++i)
            w.add({ .kind = Kind::OptionButton,
                .name = "Option1",
                .index = i,
                .container = "fra",
                .rect = { 10 + 600 * i, 10, 500, 400 },
                .caption = "b",
                .tabIndex = i });
        w.add({ .kind = Kind::Label, .name = "lbl", .rect = { 0, 0, 100, 100 } });
        w.add({ .kind = Kind::PictureBox,
            .name = "Picture1",
            .rect = { 0, 0, 120, 2000 },
            .dock = Dock::Left });
        w.add({ .kind = Kind::PictureBox,
            .name = "Picture2",
            .rect = { 2800, 0, 200, 2000 },
            .dock = Dock::Right });
        return pw;
    }

    // The test window, shown on the fake platform.
    struct Shown {
        Shown() { p.attach(w); }
        std::unique_ptr<Window> window = makeWindow();
        Window& w = *window;
        test::FakePlatform p;
    };

    // A window and the events that write into the log; these go first.
    struct KeyWindow {
        std::unique_ptr<Window> window;
        std::unique_ptr<test::LambdaEvents> events;
        Window& operator*() const { return *window; }
    };

    // Three option buttons and a command button, every key event written into `log`.
    static KeyWindow makeKeyWindow(std::string_view name, std::vector<std::string>& log)
    {
        auto pw = std::make_unique<Window>(WindowDef { .name = name, .title = name });
        Window& w = *pw;
        w.add({ .kind = Kind::Frame, .name = "fra", .rect = { 0, 0, 2000, 1000 } });
        for (int i = 0; i < 3; ++i)
            w.add({ .kind = Kind::OptionButton,
                .name = "Option1",
                .index = i,
                .container = "fra",
                .rect = { 600 * i, 0, 500, 400 },
                .tabIndex = 2 - i });
        w.add({ .kind = Kind::CommandButton,
            .name = "Command1",
            .rect = { 0, 1200, 900, 400 },
            .tabIndex = 3 });
        const std::string prefix = std::string(name) + " ";
        auto id = [](const Control* c) {
            return !c            ? std::string("none")
                : c->index() < 0 ? c->name()
                                 : c->name() + std::to_string(c->index());
        };
        auto events = std::make_unique<test::LambdaEvents>(w);
        test::LambdaEvents::Slots& h = events->on;
        h.keyDown = [&log, prefix, id](Control& c, int& code, int) {
            log.push_back(prefix + "down " + id(&c) + " " + std::to_string(code));
        };
        h.keyPress = [&log, prefix, id](Control& c, int& ascii) {
            log.push_back(prefix + "press " + id(&c) + " " + std::to_string(ascii));
        };
        h.keyUp = [&log, prefix, id](Control* c, int code, int) {
            log.push_back(prefix + "up " + id(c) + " " + std::to_string(code));
        };
        h.click = [&log, prefix, id](Control& c) { log.push_back(prefix + "click " + id(&c)); };
        return { std::move(pw), std::move(events) };
    }

    // Key windows on the fake platform, and the one key road they share.
    struct KeyRig {
        explicit KeyRig(std::initializer_list<std::string_view> names)
        {
            for (std::string_view n : names) {
                windows.push_back(makeKeyWindow(n, log));
                p.attach(*windows.back());
            }
        }
        KeyRig(const KeyRig&) = delete;
        KeyRig& operator=(const KeyRig&) = delete;
        Window& window(std::size_t i = 0) { return *windows.at(i); }
        test::LambdaEvents::Slots& on(std::size_t i = 0) { return windows.at(i).events->on; }
        long count(const std::string& line) const
        {
            return std::count(log.begin(), log.end(), line);
        }

        std::vector<std::string> log; // before the windows: their events write into it
        std::vector<KeyWindow> windows;
        test::FakePlatform p;
        KeyRoad& road = p.keys();
    };

    // What a window's handlers hear of the mouse and the focus, as "F:C D1:C U1:C C:C" (focus,
    // down and up with their button, click; Option1(2) is O2, Command1 is C, the frame f).
    struct MouseLog {
        explicit MouseLog(test::LambdaEvents::Slots& handlers)
            : on(handlers)
        {
            on.gotFocus = [this](Control& c) { note('F', c); };
            on.mouseDown = [this](Control& c, int b, int) { note('D', c, b); };
            on.mouseUp = [this](Control& c, int b, int) { note('U', c, b); };
            on.click = [this](Control& c) { note('C', c); };
        }
        static std::string id(const Control& c)
        {
            return c.name().substr(0, 1) + (c.index() < 0 ? "" : std::to_string(c.index()));
        }
        void note(char what, const Control& c, int b = 0)
        {
            text += (text.empty() ? "" : " ") + (what + (b ? std::to_string(b) : "")) + ":" + id(c);
        }
        // The control of `w` a script's step names after its colon; `none` if it names none.
        static Control* named(const Window& w, const std::string& step, Control* none)
        {
            for (const auto& owned : w.controls())
                if (step.ends_with(":" + id(*owned)))
                    return owned.get();
            return none;
        }
        test::LambdaEvents::Slots& on;
        std::string text;
    };

private slots:
    void captionChangeRaisedOnlyOnRealChange()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        std::vector<std::string> seen;
        test::LambdaEvents events { w };
        events.on.change = [&](Control& c) { seen.push_back(c.caption()); };
        Control& l = w.at("lbl");
        l.setCaption("?");
        l.setCaption("?");
        l.setCaption("");
        l.setCaption("5");
        QCOMPARE(seen, (std::vector<std::string> { "?", "", "5" }));
    }

    void shownCaptionBreaksLinesAtEachEnding()
    {
        auto pw = makeWindow();
        Control& l = pw->at("lbl");
        const std::pair<const char*, const char*> rows[] = {
            { "a\r\nb", "a\nb" },
            { "a\rb", "a\nb" },
            { "a\nb", "a\nb" },
            { "a\r\r\nb\r", "a\n\nb\n" },
            { "a\n\rb", "a\n\nb" },
        };
        for (const auto& [caption, shown] : rows) {
            l.setCaption(caption);
            QCOMPARE(l.shownCaption(), std::string(shown));
        }
    }

    void pixelsRoundEdgesNotSizes()
    {
        // Controls that touch in twips touch on screen, at every DPI.
        for (const double dpi : { 96.0, 144.0, 192.0, 120.0 }) {
            const Scale s(dpi);
            const PxRect a = s.rect({ 0, 0, 1237, 600 });
            const PxRect b = s.rect({ 1237, 0, 1237, 600 });
            QCOMPARE(a.x + a.w, b.x);
            QCOMPARE(s.twips(s.px(1500)), 1500);
        }
        const Scale css;
        QCOMPARE(css.rect({ 1237, 0, 1237, 600 }).w, 83); // alone, 1237 would round to 82
        QCOMPARE(css.px(7), 0);
        QCOMPARE(css.px(8), 1);
    }

    // A desktop's screen is shown as it is; a narrower viewport shows the window at the desktop's
    // narrowest proportion, centred down it; a smaller one zooms out until it holds the smallest
    // client area.
    void viewportsSmallOrNarrowFitTheWindowIn()
    {
        const struct {
            int width, height, bar;
            ViewportFit fit;
        } rows[] = {
            { 1280, 1024, 19, { 1.0, 1280, 1024, 0 } },
            { 1366, 768, 19, { 1.0, 1366, 768, 0 } },
            { 925, 739, 19, { 1.0, 925, 739, 0 } },
            { 1080, 1920, 19, { 1.0, 1080, 864, 528 } }, // upright, large: no zoom
            { 768, 1024, 19, { 614.4 / 739, 768 * 739 / 614.4, 739, 204.8 } },
            { 1280, 700, 19, { 700 / 739.0, 1280 * 739 / 700.0, 739, 0 } },
            { 1280, 700, 0, { 700 / 720.0, 1280 * 720 / 700.0, 720, 0 } },
            { 0, 0, 19, { 1.0, 0, 0, 0 } },
        };
        for (const auto& r : rows) {
            const ViewportFit f = Scale().fit(r.width, r.height, r.bar);
            QCOMPARE(f.zoom, r.fit.zoom);
            QCOMPARE(f.width, r.fit.width);
            QCOMPARE(f.height, r.fit.height);
            QCOMPARE(f.top, r.fit.top);
        }
    }

    // A button's raised edge shades its face as the desktop toolkit does, bit for bit (the
    // lighter line of a saturated face takes from its saturation); a font without a size is
    // drawn at the default one.
    void lookShadesFacesAsTheDesktopDoes()
    {
        const struct {
            const char* face;
            Bgr back, light, dark;
        } rows[] = {
            { "normal", ColoreNormale, 0x00D9EDFF, 0x00788C9F },
            { "highlight", ColoreEvidenziato, 0x0099CDFF, 0x0050789F },
            { "aqua", Acqua, 0x00FFFF99, 0x009F9F50 },
            { "yellow, saturated", Giallo, 0x0019FFFF, 0x00009F9F },
            { "navy", Blu, 0x008D0000, 0x00500000 },
            { "the default face", look::Face, 0x00FFFFFF, 0x00959595 },
            { "black", 0, 0, 0 },
        };
        for (const auto& r : rows) {
            const look::Edge e = look::raised(r.back);
            QVERIFY2((e == look::Edge { 0x00FFFFFF, 0, r.light, r.dark }), r.face);
        }
        QCOMPARE(look::points(Font { .points = 0 }), DefaultFontPoints);
        QCOMPARE(look::points(Font { .points = 12 }), 12.0);
    }

    void observerSeesEachPropertyChangeOnce()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        std::vector<Prop> props;
        w.observer = [&](Control&, Prop p) { props.push_back(p); };
        Control& b = w.at("Option1", 1);
        b.setEnabled(false);
        b.setEnabled(false);
        b.setBackColor(0x0080C0FF);
        b.setBackColor(0x0080C0FF);
        b.setValue(false); // already false
        QCOMPARE(props, (std::vector<Prop> { Prop::Enabled, Prop::BackColor }));
    }

    void moveRefusesNegativeSizes()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        Control& l = w.at("lbl");
        QVERIFY(!l.move({ 5, 5, -1, 10 }));
        QVERIFY(!l.setHeight(-75));
        QCOMPARE(l.rect(), (Twips { 0, 0, 100, 100 }));
        QVERIFY(l.setWidth(0));
        QCOMPARE(l.width(), 0);
    }

    void dockedPicturesKeepTheirEdgeAndFullHeight()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        Control& left = w.at("Picture1");
        Control& right = w.at("Picture2");
        QCOMPARE(right.rect(), (Twips { 2800, 0, 200, 2000 }));
        QVERIFY(right.setWidth(1500));
        QCOMPARE(right.rect(), (Twips { 1500, 0, 1500, 2000 }));
        QVERIFY(left.move({ 400, 300, 700, 20 }));
        QCOMPARE(left.rect(), (Twips { 0, 0, 700, 2000 }));
        w.setInnerSize(6000, 500);
        QCOMPARE(right.rect(), (Twips { 4500, 0, 1500, 500 }));
        QCOMPARE(left.rect(), (Twips { 0, 0, 700, 500 }));
    }

    void focusIsRefusedForDisabledHiddenAndNonButtons()
    {
        Shown shown;
        auto& [window, w, p] = shown;
        QVERIFY(!w.setFocus(w.at("lbl")));
        w.at("Option1", 2).setEnabled(false);
        QVERIFY(!w.setFocus(w.at("Option1", 2)));
        w.at("fra").setVisible(false);
        QVERIFY(!w.setFocus(w.at("Option1", 0)));
        QCOMPARE(w.focused(), nullptr);
        w.at("fra").setVisible(true);
        QVERIFY(w.setFocus(w.at("Option1", 0)));
        QCOMPARE(w.focused(), &w.at("Option1", 0));
    }

    void focusMoveReportsLostThenGained()
    {
        Shown shown;
        auto& [window, w, p] = shown;
        std::vector<std::string> log;
        test::LambdaEvents events { w };
        events.on.gotFocus = [&](Control& c) { log.push_back("got" + std::to_string(c.index())); };
        events.on.lostFocus
            = [&](Control& c) { log.push_back("lost" + std::to_string(c.index())); };
        w.setFocus(w.at("Option1", 0));
        w.setFocus(w.at("Option1", 1));
        w.setFocus(w.at("Option1", 1));
        QCOMPARE(log, (std::vector<std::string> { "got0", "lost0", "got1" }));
    }

    void disablingTheFocusedButtonMovesTheFocusOn()
    {
        Shown shown;
        auto& [window, w, p] = shown;
        w.setFocus(w.at("Option1", 2));
        w.at("Option1", 2).setEnabled(false);
        QCOMPARE(w.focused(), &w.at("Option1", 0));
    }

    void tabOrderWrapsSkipsAndStartsAtTheEnds()
    {
        Shown shown;
        auto& [window, w, p] = shown;
        Control& b0 = w.at("Option1", 0);
        Control& b1 = w.at("Option1", 1);
        Control& b2 = w.at("Option1", 2);
        // A window that shows gives the focus to the first button that takes it, unless one has it.
        b0.setEnabled(false);
        w.takeFirstFocus();
        QCOMPARE(w.focused(), &b1);
        b0.setEnabled(true);
        w.takeFirstFocus();
        QCOMPARE(w.focused(), &b1);
        QCOMPARE(w.nextInTabOrder(nullptr, 1), &b0);
        QCOMPARE(w.nextInTabOrder(nullptr, -1), &b2);
        QCOMPARE(w.nextInTabOrder(&b2, 1), &b0);
        QCOMPARE(w.nextInTabOrder(&b0, -1), &b2);
        b1.setEnabled(false);
        QCOMPARE(w.nextInTabOrder(&b0, 1), &b2);
        b2.setVisible(false);
        QCOMPARE(w.nextInTabOrder(&b0, 1), nullptr); // never the button it starts from
        // Hiding the container of the focused button leaves no button to go to.
        w.setFocus(b0);
        QVERIFY(!w.focusNeedsRepair());
        w.at("fra").setVisible(false);
        QCOMPARE(w.focused(), nullptr);
    }

    void keyRoadRunsDownArrowStepPressAndUpInOrder()
    {
        KeyRig rig { "a" };
        Window& w = rig.window();
        KeyRoad& road = rig.road;
        auto& on = rig.on();
        w.setFocus(w.at("Option1", 2));
        // An arrow left unchanged by KeyDown steps within the group; KeyPress goes to the
        // control focused after KeyDown.
        road.press(w, w.focused(), { .key = 1, .code = vk::Right, .ascii = 0 });
        QCOMPARE(w.focused(), &w.at("Option1", 0));
        on.gotFocus = nullptr;
        const auto keyDown = on.keyDown;
        on.keyDown = [&](Control& c, int& code, int shift) {
            keyDown(c, code, shift);
            w.setFocus(w.at("Option1", 1));
        };
        road.press(w, w.focused(), { .key = 2, .code = vk::Digit0 + 5, .ascii = '5' });
        on.keyDown = keyDown;
        // A release goes to whatever has the focus when the key comes up, also to none.
        road.release(w, { .key = 2, .code = vk::Digit0 + 5 });
        road.release(w, { .key = 1, .code = vk::Right });
        w.at("fra").setVisible(false);
        QCOMPARE(w.focused(), &w.at("Command1"));
        w.at("Command1").setEnabled(false);
        QCOMPARE(w.focused(), nullptr);
        road.press(w, nullptr, { .key = 3, .code = vk::Digit0 + 7, .ascii = '7' });
        road.release(w, { .key = 3, .code = vk::Digit0 + 7 });
        QCOMPARE(rig.log,
            (std::vector<std::string> { "a down Option12 39", "a down Option10 53",
                "a press Option11 53", "a up Option11 53", "a up Option11 39", "a up none 55" }));
    }

    void virtualKeyIsTheKeypadsThenTheSymbolsThenTheDigitRows()
    {
        // On the keypad, keypad's code, symbol's code, digit-row place: the key's code.
        const std::pair<KeyFacts, int> rows[] = {
            { { true, vk::Numpad0 + 7, vk::Digit0 + 7, -1 }, vk::Numpad0 + 7 },
            { { true, 0, vk::Home, -1 }, vk::Home }, // NumLock off
            { { false, vk::Add, vk::A, 1 }, vk::A },
            { { false, 0, 0, 0 }, vk::Digit0 }, // AZERTY's unshifted row, a shifted row
            { { false, 0, 0, 10 }, 0 },
            { { false, 0, 0, -1 }, 0 },
        };
        for (const auto& [facts, code] : rows)
            QCOMPARE(virtualKeyOf(facts), code);
    }

    void quickTapsActTwiceAHeldKeyOnce()
    {
        KeyRig rig { "a" };
        Window& w = rig.window();
        KeyRoad& road = rig.road;
        Control& cmd = w.at("Command1");
        w.setFocus(cmd);
        const KeyStroke enter { .key = 36, .code = vk::Return, .ascii = vk::Return };
        const auto clicks = [&] { return rig.count("a click Command1"); };
        road.press(w, &cmd, enter);
        road.release(w, enter);
        road.press(w, &cmd, enter);
        road.release(w, enter);
        QCOMPARE(clicks(), 2);
        // Held: a press of a key still down is its repeat, whatever the platform flags. It
        // reaches the handlers, but does not click.
        road.press(w, &cmd, enter);
        road.press(w, &cmd, enter);
        QVERIFY(road.isDown(36));
        road.release(w, enter);
        QVERIFY(!road.isDown(36));
        KeyStroke flagged = enter;
        flagged.repeat = true;
        road.press(w, &cmd, flagged); // the repeat of a press never seen: nothing at all
        QCOMPARE(clicks(), 3);
        QCOMPARE(rig.count("a down Command1 13"), 4);
        road.press(w, &cmd, enter);
        QCOMPARE(clicks(), 4);
        // A KeyPress that swallows ENTER cancels the click.
        road.release(w, enter);
        rig.on().keyPress = [](Control&, int& ascii) { ascii = 0; };
        road.press(w, &cmd, enter);
        QCOMPARE(clicks(), 4);
    }

    void spaceClicksWhenItComesUpOnItsButton()
    {
        KeyRig rig { "a" };
        Window& w = rig.window();
        KeyRoad& road = rig.road;
        Control& cmd = w.at("Command1");
        const KeyStroke space { .key = 65, .code = vk::Space, .ascii = vk::Space };
        const auto clicks = [&] { return rig.count("a click Command1"); };
        w.setFocus(cmd);
        road.press(w, &cmd, space);
        road.press(w, &cmd, space); // held
        QCOMPARE(clicks(), 0);
        road.release(w, space);
        QCOMPARE(clicks(), 1);
        // The focus went away and came back while SPACE was down: no click.
        road.press(w, &cmd, space);
        w.setFocus(w.at("Option1", 0));
        w.setFocus(cmd);
        road.release(w, space);
        QCOMPARE(clicks(), 1);
        // Another key coming up does not push it either.
        road.press(w, &cmd, space);
        road.release(w, { .key = 10, .code = vk::Digit0 + 1 });
        QCOMPARE(clicks(), 1);
        road.release(w, space);
        QCOMPARE(clicks(), 2);
        // Never an option button.
        w.setFocus(w.at("Option1", 0));
        road.press(w, w.focused(), space);
        road.release(w, space);
        QCOMPARE(clicks(), 2);
    }

    void keysReleasedInAnotherProgramComeUpWhenTheKeyboardComesBack()
    {
        KeyRig rig { "a", "b" };
        Window& a = rig.window(0);
        Window& b = rig.window(1);
        KeyRoad& road = rig.road;
        Control& cmd = a.at("Command1");
        a.setFocus(cmd);
        b.setFocus(b.at("Option1", 2));
        const KeyStroke space { .key = 65, .code = vk::Space, .ascii = vk::Space };
        const KeyStroke enter { .key = 36, .code = vk::Return, .ascii = vk::Return };
        const KeyStroke digit { .key = 10, .code = vk::Digit0 + 1, .ascii = '1' };
        road.press(a, &cmd, space);
        road.press(a, &cmd, enter);
        road.press(b, b.focused(), digit);
        QCOMPARE(rig.count("a click Command1"), 1);
        // The keyboard left, SPACE and "1" came up elsewhere, ENTER is still held; it comes back
        // to a.
        rig.log.clear();
        road.settle(a, [](int key) { return key == 36; });
        QCOMPARE(rig.log, (std::vector<std::string> { "a up Command1 49", "a up Command1 32" }));
        QVERIFY(road.isDown(36));
        QVERIFY(!road.isDown(65));
        QVERIFY(!road.isDown(10));
        // Their own releases, still to come, are the road's to take.
        QVERIFY(road.awaitsRelease(65) && road.awaitsRelease(10) && !road.awaitsRelease(99));
        // ENTER is still a repeat; "1" and SPACE are new presses (also when the platform, which
        // missed the release too, flags "1" as a repeat), and SPACE clicks on its own release only.
        road.press(a, &cmd, enter);
        QCOMPARE(rig.count("a click Command1"), 0);
        road.press(a, &cmd, { .key = 10, .code = vk::Digit0 + 1, .ascii = '1', .repeat = true });
        road.press(a, &cmd, space);
        road.release(a, space);
        QCOMPARE(rig.log,
            (std::vector<std::string> { "a up Command1 49", "a up Command1 32",
                "a down Command1 13", "a press Command1 13", "a down Command1 49",
                "a press Command1 49", "a down Command1 32", "a press Command1 32",
                "a up Command1 32", "a click Command1" }));
        // Nothing held: nothing happens.
        road.release(a, enter);
        road.release(a, digit);
        rig.log.clear();
        road.settle(a, [](int) { return false; });
        QVERIFY(rig.log.empty());
        QVERIFY(!road.awaitsRelease(65) && !road.awaitsRelease(36));
    }

    void aRepeatActsOnlyInTheWindowItsPressWentDownIn()
    {
        KeyRig rig { "a", "b" };
        Window& a = rig.window(0);
        Window& b = rig.window(1);
        KeyRoad& road = rig.road;
        a.setFocus(a.at("Option1", 0));
        b.setFocus(b.at("Option1", 1));
        const KeyStroke enter { .key = 36, .code = vk::Return, .ascii = vk::Return };
        // The press went down in a (say, it opened b): its repeats in b do nothing, in a they
        // reach the handlers; the release reaches b's focused button.
        road.press(a, a.focused(), enter);
        road.press(b, b.focused(), enter);
        road.press(a, a.focused(), enter);
        road.release(b, enter);
        road.press(b, b.focused(), enter); // pressed again: a press of its own
        road.release(b, enter);
        // A window closed under a held key (ENTER on its close button) leaves the key to no
        // window: its repeats in the window behind do nothing.
        a.setFocus(a.at("Command1"));
        rig.on(0).click = [&](Control&) { a.attach(nullptr); };
        road.press(a, a.focused(), enter);
        road.press(b, b.focused(), enter);
        road.press(a, a.focused(), enter); // a closed window takes no key
        road.release(b, enter);
        QCOMPARE(rig.log,
            (std::vector<std::string> { "a down Option10 13", "a press Option10 13",
                "a down Option10 13", "a press Option10 13", "b up Option11 13",
                "b down Option11 13", "b press Option11 13", "b up Option11 13",
                "a down Command1 13", "a press Command1 13", "b up Option11 13" }));
    }

    void mouseRoadActsOnPressFocusesOnLeftAndClicksOnRelease()
    {
        // Steps in window a: d<button>:<control> press, u<button> release over it, o<button>
        // release away from it, b<button> release in window b; x: disable, h: hide, f: focus;
        // c closes the window, r shows it again, k closes it on the next focus move.
        const std::array<std::array<const char*, 3>, 16> rows { {
            { "left on an option", "d1:O1 u1", "F:O1 D1:O1 U1:O1" },
            { "right, middle: no focus", "d2:O0 u2 d4:O0 u4", "D2:O0 U2:O0 D4:O0 U4:O0" },
            { "left up over a command", "d1:C u1", "F:C D1:C U1:C C:C" },
            { "left up away", "d1:C o1", "F:C D1:C U1:C" },
            { "right up over", "d2:C u2", "D2:C U2:C" },
            { "disabled", "x:C d1:C u1", "" },
            { "in a hidden frame", "h:f d1:O0 u1", "" },
            { "disabled by its press", "d2:C x:C u2", "D2:C" },
            { "up where it went down", "d1:O2 f:C u1", "F:O2 D1:O2 F:C U1:O2" },
            { "two buttons", "d1:C d2:C u1 u2", "F:C D1:C D2:C U1:C C:C U2:C" },
            { "a release lost", "d1:O0 d1:C u1", "F:O0 D1:O0 F:C D1:C U1:C C:C" },
            { "no press", "u1", "" },
            { "up in another window", "d2:C b2", "D2:C" },
            { "not shown", "c d1:C u1", "" },
            { "closed while down", "d2:C c r u2", "D2:C" },
            { "closed by the focus", "k d1:C u1", "F:C" },
        } };
        for (const auto& [name, script, expected] : rows) {
            KeyRig rig { "a", "b" };
            Window& w = rig.window();
            MouseLog log { rig.on() };
            MouseRoad& road = rig.p.mouse();
            Control* c = nullptr;
            MouseButton b {};
            const std::map<char, std::function<void()>> act {
                { 'd', [&] { road.press(w, *c, b, 0); } },
                { 'u', [&] { road.release(w, b, 0, true); } },
                { 'o', [&] { road.release(w, b, 0, false); } },
                { 'b', [&] { road.release(rig.window(1), b, 0, true); } },
                { 'x', [&] { c->setEnabled(false); } }, { 'h', [&] { c->setVisible(false); } },
                { 'f', [&] { w.setFocus(*c); } }, { 'c', [&] { w.attach(nullptr); } },
                { 'r', [&] { rig.p.attach(w); } },
                { 'k',
                    [&] {
                        log.on.gotFocus = [&](Control& f) { log.note('F', f), w.attach(nullptr); };
                    } }
            };
            std::istringstream in(script);
            for (std::string s; in >> s; act.at(s[0])()) {
                c = MouseLog::named(w, s, c);
                b = static_cast<MouseButton>(s.size() > 1 && s[1] != ':' ? s[1] - '0' : 0);
            }
            QVERIFY2(log.text == expected, (std::string(name) + ": " + log.text).c_str());
            for (const Control* o : w.array("Option1"))
                QVERIFY2(!o->value(), name); // no press selects an option button
        }
    }

    void pointersHoldTheButtonTheyWentDownOn()
    {
        // Steps d<pointer><button>:<control> a pointer down (button 0: a side button; control -:
        // none), u<pointer><button>:<control> up under the control (button 0: its own), c and r
        // a further button down and up while it is down, x<pointer> cancelled, a: all let go.
        const std::array<std::array<const char*, 3>, 8> rows { {
            { "up over it", "d11:C u10:C", "F:C D1:C U1:C C:C" },
            { "up away from it", "d11:C u10:O0", "F:C D1:C U1:C" },
            { "a chord comes back to it", "d14:C c11:O1 r11:C u14:O1",
                "D4:C F:C D1:C U1:C C:C U4:C" },
            { "down again: the release was lost", "d11:C d11:O0 u10:O0",
                "F:C D1:C U1:C F:O0 D1:O0 U1:O0" },
            { "a side button", "d10:C u10:C", "" },
            { "on nothing", "d11:- u10:C", "" },
            { "cancelled", "d11:C x1 u10:C", "F:C D1:C U1:C" },
            { "all let go, in their order", "d22:C d11:O0 a", "D2:C F:O0 D1:O0 U1:O0 U2:C" },
        } };
        for (const auto& [name, script, expected] : rows) {
            KeyRig rig { "a" };
            Window& w = rig.window();
            MouseLog log { rig.on() };
            MouseRoad& road = rig.p.mouse();
            std::istringstream in(script);
            for (std::string s; in >> s;) {
                Control* c = MouseLog::named(w, s, nullptr);
                const int pointer = s.size() > 1 ? s[1] - '0' : 0;
                const int bit = s.size() > 2 ? s[2] - '0' : 0;
                const auto b = bit ? std::optional(static_cast<MouseButton>(bit)) : std::nullopt;
                if (s[0] == 'd')
                    road.pointerDown(pointer, c, b, 0);
                else if (s[0] == 'u')
                    road.pointerUp(pointer, b, 0, c);
                else if (s[0] == 'c' || s[0] == 'r')
                    road.chord(pointer, *b, s[0] == 'c', 0, c);
                else if (s[0] == 'x')
                    road.letGo(pointer);
                else
                    road.letGoAll();
            }
            QVERIFY2(log.text == expected, (std::string(name) + ": " + log.text).c_str());
        }
    }

    // A platform that stacks its own windows keeps a modal one in front of all; a window shown
    // or raised goes in front of the others that are not modal.
    void windowStackKeepsTheModalInFront()
    {
        // Steps: a letter shows that window (upper case: modal), ^ raises it, - removes it.
        const std::array<std::array<const char*, 3>, 7> rows { {
            { "shown in front", "a b", "a b" },
            { "behind the modal one", "a M b", "a b M" },
            { "raised", "a b ^a", "b a" },
            { "raised behind the modal one", "a M b ^a", "b a M" },
            { "a modal one over a modal one", "a M N ^M", "a N M" },
            { "shown again: raised", "a b a", "b a" },
            { "removed", "a M -M b", "a b" },
        } };
        std::map<char, std::unique_ptr<Window>> windows;
        for (const char n : std::string("abMN"))
            windows[n] = std::make_unique<Window>(
                WindowDef { .name = std::string_view(&n, 1), .title = "" });
        for (const auto& [name, script, expected] : rows) {
            WindowStack stack;
            std::istringstream in(script);
            for (std::string s; in >> s;) {
                Window& w = *windows.at(s.back());
                if (s[0] == '^')
                    stack.raise(w);
                else if (s[0] == '-')
                    stack.remove(w);
                else
                    stack.show(w, std::isupper(static_cast<unsigned char>(s[0])) != 0);
            }
            std::string order;
            for (const WindowStack::Entry& e : stack.backToFront())
                order += (order.empty() ? "" : " ") + e.window->name();
            QVERIFY2(order == expected, (std::string(name) + ": " + order).c_str());
            QVERIFY2(stack.front() == stack.backToFront().back().window, name);
            const Window* plain = stack.frontPlain();
            QVERIFY2(plain && std::islower(static_cast<unsigned char>(plain->name()[0])), name);
        }
    }

    // Words said for a window before it shows wait for it, and go with it if it closes first.
    void wordsBeforeAWindowShowsWaitForIt()
    {
        struct Voice final : Platform {
            bool setFocus(Window&, Control&) override { return false; }
            void show(Window& w, bool) override { showing(w); }
            void raise(Window&) override { }
            void unload(Window& w) override { closed(w); }
            void post(std::function<void()>) override { }
            void quit() override { }
            void speak(Window& w, const std::string& words) override
            {
                said.push_back(w.name() + ": " + words);
            }
            std::vector<std::string> said;
        } voice;
        Window a(WindowDef { .name = "a", .title = "a" });
        Window b(WindowDef { .name = "b", .title = "b" });
        voice.announce(a, "one");
        voice.announce(b, "never");
        voice.announce(a, "two");
        QVERIFY(voice.said.empty() && !voice.shows(a));
        voice.unload(b);
        voice.show(b, false);
        voice.show(a, false);
        voice.announce(a, "three");
        QCOMPARE(voice.said, (std::vector<std::string> { "a: one", "a: two", "a: three" }));
        QVERIFY(voice.shows(a));
    }

    void arrowStepInGroupWrapsAndSkipsDisabled()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        Control& b0 = w.at("Option1", 0);
        Control& b2 = w.at("Option1", 2);
        QCOMPARE(w.nextInGroup(b0, -1), &b2);
        QCOMPARE(w.nextInGroup(b2, 1), &b0);
        w.at("Option1", 1).setEnabled(false);
        QCOMPARE(w.nextInGroup(b0, 1), &b2);
        QCOMPARE(w.nextInGroup(b2, -1), &b0);
        b2.setEnabled(false);
        QCOMPARE(w.nextInGroup(b0, 1), nullptr);
        // A control outside any option group has no neighbours.
        QCOMPARE(w.nextInGroup(w.at("lbl"), 1), nullptr);
    }

    void lookupOfUnknownControlThrows()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, w.at("Option1", 3));
        QCOMPARE(w.array("Option1").size(), std::size_t(3));
        QCOMPARE(w.find("Nessuno"), nullptr);
        // The same lookups on a window seen as const.
        const Window& cw = w;
        QCOMPARE(cw.find("Option1", 2), &w.at("Option1", 2));
        QCOMPARE(cw.array("Option1").back(), &w.at("Option1", 2));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, w.members<4>("Option1"));
        QCOMPARE(w.members<3>("Option1")[1], &w.at("Option1", 1));
    }

    void controlKeepsItsRowWithTextsOfItsOwn()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        // Texts made at run time and overwritten once the control exists: it must hold no view
        // into them.
        std::string name = "Dinamico";
        std::string container = "fra";
        std::string caption = "Ciao";
        Control& c = w.add({ .kind = Kind::Label,
            .name = name,
            .container = container,
            .rect = { 1, 2, 30, 40 },
            .caption = caption,
            .fore = 0x000000C0,
            .tabIndex = 7,
            .z = 3 });
        name.assign("XXXXXXXX");
        container.assign("YYY");
        caption.assign("ZZZZ");
        QCOMPARE(c.name(), std::string("Dinamico"));
        QCOMPARE(&w.at("Dinamico"), &c);
        QVERIFY(c.def().name == "Dinamico");
        QVERIFY(c.def().container == "fra");
        QCOMPARE(c.container(), &w.at("fra"));
        QCOMPARE(c.caption(), std::string("Ciao"));
        QCOMPARE(c.tabIndex(), 7);
        QCOMPARE(c.z(), 3);
        QCOMPARE(c.foreColor(), std::optional<Bgr>(0x000000C0));

        // Run-time changes leave the row's design-time values as they were.
        c.setCaption("nuovo");
        QVERIFY(c.move({ 5, 6, 70, 80 }));
        c.setVisible(false);
        QVERIFY(c.rect() == (Twips { 5, 6, 70, 80 }));
        QVERIFY(c.def().rect == (Twips { 1, 2, 30, 40 }));
        QVERIFY(c.def().visible);
        QVERIFY(!c.visible());
    }

    void screenEventsKeepTheirOwnAndHandInputOn()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        test::FakePlatform p;
        p.attach(w);
        std::vector<std::string> log;
        struct Input final : WindowEvents {
            std::vector<std::string>& log;
            std::string name;
            Input(std::vector<std::string>& l, std::string n)
                : log(l)
                , name(std::move(n))
            {
            }
            void gotFocus(Control& c) override
            {
                log.push_back(name + " got" + std::to_string(c.index()));
            }
            void keyDown(Control&, int& code, int) override
            {
                log.push_back(name + " down " + std::to_string(code));
                code = 0;
            }
            void click(Control&) override { log.push_back(name + " click"); }
        };
        struct Screen final : ScreenEvents {
            std::vector<std::string>& log;
            Screen(Window& w, std::vector<std::string>& l)
                : ScreenEvents(w)
                , log(l)
            {
            }
            void click(Control& c) override { log.push_back("screen click " + c.name()); }
        };
        auto screen = std::make_unique<Screen>(w, log);
        QCOMPARE(&w.events(), screen.get());
        Input& first = screen->useInput(std::make_unique<Input>(log, "first"));
        QCOMPARE(first.name, std::string("first"));
        w.setFocus(w.at("Option1", 1));
        int code = vk::Return;
        w.raiseKeyDown(w.at("Option1", 1), code);
        QCOMPARE(code, 0); // what the input wrote reaches the caller
        w.raiseClick(w.at("lbl"));
        // A second input replaces the first: no event reaches both.
        screen->useInput(std::make_unique<Input>(log, "second"));
        code = vk::Space;
        w.raiseKeyDown(w.at("Option1", 1), code);
        QCOMPARE(log,
            (std::vector<std::string> {
                "first got1", "first down 13", "screen click lbl", "second down 32" }));
        // A spy in front stays when the screen goes; without one the window is left with none.
        {
            test::LambdaEvents spy { w };
            screen.reset();
            QCOMPARE(&w.events(), &spy);
        }
        screen = std::make_unique<Screen>(w, log);
        screen.reset();
        QVERIFY(dynamic_cast<ScreenEvents*>(&w.events()) == nullptr);
    }

    void timerTicksOnlyWhileEnabled()
    {
        Window w({ .name = "t", .title = "t", .clientWidth = 10, .clientHeight = 10 });
        Control& t
            = w.add({ .kind = Kind::Timer, .name = "Timer1", .enabled = false, .intervalMs = 10 });
        int ticks = 0;
        test::LambdaEvents events { w };
        events.on.timer = [&](Control&) { ++ticks; };
        w.raiseTimer(t);
        t.setEnabled(true);
        w.raiseTimer(t);
        QCOMPARE(ticks, 1);
    }

    void randomIsUniformInHalfOpenRangeAndReproducible()
    {
        SeededRandom a;
        SeededRandom b;
        a.seed(43210.5);
        b.seed(43210.5);
        std::array<int, 10> buckets {};
        for (int i = 0; i < 100000; ++i) {
            const double r = a.next();
            QCOMPARE(r, b.next());
            QVERIFY(r >= 0.0 && r < 1.0);
            ++buckets[static_cast<std::size_t>(r * 10.0)];
        }
        for (int n : buckets)
            QVERIFY2(n > 9500 && n < 10500, "a bucket is far from a tenth of the draws");
    }

    void differentSeedsGiveDifferentSequences()
    {
        SeededRandom a;
        std::set<double> firsts;
        for (int s = 0; s < 50; ++s) {
            a.seed(36000.0 + s * 0.01);
            firsts.insert(a.next());
        }
        QCOMPARE(firsts.size(), std::size_t(50));
    }

    void clockIsWithinADay()
    {
        SystemClock c;
        const double s = c.secondsSinceMidnight();
        QVERIFY(s >= 0.0 && s < 86401.0);
    }
};

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"

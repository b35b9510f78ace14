#include "FakePlatform.h"
#include "model/Random.h"
#include "model/Window.h"

#include <QTest>

#include <array>
#include <set>

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

private slots:
    void captionChangeRaisedOnlyOnRealChange()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        std::vector<std::string> seen;
        w.handlers.change = [&](Control& c) { seen.push_back(c.caption()); };
        Control& l = w.at("lbl");
        l.setCaption("?");
        l.setCaption("?");
        l.setCaption("");
        l.setCaption("5");
        QCOMPARE(seen, (std::vector<std::string> { "?", "", "5" }));
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
        auto pw = makeWindow();
        Window& w = *pw;
        test::FakePlatform p;
        p.attach(w);
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
        auto pw = makeWindow();
        Window& w = *pw;
        test::FakePlatform p;
        p.attach(w);
        std::vector<std::string> log;
        w.handlers.gotFocus = [&](Control& c) { log.push_back("got" + std::to_string(c.index())); };
        w.handlers.lostFocus
            = [&](Control& c) { log.push_back("lost" + std::to_string(c.index())); };
        w.setFocus(w.at("Option1", 0));
        w.setFocus(w.at("Option1", 1));
        w.setFocus(w.at("Option1", 1));
        QCOMPARE(log, (std::vector<std::string> { "got0", "lost0", "got1" }));
    }

    void disablingTheFocusedButtonMovesTheFocusOn()
    {
        auto pw = makeWindow();
        Window& w = *pw;
        test::FakePlatform p;
        p.attach(w);
        w.setFocus(w.at("Option1", 2));
        w.at("Option1", 2).setEnabled(false);
        QCOMPARE(w.focused(), &w.at("Option1", 0));
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

    void timerTicksOnlyWhileEnabled()
    {
        Window w({ .name = "t", .title = "t", .clientWidth = 10, .clientHeight = 10 });
        Control& t
            = w.add({ .kind = Kind::Timer, .name = "Timer1", .enabled = false, .intervalMs = 10 });
        int ticks = 0;
        w.handlers.timer = [&](Control&) { ++ticks; };
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

#include "layout/ProportionalLayout.h"
#include "screens/Screens.h"

#include <QTest>

#include <functional>
#include <random>

using namespace tarvo;

namespace {

using Factory = std::function<std::unique_ptr<Window>()>;

bool moved(const Control& c)
{
    return !c.is(Kind::Timer) && !c.is(Kind::Menu);
}

struct Snapshot {
    std::vector<Twips> rects;
    std::vector<Font> fonts;
    std::vector<bool> enabled;
    std::vector<int> intervals;

    explicit Snapshot(const Window& w)
    {
        for (const auto& c : w.controls()) {
            rects.push_back(c->rect());
            fonts.push_back(c->font());
            enabled.push_back(c->enabled());
            intervals.push_back(c->interval());
        }
    }
};

// A screen with its layout captured at design size, and that design kept to compare against.
struct Laid {
    explicit Laid(const Factory& make)
        : w(make())
        , design(*w)
    {
        layout.capture(*w);
    }
    std::unique_ptr<Window> w;
    const Snapshot design;
    ProportionalLayout layout;
};

// The expected place of a control: the same fractions of the new size.
int scaled(int value, int from, int to)
{
    return static_cast<int>(std::lround(double(value) * to / from));
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

    void screens()
    {
        QTest::addColumn<Factory>("make");
        QTest::newRow("FrmInizio") << Factory(screens::makeFrmInizio);
        QTest::newRow("frmOperativo") << Factory(screens::makeFrmOperativo);
    }

private slots:
    void doubleSizeDoublesEveryControl_data() { screens(); }
    void doubleSizeDoublesEveryControl()
    {
        QFETCH(Factory, make);
        Laid laid(make);
        auto& [w, design, layout] = laid;
        w->setInnerSize(2 * w->designWidth(), 2 * w->designHeight());
        layout.apply(*w);
        for (std::size_t i = 0; i < w->count(); ++i) {
            const Control& c = w->item(i);
            const Twips& d = design.rects[i];
            if (!moved(c))
                continue;
            QVERIFY2(c.rect() == (Twips { 2 * d.left, 2 * d.top, 2 * d.width, 2 * d.height }),
                c.name().c_str());
        }
        // Inside a frame the buttons keep their place relative to the frame.
        const bool start = w->find("frame1") != nullptr;
        const Control& frame = w->at(start ? "frame1" : "fraTastierino");
        const Control& button = w->at("Option1", 4);
        QCOMPARE(button.container(), &frame);
        QVERIFY(button.left() + button.width() <= frame.width());
    }

    void widthOnlyChangesLeftAndWidth_data() { screens(); }
    void widthOnlyChangesLeftAndWidth()
    {
        QFETCH(Factory, make);
        Laid laid(make);
        auto& [w, design, layout] = laid;
        const int wide = w->designWidth() * 3 / 2 + 7;
        w->setInnerSize(wide, w->designHeight());
        layout.apply(*w);
        int changed = 0;
        for (std::size_t i = 0; i < w->count(); ++i) {
            const Control& c = w->item(i);
            const Twips& d = design.rects[i];
            QVERIFY2(c.top() == d.top && c.height() == d.height, c.name().c_str());
            if (!moved(c))
                continue;
            QVERIFY2(std::abs(c.width() - scaled(d.width, w->designWidth(), wide)) <= 1,
                c.name().c_str());
            QVERIFY2(
                std::abs(c.left() - scaled(d.left, w->designWidth(), wide)) <= 1, c.name().c_str());
            changed += c.rect() != d;
        }
        QVERIFY(changed > 0);
    }

    void zeroSizeThenRestore_data() { screens(); }
    void zeroSizeThenRestore()
    {
        QFETCH(Factory, make);
        Laid laid(make);
        auto& [w, design, layout] = laid;
        w->setInnerSize(0, 0);
        layout.apply(*w);
        for (std::size_t i = 0; i < w->count(); ++i) {
            const Control& c = w->item(i);
            if (moved(c))
                QVERIFY2(c.rect() == Twips {}, c.name().c_str());
        }
        w->setInnerSize(w->designWidth(), w->designHeight());
        layout.apply(*w);
        QCOMPARE(Snapshot(*w).rects, design.rects);
    }

    void manyRoundTripsLeaveNoDrift_data() { screens(); }
    void manyRoundTripsLeaveNoDrift()
    {
        QFETCH(Factory, make);
        Laid laid(make);
        auto& [w, design, layout] = laid;
        const auto fractions = layout.Proporzioni();
        std::mt19937 gen(1234);
        std::uniform_int_distribution<int> size(0, 40000);
        for (int round = 0; round < 500; ++round) {
            w->setInnerSize(size(gen), size(gen));
            layout.apply(*w);
            if (round % 50 == 0) {
                w->setInnerSize(w->designWidth(), w->designHeight());
                layout.apply(*w);
                QCOMPARE(Snapshot(*w).rects, design.rects);
            }
        }
        w->setInnerSize(w->designWidth(), w->designHeight());
        layout.apply(*w);
        const Snapshot after(*w);
        QCOMPARE(after.rects, design.rects);
        // Font sizes are never scaled.
        QCOMPARE(after.fonts, design.fonts);
        QCOMPARE(layout.Proporzioni().size(), fractions.size());
        for (std::size_t i = 0; i < fractions.size(); ++i) {
            QCOMPARE(layout.Proporzioni()[i].Left, fractions[i].Left);
            QCOMPARE(layout.Proporzioni()[i].Width, fractions[i].Width);
        }
    }

    void timersAndMenusAreLeftAlone_data() { screens(); }
    void timersAndMenusAreLeftAlone()
    {
        QFETCH(Factory, make);
        Laid laid(make);
        auto& [w, design, layout] = laid;
        std::vector<std::size_t> skipped;
        for (std::size_t i = 0; i < w->count(); ++i)
            if (!moved(w->item(i)))
                skipped.push_back(i);
        QVERIFY(skipped.size() >= 2); // at least one timer and one menu entry
        for (std::size_t i : skipped) {
            const ProporzioniControllo& p = layout.Proporzioni()[i];
            QCOMPARE(p.Width, 0.0f);
            QCOMPARE(p.Height, 0.0f);
            QCOMPARE(p.Top, 0.0f);
            QCOMPARE(p.Left, 0.0f);
        }
        std::vector<std::pair<Control*, Prop>> seen;
        w->observer = [&](Control& c, Prop p) { seen.emplace_back(&c, p); };
        w->setInnerSize(w->designWidth() / 3, w->designHeight() * 2);
        layout.apply(*w);
        const Snapshot after(*w);
        for (std::size_t i : skipped) {
            QCOMPARE(after.rects[i], design.rects[i]);
            QCOMPARE(after.enabled[i], design.enabled[i]);
            QCOMPARE(after.intervals[i], design.intervals[i]);
            for (const auto& [c, p] : seen)
                QVERIFY2(c != &w->item(i), c->name().c_str());
        }
        // Only geometry changes.
        for (const auto& [c, p] : seen)
            QVERIFY2(p == Prop::Rect, c->name().c_str());
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"

#include "app/Curtains.h"
#include "screens/Screens.h"

#include <QTest>

#include <algorithm>

using namespace tarvo;

namespace {

struct Tende {
    // A start screen whose outer width is `outer` twips (a frame of 240 twips where it fits).
    explicit Tende(int outer)
    {
        const int inner = std::max(outer - 240, 0);
        w->setFrameWidth(outer - inner);
        w->setInnerSize(inner, 8310);
        // Disabled here only to see the end of the animation enable it.
        w->at("frame1").setEnabled(false);
    }
    std::unique_ptr<Window> w = screens::makeFrmInizio();
    Curtains tende { *w };
    Control& p1 = w->at("Picture1");
    Control& p2 = w->at("Picture2");
    Control& timer = w->at("timerTendine");
    Control& frame1 = w->at("frame1");

    // Ticks as the timer does until it stops (bounded); the number of ticks taken. Checks on
    // every tick that the panels stay equal and never go negative.
    int runToEnd()
    {
        int ticks = 0;
        while (timer.enabled() && ticks < 100000) {
            tende.tick();
            ++ticks;
            if (p1.width() != p2.width() || p1.width() < 0)
                return -1;
        }
        return ticks;
    }
};

} // namespace

class TestCurtains : public QObject {
    Q_OBJECT

private slots:
    void startCoversWithHalfTheOuterWidth()
    {
        Tende t(12001);
        t.tende.AvviaTendine();
        QCOMPARE(t.p1.width(), 6000);
        QCOMPARE(t.p2.width(), 6000);
        QVERIFY(t.timer.enabled());
        // Half the outer width is more than half the client area: the panels overlap.
        QVERIFY(t.p1.width() + t.p2.width() > t.w->innerWidth());
        // Docked: each keeps its outer edge at the window's edge.
        QCOMPARE(t.p1.left(), 0);
        QCOMPARE(t.p2.left() + t.p2.width(), t.w->innerWidth());
        QCOMPARE(t.p1.height(), t.w->innerHeight());
    }

    void animationEnds_data()
    {
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("rest");
        QTest::newRow("multiple of 75") << 2 * 80 * 75 << 80 << 0;
        QTest::newRow("remainder 10") << 2 * (40 * 75 + 10) << 40 << 10;
        QTest::newRow("remainder 1") << 2 * (40 * 75 + 1) << 40 << 1;
        // No full step left above the threshold: stops rather than tick for ever.
        QTest::newRow("remainder 11") << 2 * (40 * 75 + 11) << 40 << 11;
        QTest::newRow("remainder 74") << 2 * (40 * 75 + 74) << 40 << 74;
        QTest::newRow("less than a step from the start") << 100 << 1 << 50;
        QTest::newRow("nothing to open") << 0 << 1 << 0;
    }

    void animationEnds()
    {
        QFETCH(int, outer);
        QFETCH(int, ticks);
        QFETCH(int, rest);
        Tende t(outer);
        t.tende.AvviaTendine();
        QCOMPARE(t.runToEnd(), ticks);
        QCOMPARE(t.p1.width(), rest);
        QCOMPARE(t.p2.width(), rest);
        QVERIFY(!t.timer.enabled());
        QVERIFY(t.frame1.enabled());
    }

    void frame1IsEnabledOnlyAtTheEnd()
    {
        Tende t(2 * 3 * 75);
        t.tende.AvviaTendine();
        t.tende.tick();
        t.tende.tick();
        QVERIFY(!t.frame1.enabled());
        QCOMPARE(t.p1.width(), 75);
        t.tende.tick();
        QVERIFY(t.frame1.enabled());
        QVERIFY(!t.timer.enabled());
    }

    void refusedFirstStepSkipsTheSecond()
    {
        Tende t(12000);
        t.tende.AvviaTendine();
        // Out of step only to show the guard: step 1 is refused, so step 2 is not taken.
        QVERIFY(t.p1.setWidth(40));
        t.tende.tick();
        QCOMPARE(t.p1.width(), 40);
        QCOMPARE(t.p2.width(), 6000);
        QVERIFY(!t.timer.enabled());
    }

    void resizeMidAnimationRestartsFromTheNewWidth()
    {
        Tende t(12000);
        t.tende.AvviaTendine();
        for (int i = 0; i < 30; ++i)
            t.tende.tick();
        QCOMPARE(t.p1.width(), 6000 - 30 * 75);
        t.w->setInnerSize(6000 - 240, 4000);
        t.tende.AvviaTendine();
        QCOMPARE(t.p1.width(), 3000);
        QCOMPARE(t.p2.width(), 3000);
        QCOMPARE(t.runToEnd(), 40);
        QCOMPARE(t.p1.width(), 0);
    }

    void restartAfterTheEndReplays()
    {
        Tende t(2 * 10 * 75);
        t.tende.AvviaTendine();
        QCOMPARE(t.runToEnd(), 10);
        t.w->setInnerSize(2 * 20 * 75 - 240, 4000);
        t.tende.AvviaTendine();
        QCOMPARE(t.p1.width(), 20 * 75);
        QCOMPARE(t.runToEnd(), 20);
    }
};

QTEST_GUILESS_MAIN(TestCurtains)
#include "tst_curtains.moc"

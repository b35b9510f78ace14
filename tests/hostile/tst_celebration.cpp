// A celebration left running for a long time (ten thousand blink ticks, over an hour at 400 ms,
// with the bounce ticks in between): the colours keep alternating, the blink count wraps without
// harm, the keypad stays in its end-of-tarvo state, the letter tiles stay in their picture, and
// "Nuovo tarvo" still ends it.
#include "FakeProgramRig.h"

#include <QTest>

#include <set>
#include <string>
#include <vector>

using namespace tarvo;
using namespace tarvo::test;

namespace {

struct Game : FakeProgramRig {
    Game()
        : FakeProgramRig(50000.5)
    {
    }
    // The tarvo of 17 chosen and opened from the start screen, then answered right throughout.
    void solve()
    {
        chooseAndOpen(vk::Digit0 + 7);
        Window& g = game();
        // Shown maximised, as the toolkit shows it: on a 1024 x 768 screen, under a menu bar.
        g.setInnerSize(15360, 11220);
        g.raiseResize();
        focusFirstKey();
        answerAll();
    }
};

} // namespace

class TestCelebration : public QObject {
    Q_OBJECT

private slots:
    void tenThousandBlinksKeepAlternating()
    {
        Game t;
        t.solve();
        Window& g = t.game();
        Module1& s = t.program.state();
        QCOMPARE(s.RaggioCorrente, std::int16_t(8));
        Control& timer2 = g.at("Timer2");
        Control& timer3 = g.at("Timer3");
        Control& frame = g.at("Frame1");
        Control& picture = g.at("Picture11");
        QVERIFY(timer3.enabled() && timer2.enabled());
        std::vector<std::string> answers;
        for (int i = 0; i < 8; ++i)
            answers.push_back(g.at("lblRisultato", i).caption());
        const std::set<int> steps { 30, -31, 15, -16, 20, -21, 10, -11 };

        constexpr int blinks = 10000;
        for (int tick = 1; tick <= blinks; ++tick) {
            // Eight bounces to a blink, as 50 ms to 400 ms.
            for (int b = 0; b < 8; ++b) {
                g.raiseTimer(timer2);
                for (int tile = 0; tile < 4; ++tile) {
                    const Control& f = g.at("Frame2", tile);
                    const int step = s.VelocitaTessera[std::size_t(tile)];
                    QVERIFY2(steps.count(step),
                        qPrintable(
                            QString("tile %1 step %2 at tick %3").arg(tile).arg(step).arg(tick)));
                    // Moved first and tested after: at most one step beyond either bound.
                    const QString where = QString("tile %1 at %2, step %3, picture %4 high, "
                                                  "tile %5 high, blink %6 bounce %7")
                                              .arg(tile)
                                              .arg(f.top())
                                              .arg(step)
                                              .arg(picture.height())
                                              .arg(f.height())
                                              .arg(tick)
                                              .arg(b);
                    QVERIFY2(f.top() >= -31 && f.top() <= picture.height() - f.height() + 31,
                        qPrintable(where));
                }
            }
            // Now and then the pupil moves the highlight to "Esco"; the blink takes it back.
            if (tick % 997 == 0) {
                tapSpace(g);
                QVERIFY(g.hasFocus(g.at("Option1", TastoEsco)));
            }
            // And the window is resized once in a while: the celebration goes on.
            if (tick % 2500 == 0) {
                g.setInnerSize(8000 + tick, 6000 + tick / 2);
                g.raiseResize();
            }
            g.raiseTimer(timer3);

            QCOMPARE(int(s.ContaLampeggi), tick % 256);
            const bool even = tick % 2 == 0;
            const Bgr cells = even ? Giallo : GialloPallido;
            const Bgr area = even ? GialloPallido : Giallo;
            QCOMPARE(frame.backColor(), std::optional<Bgr>(area));
            for (int i = 0; i < 8; ++i) {
                const Control& c = g.at("lblRisultato", i);
                QCOMPARE(c.backColor(), std::optional<Bgr>(cells));
                QCOMPARE(c.caption(), answers[std::size_t(i)]);
            }
            for (int k = 0; k <= TastoAvanti; ++k)
                QVERIFY(!g.at("Option1", k).enabled());
            QVERIFY(g.at("Option1", TastoNuovoTarvo).enabled());
            QVERIFY(g.at("Option1", TastoEsco).enabled());
            QVERIFY(g.hasFocus(g.at("Option1", TastoNuovoTarvo)));
            QVERIFY(timer3.enabled() && timer2.enabled());
            QCOMPARE(s.RaggioCorrente, std::int16_t(8));
            QCOMPARE(t.platform.quits, 0);
        }

        // Still answering: "Nuovo tarvo" stops it and starts again.
        tapEnter(g);
        QVERIFY(!timer3.enabled() && !timer2.enabled());
        QCOMPARE(s.RaggioCorrente, std::int16_t(0));
        QCOMPARE(s.ContaLampeggi, std::uint8_t(0));
        QCOMPARE(frame.backColor(), std::optional<Bgr>(ColoreNormale));
        QCOMPARE(g.at("lblRisultato", 0).caption(), std::string("?"));
        QCOMPARE(t.platform.quits, 0);
    }

    // A rising tile that turns one twip above the top edge must fall back in at once, not turn
    // again at every tick and creep out of its picture.
    void aTileTurningAboveTheTopFallsBackIn()
    {
        Game t;
        t.solve();
        Window& g = t.game();
        Module1& s = t.program.state();
        Control& tile = g.at("Frame2", 3);
        tile.setTop(1);
        s.VelocitaTessera[3] = -11;
        std::vector<int> tops;
        for (int tick = 0; tick < 4; ++tick) {
            g.raiseTimer(g.at("Timer2"));
            tops.push_back(tile.top());
        }
        QCOMPARE(tops, (std::vector<int> { -10, 0, 10, 20 }));
        QCOMPARE(s.VelocitaTessera[3], std::int16_t(10));
    }
};

QTEST_GUILESS_MAIN(TestCelebration)
#include "tst_celebration.moc"

// Both main windows of the real program on the offscreen platform (96 DPI: 15 twips to a pixel),
// at their design size and at twice that size: every control's widget stands where its screen
// table puts it, in proportion, with its font unscaled; and after every resize of the start
// window its curtains close, draw back and stop.
#include "Describe.h"
#include "LambdaEvents.h"
#include "ProgramRig.h"
#include "screens/Screens.h"

#include <cmath>
#include <memory>

using namespace tarvo;
using namespace tarvo::test;

namespace {

constexpr auto Inizio = ScreenId::Inizio;
constexpr auto Gioco = ScreenId::Operativo;

QString nameOf(const Control& c)
{
    return QString::fromStdString(describe(c));
}

} // namespace

class TestIntegrationLayout : public QObject {
    Q_OBJECT

    std::unique_ptr<test::LambdaEvents> startSpy; // goes after the rig whose window it watches
    std::unique_ptr<ProgramRig> rig;

    struct CurtainStart {
        int width; // of Picture1, in twips, just after the Resize handler
        int outerWidth;
        bool running;
    };
    std::vector<CurtainStart> curtainStarts;

    QWidget* client(ScreenId id) { return rig->view(id)->findChild<QWidget*>("client"); }
    QTimer* curtainTimer() { return rig->platform.timerFor(rig->start().at("timerTendine")); }

    // Gives the window's client area `size` pixels and waits until the model has heard of it.
    bool resizeClient(ScreenId id, QSize size)
    {
        QWidget* v = rig->view(id);
        QWidget* area = client(id);
        if (!v || !area)
            return false;
        if (v->isMaximized())
            v->showNormal();
        v->resize(v->size() + (size - area->size()));
        const Window& w = *rig->window(id);
        return QTest::qWaitFor([&] {
            return area->size() == size && w.innerWidth() == size.width() * 15
                && w.innerHeight() == size.height() * 15;
        });
    }

    // Every control of the freshly made table against the widget of the same name in the shown
    // window: within one pixel of its twips × factor / 15, relative to its container; the docked
    // curtains against their edge over the full height; every font as defined.
    void compareWithTable(ScreenId id, const Window& table, double factor)
    {
        for (const auto& owned : table.controls()) {
            const Control& c = *owned;
            if (c.is(Kind::Timer) || c.is(Kind::Menu))
                continue;
            QWidget* w = rig->widget(id, c.name().c_str(), c.index());
            QVERIFY2(w, qPrintable(nameOf(c)));
            QCOMPARE(w->font().pointSizeF(), c.font().points);
            const QRect g = w->geometry();
            if (c.dock() != Dock::None) {
                const QWidget* parent = w->parentWidget();
                QCOMPARE(g.top(), 0);
                QCOMPARE(g.height(), parent->height());
                if (c.dock() == Dock::Left)
                    QCOMPARE(g.left(), 0);
                else
                    QCOMPARE(g.left() + g.width(), parent->width());
                continue;
            }
            const Twips& t = c.rect();
            const double expected[] = { t.left * factor / 15, t.top * factor / 15,
                t.width * factor / 15, t.height * factor / 15 };
            const int actual[] = { g.x(), g.y(), g.width(), g.height() };
            const QString where = QStringLiteral("%1 at (%2, %3, %4, %5) px, the table says (%6, "
                                                 "%7, %8, %9)")
                                      .arg(nameOf(c))
                                      .arg(g.x())
                                      .arg(g.y())
                                      .arg(g.width())
                                      .arg(g.height())
                                      .arg(expected[0])
                                      .arg(expected[1])
                                      .arg(expected[2])
                                      .arg(expected[3]);
            for (int k = 0; k < 4; ++k)
                QVERIFY2(std::abs(actual[k] - expected[k]) <= 1.0, qPrintable(where));
        }
    }

    // The curtains closed again over the whole window at the last resize, then drew back and
    // stopped: the timer is idle, both panels are as narrow as a step allows, the choice frame
    // is enabled, and the window's own background shows where they were.
    void checkCurtainsReplayedAndStopped(int resizesBefore)
    {
        Window& s = rig->start();
        QCOMPARE(int(curtainStarts.size()), resizesBefore + 1);
        const CurtainStart& last = curtainStarts.back();
        QVERIFY(last.running);
        QCOMPARE(last.width, last.outerWidth / 2);
        QVERIFY(last.width >= s.innerWidth() / 2);
        QTRY_VERIFY_WITH_TIMEOUT(!curtainTimer()->isActive(), 15000);
        const int left = s.at("Picture1").width();
        QCOMPARE(s.at("Picture2").width(), left);
        QVERIFY(left >= 0 && left < 75);
        QVERIFY(s.at("frame1").enabled());
        QVERIFY(rig->widget(Inizio, "Picture1")->width() <= 5);
        const QImage shot = client(Inizio)->grab().toImage();
        QCOMPARE(shot.pixelColor(6, shot.height() / 2), rgb(ColoreNormale));
        QCOMPARE(shot.pixelColor(shot.width() - 7, shot.height() / 2), rgb(ColoreNormale));
    }

private slots:
    void init()
    {
        rig = std::make_unique<ProgramRig>();
        curtainStarts.clear();
        QVERIFY(rig->begin());
        // Each Resize restarts the curtains; note what they start from.
        Window& s = rig->start();
        startSpy = std::make_unique<test::LambdaEvents>(s);
        startSpy->on.resize = [this, &s] {
            startSpy->inner().resize();
            curtainStarts.push_back({ s.at("Picture1").width(), s.outerWidth(),
                rig->platform.timerFor(s.at("timerTendine"))->isActive() });
        };
    }

    void cleanup()
    {
        rig.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void startWindowKeepsItsTableAtEverySize()
    {
        const auto table = screens::makeFrmInizio();
        const QSize design(table->designWidth() / 15, table->designHeight() / 15);

        QVERIFY(resizeClient(Inizio, design));
        checkCurtainsReplayedAndStopped(0);
        compareWithTable(Inizio, *table, 1.0);
        if (QTest::currentTestFailed())
            return;

        QVERIFY(resizeClient(Inizio, design * 2));
        checkCurtainsReplayedAndStopped(1);
        compareWithTable(Inizio, *table, 2.0);
        if (QTest::currentTestFailed())
            return;

        // Back again: every control where it started, nothing drifted.
        QVERIFY(resizeClient(Inizio, design));
        checkCurtainsReplayedAndStopped(2);
        compareWithTable(Inizio, *table, 1.0);
    }

    void gameWindowKeepsItsTableAtEverySize()
    {
        rig->mouse(Inizio, "Option1", 4);
        rig->mouse(Inizio, "Option2", 0);
        QVERIFY(rig->view(Gioco));
        QVERIFY(QTest::qWaitForWindowActive(rig->view(Gioco)));
        const auto table = screens::makeFrmOperativo();
        const QSize design(table->designWidth() / 15, table->designHeight() / 15);

        QVERIFY(resizeClient(Gioco, design));
        compareWithTable(Gioco, *table, 1.0);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(resizeClient(Gioco, design * 2));
        compareWithTable(Gioco, *table, 2.0);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(resizeClient(Gioco, design));
        compareWithTable(Gioco, *table, 1.0);
        // The start window behind it was not touched.
        QCOMPARE(int(curtainStarts.size()), 0);
    }
};

QTEST_MAIN(TestIntegrationLayout)
#include "tst_integration_layout.moc"

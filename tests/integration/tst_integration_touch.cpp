// Touch on the real windows, offscreen: a finger works a button as a mouse press does, at the
// moment it comes down, once however long it stays, and never on a disabled button. Qt turns an
// unhandled touch into mouse events of its own; the buttons take no touch events themselves.
#include "ProgramRig.h"

#include <QPointer>
#include <QPointingDevice>

#include <memory>

using namespace tarvo;
using namespace tarvo::test;

namespace {
constexpr auto Inizio = ScreenId::Inizio;
constexpr auto Gioco = ScreenId::Operativo;
} // namespace

class TestIntegrationTouch : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramRig> rig;
    // Ours to delete; it leaves the window system's device list as it goes.
    const std::unique_ptr<QPointingDevice> touchScreen { QTest::createTouchDevice() };
    QPointingDevice* screen = touchScreen.get();

    Window& start() { return rig->start(); }
    Window& game() { return rig->game(); }
    const std::string& cell(int ray) { return game().at("lblRisultato", ray).caption(); }

    // The centre of a control's widget, in its window's coordinates.
    QPoint centreOf(ScreenId id, const char* name, int index, QWidget** window)
    {
        QWidget* w = rig->widget(id, name, index);
        *window = rig->view(id);
        return w && *window ? w->mapTo(*window, w->rect().center()) : QPoint();
    }
    void touchDown(ScreenId id, const char* name, int index)
    {
        QWidget* window = nullptr;
        const QPoint at = centreOf(id, name, index, &window);
        QVERIFY(window);
        // What the finger lands on is what is on top there: wait for the curtains to open.
        QTRY_COMPARE(window->childAt(at), rig->widget(id, name, index));
        QTest::touchEvent(window, screen).press(0, at, window);
        held = at;
    }
    void touchHold(ScreenId id)
    {
        QTest::touchEvent(rig->view(id), screen).stationary(0);
        QTest::touchEvent(rig->view(id), screen).move(0, held, rig->view(id));
    }
    void touchUp(ScreenId id)
    {
        QPointer<QWidget> window = rig->view(id);
        if (window)
            QTest::touchEvent(window, screen).release(0, held, window);
    }
    QPoint held;

    // The tarvo of 15 chosen and the game screen shown, by keys.
    void openGame()
    {
        ProgramRig::key(Qt::Key_5);
        ProgramRig::key(Qt::Key_Return);
        ProgramRig::key(Qt::Key_Return);
        QVERIFY(rig->view(Gioco));
        QVERIFY(QTest::qWaitForWindowActive(rig->view(Gioco)));
        QTRY_VERIFY(game().focused() == &game().at("Option1", 0));
    }

private slots:
    void init()
    {
        rig = std::make_unique<ProgramRig>();
        QVERIFY(rig->begin());
        QTRY_COMPARE(rig->qtFocus(Inizio), &start().at("Option1", 0));
    }

    void cleanup()
    {
        rig.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void touchDownChoosesAtOnce()
    {
        touchDown(Inizio, "Option1", 7);
        // Before the finger lifts: "17" is chosen and "Vai" has the focus and the highlight.
        QCOMPARE(int(rig->program.state().NumeroCentrale), 17);
        QCOMPARE(start().at("Label1").caption(), std::string("Tarvo del 17"));
        QCOMPARE(start().focused(), &start().at("Option2", 0));
        QCOMPARE(rig->qtFocus(Inizio), &start().at("Option2", 0));
        QCOMPARE(rig->shown(Inizio, "Option2", 0), rgb(ColoreEvidenziato));
        touchUp(Inizio);
        QCOMPARE(int(rig->program.state().NumeroCentrale), 17);
        // A touch on "Vai" opens the game.
        touchDown(Inizio, "Option2", 0);
        touchUp(Inizio);
        QTRY_VERIFY(rig->view(Gioco) && rig->view(Gioco)->isVisible());
    }

    void longTouchActsOnce()
    {
        openGame();
        touchDown(Gioco, "Option1", 5);
        QCOMPARE(cell(0), std::string("5"));
        QCOMPARE(game().focused(), &game().at("Option1", 5));
        // The finger stays for a while, still and then trembling on the spot.
        for (int i = 0; i < 5; ++i) {
            touchHold(Gioco);
            QTest::qWait(20);
        }
        QCOMPARE(cell(0), std::string("5"));
        touchUp(Gioco);
        QCOMPARE(cell(0), std::string("5"));
        // A second touch is a second press: "5" then "1" gives "51".
        touchDown(Gioco, "Option1", 1);
        touchUp(Gioco);
        QCOMPARE(cell(0), std::string("51"));
        QVERIFY(game().at("Option1", 11).enabled());
    }

    void touchOnDisabledButtonDoesNothing()
    {
        openGame();
        Control& nuovo = game().at("Option1", 12);
        Control& avanti = game().at("Option1", 11);
        QVERIFY(!nuovo.enabled());
        QVERIFY(!avanti.enabled());
        const auto seeds = rig->rng.seeds.size();
        const std::string centre = game().at("Label1").caption();
        for (Control* c : { &nuovo, &avanti }) {
            touchDown(Gioco, "Option1", c->index());
            touchUp(Gioco);
        }
        QCOMPARE(rig->rng.seeds.size(), seeds); // no new tarvo
        QCOMPARE(game().at("Label1").caption(), centre);
        QCOMPARE(int(rig->program.state().RaggioCorrente), 0);
        QCOMPARE(cell(0), std::string("?"));
        QCOMPARE(game().focused(), &game().at("Option1", 0));
        QCOMPARE(rig->shown(Gioco, "Option1", 12), rgb(ColoreNormale));
        // The same touch on an enabled digit does act: the touches did reach the window.
        touchDown(Gioco, "Option1", 3);
        touchUp(Gioco);
        QCOMPARE(cell(0), std::string("3"));
    }
};

QTEST_MAIN(TestIntegrationTouch)
#include "tst_integration_touch.moc"

#include "FakeProgramRig.h"

#include <QTest>

using namespace tarvo;
using namespace tarvo::test;

namespace {

struct Run : FakeProgramRig {
    Run()
        : FakeProgramRig(36000.25)
    {
    }
    // Chooses the tarvo of 20 with the keypad's * and opens the game with ENTER.
    void openGame()
    {
        chooseAndOpen(vk::Multiply);
        focusFirstKey();
    }
    // The game open, with the Unload runs of both main screens counted.
    int startUnloads = 0;
    int gameUnloads = 0;
    void openGameCountingUnloads()
    {
        openGame();
        countUnloads(ScreenId::Inizio, startUnloads);
        countUnloads(ScreenId::Operativo, gameUnloads);
    }
    // Answers every ray right, and lets the blink timer switch the keypad.
    void solveTarvo()
    {
        answerAll();
        game().raiseTimer(game().at("Timer3"));
    }
};

} // namespace

class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void startLoadsAndShowsOnlyTheStartScreen()
    {
        Run r;
        r.program.start();
        QVERIFY(r.program.isLoaded(ScreenId::Inizio));
        for (ScreenId id : { ScreenId::Operativo, ScreenId::Istruzioni, ScreenId::Autore })
            QVERIFY(!r.program.isLoaded(id));
        Window& w = r.start();
        QCOMPARE(r.platform.shown, std::vector<Window*> { &w });
        QVERIFY(r.platform.modalShows.empty());
        QCOMPARE(w.platform(), static_cast<Platform*>(&r.platform));
        QVERIFY(bool(w.closeRequested));
        QCOMPARE(w.at("Label7").caption(), std::string("Vers.1.0\rMouse ")); // Load ran
        QCOMPARE(r.probe.names.size(), std::size_t(1));
        QCOMPARE(r.platform.quits, 0);
    }

    void vaiTwiceLoadsTheGameOnce()
    {
        Run r;
        r.openGame();
        QVERIFY(r.program.isLoaded(ScreenId::Operativo));
        Window* game = &r.game();
        QCOMPARE(game->at("Label1").caption(), std::string("20"));
        QCOMPARE(game->at("lblSegno", 0).caption(), std::string("-"));
        tapKey(*game, vk::Digit0 + 1);
        QCOMPARE(game->at("lblRisultato", 0).caption(), std::string("1"));

        // Back on the start screen: another choice, "Vai" again.
        r.start().raiseActivate();
        // The ENTER that chose "20" was released on "Vai": the choice group is still latched.
        tapEnter(r.start());
        QCOMPARE(r.program.state().NumeroCentrale, std::int16_t(20));
        tapEnter(r.start()); // "10"
        tapEnter(r.start()); // "Vai"
        QCOMPARE(&r.game(), game);
        QCOMPARE(std::count(r.platform.shown.begin(), r.platform.shown.end(), game), 1);
        QCOMPARE(r.platform.raised, std::vector<Window*> { game });
        // Same tarvo, same answer: nothing was loaded again.
        QCOMPARE(game->at("lblRisultato", 0).caption(), std::string("1"));
        QCOMPARE(game->at("Label1").caption(), std::string("20"));
        QCOMPARE(r.program.state().NumeroCentrale, std::int16_t(10));
    }

    // "Esco" closes the game screen from inside its own key handler; the handler goes on
    // running on objects that must still be alive (the ASan build checks it).
    void escoClosesEverythingAndQuitsOnce()
    {
        Run r;
        r.openGameCountingUnloads();
        Window* start = &r.start();
        Window* game = &r.game();
        r.solveTarvo();
        QVERIFY(r.game().at("Option1", TastoEsco).enabled());
        tapKey(r.game(), vk::E);
        QCOMPARE(r.game().focused(), &r.game().at("Option1", TastoEsco));
        tapEnter(r.game());

        QCOMPARE(r.platform.quits, 1);
        QVERIFY(r.program.finished());
        QCOMPARE(r.startUnloads, 1);
        QCOMPARE(r.gameUnloads, 1);
        QCOMPARE(r.platform.unloaded, (std::vector<Window*> { start, game }));
        for (ScreenId id : { ScreenId::Inizio, ScreenId::Operativo })
            QVERIFY(!r.program.isLoaded(id));
        QCOMPARE(r.program.closedPending(), std::size_t(2));
        r.platform.runPosted();
        QCOMPARE(r.program.closedPending(), std::size_t(0));
        QCOMPARE(r.platform.quits, 1);
        // Nothing opens again once the program has ended.
        r.program.show(ScreenId::Inizio, false);
        QVERIFY(!r.program.isLoaded(ScreenId::Inizio));
    }

    void closingTheGameWindowClosesEverything()
    {
        Run r;
        r.openGameCountingUnloads();
        Window* start = &r.start();
        Window* game = &r.game();
        game->closeRequested();
        QCOMPARE(r.platform.unloaded, (std::vector<Window*> { start, game }));
        QCOMPARE(r.platform.quits, 1);
        game->closeRequested(); // a late request from the closed window
        start->closeRequested();
        r.platform.runPosted();
        QCOMPARE(r.platform.quits, 1);
        QCOMPARE(r.startUnloads, 1);
        QCOMPARE(r.gameUnloads, 1);
        QCOMPARE(r.program.closedPending(), std::size_t(0));
    }

    void closingTheStartScreen_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("withGame");
        for (bool g : { false, true }) {
            const char* suffix = g ? " with the game open" : "";
            QTest::addRow("Esci by keys%s", suffix) << "keys" << g;
            QTest::addRow("Esci by right button%s", suffix) << "mouse" << g;
            QTest::addRow("window close%s", suffix) << "close" << g;
        }
    }

    void closingTheStartScreen()
    {
        QFETCH(QString, how);
        QFETCH(bool, withGame);
        Run r;
        if (withGame)
            r.openGame();
        else
            r.begin();
        Window* start = &r.start();
        Window* game = withGame ? &r.game() : nullptr;
        int startUnloads = 0;
        r.countUnloads(ScreenId::Inizio, startUnloads);
        if (how == "keys") {
            r.start().raiseActivate();
            r.start().setFocus(r.start().at("Option2", 1)); // by the tab key
            tapSpace(r.start()); // "Esci"
            QCOMPARE(r.start().focused(), &r.start().at("Option2", 2));
            tapEnter(r.start());
        } else if (how == "mouse") {
            click(r.start(), r.start().at("Option2", 2), MouseButton::Right);
        } else {
            r.start().closeRequested();
        }
        QCOMPARE(r.platform.quits, 1);
        QCOMPARE(startUnloads, 1);
        std::vector<Window*> expected { start };
        if (game)
            expected.insert(expected.begin(), game);
        QCOMPARE(r.platform.unloaded, expected);
        r.platform.runPosted();
        QCOMPARE(r.program.closedPending(), std::size_t(0));
        QCOMPARE(r.platform.quits, 1);
    }

    void authorScreenIsModalAndFreedAfterwards()
    {
        Run r;
        r.begin();
        tapEnter(r.start()); // "10": focus on "Vai"
        bool sawIt = false;
        r.platform.onModal = [&](Window& w) {
            sawIt
                = r.program.isLoaded(ScreenId::Autore) && &w == r.program.window(ScreenId::Autore);
            w.raiseClick(w.at("Command1")); // "C h i u d i"
            QCOMPARE(r.program.closedPending(), std::size_t(1));
        };
        r.start().raiseClick(r.start().at("mnuInfo"));
        QVERIFY(sawIt);
        QCOMPARE(r.platform.modalShows.size(), std::size_t(1));
        QVERIFY(!r.program.isLoaded(ScreenId::Autore));
        QCOMPARE(r.start().focused(), &r.start().at("Option1", 0));
        QCOMPARE(r.platform.quits, 0);
        r.platform.runPosted();
        QCOMPARE(r.program.closedPending(), std::size_t(0));
        // Opened again: loaded afresh.
        r.start().raiseClick(r.start().at("mnuInfo"));
        QCOMPARE(r.platform.modalShows.size(), std::size_t(2));
        QVERIFY(!r.program.isLoaded(ScreenId::Autore));
    }

    // The game's menu handler is on the stack when every screen closes: nothing may be freed
    // before it has returned, and nothing follows the instructions.
    void closingEverythingDuringAModalShowIsSafe()
    {
        Run r;
        r.openGame();
        Window* game = &r.game();
        r.platform.onModal = [&](Window& w) {
            QVERIFY(r.program.isLoaded(ScreenId::Istruzioni));
            QVERIFY(w.at("Label1").caption().size() > 100); // its Load wrote the text
            r.program.unload(ScreenId::Operativo); // the game's "Esco"
            QCOMPARE(r.program.closedPending(), std::size_t(3));
        };
        game->raiseClick(game->at("mnuIstruzioni"));
        QCOMPARE(r.platform.quits, 1);
        for (ScreenId id :
            { ScreenId::Inizio, ScreenId::Operativo, ScreenId::Istruzioni, ScreenId::Autore })
            QVERIFY(!r.program.isLoaded(id));
        QCOMPARE(r.program.closedPending(), std::size_t(3));
        r.platform.runPosted();
        QCOMPARE(r.program.closedPending(), std::size_t(0));
    }

    // While a modal screen is open the windows it blocks take no key, no click and no close; each
    // try brings the modal screen to the front. Once it closes by itself, what follows it runs.
    void aModalScreenBlocksTheOthers()
    {
        Run r;
        r.openGame();
        r.game().raiseClick(r.game().at("mnuIstruzioni"));
        Window* modal = r.program.window(ScreenId::Istruzioni);
        QVERIFY(modal && r.program.isLoaded(ScreenId::Istruzioni));
        const std::function<void(Window&)> tries[] = { [](Window& w) { tapKey(w, '7', '7'); },
            [](Window& w) { click(w, w.at("Option1", 7)); },
            [](Window& w) { w.closeRequested(); } };
        for (Window* blocked : { &r.start(), &r.game() })
            for (const auto& attempt : tries) {
                Control* focused = blocked->focused();
                const std::size_t raised = r.platform.raised.size();
                attempt(*blocked);
                QVERIFY(r.program.isLoaded(ScreenId::Inizio));
                QVERIFY(r.program.isLoaded(ScreenId::Operativo));
                QCOMPARE(blocked->focused(), focused);
                QCOMPARE(r.platform.raised.size(), raised + 1);
                QCOMPARE(r.platform.raised.back(), modal);
            }
        QCOMPARE(int(r.program.state().NumeroCentrale), 20);
        QCOMPARE(r.game().at("lblRisultato", 0).caption(), std::string("?"));
        modal->setFocus(modal->at("Command1"));
        tapEnter(*modal);
        QVERIFY(!r.program.isLoaded(ScreenId::Istruzioni));
        QCOMPARE(r.game().focused(), &r.game().at("Option1", 1));
        tapKey(r.game(), '7', '7');
        QCOMPARE(r.game().focused(), &r.game().at("Option1", 7));
    }

    void destroyingTheProgramWithScreensOpen()
    {
        FakePlatform platform;
        std::vector<Window*> open;
        {
            FixedClock clock(36000.25);
            SeededRandom rng;
            RecordingProbe probe;
            Program program(platform, clock, rng, probe);
            program.start();
            open.push_back(program.window(ScreenId::Inizio));
        }
        QCOMPARE(platform.unloaded, open);
        QCOMPARE(platform.quits, 0);
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"

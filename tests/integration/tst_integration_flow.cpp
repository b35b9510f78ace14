// A pupil's whole run through the real program on the offscreen platform: the tarvo chosen by
// keys, by scanning and by mouse, played to its celebration the same three ways, a wrong answer
// corrected, a new tarvo, the two modal screens, and every way of leaving with exit code 0.
#include "ProgramRig.h"

#include <QPushButton>
#include <QSignalSpy>

#include <memory>

using namespace tarvo;
using namespace tarvo::test;

namespace {

enum class Way { Keys, Scanning, Mouse };

constexpr auto Inizio = ScreenId::Inizio;
constexpr auto Gioco = ScreenId::Operativo;

Qt::Key digitKey(int d)
{
    return Qt::Key(Qt::Key_0 + d);
}

} // namespace

class TestIntegrationFlow : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramRig> rig;
    std::vector<std::unique_ptr<QSignalSpy>> clicks; // on every push button shown so far

    Window& start() { return rig->start(); }
    Window& game() { return rig->game(); }
    Control& key(int index) { return game().at("Option1", index); }
    const std::string& cell(int ray) { return game().at("lblRisultato", ray).caption(); }
    Bgr colour(Window& w, const char* name, int index = -1)
    {
        return w.at(name, index).backColor().value_or(0xFFFFFFFFu);
    }

    // Qt's own clicked() must never fire: the buttons act through the program's handlers only.
    void spyOnButtons(ScreenId id)
    {
        for (QPushButton* b : rig->view(id)->findChildren<QPushButton*>())
            clicks.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked));
    }
    int qtClicks() const
    {
        int n = 0;
        for (const auto& spy : clicks)
            n += int(spy->count());
        return n;
    }

    // Exactly the focused button wears the highlight, in the model and on screen, and it is the
    // widget that holds Qt's keyboard focus.
    void checkHighlight(ScreenId id)
    {
        Window& w = *rig->window(id);
        const Control* f = w.focused();
        QVERIFY(f);
        QCOMPARE(rig->qtFocus(id), f);
        for (const auto& c : w.controls())
            if (c->is(Kind::OptionButton))
                QCOMPARE(
                    c->backColor().value_or(0), c.get() == f ? ColoreEvidenziato : ColoreNormale);
        QCOMPARE(rig->shown(id, f->name().c_str(), f->index()), rgb(ColoreEvidenziato));
    }

    // SPACE until `target` has the focus; false when it never comes.
    bool scanTo(Window& w, const Control& target)
    {
        for (int i = 0; i < 16 && w.focused() != &target; ++i)
            ProgramRig::key(Qt::Key_Space);
        return w.focused() == &target;
    }

    // The tarvo as the pupil reads it: the centre number minus each ray's subtrahend.
    std::vector<int> answersOnScreen()
    {
        const int n = std::stoi(game().at("Label1").caption());
        std::vector<int> answers;
        for (int i = 0; i < 8; ++i)
            answers.push_back(n - std::stoi(game().at("Label2", i).caption()));
        return answers;
    }
    std::vector<int> expectedAnswers(int n) const
    {
        std::vector<int> answers;
        for (int k : rig->rng.cycle)
            answers.push_back(n - k);
        return answers;
    }

    // From the start screen to the game screen, choosing the tarvo of `n` the given way.
    void openGame(Way way, int n)
    {
        QVERIFY(n >= 10 && n <= 20);
        const int choice = n - 10;
        switch (way) {
        case Way::Keys:
            // A digit key only moves the highlight: main row or numeric keypad alike.
            ProgramRig::key(Qt::Key_7);
            QCOMPARE(start().focused(), &start().at("Option1", 7));
            ProgramRig::key(digitKey(choice % 10), Qt::KeypadModifier);
            QCOMPARE(start().focused(), &start().at("Option1", choice % 10));
            if (choice == 10)
                ProgramRig::key(Qt::Key_Asterisk, Qt::KeypadModifier);
            QCOMPARE(start().focused(), &start().at("Option1", choice));
            QVERIFY(start().at("Label1").caption().empty());
            ProgramRig::key(Qt::Key_Return);
            break;
        case Way::Scanning:
            for (int i = 1; i <= choice; ++i) {
                ProgramRig::key(Qt::Key_Space);
                QCOMPARE(start().focused(), &start().at("Option1", i));
            }
            ProgramRig::key(Qt::Key_Return);
            break;
        case Way::Mouse:
            rig->mouse(Inizio, "Option1", choice, Qt::RightButton);
            break;
        }
        QCOMPARE(int(rig->program.state().NumeroCentrale), n);
        QCOMPARE(start().at("Label1").caption(),
            n == 10       ? std::string("Tarvo dello 10")
                : n == 11 ? std::string("Tarvo dell' 11")
                          : "Tarvo del " + std::to_string(n));
        checkHighlight(Inizio);
        QCOMPARE(start().focused(), &start().at("Option2", 0)); // "Vai"
        QVERIFY(!rig->window(Gioco));

        if (way == Way::Mouse)
            rig->mouse(Inizio, "Option2", 0, Qt::MiddleButton);
        else
            ProgramRig::key(Qt::Key_Return);
        QVERIFY(rig->view(Gioco));
        QVERIFY(QTest::qWaitForWindowActive(rig->view(Gioco)));
        QCOMPARE(rig->view(Gioco)->windowTitle(), QStringLiteral("Form1"));
        spyOnButtons(Gioco);
        // The first focus is on "0"; the tarvo is the one the random source was told to draw.
        QTRY_COMPARE(rig->qtFocus(Gioco), &key(0));
        checkHighlight(Gioco);
        QCOMPARE(answersOnScreen(), expectedAnswers(n));
        QCOMPARE(cell(0), std::string("?"));
    }

    // One answer and "Avanti", the given way. Keys alternate the main row and the keypad.
    void answer(Way way, int ray, int value)
    {
        const std::string digits = std::to_string(value);
        const Qt::MouseButton buttons[] = { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton };
        const Qt::MouseButton button = buttons[ray % 3];
        for (char ch : digits) {
            const int d = ch - '0';
            switch (way) {
            case Way::Keys:
                ProgramRig::key(digitKey(d), ray % 2 ? Qt::KeypadModifier : Qt::NoModifier);
                QCOMPARE(game().focused(), &key(d));
                break;
            case Way::Scanning:
                QVERIFY(scanTo(game(), key(d)));
                ProgramRig::key(Qt::Key_Return);
                break;
            case Way::Mouse:
                rig->mouse(Gioco, "Option1", d, button);
                break;
            }
        }
        // A leading zero is refused: the answer 0 is a cell left at "?".
        QCOMPARE(cell(rig->program.state().RaggioCorrente), value == 0 ? "?" : digits);
        QVERIFY(key(11).enabled());
        switch (way) {
        case Way::Keys:
            ProgramRig::key(Qt::Key_A); // "A" only moves the highlight to "Avanti"
            QCOMPARE(game().focused(), &key(11));
            ProgramRig::key(Qt::Key_Return);
            break;
        case Way::Scanning:
            QVERIFY(scanTo(game(), key(11)));
            ProgramRig::key(Qt::Key_Return);
            break;
        case Way::Mouse:
            rig->mouse(Gioco, "Option1", 11, button);
            break;
        }
    }

    // Every ray answered right; the check has run and found them all right.
    void playToTheCheck(Way way)
    {
        const std::vector<int> answers = answersOnScreen();
        for (int ray = 0; ray < 8; ++ray) {
            answer(way, ray, answers[std::size_t(ray)]);
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(rig->qtFocus(Gioco), &key(1)); // "Avanti" hands the focus to "1"
            if (ray < 7) {
                QCOMPARE(cell(ray + 1), std::string("?"));
                QVERIFY(game().at("lblSegno", ray + 1).visible());
                QVERIFY(!key(11).enabled());
                checkHighlight(Gioco);
            }
        }
        for (int ray = 0; ray < 8; ++ray)
            QCOMPARE(colour(game(), "lblRisultato", ray), ColoreGiusto);
        QCOMPARE(rig->shown(Gioco, "lblRisultato", 7), rgb(ColoreGiusto));
        QCOMPARE(int(rig->program.state().RaggioCorrente), 8);
    }

    // The blink runs: cells and frame swap their two yellows at every tick, the keypad offers
    // only "Nuovo tarvo" (focused) and "Esco", and the letter tiles bounce in sight.
    void checkCelebration()
    {
        Window& g = game();
        const auto& state = rig->program.state();
        QVERIFY(rig->platform.timerFor(g.at("Timer3"))->isActive());
        QTRY_VERIFY(state.ContaLampeggi >= 1);
        for (int round = 0; round < 2; ++round) {
            const int count = state.ContaLampeggi;
            const Bgr cells = count % 2 ? GialloPallido : Giallo;
            const Bgr frame = count % 2 ? Giallo : GialloPallido;
            QCOMPARE(colour(g, "Frame1"), frame);
            QCOMPARE(rig->shown(Gioco, "Frame1"), rgb(frame));
            for (int ray = 0; ray < 8; ++ray)
                QCOMPARE(colour(g, "lblRisultato", ray), cells);
            QCOMPARE(rig->shown(Gioco, "lblRisultato", 3), rgb(cells));
            QTRY_VERIFY(state.ContaLampeggi != count);
        }
        for (int i = 0; i < 14; ++i) {
            QCOMPARE(key(i).enabled(), i >= 12);
            QCOMPARE(rig->widget(Gioco, "Option1", i)->isEnabled(), i >= 12);
        }
        QTRY_COMPARE(rig->qtFocus(Gioco), &key(12));
        checkHighlight(Gioco);
        QWidget* tile = rig->widget(Gioco, "Frame2", 0);
        QVERIFY(tile->isVisible());
        const int top = tile->y();
        QTRY_VERIFY(tile->y() != top);
    }

    // Without a window manager nobody activates the opener again when a modal window closes (Qt's
    // own dialogs are left the same way); a window manager would, as this does.
    void reactivate(ScreenId id)
    {
        QWidget* v = rig->view(id);
        QVERIFY(v);
        v->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), v);
    }

    // Nothing of the program is left on screen.
    static bool nothingShown()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                return false;
        return true;
    }

private slots:
    void init()
    {
        rig = std::make_unique<ProgramRig>();
        QVERIFY(rig->begin());
        spyOnButtons(Inizio);
        // Activate puts the focus on "10".
        QTRY_COMPARE(rig->qtFocus(Inizio), &start().at("Option1", 0));
        checkHighlight(Inizio);
    }

    void cleanup()
    {
        clicks.clear();
        rig.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void chooseAndPlayToTheCelebration_data()
    {
        QTest::addColumn<Way>("way");
        QTest::addColumn<int>("tarvo");
        // The tarvo of 10 draws 10 for ray 3: its answer 0 is given by a "0" that leaves "?".
        QTest::newRow("keyboard alone") << Way::Keys << 10;
        QTest::newRow("SPACE and ENTER alone") << Way::Scanning << 15;
        QTest::newRow("mouse alone, every button") << Way::Mouse << 20;
    }

    void chooseAndPlayToTheCelebration()
    {
        QFETCH(Way, way);
        QFETCH(int, tarvo);
        if (way == Way::Mouse) {
            // "Vai" before any choice opens nothing and leads back to "10".
            rig->mouse(Inizio, "Option2", 0, Qt::LeftButton);
            QVERIFY(!rig->window(Gioco));
            QCOMPARE(rig->qtFocus(Inizio), &start().at("Option1", 0));
            checkHighlight(Inizio);
        }
        openGame(way, tarvo);
        if (QTest::currentTestFailed())
            return;
        playToTheCheck(way);
        if (QTest::currentTestFailed())
            return;
        checkCelebration();
        QCOMPARE(qtClicks(), 0);
    }

    void heldKeysActOnce()
    {
        // SPACE held on the start screen moves the highlight one button only.
        ProgramRig::holdKey(Qt::Key_Space, QStringLiteral(" "), 5);
        QCOMPARE(start().focused(), &start().at("Option1", 1));
        ProgramRig::key(Qt::Key_Return);
        ProgramRig::key(Qt::Key_Return);
        QVERIFY(rig->view(Gioco));
        QVERIFY(QTest::qWaitForWindowActive(rig->view(Gioco)));
        QTRY_COMPARE(rig->qtFocus(Gioco), &key(0));

        // A digit held down types once; after its release the next press types again.
        ProgramRig::holdKey(Qt::Key_5, QStringLiteral("5"), 5);
        QCOMPARE(cell(0), std::string("5"));
        QCOMPARE(game().focused(), &key(5));
        ProgramRig::holdKey(Qt::Key_Space, QStringLiteral(" "), 5);
        QCOMPARE(game().focused(), &key(6));
        ProgramRig::holdKey(Qt::Key_Return, QStringLiteral("\r"), 5);
        QCOMPARE(cell(0), std::string("56"));
        ProgramRig::holdKey(Qt::Key_C, QStringLiteral("c"), 5);
        QCOMPARE(cell(0), std::string("5"));
        QCOMPARE(rig->qtFocus(Gioco), &key(10));
        QCOMPARE(qtClicks(), 0);
    }

    void wrongAnswerIsCorrected()
    {
        openGame(Way::Keys, 15);
        if (QTest::currentTestFailed())
            return;
        const std::vector<int> answers = answersOnScreen();
        for (int ray = 0; ray < 8; ++ray)
            answer(Way::Keys, ray, ray == 2 ? answers[2] + 1 : answers[std::size_t(ray)]);

        // The check stops at ray 2: the rays before it are yellow, the rest keep light yellow.
        for (int ray = 0; ray < 8; ++ray)
            QCOMPARE(colour(game(), "lblRisultato", ray),
                ray < 2        ? ColoreGiusto
                    : ray == 2 ? ColoreSbagliato
                               : GialloChiaro);
        QCOMPARE(rig->shown(Gioco, "lblRisultato", 1), rgb(ColoreGiusto));
        QCOMPARE(rig->shown(Gioco, "lblRisultato", 2), rgb(ColoreSbagliato));
        QCOMPARE(rig->shown(Gioco, "lblRisultato", 3), rgb(GialloChiaro));
        QCOMPARE(cell(2), std::string("?"));
        QCOMPARE(int(rig->program.state().RaggioCorrente), 2);
        QVERIFY(!key(11).enabled());
        QVERIFY(!rig->platform.timerFor(game().at("Timer3"))->isActive());

        // A slip deleted with "C", then the right answer into the orange cell, and check again.
        ProgramRig::key(Qt::Key_9);
        QCOMPARE(cell(2), std::string("9"));
        ProgramRig::key(Qt::Key_C);
        QCOMPARE(cell(2), std::string("?"));
        QCOMPARE(rig->qtFocus(Gioco), &key(10));
        QVERIFY(!key(11).enabled());
        ProgramRig::key(Qt::Key_A); // "Avanti" is disabled: nothing
        QCOMPARE(game().focused(), &key(10));
        answer(Way::Keys, 2, answers[2]);
        for (int ray = 0; ray < 8; ++ray)
            QCOMPARE(colour(game(), "lblRisultato", ray), ColoreGiusto);
        checkCelebration();
    }

    void newTarvoAfterTheCelebration()
    {
        openGame(Way::Keys, 20);
        if (QTest::currentTestFailed())
            return;
        playToTheCheck(Way::Keys);
        checkCelebration();
        if (QTest::currentTestFailed())
            return;

        // SPACE alternates between the only two enabled buttons. No event is processed
        // between these keys, so the blink cannot take the focus back meanwhile.
        rig->rng.cycle = { 10, 9, 8, 7, 6, 5, 4, 3 };
        ProgramRig::key(Qt::Key_Space);
        QCOMPARE(rig->qtFocus(Gioco), &key(13));
        checkHighlight(Gioco);
        ProgramRig::key(Qt::Key_Space);
        QCOMPARE(rig->qtFocus(Gioco), &key(12));
        ProgramRig::key(Qt::Key_Return);

        Window& g = game();
        QVERIFY(!rig->platform.timerFor(g.at("Timer3"))->isActive());
        QVERIFY(!rig->platform.timerFor(g.at("Timer2"))->isActive());
        QVERIFY(!rig->widget(Gioco, "Picture11")->isVisible());
        QCOMPARE(colour(g, "Frame1"), ColoreNormale);
        QCOMPARE(rig->shown(Gioco, "Frame1"), rgb(ColoreNormale));
        for (int ray = 0; ray < 8; ++ray) {
            QCOMPARE(cell(ray), std::string(ray == 0 ? "?" : ""));
            QCOMPARE(colour(g, "lblRisultato", ray), GialloChiaro);
            QCOMPARE(g.at("lblSegno", ray).visible(), ray == 0);
        }
        QCOMPARE(rig->shown(Gioco, "lblRisultato", 0), rgb(GialloChiaro));
        QCOMPARE(answersOnScreen(), expectedAnswers(20));
        for (int i = 0; i < 14; ++i)
            QCOMPARE(key(i).enabled(), i <= 10);
        // The focus left the disabled "Nuovo tarvo" for a button that works, and the ENTER's
        // release freed the keys: the next digit types at once.
        const Control* f = rig->qtFocus(Gioco);
        QVERIFY(f && f->enabled());
        ProgramRig::key(Qt::Key_2);
        QCOMPARE(cell(0), std::string("2"));
        checkHighlight(Gioco);
        QCOMPARE(qtClicks(), 0);
    }

    void escoEndsTheProgramWithExitCodeZero()
    {
        openGame(Way::Scanning, 11);
        if (QTest::currentTestFailed())
            return;
        playToTheCheck(Way::Keys);
        QTRY_COMPARE(rig->qtFocus(Gioco), &key(12));
        // "E" then ENTER from inside the event loop, as main() runs it.
        bool escoHighlighted = false;
        const int code = ProgramRig::execWith([&] {
            ProgramRig::key(Qt::Key_E);
            escoHighlighted = rig->qtFocus(Gioco) == &key(13);
            ProgramRig::key(Qt::Key_Return);
        });
        QCOMPARE(code, 0);
        QVERIFY(escoHighlighted);
        QVERIFY(rig->program.finished());
        QVERIFY(!rig->program.isLoaded(Inizio));
        QVERIFY(!rig->program.isLoaded(Gioco));
        QVERIFY(nothingShown());
    }

    void closingEndsEverything_data()
    {
        QTest::addColumn<bool>("openTheGame");
        QTest::addColumn<int>("how"); // 0 the game window's frame, 1 the start window's, 2 "Esci"
        QTest::newRow("game window closed") << true << 0;
        QTest::newRow("start window closed under the game") << true << 1;
        QTest::newRow("start window closed alone") << false << 1;
        QTest::newRow("Esci pressed with the right button") << false << 2;
    }

    void closingEndsEverything()
    {
        QFETCH(bool, openTheGame);
        QFETCH(int, how);
        if (openTheGame) {
            openGame(Way::Mouse, 18);
            if (QTest::currentTestFailed())
                return;
            ProgramRig::key(Qt::Key_1); // an exercise under way
        }
        const int code = ProgramRig::execWith([&] {
            if (how == 0)
                rig->view(Gioco)->close();
            else if (how == 1)
                rig->view(Inizio)->close();
            else
                rig->mouse(Inizio, "Option2", 2, Qt::RightButton);
        });
        QCOMPARE(code, 0);
        QVERIFY(rig->program.finished());
        QVERIFY(!rig->program.isLoaded(Inizio));
        QVERIFY(!rig->program.isLoaded(Gioco));
        QVERIFY(nothingShown());
    }

    void istruzioniIsModalAndGivesTheFocusToOne()
    {
        openGame(Way::Keys, 13);
        if (QTest::currentTestFailed())
            return;
        ProgramRig::key(Qt::Key_8);
        ProgramRig::key(Qt::Key_C);
        ProgramRig::key(Qt::Key_4); // the focus on "4", the cell "4"
        ModalCloser closer(*rig, ScreenId::Istruzioni);
        rig->clickMenu(Gioco, "mnuIstruzioni");
        QTRY_VERIFY_WITH_TIMEOUT(!rig->program.isLoaded(ScreenId::Istruzioni), 10000);
        QVERIFY(closer.sawModal);
        QCOMPARE(closer.title, QStringLiteral("ISTRUZIONI"));
        QVERIFY(closer.closedByButton);
        QVERIFY(!rig->view(ScreenId::Istruzioni));
        QCOMPARE(game().focused(), &key(1));
        QCOMPARE(rig->view(Gioco)->focusWidget(), rig->widget(Gioco, "Option1", 1));
        reactivate(Gioco);
        QCOMPARE(rig->qtFocus(Gioco), &key(1));
        checkHighlight(Gioco);
        QCOMPARE(cell(0), std::string("4")); // the exercise is as it was
        QCOMPARE(answersOnScreen(), expectedAnswers(13));
        ProgramRig::key(Qt::Key_2);
        QCOMPARE(cell(0), std::string("42"));
    }

    void autoreIsModalAndGivesTheFocusBackToTen()
    {
        ProgramRig::key(Qt::Key_5);
        ProgramRig::key(Qt::Key_Return);
        QCOMPARE(rig->qtFocus(Inizio), &start().at("Option2", 0));
        ModalCloser closer(*rig, ScreenId::Autore);
        rig->clickMenu(Inizio, "mnuInfo");
        QTRY_VERIFY_WITH_TIMEOUT(!rig->program.isLoaded(ScreenId::Autore), 10000);
        QVERIFY(closer.sawModal);
        QCOMPARE(closer.title, QStringLiteral("Autore"));
        QVERIFY(closer.closedByButton);
        QVERIFY(!rig->view(ScreenId::Autore));
        QCOMPARE(start().focused(), &start().at("Option1", 0));
        QCOMPARE(rig->view(Inizio)->focusWidget(), rig->widget(Inizio, "Option1", 0));
        reactivate(Inizio);
        QCOMPARE(rig->qtFocus(Inizio), &start().at("Option1", 0));
        checkHighlight(Inizio);
        // The choice made before is kept.
        QCOMPARE(int(rig->program.state().NumeroCentrale), 15);
        QCOMPARE(start().at("Label1").caption(), std::string("Tarvo del 15"));
    }
};

QTEST_MAIN(TestIntegrationFlow)
#include "tst_integration_flow.moc"

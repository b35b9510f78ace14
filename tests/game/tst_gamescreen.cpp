#include "GameRig.h"
#include "TestPrint.h"
#include "model/Random.h"

#include <QTest>

#include <algorithm>
#include <set>

using namespace tarvo;
using namespace tarvo::test;

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

// The eight subtrahends and the marks of the current tarvo agree with each other and with N.
void verifyTarvo(GameRig& r, int n)
{
    std::set<int> drawn;
    for (int i = 0; i < 8; ++i) {
        const int k = r.state.Sottraendi[i];
        QVERIFY2(k >= 1 && k <= 10, qPrintable(QString("ray %1 draws %2").arg(i).arg(k)));
        QCOMPARE(r.state.Risultati[i] + k, n);
        QCOMPARE(r.w.at("Label2", i).caption(), std::to_string(k));
        drawn.insert(k);
    }
    QCOMPARE(drawn.size(), std::size_t(8));
    for (int v = 0; v < 12; ++v)
        QCOMPARE(r.state.Estratti[v] == "si", drawn.count(v) == 1);
    for (int i = 8; i < 10; ++i) {
        QCOMPARE(r.state.Sottraendi[i], std::uint8_t(0));
        QCOMPARE(r.state.Risultati[i], std::uint8_t(0));
    }
    QCOMPARE(r.w.at("Label1").caption(), std::to_string(n));
}

// The screen right after a reset, whatever came before.
void verifyFreshTarvo(GameRig& r)
{
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(r.caption(i), std::string(i == 0 ? "?" : ""));
        QCOMPARE(r.cell(i).backColor(), std::optional<Bgr>(GialloChiaro));
        QCOMPARE(r.w.at("lblSegno", i).visible(), i == 0);
        QCOMPARE(r.w.at("lblUguale", i).visible(), i == 0);
    }
    for (int k = 0; k < NumeroTasti; ++k)
        QCOMPARE(r.key(k).enabled(), k <= TastoCancella);
    QVERIFY(!r.w.at("Timer2").enabled());
    QVERIFY(!r.w.at("Timer3").enabled());
    QVERIFY(!r.w.at("Picture11").visible());
    QCOMPARE(r.state.RaggioCorrente, std::int16_t(0));
    QCOMPARE(r.state.FaseControllo, False);
    QCOMPARE(r.state.ContaLampeggi, std::uint8_t(0));
}

} // namespace

class TestGameScreen : public QObject {
    Q_OBJECT

private slots:
    void loadPreparesTheFirstTarvo()
    {
        GameRig r(15);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(r.w.at("lblSegno", i).caption(), std::string("-"));
            QCOMPARE(r.w.at("lblUguale", i).caption(), std::string("="));
        }
        verifyFreshTarvo(r);
        verifyTarvo(r, 15);
        QCOMPARE(r.state.VelocitaTessera, (std::array<std::int16_t, 4> { 30, 15, 20, 10 }));
        QCOMPARE(r.focusedKey(), 0);
        // Resize lays the controls out again from the proportions captured at Load.
        r.w.setInnerSize(2 * 11910, 8565);
        r.w.raiseResize();
        QCOMPARE(r.w.at("Frame1").rect(), (Twips { 984, 1215, 12930, 6465 }));
    }

    void everyGenerationDrawsEightDifferentSubtrahends_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 10; n <= 20; ++n)
            QTest::addRow("N=%d", n) << n;
    }
    void everyGenerationDrawsEightDifferentSubtrahends()
    {
        QFETCH(int, n);
        GameRig r(n);
        std::set<int> seen;
        for (int g = 0; g < 300; ++g) {
            r.clock.now += 0.37;
            r.game.Premi(TastoNuovoTarvo);
            verifyTarvo(r, n);
            for (int i = 0; i < 8; ++i)
                seen.insert(r.state.Sottraendi[i]);
        }
        // Every value of 1..10 comes up: none is out of reach of the draw.
        QCOMPARE(seen.size(), std::size_t(10));
    }

    void drawRejectsValuesAlreadyDrawnAndKeepsTheirOrder()
    {
        GameRig r(12);
        r.clock.now = 4321.5;
        const int seedsBefore = int(r.rng.seeds.size());
        r.rng.draws = 0;
        // 7 and 7 again, 10, 0.999... (10 again), 1, 1 again, then the rest.
        r.rng.script = { ScriptedRandom::drawing(7), ScriptedRandom::drawing(7),
            ScriptedRandom::drawing(10), 0.9999999, 0.0, ScriptedRandom::drawing(1) };
        r.rng.queue({ 3, 2, 9, 5, 4 });
        r.game.NuovoTarvo();
        QCOMPARE(
            r.state.Sottraendi, (std::array<std::uint8_t, 10> { 7, 10, 1, 3, 2, 9, 5, 4, 0, 0 }));
        QCOMPARE(
            r.state.Risultati, (std::array<std::uint8_t, 10> { 5, 2, 11, 9, 10, 3, 7, 8, 0, 0 }));
        QCOMPARE(r.rng.draws, 11);
        QCOMPARE(r.state.NumeroEstratto, std::uint8_t(4));
        // One seed per generation, from the time of day.
        QCOMPARE(int(r.rng.seeds.size()), seedsBefore + 1);
        QCOMPARE(r.rng.seeds.back(), 4321.5);
        verifyTarvo(r, 12);
    }

    void realGeneratorIsSeededOncePerGenerationFromTheClock()
    {
        // The program's own generator behind a counter.
        struct Counting final : RandomSource {
            SeededRandom real;
            std::vector<double> seeds;
            void seed(double s) override
            {
                seeds.push_back(s);
                real.seed(s);
            }
            double next() override { return real.next(); }
        } rng;
        FakePlatform platform;
        FixedClock clock;
        Module1 state;
        state.NumeroCentrale = 17;
        RecordingHost host { { ScreenId::Inizio, ScreenId::Operativo } };
        auto w = screens::makeFrmOperativo();
        GameScreen game(*w, state, host, clock, rng);
        platform.attach(*w);

        clock.now = 50000.75;
        w->raiseLoad();
        const auto first = state.Sottraendi;
        clock.now = 50001.25;
        game.NuovoTarvo();
        const auto second = state.Sottraendi;
        clock.now = 50000.75;
        game.NuovoTarvo();
        QCOMPARE(rng.seeds, (std::vector<double> { 50000.75, 50001.25, 50000.75 }));
        QCOMPARE(clock.reads, 3);
        // The same time of day makes the same tarvo: nothing else feeds the generator.
        QCOMPARE(state.Sottraendi, first);
        QVERIFY(second != first);
    }

    void centreOutsideTenToTwentyIsDrawnForAsTheNearestBound_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("drawnFor");
        QTest::newRow("never chosen") << 0 << 10;
        QTest::newRow("nine") << 9 << 10;
        QTest::newRow("negative") << -7 << 10;
        QTest::newRow("twenty-one") << 21 << 20;
        QTest::newRow("largest") << 32767 << 20;
    }
    void centreOutsideTenToTwentyIsDrawnForAsTheNearestBound()
    {
        QFETCH(int, n);
        QFETCH(int, drawnFor);
        GameRig r(n, { 10, 9, 8, 7, 6, 5, 4, 3 });
        verifyTarvo(r, drawnFor);
        QCOMPARE(r.state.NumeroCentrale, std::int16_t(n)); // the game never writes it
        for (int i = 0; i < 8; ++i)
            QVERIFY(r.state.Risultati[i] <= 19);
    }

    void centreChangedMeanwhileIsUsedFromTheNextTarvo()
    {
        GameRig r(13);
        const auto before = r.state.Sottraendi;
        r.state.NumeroCentrale = 19;
        r.type(r.answer(0));
        QCOMPARE(r.w.at("Label1").caption(), std::string("13"));
        QCOMPARE(r.state.Sottraendi, before);
        r.game.Premi(TastoNuovoTarvo);
        verifyTarvo(r, 19);
    }

    void resetWipesEveryTraceOfTheFinishedTarvo()
    {
        GameRig r(14);
        r.enterAll({ 3 });
        r.type(r.answer(3));
        r.game.Premi(TastoAvanti);
        QVERIFY(r.celebrating());
        for (int t = 0; t < 3; ++t)
            r.w.raiseTimer(r.w.at("Timer3"));
        for (int t = 0; t < 7; ++t)
            r.w.raiseTimer(r.w.at("Timer2"));
        const auto speeds = r.state.VelocitaTessera;
        const int tile0 = r.w.at("Frame2", 0).top();
        QCOMPARE(tile0, 468 + 7 * 30);
        QCOMPARE(r.w.at("Frame1").backColor(), std::optional<Bgr>(Giallo));
        QCOMPARE(r.focusedKey(), TastoNuovoTarvo);

        r.rng.queue({ 9, 8, 7, 6, 5, 4, 3, 2 });
        r.game.Premi(TastoNuovoTarvo);
        verifyFreshTarvo(r);
        verifyTarvo(r, 14);
        QCOMPARE(r.state.Sottraendi[0], std::uint8_t(9));
        QCOMPARE(r.w.at("Frame1").backColor(), std::optional<Bgr>(ColoreNormale));
        // The tiles carry on from where the celebration left them.
        QCOMPARE(r.state.VelocitaTessera, speeds);
        QCOMPARE(r.w.at("Frame2", 0).top(), tile0);
    }

    void resetDuringTheCorrectionClearsTheWrongRay()
    {
        GameRig r(16);
        r.enterAll({ 5 });
        QCOMPARE(r.cell(5).backColor(), std::optional<Bgr>(ColoreSbagliato));
        r.type("7");
        r.game.NuovoTarvo();
        verifyFreshTarvo(r);
        // The frame keeps its colour: only the keypad action restores it.
        QCOMPARE(r.w.at("Frame1").backColor(), std::optional<Bgr>(ColoreNormale));
    }

    void editsRaiseOneChangePerWrite_data()
    {
        QTest::addColumn<std::string>("before");
        QTest::addColumn<std::string>("keys");
        QTest::addColumn<std::vector<std::string>>("changes");
        QTest::addColumn<std::string>("after");
        QTest::addColumn<bool>("avanti");
        using V = std::vector<std::string>;
        auto row = [](const char* name, std::string before, std::string keys, V changes,
                       std::string after, bool avanti) {
            QTest::newRow(name) << before << keys << changes << after << avanti;
        };
        // keys: a digit, 'C' for "Cancella", 'B' for BACKSPACE.
        // clang-format off
        row("first digit",           "",    "5",    { "", "5" },                        "5",   true);
        row("leading zero refused",  "",    "0",    { "", "0", "?" },                   "?",   true);
        row("zero after one",        "1",   "0",    { "10" },                           "10",  true);
        row("third digit",           "12",  "3",    { "123" },                          "123", true);
        row("fourth digit cut",      "123", "4",    { "1234", "123" },                  "123", true);
        row("four typed",            "",    "1234", { "", "1", "12", "123", "1234", "123" }, "123", true);
        row("cancella one of two",   "12",  "C",    { "1" },                            "1",   true);
        row("cancella the last",     "1",   "C",    { "", "?" },                        "?",   false);
        row("cancella on ?",         "",    "C",    { "", "?" },                        "?",   false);
        row("backspace the last",    "1",   "B",    { "", "?" },                        "?",   true);
        row("backspace on ?",        "",    "B",    { "", "?" },                        "?",   true);
        row("retype after cancella", "9",   "C4",   { "", "?", "", "4" },               "4",   true);
        // clang-format on
    }
    void editsRaiseOneChangePerWrite()
    {
        QFETCH(std::string, before);
        QFETCH(std::string, keys);
        QFETCH(std::vector<std::string>, changes);
        QFETCH(std::string, after);
        QFETCH(bool, avanti);
        GameRig r;
        r.type(before);
        r.recordChanges();
        for (char k : keys) {
            if (k == 'C')
                r.game.CancellaCifra(true);
            else if (k == 'B')
                r.game.CancellaCifra(false);
            else
                r.game.AggiungiCifra(k);
        }
        std::vector<std::string> expected;
        for (const auto& c : changes)
            expected.push_back("lblRisultato(0)=" + c);
        QCOMPARE(r.changes, expected);
        QCOMPARE(r.caption(0), after);
        QCOMPARE(r.avanti(), avanti);
    }

    void avantiInTheEntryPhaseMovesOnWithoutChecking()
    {
        GameRig r;
        for (int i = 0; i < 3; ++i) {
            r.type("99");
            r.game.Avanza();
        }
        r.type("88");
        QVERIFY(r.avanti());
        r.game.Premi(TastoAvanti);
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(4));
        QCOMPARE(r.caption(3), std::string("88"));
        QCOMPARE(r.cell(3).backColor(), std::optional<Bgr>(GialloChiaro));
        QCOMPARE(r.caption(4), std::string("?"));
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(r.w.at("lblSegno", i).visible(), i <= 4);
            QCOMPARE(r.w.at("lblUguale", i).visible(), i <= 4);
        }
        QVERIFY(!r.avanti());
        QCOMPARE(r.focusedKey(), 1); // the keypad action focuses "1" first
        QCOMPARE(r.state.FaseControllo, False);
    }

    void checkStopsAtTheFirstWrongRayUntilCorrected()
    {
        GameRig r(18);
        // Ray 2 wrong; ray 5 wrong by a third digit, which is never a right answer.
        for (int i = 0; i < 8; ++i) {
            r.type(i == 2 ? r.wrongAnswer(2) : i == 5 ? r.answer(5) + "0" : r.answer(i));
            r.game.Premi(TastoAvanti);
        }
        QCOMPARE(r.state.FaseControllo, True);
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(2));
        for (int i = 0; i < 8; ++i) {
            const Bgr expected = i < 2 ? ColoreGiusto : i == 2 ? ColoreSbagliato : GialloChiaro;
            QCOMPARE(r.cell(i).backColor(), std::optional<Bgr>(expected));
        }
        QCOMPARE(r.caption(2), std::string("?"));
        QCOMPARE(r.caption(5), r.answer(5) + "0"); // not looked at yet
        QVERIFY(!r.avanti());
        QVERIFY(!r.celebrating());

        // Wrong again: the check starts over from ray 0 and stops at ray 2 again.
        r.type(r.wrongAnswer(2));
        QCOMPARE(r.cell(2).backColor(), std::optional<Bgr>(ColoreSbagliato)); // while typing
        QVERIFY(r.avanti());
        r.game.Premi(TastoAvanti);
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(2));
        QCOMPARE(r.caption(2), std::string("?"));

        // Ray 2 right: now ray 5 is found wrong, with ray 2 yellow.
        r.type(r.answer(2));
        r.game.Premi(TastoAvanti);
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(5));
        QCOMPARE(r.cell(2).backColor(), std::optional<Bgr>(ColoreGiusto));
        QCOMPARE(r.cell(5).backColor(), std::optional<Bgr>(ColoreSbagliato));
        QCOMPARE(r.cell(6).backColor(), std::optional<Bgr>(GialloChiaro));

        r.type(r.answer(5));
        r.game.Premi(TastoAvanti);
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(8));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(r.cell(i).backColor(), std::optional<Bgr>(ColoreGiusto));
        QVERIFY(r.celebrating());
        QVERIFY(r.w.at("Picture11").visible());
        QVERIFY(!r.avanti());
    }

    void questionMarkReadsAsZero()
    {
        // A tarvo of 10 that draws 10 on ray 3; ray 1 (answer 8) is first left at "?".
        GameRig r(10, { 1, 2, 3, 10, 4, 5, 6, 7 });
        QCOMPARE(r.state.Risultati[3], std::uint8_t(0));
        for (int i = 0; i < 8; ++i) {
            if (i == 3) {
                r.game.AggiungiCifra('0');
                QCOMPARE(r.caption(3), std::string("?"));
                QVERIFY(r.avanti());
            } else if (i != 1) {
                r.type(r.answer(i));
            }
            r.game.Premi(TastoAvanti);
        }
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(1));
        QCOMPARE(r.cell(1).backColor(), std::optional<Bgr>(ColoreSbagliato));
        r.type(r.answer(1));
        r.game.Premi(TastoAvanti);
        QVERIFY(r.celebrating());
        QCOMPARE(r.cell(3).backColor(), std::optional<Bgr>(ColoreGiusto));
    }

    void editsWhileNoRayIsCurrentChangeNothing()
    {
        GameRig r;
        r.enterAll();
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(8));
        r.recordChanges();
        for (int k = 0; k <= TastoCancella; ++k)
            r.game.Premi(k);
        r.game.AggiungiCifra('7');
        r.game.CancellaCifra(false);
        QVERIFY(r.changes.empty());
        QCOMPARE(r.state.RaggioCorrente, std::int16_t(8));
        QVERIFY(r.celebrating());
    }

    void blinkAlternatesColoursAndSwitchesTheKeypad()
    {
        GameRig r;
        r.enterAll();
        QCOMPARE(r.focusedKey(), 1);
        // Until the first tick the keypad is as before.
        QVERIFY(r.key(0).enabled());
        QVERIFY(!r.key(TastoNuovoTarvo).enabled());

        Control& timer3 = r.w.at("Timer3");
        r.w.raiseTimer(timer3);
        QCOMPARE(r.state.ContaLampeggi, std::uint8_t(1));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(r.cell(i).backColor(), std::optional<Bgr>(GialloPallido));
        QCOMPARE(r.w.at("Frame1").backColor(), std::optional<Bgr>(Giallo));
        for (int k = 0; k < NumeroTasti; ++k)
            QCOMPARE(r.key(k).enabled(), k >= TastoNuovoTarvo);
        QCOMPARE(r.focusedKey(), TastoNuovoTarvo);

        // The pupil moves to "Esco"; the next tick brings the focus back.
        r.w.setFocus(r.key(TastoEsco));
        r.w.raiseTimer(timer3);
        QCOMPARE(r.focusedKey(), TastoNuovoTarvo);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(r.cell(i).backColor(), std::optional<Bgr>(Giallo));
        QCOMPARE(r.w.at("Frame1").backColor(), std::optional<Bgr>(GialloPallido));
        QVERIFY(r.w.at("Picture11").visible());
    }

    void blinkCountWrapsAndKeepsAlternating()
    {
        GameRig r;
        r.enterAll();
        r.state.ContaLampeggi = 254;
        Control& timer3 = r.w.at("Timer3");
        const std::array<std::pair<int, Bgr>, 3> ticks { { { 255, Giallo }, { 0, GialloPallido },
            { 1, Giallo } } };
        for (auto [count, frame] : ticks) {
            r.w.raiseTimer(timer3);
            QCOMPARE(int(r.state.ContaLampeggi), count);
            QCOMPARE(r.w.at("Frame1").backColor(), std::optional<Bgr>(frame));
        }
    }

    void tilesBounceBetweenThePictureBounds()
    {
        GameRig r;
        Control& timer2 = r.w.at("Timer2");
        Control& tile0 = r.w.at("Frame2", 0);
        Control& tile3 = r.w.at("Frame2", 3);
        // Stopped by the reset at Load: nothing moves before a celebration.
        r.w.raiseTimer(timer2);
        QCOMPARE(tile0.top(), 468);
        r.enterAll();
        QVERIFY(timer2.enabled());

        struct Step {
            int tick, top0, speed0, top3, speed3;
        };
        // Worked by hand: the picture is 2352 high and a tile 1140, so a tile turns at 1212.
        const std::array<Step, 7> steps { {
            { 1, 498, 30, 430, 10 },
            { 24, 1188, 30, 660, 10 },
            { 25, 1218, -31, 670, 10 },
            { 26, 1187, -31, 680, 10 },
            { 64, 9, -31, 1060, 10 },
            { 65, -22, 30, 1070, 10 },
            { 80, 428, 30, 1220, -11 },
        } };
        int tick = 0;
        for (const Step& s : steps) {
            while (tick < s.tick) {
                r.w.raiseTimer(timer2);
                ++tick;
            }
            QCOMPARE(tile0.top(), s.top0);
            QCOMPARE(int(r.state.VelocitaTessera[0]), s.speed0);
            QCOMPARE(tile3.top(), s.top3);
            QCOMPARE(int(r.state.VelocitaTessera[3]), s.speed3);
        }
        while (tick < 191) {
            r.w.raiseTimer(timer2);
            ++tick;
        }
        QCOMPARE(tile3.top(), 1220 - 111 * 11);
        QCOMPARE(int(r.state.VelocitaTessera[3]), 10);
        // Only the tops change.
        QCOMPARE(tile0.left(), 108);
        QCOMPARE(tile0.height(), 1140);
    }

    void bounceBoundFollowsThePictureHeight()
    {
        GameRig r;
        r.enterAll();
        r.w.at("Picture11").setHeight(1140 + 500);
        // Tile 0 at 468 with step 30 reaches 528 >= 500 at the second tick.
        r.w.raiseTimer(r.w.at("Timer2"));
        QCOMPARE(int(r.state.VelocitaTessera[0]), 30);
        r.w.raiseTimer(r.w.at("Timer2"));
        QCOMPARE(int(r.state.VelocitaTessera[0]), -31);
    }

    void closingTheWindowDuringAnExerciseUnloadsEveryScreen()
    {
        GameRig r;
        r.type("3");
        r.host.loaded.insert(ScreenId::Autore);
        int unloads = 0;
        test::LambdaEvents spy { r.w };
        spy.on.unload = [&] {
            ++unloads;
            spy.inner().unload();
        };
        // The window's close command reaches the program, which unloads the screen.
        r.host.unload(ScreenId::Operativo);
        QCOMPARE(unloads, 1);
        QCOMPARE(r.host.unloads(),
            (std::vector<ScreenId> { ScreenId::Operativo, ScreenId::Autore, ScreenId::Istruzioni,
                ScreenId::Operativo, ScreenId::Inizio }));
        QVERIFY(r.host.loaded.empty());
    }

    void instructionsOpenModallyThenFocusOne()
    {
        GameRig r;
        r.type("4");
        r.w.setFocus(r.key(TastoAvanti));
        bool shownWhileOpen = false;
        r.host.duringModal = [&] { shownWhileOpen = r.host.isLoaded(ScreenId::Istruzioni); };
        r.w.raiseClick(r.w.at("mnuIstruzioni"));
        QCOMPARE(r.host.calls,
            (std::vector<RecordingHost::Call> { { 'S', ScreenId::Istruzioni, true } }));
        QVERIFY(shownWhileOpen);
        QCOMPARE(r.focusedKey(), 1);
        QCOMPARE(r.caption(0), std::string("4"));
    }

    void instructionsDuringTheCelebrationLeaveTheFocus()
    {
        GameRig r;
        r.enterAll();
        r.w.raiseTimer(r.w.at("Timer3"));
        r.w.setFocus(r.key(TastoEsco));
        r.w.raiseClick(r.w.at("mnuIstruzioni"));
        QCOMPARE(r.focusedKey(), TastoEsco);
        QVERIFY(r.celebrating());
    }

    // The behaviour resolves its controls when it is built: a table without one of them fails
    // there, naming it, and never later on a press.
    void aControlMissingFromTheTableFailsWhenTheScreenIsBuilt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("centre number") << "Label1" << -1;
        QTest::newRow("last answer cell") << "lblRisultato" << 7;
        QTest::newRow("Esco") << "Option1" << TastoEsco;
        QTest::newRow("blink timer") << "Timer3" << -1;
        QTest::newRow("menu entry") << "mnuIstruzioni" << -1;
    }
    void aControlMissingFromTheTableFailsWhenTheScreenIsBuilt()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        const auto table = screens::makeFrmOperativo();
        Window w(WindowDef { .name = table->name(), .title = table->title() });
        for (const auto& c : table->controls()) {
            if (c->is(name.toStdString(), index))
                continue;
            ControlDef def = c->def();
            def.caption = c->caption();
            w.add(def);
        }
        QCOMPARE(w.count() + 1, table->count());
        FixedClock clock;
        ScriptedRandom rng;
        Module1 state;
        RecordingHost host;
        const std::string missing
            = name.toStdString() + (index >= 0 ? "(" + std::to_string(index) + ")" : "");
        try {
            GameScreen game(w, state, host, clock, rng);
            QFAIL("built without its control");
        } catch (const std::out_of_range& e) {
            QCOMPARE(std::string(e.what()), "frmOperativo has no control " + missing);
        }
    }
};

QTEST_GUILESS_MAIN(TestGameScreen)
#include "tst_gamescreen.moc"

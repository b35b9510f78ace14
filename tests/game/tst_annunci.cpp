// What the game says to a pupil who plays by ear, action by action, on the fake platform: the
// words it hands to Platform::announce for a whole tarvo, and only those.
#include "GameRig.h"
#include "game/Annunci.h"

#include <QTest>

#include <algorithm>

using namespace tarvo;
using namespace tarvo::test;

namespace {

constexpr std::initializer_list<int> Subtrahends = { 7, 3, 9, 1, 10, 5, 2, 8 };

std::string lastSaid(const GameRig& r)
{
    return r.platform.announced.empty() ? std::string("<nothing>") : r.platform.announced.back();
}

} // namespace

class TestAnnunci : public QObject {
    Q_OBJECT

private slots:
    void theOpenedGameSaysItsFirstRay()
    {
        GameRig r(15, Subtrahends);
        QCOMPARE(r.platform.announced, std::vector<std::string> { "15 meno 7 uguale quanto?" });
        // The sentence follows the centre the pupil chose.
        GameRig twelve(12, Subtrahends);
        QCOMPARE(lastSaid(twelve), std::string("12 meno 7 uguale quanto?"));
    }

    void everyEditSaysWhatTheCellNowHolds()
    {
        GameRig r(15, Subtrahends);
        r.platform.announced.clear();
        r.type("1");
        r.type("2");
        r.game.CancellaCifra(true); // "Cancella"
        r.game.CancellaCifra(false); // BACKSPACE
        r.game.CancellaCifra(false); // on "?": it stays "?"
        r.type("0"); // refused as a first digit
        r.type("1234"); // the fourth digit never stays
        const std::vector<std::string> expected { "Risposta 1", "Risposta 12", "Risposta 1",
            "Risposta vuota", "Risposta vuota", "Risposta vuota", "Risposta 1", "Risposta 12",
            "Risposta 123", "Risposta 123" };
        QCOMPARE(r.platform.announced, expected);
        QCOMPARE(r.caption(0), std::string("123")); // what was said is what the cell shows
    }

    void avantiSaysTheNextRay()
    {
        GameRig r(15, Subtrahends);
        r.type(r.answer(0));
        r.platform.announced.clear();
        r.game.Premi(TastoAvanti);
        QCOMPARE(r.platform.announced, std::vector<std::string> { "15 meno 3 uguale quanto?" });
    }

    // A check says how far it looked and the ray to correct, with no count that reads as a score
    // of the whole tarvo; a check that finds the same ray wrong again says so again, although the
    // screen looks as after "Cancella".
    void aCheckSaysHowFarItLookedAndTheRayToCorrect()
    {
        GameRig r(15, Subtrahends);
        r.enterAll({ 2 });
        QCOMPARE(lastSaid(r),
            std::string("Controllati i raggi dal primo al terzo: giusti fino al secondo, "
                        "da correggere il terzo. 15 meno 9 uguale quanto?"));
        r.type(r.wrongAnswer(2));
        r.platform.announced.clear();
        r.game.Premi(TastoAvanti);
        QCOMPARE(r.platform.announced,
            std::vector<std::string> {
                "Controllati i raggi dal primo al terzo: giusti fino al secondo, "
                "da correggere il terzo. 15 meno 9 uguale quanto?" });
        // A wrong first ray, and a wrong second.
        GameRig first(15, Subtrahends);
        first.enterAll({ 0 });
        QCOMPARE(lastSaid(first),
            std::string("Controllato il primo raggio: è da correggere. 15 meno 7 uguale quanto?"));
        GameRig second(15, Subtrahends);
        second.enterAll({ 1 });
        QCOMPARE(lastSaid(second),
            std::string("Controllati i raggi dal primo al secondo: giusto il primo, da correggere "
                        "il secondo. 15 meno 3 uguale quanto?"));
    }

    void theCelebrationIsSaidOnceThenANewTarvoSaysItsFirstRay()
    {
        GameRig r(15, Subtrahends);
        r.enterAll();
        QVERIFY(r.celebrating());
        QCOMPARE(lastSaid(r), std::string("Tutto il tarvo è giusto!"));
        r.platform.announced.clear();
        for (int tick = 0; tick < 5; ++tick) {
            r.game.Lampeggio();
            r.game.Rimbalzo();
        }
        r.type("4"); // the digit keys still reach the game: no ray is current
        r.game.CancellaCifra(false);
        QCOMPARE(r.platform.announced, std::vector<std::string> {});
        r.rng.queue({ 4, 6, 1, 2, 3, 5, 7, 8 });
        r.game.Premi(TastoNuovoTarvo);
        QCOMPARE(r.platform.announced, std::vector<std::string> { "15 meno 4 uguale quanto?" });
    }

    // The screen's own sentence for a ray, as the reader's tree names an answer cell.
    void aRayReadsAsTheScreenShowsIt()
    {
        GameRig r(15, Subtrahends);
        QCOMPARE(fraseRaggio(r.w, 0), std::string("15 meno 7 uguale ?"));
        QCOMPARE(fraseRaggio(r.w, 1), std::string("15 meno 3 uguale, da fare"));
        r.type("8");
        QCOMPARE(fraseRaggio(r.w, 0), std::string("15 meno 7 uguale 8"));
        QCOMPARE(fraseRaggio(r.w, 8), std::string()); // no such ray
        r.w.at("Label1").setCaption("");
        QCOMPARE(fraseRaggio(r.w, 0), std::string("8")); // without a centre: the cell alone
        QCOMPARE(annuncioRaggio(r.w, 0), std::string());
    }
};

QTEST_GUILESS_MAIN(TestAnnunci)
#include "tst_annunci.moc"

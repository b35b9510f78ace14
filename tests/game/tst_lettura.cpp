// What a screen reader's tree holds of the real screen tables and what it reads, without a
// display: the decorative rows are left out, the tarvo reads ray by ray, the check's colours read
// as verdicts while a game is played on the fake platform.
#include "GameRig.h"
#include "game/Lettura.h"

#include <QTest>

using namespace tarvo;
using namespace tarvo::test;

namespace {

std::vector<std::string> namesOf(const std::vector<const Control*>& list)
{
    std::vector<std::string> names;
    for (const Control* c : list)
        names.push_back(describe(*c));
    return names;
}

} // namespace

class TestLettura : public QObject {
    Q_OBJECT

private slots:
    void decorationsAreLeftOutOfTheTree()
    {
        auto start = screens::makeFrmInizio();
        QCOMPARE(readerRole(start->at("Label6")), ReaderRole::None);
        QCOMPARE(readerRole(start->at("Label5")), ReaderRole::Text);
        QCOMPARE(readerRole(start->at("Option1", 0)), ReaderRole::Button);

        GameRig r(15, { 7, 3, 9, 1, 10, 5, 2, 8 });
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(readerRole(r.w.at("lblSegno", i)), ReaderRole::None);
            QCOMPARE(readerRole(r.w.at("lblUguale", i)), ReaderRole::None);
            QCOMPARE(readerRole(r.w.at("Label2", i)), ReaderRole::Text);
        }
        QCOMPARE(readerRole(r.w.at("Label4", 1)), ReaderRole::None); // the banner never shown
        QCOMPARE(readerRole(r.w.at("Frame1")), ReaderRole::Group);
        // The celebration's tiles read as one word, their letters not one by one.
        QCOMPARE(readerRole(r.w.at("Picture11")), ReaderRole::Text);
        QCOMPARE(readerName(r.w.at("Picture11")), std::string("BENE"));
        QCOMPARE(readerRole(r.w.at("Frame2", 0)), ReaderRole::None);
        // A caption spelled out letter by letter reads as its word; others as they are shown.
        QCOMPARE(readerName(screens::makeFrmIstruzioni()->at("Command1")), std::string("Chiudi"));
        QCOMPARE(readerName(screens::makeFrmAutore()->at("Command1")), std::string("Chiudi"));
        QCOMPARE(readerName(r.w.at("Option1", 12)), r.w.at("Option1", 12).shownCaption());
    }

    void theTarvoReadsRayByRay()
    {
        GameRig r(15, { 7, 3, 9, 1, 10, 5, 2, 8 });
        const auto list = namesOf(readerChildren(r.w, &r.w.at("Frame1")));
        QVERIFY(list.size() >= 17);
        QCOMPARE(list[0], std::string("Label1"));
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(list[1 + 2 * i], "Label2(" + std::to_string(i) + ")");
            QCOMPARE(list[2 + 2 * i], "lblRisultato(" + std::to_string(i) + ")");
        }
        QCOMPARE(readerName(r.cell(0)), std::string("15 meno 7 uguale ?"));
        QCOMPARE(readerName(r.cell(1)), std::string("15 meno 3 uguale, da fare"));
    }

    void theCheckColoursReadAsVerdicts()
    {
        GameRig r(15, { 7, 3, 9, 1, 10, 5, 2, 8 });
        QCOMPARE(readerDescription(r.cell(0)), std::string()); // not yet checked
        r.enterAll({ 2 });
        QCOMPARE(readerDescription(r.cell(0)), std::string("giusto"));
        QCOMPARE(readerDescription(r.cell(1)), std::string("giusto"));
        QCOMPARE(readerDescription(r.cell(2)), std::string("sbagliato"));
        QCOMPARE(readerDescription(r.cell(3)), std::string()); // not looked at
        r.type(r.answer(2));
        r.game.Premi(TastoAvanti);
        QVERIFY(r.celebrating());
        // Both blink colours still say "right".
        for (int tick = 0; tick < 2; ++tick) {
            r.game.Lampeggio();
            for (int i = 0; i < 8; ++i)
                QCOMPARE(readerDescription(r.cell(i)), std::string("giusto"));
        }
        QCOMPARE(verdictOf(0x00FFFFFF), std::string()); // any other colour says nothing
    }
};

QTEST_GUILESS_MAIN(TestLettura)
#include "tst_lettura.moc"

#include "StartRig.h"

#include <QTest>

using namespace tarvo;
using namespace tarvo::test;
using Call = RecordingHost::Call;

class TestStartScreen : public QObject {
    Q_OBJECT

private slots:
    void loadWritesTheVersionAndProbesOnce()
    {
        StartRig s;
        const Control& label7 = s.w->at("Label7");
        QCOMPARE(label7.caption(), std::string("Vers.1.0\rMouse "));
        QVERIFY(label7.visible());
        QCOMPARE(s.probe.names, std::vector<std::string> { "ImpostazioniVa.dat" });
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(0));
        QCOMPARE(s.label1(), std::string());
        QVERIFY(s.host.calls.empty());
    }

    void settingsFileChangesNothingOnScreen()
    {
        StartRig with(true);
        StartRig without(false);
        QCOMPARE(with.w->count(), without.w->count());
        for (std::size_t i = 0; i < with.w->count(); ++i) {
            const Control& a = with.w->item(i);
            const Control& b = without.w->item(i);
            QCOMPARE(a.caption(), b.caption());
            QCOMPARE(a.rect(), b.rect());
            QCOMPARE(a.visible(), b.visible());
            QCOMPARE(a.enabled(), b.enabled());
            QCOMPARE(a.backColor(), b.backColor());
        }
        QCOMPARE(with.w->focused(), &with.choice(0));
        QCOMPARE(without.w->focused(), &without.choice(0));
    }

    void activateFocusesTheFirstChoice()
    {
        StartRig s;
        QCOMPARE(s.w->focused(), &s.choice(0));
        s.w->setFocus(s.command(2));
        s.w->raiseActivate(); // back from another window
        QCOMPARE(s.w->focused(), &s.choice(0));
    }

    void choiceSetsNumberAndCaption_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::newRow("10 dello") << 0 << "Tarvo dello 10";
        QTest::newRow("11 dell' with blank") << 1 << "Tarvo dell' 11";
        for (int i = 2; i <= 10; ++i)
            QTest::addRow("%d del", 10 + i) << i << QString("Tarvo del %1").arg(10 + i);
    }

    void choiceSetsNumberAndCaption()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        StartRig s;
        s.choice(0).setValue(true);
        s.start.ScegliTarvo(static_cast<std::int16_t>(index));
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(10 + index));
        QCOMPARE(QString::fromStdString(s.label1()), caption);
        QVERIFY(!s.choice(0).value());
        QCOMPARE(s.w->focused(), &s.command(0));
        QVERIFY(s.host.calls.empty());
        // A pupil who plays by ear hears the choice the label shows, once.
        QCOMPARE(s.platform.announced, std::vector<std::string> { caption.toStdString() });
    }

    void choiceOutOfRangeChangesNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("11") << 11;
        QTest::newRow("int16 max") << 32767;
        QTest::newRow("int16 min") << -32768;
    }

    void choiceOutOfRangeChangesNothing()
    {
        QFETCH(int, index);
        StartRig s;
        s.start.ScegliTarvo(3);
        s.w->setFocus(s.choice(4));
        s.choice(0).setValue(true);
        s.platform.announced.clear();
        s.start.ScegliTarvo(static_cast<std::int16_t>(index));
        QCOMPARE(s.platform.announced, std::vector<std::string> {}); // no choice: nothing said
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(13));
        QCOMPARE(s.label1(), std::string("Tarvo del 13"));
        // The rest of the routine still runs.
        QVERIFY(!s.choice(0).value());
        QCOMPARE(s.w->focused(), &s.command(0));
    }

    void vaiBeforeAnyChoiceLeadsToTheChoices()
    {
        StartRig s;
        s.w->setFocus(s.command(0));
        s.start.EseguiComando(0);
        QVERIFY(s.host.calls.empty());
        QCOMPARE(s.w->focused(), &s.choice(0));
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(0));
    }

    void vaiAfterAChoiceOpensTheGameEachTime()
    {
        StartRig s;
        s.start.ScegliTarvo(5);
        s.start.EseguiComando(0);
        s.start.ScegliTarvo(9); // a later choice, the game already open
        s.start.EseguiComando(0);
        const std::vector<Call> expected { { 'S', ScreenId::Operativo, false },
            { 'S', ScreenId::Operativo, false } };
        QCOMPARE(s.host.calls, expected);
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(19));
    }

    void ripristinaKeepsTheChoice()
    {
        StartRig s;
        s.start.ScegliTarvo(7);
        s.start.EseguiComando(1);
        QCOMPARE(s.w->focused(), &s.choice(0));
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(17));
        QCOMPARE(s.label1(), std::string("Tarvo del 17"));
        QVERIFY(s.host.calls.empty());
    }

    void esciClosesTheStartScreen()
    {
        StartRig s;
        s.start.EseguiComando(2);
        QCOMPARE(s.host.calls, (std::vector<Call> { { 'U', ScreenId::Inizio, false } }));
    }

    void otherCommandIndexesDoNothing()
    {
        StartRig s;
        s.start.ScegliTarvo(2);
        for (std::int16_t i : { std::int16_t(-1), std::int16_t(3), std::int16_t(32767) })
            s.start.EseguiComando(i);
        QVERIFY(s.host.calls.empty());
        QCOMPARE(s.w->focused(), &s.command(0));
    }

    void unloadClosesStartAuthorAndGameInOrder()
    {
        StartRig s;
        s.w->raiseUnload();
        const std::vector<Call> expected { { 'U', ScreenId::Inizio, false },
            { 'U', ScreenId::Autore, false }, { 'U', ScreenId::Operativo, false } };
        QCOMPARE(s.host.calls, expected);
    }

    void authorMenuIsModalThenBackToTheFirstChoice()
    {
        StartRig s;
        s.start.ScegliTarvo(1);
        QCOMPARE(s.w->focused(), &s.command(0));
        s.w->raiseClick(s.w->at("mnuInfo"));
        QCOMPARE(s.host.calls, (std::vector<Call> { { 'S', ScreenId::Autore, true } }));
        QCOMPARE(s.w->focused(), &s.choice(0));
        QCOMPARE(s.state.NumeroCentrale, std::int16_t(11));
    }

    void authorMenuLeavesAClosedStartScreenAlone()
    {
        StartRig s;
        s.w->setFocus(s.command(1));
        s.host.loaded.erase(ScreenId::Inizio);
        s.w->raiseClick(s.w->at("mnuInfo"));
        QCOMPARE(s.w->focused(), &s.command(1));
    }

    void resizeLaysOutAndRestartsTheCurtains()
    {
        StartRig s;
        // Let the first animation finish.
        for (int i = 0; i < 1000 && s.start.curtains().running(); ++i)
            s.w->raiseTimer(s.w->at("timerTendine"));
        QVERIFY(!s.start.curtains().running());
        s.w->setFrameWidth(240);
        s.w->setInnerSize(2 * 11880, 2 * 8310);
        s.w->raiseResize();
        QCOMPARE(s.w->at("frame1").rect(), (Twips { 2 * 1980, 2 * 4290, 2 * 4125, 2 * 2805 }));
        QVERIFY(s.start.curtains().running());
        QCOMPARE(s.w->at("Picture1").width(), (2 * 11880 + 240) / 2);
        QCOMPARE(s.w->at("Picture2").width(), (2 * 11880 + 240) / 2);
    }
};

QTEST_GUILESS_MAIN(TestStartScreen)
#include "tst_startscreen.moc"

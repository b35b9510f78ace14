// The instructions and author screens: the text written at every Load, and the close button that
// unloads its own screen and nothing else.

#include "Doubles.h"
#include "screens/InfoScreens.h"
#include "screens/Screens.h"

#include <QTest>

#include <vector>

using namespace tarvo;
using namespace tarvo::test;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out(1);
    for (char ch : text) {
        if (ch == CR)
            out.emplace_back();
        else
            out.back() += ch;
    }
    return out;
}

} // namespace

class TestInfoScreens : public QObject {
    Q_OBJECT

private slots:
    void instructionsAreFifteenLinesWithTheBlankOnesInPlace()
    {
        const std::string text = testoIstruzioni();
        QVERIFY(text.find('\n') == std::string::npos);
        const auto l = lines(text);
        QCOMPARE(int(l.size()), 15);
        for (int n = 1; n <= 15; ++n) {
            const std::string& line = l[n - 1];
            const bool empty = n == 5 || n == 6 || n == 10 || n == 13;
            QVERIFY2(line.empty() == empty, QByteArray::number(n));
            if (!empty)
                QVERIFY2(line.front() == ' ', QByteArray::number(n));
        }
    }

    void everyLoadWritesTheSameText()
    {
        auto w = screens::makeFrmIstruzioni();
        RecordingHost host;
        InfoScreen screen(*w, host, ScreenId::Istruzioni);
        Control& text = w->at("Label1");
        QCOMPARE(text.caption(), std::string("Label1"));

        w->raiseLoad();
        const std::string first = text.caption();
        QCOMPARE(first, testoIstruzioni());
        text.setCaption("scarabocchio");
        w->raiseLoad();
        QCOMPARE(text.caption(), first);
        w->raiseLoad();
        QCOMPARE(text.caption(), first);
        QVERIFY(host.unloads().empty());

        // A fresh window, as a second opening creates it, shows the same.
        auto again = screens::makeFrmIstruzioni();
        InfoScreen screen2(*again, host, ScreenId::Istruzioni);
        again->raiseLoad();
        QCOMPARE(again->at("Label1").caption(), first);
    }

    void closeButtonUnloadsItsOwnScreen_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("istruzioni") << int(ScreenId::Istruzioni);
        QTest::newRow("autore") << int(ScreenId::Autore);
    }
    void closeButtonUnloadsItsOwnScreen()
    {
        QFETCH(int, which);
        const auto self = ScreenId(which);
        auto w = self == ScreenId::Istruzioni ? screens::makeFrmIstruzioni()
                                              : screens::makeFrmAutore();
        RecordingHost host;
        InfoScreen screen(*w, host, self);
        w->raiseLoad();

        // The labels, the author's addresses among them, do nothing when clicked.
        for (const auto& c : w->controls())
            if (c->kind() == Kind::Label)
                w->raiseClick(*c);
        QVERIFY(host.unloads().empty());

        Control& close = w->at("Command1");
        QCOMPARE(close.caption(), std::string("C h i u d i"));
        w->raiseClick(close);
        QCOMPARE(host.unloads(), std::vector<ScreenId> { self });
        QVERIFY(host.shows().empty());
    }
};

QTEST_APPLESS_MAIN(TestInfoScreens)
#include "tst_infoscreens.moc"

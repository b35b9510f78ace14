// What a screen reader gets from the real program, read in this process through QAccessible: the
// tree of each window, the names, roles and states, the ray sentences as the game goes on, and
// the events a reader follows (focus, name and description changes).
#include "A11yRig.h"

#include "game/GameScreen.h"
#include "screens/Screens.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>

using namespace tarvo;
using tarvo::test::A11yRig;

namespace {

struct Told {
    QAccessible::Event type;
    QPointer<QObject> object;
    QAccessible::State changed;
};
std::vector<Told> told;

void record(QAccessibleEvent* e)
{
    QAccessible::State changed;
    if (e->type() == QAccessible::StateChanged)
        changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
    told.push_back({ e->type(), e->object(), changed });
}

int countOf(QAccessible::Event type, const QObject* object)
{
    return static_cast<int>(std::count_if(told.begin(), told.end(),
        [&](const Told& t) { return t.type == type && t.object == object; }));
}

QAccessibleInterface* iface(QObject* o)
{
    return QAccessible::queryAccessibleInterface(o);
}
QString nameOf(QObject* o)
{
    return iface(o)->text(QAccessible::Name);
}
QString descriptionOf(QObject* o)
{
    return iface(o)->text(QAccessible::Description);
}

// One node of a window's tree, in the order a reader walks it.
struct Node {
    QString object;
    QAccessible::Role role;
    QString name;
    QAccessible::State state;
};

// Walks the tree depth first; every child must name its parent back and know its own index.
void walk(QAccessibleInterface* node, QList<Node>& out, QStringList& faults)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child) {
            faults
                << QStringLiteral("%1: child %2 missing").arg(node->object()->objectName()).arg(i);
            continue;
        }
        const QString name = child->object()->objectName();
        if (!child->parent() || child->parent()->object() != node->object())
            faults << name + QStringLiteral(": wrong parent");
        if (node->indexOfChild(child) != i)
            faults << name + QStringLiteral(": wrong index");
        out.push_back({ name, child->role(), child->text(QAccessible::Name), child->state() });
        walk(child, out, faults);
    }
}

QList<Node> treeOf(QWidget* view)
{
    QList<Node> nodes;
    QStringList faults;
    walk(iface(view), nodes, faults);
    if (!faults.isEmpty())
        qWarning() << faults;
    return faults.isEmpty() ? nodes : QList<Node>();
}

QStringList objectsOf(const QList<Node>& nodes)
{
    QStringList list;
    for (const Node& n : nodes)
        list << n.object;
    return list;
}

// Names of the nodes with one of the roles, in reading order.
QStringList namesOf(const QList<Node>& nodes, std::initializer_list<QAccessible::Role> roles)
{
    QStringList list;
    for (const Node& n : nodes)
        if (std::find(roles.begin(), roles.end(), n.role) != roles.end())
            list << n.name;
    return list;
}

// Opens a modal screen with the menu entry `menu` of window `from` and reads it: its title, then
// its labels and button in order; then closes it with its button.
QStringList readModal(A11yRig& rig, ScreenId id, Window& from, const char* menu)
{
    rig.platform.actionFor(from.at(menu))->trigger();
    QWidget* view = rig.view(id);
    QStringList read = namesOf(treeOf(view), { QAccessible::StaticText, QAccessible::Button });
    read.prepend(nameOf(view));
    QTest::mouseClick(rig.widget(id, "Command1"), Qt::LeftButton);
    return read;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Qt tells nobody anything until a reader's bus is there: run under atspi-session.
        QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "no AT-SPI bus", 10000);
        QAccessible::installUpdateHandler(record);
    }
    void init() { told.clear(); }

    void startScreenTree()
    {
        A11yRig rig;
        rig.beginOnFirstChoice();
        if (QTest::currentTestFailed())
            return;
        QWidget* view = rig.view(ScreenId::Inizio);
        QCOMPARE(iface(view)->role(), QAccessible::Window);
        QCOMPARE(nameOf(view), QStringLiteral("Tavole della moltiplicazione"));

        const QList<Node> nodes = treeOf(view);
        QVERIFY(!nodes.isEmpty());
        const QStringList objects = objectsOf(nodes);
        // Decorations, curtains and the never-seen controls are not in the reader's way.
        for (const char* gone : { "Picture1", "Picture2", "EssResizer1", "Label6", "Shape1",
                 "Shape2", "Shape3", "Shape4" })
            QVERIFY2(!objects.contains(QLatin1String(gone)), gone);

        // The texts read from the top: title, version, then the byline at the bottom.
        const QStringList texts = namesOf(nodes, { QAccessible::StaticText });
        QCOMPARE(texts.value(0), QStringLiteral("TARVO: sottraggo"));
        QCOMPARE(texts.value(1), QStringLiteral("Vers.1.0\nMouse "));
        QCOMPARE(texts.last(), QStringLiteral("Il nuovo software di Vadorne"));

        // Every button by its caption, choices row by row, then the commands.
        QStringList buttons = namesOf(nodes, { QAccessible::Button });
        QCOMPARE(buttons,
            QStringList({ "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "20", "Vai",
                "Ripristina", "Esci" }));
        for (const Node& n : nodes) {
            if (n.role != QAccessible::Button)
                continue;
            QVERIFY2(n.state.focusable && !n.state.disabled, qPrintable(n.object));
            QCOMPARE(bool(n.state.focused), n.object == QStringLiteral("Option1(0)"));
        }
        // The chosen tarvo's line is empty before a choice and reads its caption after one.
        QWidget* chosen = rig.widget(ScreenId::Inizio, "Label1");
        QCOMPARE(nameOf(chosen), QString());
        QTest::mouseClick(rig.widget(ScreenId::Inizio, "Option1", 5), Qt::LeftButton);
        QCOMPARE(nameOf(chosen),
            QString::fromStdString(rig.window(ScreenId::Inizio)->at("Label1").caption()));
        QVERIFY(!nameOf(chosen).isEmpty());
        QCOMPARE(countOf(QAccessible::NameChanged, chosen), 1);
    }

    // Scanning, keys, the mouse and the program itself all move the focus as Qt's focus, and a
    // reader hears each move.
    void focusMovesAreFollowed()
    {
        A11yRig rig;
        rig.beginOnFirstChoice();
        if (QTest::currentTestFailed())
            return;
        QWidget* ten = rig.widget(ScreenId::Inizio, "Option1", 0);
        QWidget* eleven = rig.widget(ScreenId::Inizio, "Option1", 1);
        QVERIFY(iface(ten)->state().focused);

        told.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(QApplication::focusWidget(), eleven);
        QCOMPARE(countOf(QAccessible::Focus, eleven), 1);
        QVERIFY(iface(eleven)->state().focused);
        QVERIFY(!iface(ten)->state().focused);

        // A digit key goes straight to its choice.
        told.clear();
        QWidget* seventeen = rig.widget(ScreenId::Inizio, "Option1", 7);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
        QCOMPARE(countOf(QAccessible::Focus, seventeen), 1);
        QVERIFY(iface(seventeen)->state().focused);

        // A press on a choice focuses it; the choice then sends the focus on to "Vai".
        told.clear();
        QWidget* fifteen = rig.widget(ScreenId::Inizio, "Option1", 5);
        QWidget* vai = rig.widget(ScreenId::Inizio, "Option2", 0);
        QTest::mouseClick(fifteen, Qt::LeftButton);
        QCOMPARE(countOf(QAccessible::Focus, fifteen), 1);
        QCOMPARE(countOf(QAccessible::Focus, vai), 1);
        QVERIFY(iface(vai)->state().focused);

        // On the game screen SPACE scans the keypad.
        QTest::keyClick(vai, Qt::Key_Return);
        QTRY_VERIFY(rig.program.window(ScreenId::Operativo));
        QVERIFY(QTest::qWaitForWindowActive(rig.view(ScreenId::Operativo)));
        QWidget* zero = rig.widget(ScreenId::Operativo, "Option1", 0);
        QWidget* one = rig.widget(ScreenId::Operativo, "Option1", 1);
        QTRY_COMPARE(QApplication::focusWidget(), zero);
        told.clear();
        QTest::keyClick(zero, Qt::Key_Space);
        QCOMPARE(countOf(QAccessible::Focus, one), 1);
        QVERIFY(iface(one)->state().focused);
    }

    void gameScreenTree()
    {
        A11yRig rig;
        if (!rig.beginAndOpenGame(15))
            return;
        QWidget* view = rig.view(ScreenId::Operativo);
        QCOMPARE(nameOf(view), QStringLiteral("Form1"));
        const QList<Node> nodes = treeOf(view);
        QVERIFY(!nodes.isEmpty());
        const QStringList objects = objectsOf(nodes);
        for (const QString& o : objects) {
            QVERIFY2(!o.startsWith(QLatin1String("lblSegno"))
                    && !o.startsWith(QLatin1String("lblUguale"))
                    && !o.startsWith(QLatin1String("Shape")) && o != QLatin1String("Label4(1)")
                    && !o.startsWith(QLatin1String("Frame2")),
                qPrintable(o));
        }

        // The tarvo reads its centre, then ray by ray the subtrahend and the answer cell.
        const QStringList texts = namesOf(nodes, { QAccessible::StaticText });
        QCOMPARE(texts.mid(0, 5),
            QStringList({ "15", "7", "15 meno 7 uguale ?", "1", "15 meno 1 uguale, da fare" }));
        QCOMPARE(texts.value(16), QStringLiteral("15 meno 8 uguale, da fare"));
        // The hidden celebration reads as one word, marked invisible until it shows.
        const auto bene = std::find_if(
            nodes.begin(), nodes.end(), [](const Node& n) { return n.object == "Picture11"; });
        QVERIFY(bene != nodes.end());
        QCOMPARE(bene->name, QStringLiteral("BENE"));
        QVERIFY(bene->state.invisible);

        QStringList buttons = namesOf(nodes, { QAccessible::Button });
        QCOMPARE(buttons,
            QStringList({ "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "Cancella", "Avanti",
                "Nuovo tarvo", "Esco" }));
        QVERIFY(iface(rig.widget(ScreenId::Operativo, "Option1", TastoAvanti))->state().disabled);
        QVERIFY(!iface(rig.widget(ScreenId::Operativo, "Option1", 3))->state().disabled);
        QCOMPARE(
            iface(rig.widget(ScreenId::Operativo, "lblRisultato", 0))->text(QAccessible::Value),
            QStringLiteral("?"));
    }

    // The cells read their rays as the pupil works, and the check's verdict once it is made.
    void raysAsTheGameGoesOn()
    {
        A11yRig rig;
        if (!rig.beginAndOpenGame(15))
            return;
        auto cell = [&](int i) { return rig.widget(ScreenId::Operativo, "lblRisultato", i); };
        QWidget* avanti = rig.widget(ScreenId::Operativo, "Option1", TastoAvanti);
        told.clear();

        rig.press(8);
        QCOMPARE(nameOf(cell(0)), QStringLiteral("15 meno 7 uguale 8"));
        QCOMPARE(descriptionOf(cell(0)), QString());
        QVERIFY(countOf(QAccessible::NameChanged, cell(0)) >= 1);
        // "Avanti" became available, and says so.
        QVERIFY(!iface(avanti)->state().disabled);
        QVERIFY(std::any_of(told.begin(), told.end(), [&](const Told& t) {
            return t.type == QAccessible::StateChanged && t.object == avanti && t.changed.disabled;
        }));

        // A reader's press action works the button as a click does.
        QAccessibleActionInterface* cancella
            = iface(rig.widget(ScreenId::Operativo, "Option1", TastoCancella))->actionInterface();
        QVERIFY(cancella);
        QVERIFY(cancella->actionNames().contains(QAccessibleActionInterface::pressAction()));
        cancella->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(nameOf(cell(0)), QStringLiteral("15 meno 7 uguale ?"));
        rig.answer(8);

        // Rays 1..6 right (15 - 1 .. 15 - 6), ray 7 wrong (15 - 8 is 7, not 9).
        const int answers[8] = { 8, 14, 13, 12, 11, 10, 9, 9 };
        for (int i = 1; i < 8; ++i) {
            rig.press(TastoAvanti);
            QVERIFY(nameOf(cell(i)).endsWith(QStringLiteral(" uguale ?")));
            rig.answer(answers[i]);
        }
        QCOMPARE(nameOf(cell(7)), QStringLiteral("15 meno 8 uguale 9"));
        told.clear();
        rig.press(TastoAvanti);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(descriptionOf(cell(i)), QStringLiteral("giusto"));
            QCOMPARE(countOf(QAccessible::DescriptionChanged, cell(i)), 1);
        }
        QCOMPARE(descriptionOf(cell(7)), QStringLiteral("sbagliato"));
        QCOMPARE(countOf(QAccessible::DescriptionChanged, cell(7)), 1);
        QCOMPARE(nameOf(cell(7)), QStringLiteral("15 meno 8 uguale ?"));
        QCOMPARE(countOf(QAccessible::NameChanged, cell(7)), 1);

        // Put right: every cell right; the blink between two yellows tells nothing new.
        rig.answer(7);
        told.clear();
        rig.press(TastoAvanti);
        QCOMPARE(descriptionOf(cell(7)), QStringLiteral("giusto"));
        QCOMPARE(countOf(QAccessible::DescriptionChanged, cell(7)), 1);
        Window& game = *rig.window(ScreenId::Operativo);
        told.clear();
        game.raiseTimer(game.at("Timer3"));
        game.raiseTimer(game.at("Timer3"));
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(descriptionOf(cell(i)), QStringLiteral("giusto"));
            QCOMPARE(countOf(QAccessible::DescriptionChanged, cell(i)), 0);
        }
        // The end-of-tarvo keypad: the focus goes to "Nuovo tarvo" and the word shows.
        QWidget* nuovo = rig.widget(ScreenId::Operativo, "Option1", TastoNuovoTarvo);
        QCOMPARE(countOf(QAccessible::Focus, nuovo), 1);
        QVERIFY(iface(nuovo)->state().focused);
        QVERIFY(!iface(rig.widget(ScreenId::Operativo, "Picture11"))->state().invisible);

        // A new tarvo: every verdict goes, every ray but the first waits again.
        told.clear();
        rig.press(TastoNuovoTarvo);
        QCOMPARE(descriptionOf(cell(0)), QString());
        QCOMPARE(countOf(QAccessible::DescriptionChanged, cell(3)), 1);
        QVERIFY(nameOf(cell(3)).endsWith(QStringLiteral(" uguale, da fare")));
    }

    // The two small screens read their labels in order, then their button.
    void infoScreensReadInOrder()
    {
        A11yRig rig;
        rig.beginOnFirstChoice();
        if (QTest::currentTestFailed())
            return;
        const QStringList author
            = readModal(rig, ScreenId::Autore, *rig.window(ScreenId::Inizio), "mnuInfo");
        QVERIFY(!rig.program.isLoaded(ScreenId::Autore));
        QStringList expected { QStringLiteral("Autore") };
        const auto autore = screens::makeFrmAutore();
        for (const char* label : { "Label1", "Label2", "Label3", "Label4" })
            expected << QString::fromStdString(autore->at(label).caption());
        expected << QStringLiteral("Chiudi"); // shown "C h i u d i"
        QCOMPARE(author, expected);

        rig.openGame(12);
        if (QTest::currentTestFailed())
            return;
        const QStringList instructions = readModal(
            rig, ScreenId::Istruzioni, *rig.window(ScreenId::Operativo), "mnuIstruzioni");
        QCOMPARE(instructions.size(), 3);
        QCOMPARE(instructions[0], QStringLiteral("ISTRUZIONI"));
        QVERIFY(
            instructions[1].startsWith(QStringLiteral(" I dati possono essere immessi con: \n")));
        QCOMPARE(instructions[1].count(QLatin1Char('\n')), 14);
        QVERIFY(!instructions[1].contains(QLatin1Char('\r')));
        QCOMPARE(instructions[2], QStringLiteral("Chiudi")); // shown "C h i u d i"
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_a11y_reader.moc"

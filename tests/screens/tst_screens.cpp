// Faults a screen table can hide: a control that sticks out of its frame, buttons on top of each
// other, a ray out of place, a gap in a control array, a control buried behind another one.

#include "Describe.h"
#include "screens/Screens.h"

#include <QTest>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <string>

using namespace tarvo;
using tarvo::test::describe;

namespace {

using Factory = std::unique_ptr<Window> (*)();

const std::map<std::string, Factory>& factories()
{
    static const std::map<std::string, Factory> all {
        { "FrmInizio", &screens::makeFrmInizio },
        { "frmOperativo", &screens::makeFrmOperativo },
        { "frmIstruzioni", &screens::makeFrmIstruzioni },
        { "frmAutore", &screens::makeFrmAutore },
    };
    return all;
}

bool hasGeometry(const Control& c)
{
    return c.kind() != Kind::Timer && c.kind() != Kind::Menu;
}

Twips containerArea(const Control& c)
{
    if (const Control* k = c.container())
        return { 0, 0, k->width(), k->height() };
    return { 0, 0, c.window().designWidth(), c.window().designHeight() };
}

bool inside(const Twips& r, const Twips& area)
{
    return r.left >= area.left && r.top >= area.top && r.left + r.width <= area.left + area.width
        && r.top + r.height <= area.top + area.height;
}

bool overlap(const Twips& a, const Twips& b)
{
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height
        && b.top < a.top + a.height;
}

struct Point {
    double x, y;
};

Point centre(const Twips& r)
{
    return { r.left + r.width / 2.0, r.top + r.height / 2.0 };
}

// A circle shape draws the largest circle that fits its rectangle, centred in it.
double radius(const Control& circle)
{
    return std::min(circle.width(), circle.height()) / 2.0;
}

double distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Degrees clockwise from straight up (y grows downwards), in [0, 360).
double bearing(Point from, Point to)
{
    const double deg = std::atan2(to.x - from.x, from.y - to.y) * 180.0 / std::numbers::pi;
    return deg < 0 ? deg + 360.0 : deg;
}

double angleBetween(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

// Frames, picture boxes and buttons are child windows: always in front of the labels and shapes
// of the same container. Within one class the higher z lies in front; equal z says nothing.
bool inFrontOf(const Control& front, const Control& back)
{
    if (front.container() != back.container())
        return false;
    const bool frontIsWindow = isContainer(front.kind()) || isButton(front.kind());
    const bool backIsWindow = isContainer(back.kind()) || isButton(back.kind());
    if (frontIsWindow != backIsWindow)
        return frontIsWindow;
    return front.z() > back.z();
}

bool paintsItsArea(const Control& c)
{
    return c.kind() != Kind::Label || c.opaque();
}

// Whether c, in front, paints over the whole rectangle r.
bool covers(const Control& c, const Twips& r)
{
    if (c.kind() == Kind::Shape && c.shape() == ShapeKind::Circle) {
        const Point o = centre(c.rect());
        const double rad = radius(c);
        for (Point p : { Point { double(r.left), double(r.top) },
                 Point { double(r.left + r.width), double(r.top) },
                 Point { double(r.left), double(r.top + r.height) },
                 Point { double(r.left + r.width), double(r.top + r.height) } })
            if (distance(o, p) > rad)
                return false;
        return true;
    }
    return inside(r, c.rect());
}

} // namespace

class TestScreens : public QObject {
    Q_OBJECT

    static void everyScreen()
    {
        QTest::addColumn<std::string>("screen");
        for (const auto& [name, make] : factories())
            QTest::newRow(name.c_str()) << name;
    }

private slots:
    void everyControlLiesInsideItsContainer_data() { everyScreen(); }
    // At design size. The docked curtains are checked where their docking puts them: the right
    // curtain's own Left would leave it 3 twips past the window's edge.
    void everyControlLiesInsideItsContainer()
    {
        QFETCH(std::string, screen);
        auto w = factories().at(screen)();
        for (const auto& c : w->controls()) {
            if (!hasGeometry(*c))
                continue;
            QVERIFY2(c->width() > 0 && c->height() > 0, describe(*c).c_str());
            QVERIFY2(inside(c->rect(), containerArea(*c)), describe(*c).c_str());
        }
    }

    void controlArraysAreComplete_data() { everyScreen(); }
    void controlArraysAreComplete()
    {
        QFETCH(std::string, screen);
        auto w = factories().at(screen)();
        std::map<std::string, std::set<int>> arrays;
        std::map<std::string, Kind> kinds;
        for (const auto& c : w->controls()) {
            if (c->index() < 0)
                continue;
            arrays[c->name()].insert(c->index());
            const auto [it, fresh] = kinds.emplace(c->name(), c->kind());
            QVERIFY2(fresh || it->second == c->kind(), ("mixed kinds in " + c->name()).c_str());
        }
        for (const auto& [name, indexes] : arrays) {
            QCOMPARE(*indexes.begin(), 0);
            QVERIFY2(*indexes.rbegin() == int(indexes.size()) - 1, ("gap in " + name).c_str());
            QCOMPARE(int(w->array(name).size()), int(indexes.size()));
        }
    }

    // The ranges the behaviour addresses by index: one element per ray, per key, per tile.
    void arraysHaveTheRangesTheBehaviourUses()
    {
        auto game = screens::makeFrmOperativo();
        for (const char* ray : { "Label2", "lblSegno", "lblUguale", "lblRisultato" })
            QCOMPARE(int(game->array(ray).size()), 8);
        QCOMPARE(int(game->array("Option1").size()), 14);
        QCOMPARE(int(game->array("Frame2").size()), 4);
        QCOMPARE(int(game->array("Label4").size()), 5);
        QCOMPARE(int(game->array("Shape1").size()), 5);
        auto start = screens::makeFrmInizio();
        QCOMPARE(int(start->array("Option1").size()), 11);
        QCOMPARE(int(start->array("Option2").size()), 3);
    }

    void tabPositionsAreUniquePerWindow_data() { everyScreen(); }
    void tabPositionsAreUniquePerWindow()
    {
        QFETCH(std::string, screen);
        auto w = factories().at(screen)();
        std::map<int, std::string> taken;
        for (const auto& c : w->controls()) {
            if (c->tabIndex() < 0) {
                QVERIFY2(
                    !isButton(c->kind()), ("button out of the tab order: " + describe(*c)).c_str());
                continue;
            }
            const auto [it, fresh] = taken.emplace(c->tabIndex(), describe(*c));
            QVERIFY2(fresh, (describe(*c) + " shares its tab position with " + it->second).c_str());
        }
    }

    void buttonsDoNotOverlap_data() { everyScreen(); }
    void buttonsDoNotOverlap()
    {
        QFETCH(std::string, screen);
        auto w = factories().at(screen)();
        const auto& all = w->controls();
        for (std::size_t i = 0; i < all.size(); ++i)
            for (std::size_t j = i + 1; j < all.size(); ++j) {
                const Control& a = *all[i];
                const Control& b = *all[j];
                if (isButton(a.kind()) && isButton(b.kind()) && a.container() == b.container())
                    QVERIFY2(
                        !overlap(a.rect(), b.rect()), (describe(a) + " / " + describe(b)).c_str());
            }
    }

    // The four regions of the game screen stand apart.
    void gameScreenRegionsDoNotOverlap()
    {
        auto w = screens::makeFrmOperativo();
        std::vector<const Control*> top;
        for (const auto& c : w->controls())
            if (!c->container() && hasGeometry(*c))
                top.push_back(c.get());
        QCOMPARE(int(top.size()), 4);
        for (std::size_t i = 0; i < top.size(); ++i)
            for (std::size_t j = i + 1; j < top.size(); ++j)
                QVERIFY2(!overlap(top[i]->rect(), top[j]->rect()),
                    (describe(*top[i]) + " / " + describe(*top[j])).c_str());
    }

    // Ray i points 45 * i degrees clockwise from the top; outward from the centre it reads minus
    // sign, subtrahend (inside the ring), equals sign and answer cell (both outside it).
    void raysRunClockwiseFromTheTopAndReadOutwards()
    {
        auto w = screens::makeFrmOperativo();
        const Control& disc = w->at("Shape2");
        const Control& ring = w->at("Shape1", 1);
        QCOMPARE(disc.shape(), ShapeKind::Circle);
        QCOMPARE(ring.shape(), ShapeKind::Circle);
        const Point o = centre(disc.rect());
        QVERIFY(distance(o, centre(ring.rect())) < 100);
        QVERIFY(distance(o, centre(w->at("Label1").rect())) < 100);

        double previous = -1;
        for (int i = 0; i < 8; ++i) {
            const QByteArray ray = "ray " + QByteArray::number(i);
            const Control* parts[] = { &w->at("lblSegno", i), &w->at("Label2", i),
                &w->at("lblUguale", i), &w->at("lblRisultato", i) };
            const double cell = bearing(o, centre(parts[3]->rect()));
            QVERIFY2(cell > previous, ray);
            QVERIFY2(angleBetween(cell, 45.0 * i) < 10.0, ray);
            previous = cell;
            double reach = 0;
            for (const Control* p : parts) {
                QVERIFY2(p->container() == &w->at("Frame1"), ray);
                const Point c = centre(p->rect());
                QVERIFY2(
                    angleBetween(bearing(o, c), 45.0 * i) < 22.5, ray + " " + p->name().c_str());
                QVERIFY2(distance(o, c) > reach, ray + " " + p->name().c_str());
                reach = distance(o, c);
            }
            const Point ringCentre = centre(ring.rect());
            QVERIFY2(distance(ringCentre, centre(parts[1]->rect())) < radius(ring), ray);
            QVERIFY2(distance(ringCentre, centre(parts[2]->rect())) > radius(ring), ray);
            QVERIFY2(distance(ringCentre, centre(parts[3]->rect())) > radius(ring), ray);
        }
    }

    // Only the small picture box the start screen never shows may lie hidden behind a sibling.
    void nothingIsBuriedBehindAnOpaqueSibling_data() { everyScreen(); }
    void nothingIsBuriedBehindAnOpaqueSibling()
    {
        QFETCH(std::string, screen);
        auto w = factories().at(screen)();
        std::set<std::string> buried;
        for (const auto& back : w->controls())
            for (const auto& front : w->controls())
                if (hasGeometry(*back) && hasGeometry(*front) && inFrontOf(*front, *back)
                    && paintsItsArea(*front) && covers(*front, back->rect()))
                    buried.insert(describe(*back));
        const std::set<std::string> expected = screen == "FrmInizio"
            ? std::set<std::string> { "EssResizer1" }
            : std::set<std::string> {};
        QCOMPARE(buried, expected);
    }

    // A shadow, a rim or a ring lies behind the panel or disc it surrounds.
    void ofTwoOverlappingShapesTheSmallerLiesInFront_data() { everyScreen(); }
    void ofTwoOverlappingShapesTheSmallerLiesInFront()
    {
        QFETCH(std::string, screen);
        auto w = factories().at(screen)();
        int pairs = 0;
        for (const auto& a : w->controls())
            for (const auto& b : w->controls()) {
                if (a->kind() != Kind::Shape || b->kind() != Kind::Shape || a == b
                    || a->container() != b->container() || !overlap(a->rect(), b->rect()))
                    continue;
                if (a->width() * a->height() < b->width() * b->height()) {
                    QVERIFY2(inFrontOf(*a, *b), (describe(*a) + " / " + describe(*b)).c_str());
                    ++pairs;
                }
            }
        QCOMPARE(pairs, screen == "FrmInizio" ? 2 : screen == "frmOperativo" ? 1 : 0);
    }

    void everyLabelLiesInFrontOfTheShapesItOverlaps_data() { everyScreen(); }
    void everyLabelLiesInFrontOfTheShapesItOverlaps()
    {
        QFETCH(std::string, screen);
        auto w = factories().at(screen)();
        for (const auto& l : w->controls())
            for (const auto& s : w->controls())
                if (l->kind() == Kind::Label && s->kind() == Kind::Shape
                    && l->container() == s->container() && overlap(l->rect(), s->rect()))
                    QVERIFY2(inFrontOf(*l, *s), (describe(*l) + " / " + describe(*s)).c_str());
    }

    // At half the outer width each, the docked curtains meet and hide everything else.
    void curtainsStayDockedAndCoverTheScreen()
    {
        auto w = screens::makeFrmInizio();
        w->setFrameWidth(120);
        w->setInnerSize(19000, 12000);
        Control& left = w->at("Picture1");
        Control& right = w->at("Picture2");
        QVERIFY(left.setWidth(w->outerWidth() / 2));
        QVERIFY(right.setWidth(w->outerWidth() / 2));
        QCOMPARE(left.rect(), (Twips { 0, 0, w->outerWidth() / 2, 12000 }));
        QCOMPARE(right.left() + right.width(), 19000);
        QCOMPARE(right.height(), 12000);
        QVERIFY(right.left() <= left.width());
        for (const auto& c : w->controls())
            if (!c->container() && hasGeometry(*c) && c.get() != &left && c.get() != &right) {
                QVERIFY2(inFrontOf(left, *c) && inFrontOf(right, *c), describe(*c).c_str());
            }
    }

    // The celebration picture spells B, E, N, E from left to right, each letter on its circle.
    void tilesSpellBeneFromLeftToRight()
    {
        auto w = screens::makeFrmOperativo();
        auto tiles = w->array("Frame2");
        std::sort(tiles.begin(), tiles.end(),
            [](const Control* a, const Control* b) { return a->left() < b->left(); });
        std::string word;
        for (const Control* tile : tiles) {
            QCOMPARE(tile->container(), &w->at("Picture11"));
            const Control* letter = nullptr;
            const Control* circle = nullptr;
            for (const auto& c : w->controls())
                if (c->container() == tile) {
                    if (c->name() == "Label4" && !letter)
                        letter = c.get();
                    else if (c->name() == "Shape1" && !circle)
                        circle = c.get();
                    else
                        QFAIL(("unexpected in a tile: " + describe(*c)).c_str());
                }
            QVERIFY(letter && circle);
            QCOMPARE(circle->shape(), ShapeKind::Circle);
            QVERIFY(inFrontOf(*letter, *circle));
            QVERIFY(inside(letter->rect(), circle->rect()));
            word += letter->caption();
        }
        QCOMPARE(word, std::string("BENE"));
    }

    // At start the keypad offers the digits and "Cancella"; the other keys wait for the game.
    void keypadOffersDigitsAndCancellaAtStart()
    {
        auto w = screens::makeFrmOperativo();
        for (Control* key : w->array("Option1")) {
            const std::string& cap = key->caption();
            const bool digit = cap.size() == 1 && cap[0] >= '0' && cap[0] <= '9';
            QCOMPARE(key->enabled(), digit || cap == "Cancella");
            if (digit)
                QCOMPARE(cap[0] - '0', key->index());
        }
    }
};

QTEST_APPLESS_MAIN(TestScreens)
#include "tst_screens.moc"

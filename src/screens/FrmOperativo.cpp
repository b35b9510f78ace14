// The game screen as created, before its Load runs. Collection order: the window's own controls as
// listed, then the tarvo area, the keypad, the celebration tiles, and last the menu entry.

#include "screens/Screens.h"
#include "screens/TableRows.h"

#include <array>

namespace tarvo::screens {

using namespace rows;

namespace {

// Stacking among the drawn controls of the tarvo area and of each tile: the ring behind the
// disc, every label in front of both.
constexpr int Anello = 0;
constexpr int Disco = 1;
constexpr int Scritte = 2;

// One ray: subtrahend, minus sign, equals sign and answer cell, in the tarvo area.
struct Raggio {
    Twips label2, lblSegno, lblUguale, lblRisultato;
};

// clang-format off
constexpr std::array<Raggio, 8> Raggi { {
    //  Label2(i)                   lblSegno(i)               lblUguale(i)              lblRisultato(i)
    { { 2985, 1710, 795, 495 }, { 3285, 2280, 285, 285 }, { 3300,  990, 285, 285 }, { 3030,  255, 810, 810 } }, // up
    { { 4020, 2205, 795, 495 }, { 4065, 2670, 285, 300 }, { 4860, 1710, 285, 285 }, { 5055,  915, 810, 810 } }, // up right
    { { 4425, 3120, 795, 495 }, { 4245, 3180, 285, 300 }, { 5400, 3180, 285, 345 }, { 5595, 2895, 810, 810 } }, // right
    { { 4020, 4200, 795, 495 }, { 3900, 3960, 285, 300 }, { 4860, 4560, 285, 285 }, { 5040, 4785, 810, 810 } }, // down right
    { { 2985, 4665, 795, 495 }, { 3285, 4275, 285, 285 }, { 3300, 5400, 285, 285 }, { 3030, 5640, 810, 810 } }, // down
    { { 1860, 4200, 795, 495 }, { 2550, 3960, 285, 300 }, { 1530, 4560, 285, 285 }, {  750, 4785, 810, 810 } }, // down left
    { { 1605, 3120, 795, 495 }, { 2295, 3180, 285, 300 }, { 1110, 3180, 285, 285 }, {  255, 2895, 885, 810 } }, // left
    { { 1860, 2205, 795, 810 }, { 2535, 2670, 285, 300 }, { 1530, 1710, 285, 285 }, {  750,  915, 810, 810 } }, // up left
} };

struct Tasto {
    std::string_view caption;
    int left, top, width;
    bool enabled;
    int tab;
};

constexpr int AltezzaTasto = 615;
constexpr std::array<Tasto, 14> Tastierino { {
    // caption       Left   Top  Width  enabled tab
    { "0",             90,  120,  780, true,   0 },
    { "1",            900,  120,  780, true,   1 },
    { "2",           1695,  120,  780, true,   2 },
    { "3",           2490,  120,  780, true,   3 },
    { "4",           3285,  120,  780, true,   4 },
    { "5",             90,  765,  780, true,   5 },
    { "6",            900,  765,  780, true,   6 },
    { "7",           1695,  765,  780, true,   7 },
    { "8",           2490,  765,  780, true,   8 },
    { "9",           3285,  765,  780, true,   9 },
    { "Cancella",      90, 1410, 1980, true,  11 },
    { "Avanti",      2100, 1410, 1965, false, 10 },
    { "Nuovo tarvo",   90, 2055, 2328, false, 12 },
    { "Esco",        2448, 2055, 1632, false, 13 },
} };

// The celebration tiles from left to right; each holds one circle and one letter of the same
// array index, which is not the tile's own.
struct Tessera {
    int left, top;
    int elemento; // index of its Label4 and Shape1
    std::string_view lettera;
    int cerchioTop;
};

constexpr std::array<Tessera, 4> Tessere { {
    // Left Top  Label4/Shape1 letter circle Top
    {  108, 468, 0, "B",  48 },
    { 1236, 444, 2, "E", 144 },
    { 2364, 408, 4, "N", 144 },
    { 3456, 420, 3, "E", 144 },
} };
// clang-format on

} // namespace

std::unique_ptr<Window> makeFrmOperativo()
{
    auto window = std::make_unique<Window>(WindowDef { .name = "frmOperativo",
        .title = "Form1",
        .clientWidth = 11910,
        .clientHeight = 8565,
        .back = ColoreNormale,
        .maximised = true,
        .hasIcon = true,
        .resizable = true });
    Window& w = *window;

    // clang-format off
    // The window's own controls; none of them overlap.
    w.add(timer("Timer2", 50, true));
    w.add(picture("Picture11")          .at( 7116, 1380, 4572, 2352).back(ColoreNormale));
    w.add(timer("Timer3", 400, false));
    w.add(frame("fraTastierino")        .at( 7260, 5208, 4224, 2760).back(ColoreNormale).frameLine());
    w.add(frame("Frame1")               .at(  492, 1215, 6465, 6465).back(ColoreNormale));
    w.add(label("Label4", 1)            .at(  420,  645, 6465,  510).text("NUMERI   ENTRO   20")
                                        .back(ColoreNormale).fore(Rosso).centred().font(arial(20.25, Bold)).hidden().decorative());

    // The tarvo area: the eight rays, the centre number, the disc and the ring.
    for (int i = 0; i < 8; ++i)
        w.add(label("lblRisultato", i)  .in("Frame1").at(Raggi[i].lblRisultato).text(i == 0 ? "?" : "")
                                        .back(GialloChiaro).centred().font(arial(i == 0 ? 24 : 36, Bold)).z(Scritte));
    for (int i = 0; i < 8; ++i)
        w.add(label("lblUguale", i)     .in("Frame1").at(Raggi[i].lblUguale).text("=")
                                        .transparent().centred().font(arial(15.75, Bold)).shown(i == 0).z(Scritte).decorative());
    w.add(label("Label1")               .in("Frame1").at(3060, 3045, 720, 720)
                                        .transparent().centred().fore(RossoScuro).font(arial(36, Bold)).z(Scritte));
    for (int i = 0; i < 8; ++i)
        w.add(label("lblSegno", i)      .in("Frame1").at(Raggi[i].lblSegno).text("+")
                                        .transparent().centred().font(arial(15.75, Bold)).hidden().z(Scritte).decorative());
    for (int i = 0; i < 8; ++i)
        w.add(label("Label2", i)        .in("Frame1").at(Raggi[i].label2).text("3")
                                        .transparent().centred().font(arial(20.25, Bold)).z(Scritte));
    w.add(shape("Shape2")               .in("Frame1").at(2700, 2730, 1425, 1425).circle()
                                        .fill(Giallo).border(4, Ruggine).z(Disco));
    w.add(shape("Shape1", 1)            .in("Frame1").at(1275, 1350, 4215, 4080).circle()
                                        .fill(GialloChiaro).border(4, RossoScuro).z(Anello));

    // The keypad: one option group.
    for (int i = 0; i < 14; ++i) {
        const Tasto& t = Tastierino[i];
        w.add(option("Option1", i)      .in("fraTastierino").at(t.left, t.top, t.width, AltezzaTasto).text(t.caption)
                                        .back(ColoreNormale).fore(BluScuro).font(arial(20.25, Bold))
                                        .enabled(t.enabled).tab(t.tab));
    }

    // The celebration picture: four tiles, each a circle with its letter in front.
    for (int i = 0; i < 4; ++i)
        w.add(frame("Frame2", i)        .in("Picture11").at(Tessere[i].left, Tessere[i].top, 1020, 1140).back(ColoreNormale));
    for (int i = 0; i < 4; ++i) {
        const Tessera& t = Tessere[i];
        w.add(shape("Shape1", t.elemento).in("Frame2", i).at(24, t.cerchioTop, 960, 960).circle()
                                        .fill(RosaChiaro).border(1).z(Anello));
        w.add(label("Label4", t.elemento).in("Frame2", i).at(192, 312, 600, 600).text(t.lettera)
                                        .transparent().centred().font(sansSerif(24, Regular)).z(Scritte));
    }

    w.add(menu("mnuIstruzioni", "Istruzioni"));
    // clang-format on

    return window;
}

} // namespace tarvo::screens

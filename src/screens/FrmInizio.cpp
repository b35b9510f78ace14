// The start screen as created, before its Load runs. Collection order: the window's own controls
// as listed, then the title frame's labels and shapes, the choice buttons, the command buttons,
// and last the menu entry.

#include "screens/Screens.h"
#include "screens/TableRows.h"

#include <array>

namespace tarvo::screens {

using namespace rows;

namespace {

// Stacking. The curtains lie in front of everything; the small picture box behind the title
// frame. In the title frame the shadow and the rim lie behind their panels, the labels in front.
constexpr int Sfondo = 0;
constexpr int Pannello = 1;
constexpr int Scritte = 2;
constexpr int Tende = 100;

struct Scelta {
    std::string_view caption;
    int left, top, width, height;
    int tab;
};

struct Comando {
    std::string_view caption;
    int top;
    int tab;
};

// clang-format off
constexpr std::array<Scelta, 11> Scelte { {
    // caption Left   Top  Width Height tab
    { "10",    135,  225, 1230, 585,  9 },
    { "11",   1425,  225, 1230, 585, 10 },
    { "12",   2715,  225, 1230, 585, 11 },
    { "13",    135,  825, 1230, 585, 12 },
    { "14",   1425,  825, 1230, 585, 13 },
    { "15",   2715,  825, 1230, 585, 14 },
    { "16",    135, 1425, 1230, 585, 15 },
    { "17",   1425, 1425, 1230, 585, 16 },
    { "18",   2715, 1425, 1230, 585, 17 },
    { "19",    135, 2025, 1860, 630, 18 },
    { "20",   2085, 2025, 1860, 630, 19 },
} };

// Stacked at Left 90, 3945 wide and 630 high; their tab positions run backwards.
constexpr std::array<Comando, 3> Comandi { {
    // caption        Top  tab
    { "Vai",          150, 24 },
    { "Ripristina",   975, 23 },
    { "Esci",        1740, 22 },
} };
// clang-format on

} // namespace

std::unique_ptr<Window> makeFrmInizio()
{
    auto window = std::make_unique<Window>(WindowDef { .name = "FrmInizio",
        .title = "Tavole della moltiplicazione",
        .clientWidth = 11880,
        .clientHeight = 8310,
        .back = ColoreNormale,
        .maximised = true,
        .hasIcon = false,
        .resizable = true });
    Window& w = *window;

    // clang-format off
    // The window's own controls.
    w.add(timer("timerTendine", 10, false));
    w.add(picture("Picture1")           .at(    0,    0,   120, 8310).tab( 7).back(Orchidea).dock(Dock::Left ).z(Tende));
    w.add(picture("Picture2")           .at(11655,    0,   228, 8310).tab( 6).back(Orchidea).dock(Dock::Right).z(Tende));
    w.add(frame("frmTitolo")            .at(    0,    0, 11745, 2295).tab( 2).back(ColoreNormale).z(Pannello));
    w.add(picture("EssResizer1")        .at(    0,    0,   465,  465).tab( 5).z(Sfondo));
    w.add(frame("frame1")               .at( 1980, 4290,  4125, 2805).tab( 8).back(ColoreNormale).z(Pannello));
    w.add(frame("Frame2")               .at( 6675, 4290,  4125, 2805).tab(21).back(ColoreNormale).z(Pannello));
    w.add(label("Label1")               .at(  585, 2715,  8925,  645).tab(20)
                                        .transparent().fore(RossoScuro).font(arial(18, Bold)));
    w.add(label("Label6")               .at(  285, 7890,   975,  315).tab( 1).transparent().decorative());
    w.add(label("Label5")               .at(  765, 7515,  5340,  465).tab( 0).text("Il nuovo software di Vadorne")
                                        .back(ColoreNormale).fore(RossoScuro).font(arial(18, Bold)));

    // The title frame: the title and the version on their rounded panels.
    w.add(label("Label4")               .in("frmTitolo").at( 330, 330, 7800, 1395).tab(4).text("TARVO: sottraggo")
                                        .back(ColoreNormale).fore(Blu).centred().font(arial(27.75, Bold)).z(Scritte));
    w.add(label("Label7")               .in("frmTitolo").at(8730, 405, 2250, 1140).tab(3)
                                        .transparent().fore(BluScuro).font(arial(9.75, Bold)).z(Scritte));
    w.add(shape("Shape2")               .in("frmTitolo").at(  90,  60, 8160, 1875).rounded().fill(ColoreNormale    ).border(1).z(Pannello));
    w.add(shape("Shape1")               .in("frmTitolo").at(  90,  90, 8220, 1935).rounded().fill(ColoreEvidenziato).border(2).z(Sfondo));
    w.add(shape("Shape3")               .in("frmTitolo").at(8385,  60, 3120, 1875).rounded().fill(ColoreNormale    ).border(1).z(Pannello));
    w.add(shape("Shape4")               .in("frmTitolo").at(8340,  30, 3180, 1935).rounded().fill(BluScuro         ).border(1).z(Sfondo));

    // The choice group: index i chooses the tarvo of 10 + i.
    for (int i = 0; i < 11; ++i) {
        const Scelta& s = Scelte[i];
        w.add(option("Option1", i)      .in("frame1").at(s.left, s.top, s.width, s.height).tab(s.tab).text(s.caption)
                                        .back(ColoreNormale).fore(Blu).font(arial(15.75, Bold)));
    }
    // The command group.
    for (int i = 0; i < 3; ++i) {
        const Comando& c = Comandi[i];
        w.add(option("Option2", i)      .in("Frame2").at(90, c.top, 3945, 630).tab(c.tab).text(c.caption)
                                        .back(ColoreNormale).fore(Blu).font(sansSerif(18, Bold)));
    }

    w.add(menu("mnuInfo", "Autore"));
    // clang-format on

    return window;
}

} // namespace tarvo::screens

// The author screen as created. Its captions are fixed here; nothing writes them.

#include "screens/Screens.h"
#include "screens/TableRows.h"

namespace tarvo::screens {

using namespace rows;

std::unique_ptr<Window> makeFrmAutore()
{
    auto window = std::make_unique<Window>(WindowDef { .name = "frmAutore",
        .title = "Autore",
        .clientWidth = 6975,
        .clientHeight = 3510,
        .back = Ciano,
        .maximised = false,
        .hasIcon = false,
        .resizable = false });
    Window& w = *window;

    // clang-format off
    w.add(command("Command1")   .at(1845, 2796, 2700,  648).tab(4).text("C h i u d i")
                                .back(Acqua).font(arial(12, Regular)));
    w.add(label("Label4")       .at( 195, 1605, 5955,  510).tab(3).text("autore@example.org")
                                .transparent().fore(BluScuro).font(arial(18, Bold)));
    w.add(label("Label3")       .at( 195, 1170, 1350,  435).tab(2).text("Email:")
                                .transparent().font(arial(18, Regular)));
    w.add(label("Label2")       .at( 165,  555, 6795,  510).tab(1).text("www.example.org/tarvo")
                                .transparent().fore(BluScuro).font(arial(18, Bold)));
    w.add(label("Label1")       .at( 195,  135, 4455,  435).tab(0).text("Sito dell'autore:")
                                .transparent().font(arial(18, Regular)));
    // clang-format on

    return window;
}

} // namespace tarvo::screens

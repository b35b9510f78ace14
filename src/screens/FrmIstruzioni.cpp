// The instructions screen as created; its Load writes the text (InfoScreens.cpp).

#include "screens/Screens.h"
#include "screens/TableRows.h"

namespace tarvo::screens {

using namespace rows;

std::unique_ptr<Window> makeFrmIstruzioni()
{
    auto window = std::make_unique<Window>(WindowDef { .name = "frmIstruzioni",
        .title = "ISTRUZIONI",
        .clientWidth = 9000,
        .clientHeight = 5745,
        .back = Ciano,
        .maximised = false,
        .hasIcon = false,
        .resizable = false });
    Window& w = *window;

    // clang-format off
    w.add(command("Command1")   .at(2985, 5085, 2700,  600).tab(1).text("C h i u d i")
                                .back(Acqua).font(arial(12, Regular)));
    w.add(label("Label1")       .at( 420,   60, 7995, 4710).tab(0).text("Label1")
                                .transparent().font(arial(9.75, Bold)));
    // clang-format on

    return window;
}

} // namespace tarvo::screens

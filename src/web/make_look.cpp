// Prints the page's look as CSS custom properties, from the model's (model/Look.h, Palette.h):
// the colours, lengths and default font size that web/shell.html styles the page with, so that
// none of them is written there by hand. Built by emscripten and run under Node while the page is
// made (web/make_shell.py puts its output in).

#include "model/Look.h"
#include "model/Palette.h"
#include "web/Units.h"

#include <cstdio>
#include <string>

namespace {

using namespace tarvo;

void property(const char* name, const std::string& value)
{
    std::printf("  --tarvo-%s: %s;\n", name, value.c_str());
}

std::string pixels(int bevels)
{
    return web::number(bevels * web::cssPixels.bevel()) + "px";
}

std::string translucent(Bgr c, double opacity)
{
    return "rgba(" + std::to_string(redOf(c)) + ", " + std::to_string(greenOf(c)) + ", "
        + std::to_string(blueOf(c)) + ", " + web::number(opacity) + ")";
}

} // namespace

int main()
{
    std::printf(":root {\n");
    property("points", web::number(DefaultFontPoints) + "pt");
    property("face", web::css(look::Face));
    property("ink", web::css(look::Ink));
    property("text-inset", pixels(look::TextInset));
    property("focus-inset", pixels(look::FocusInset));
    property("desk", web::css(look::Desk));
    property("title", web::css(look::TitleBar));
    property("title-ink", web::css(look::TitleInk));
    property("menu-line", web::css(look::MenuLine));
    property("highlight", web::css(look::Highlight));
    property("highlight-ink", web::css(look::HighlightInk));
    property("shadow", translucent(look::Shadow, look::ShadowOpacity));
    // The page that says the program has ended, or cannot start, in the start screen's colours.
    property("end", web::css(ColoreNormale));
    property("end-ink", web::css(Blu));
    property("end-advice", web::css(RossoScuro));
    std::printf("}\n");
    return 0;
}

// The web app's icons are the game screen's own tarvo: this prints what its tarvo area paints
// (the ring, the centre disc and the answer cells, back to front, captions aside) in twips of the
// area, for web/make_icons.py to draw. Built by emscripten beside the page and run under Node at
// build time, so the icons follow the screen table.

#include "model/Window.h"
#include "screens/Screens.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using namespace tarvo;

void colour(std::optional<Bgr> c)
{
    if (c)
        std::printf(" #%02x%02x%02x", redOf(*c), greenOf(*c), blueOf(*c));
    else
        std::printf(" none");
}

// As the bindings draw a shape: a circle is the largest one centred in its rectangle, the border
// lies inside the outline, its default colour is black, and 96 DPI gives 15 twips to a pixel.
void shape(const Control& c)
{
    const Twips& r = c.rect();
    double side = std::min(r.width, r.height);
    if (c.shape() == ShapeKind::Circle)
        std::printf("oval %g %g %g %g", r.left + (r.width - side) / 2,
            r.top + (r.height - side) / 2, side, side);
    else
        std::printf("box %d %d %d %d", r.left, r.top, r.width, r.height);
    colour(c.backColor());
    if (c.borderPx() > 0) {
        colour(c.borderColor().value_or(0x000000));
        std::printf(" %d", 15 * c.borderPx());
    }
    std::printf("\n");
}

} // namespace

int main()
{
    const auto screen = screens::makeFrmOperativo();
    const Control& area = screen->at("Frame1");
    const Control& ring = screen->at("Shape1", 1);
    std::vector<const Control*> painted;
    for (const auto& c : screen->controls())
        if (c->container() == &area && (c->is(Kind::Shape) || (c->is(Kind::Label) && c->opaque())))
            painted.push_back(c.get());
    sortControls(painted, drawnBelow);
    std::printf("area %d %d", area.width(), area.height());
    colour(area.backColor());
    std::printf(
        "\ncentre %g %g\n", ring.left() + ring.width() / 2.0, ring.top() + ring.height() / 2.0);
    for (const Control* c : painted) {
        if (c->is(Kind::Shape) && c->shape() == ShapeKind::RoundedRectangle) {
            std::fprintf(stderr, "icon_web: a rounded rectangle in the tarvo area\n");
            return 1;
        }
        if (c->is(Kind::Shape))
            shape(*c);
        else {
            std::printf("box %d %d %d %d", c->left(), c->top(), c->width(), c->height());
            colour(c->backColor());
            std::printf("\n");
        }
    }
    return 0;
}

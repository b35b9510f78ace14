#include "web/Paint.h"

#include "model/Look.h"
#include "model/Window.h"
#include "web/Units.h"

#include <algorithm>
#include <cmath>

namespace tarvo::web {

namespace {

std::string font(const Font& f)
{
    return "font:" + std::string(f.bold ? "700 " : "400 ") + number(look::points(f))
        + "pt var(--tarvo-font);";
}

std::string box(const PxRect& r)
{
    return "left:" + std::to_string(r.x) + "px;top:" + std::to_string(r.y)
        + "px;width:" + std::to_string(r.w) + "px;height:" + std::to_string(r.h) + "px;";
}

// An edge as inset shadows, which take no room from the children (one bevel line is a CSS
// pixel).
std::string edges(const look::Edge& e)
{
    return "box-shadow:inset -1px -1px 0 " + css(e.outerBottomRight) + ",inset 1px 1px 0 "
        + css(e.outerTopLeft) + ",inset -2px -2px 0 " + css(e.innerBottomRight)
        + ",inset 2px 2px 0 " + css(e.innerTopLeft) + ";";
}

// The offset of a container's client area: a picture box's sunken frame takes its lines.
int clientOrigin(const Control* container)
{
    return container && container->is(Kind::PictureBox) && container->frameLine()
        ? look::ClientInset * cssPixels.bevel()
        : 0;
}

// Liberation Sans: ascent plus descent, and the average character width, in ems.
constexpr double LineEm = (1854.0 + 434.0) / 2048.0;
constexpr double AverageCharEm = 1176.0 / 2048.0;

double pixelsOf(const Font& f)
{
    return look::points(f) * 96.0 / 72.0;
}

// What the kind draws on the element itself: fill, ink, edges.
std::string ownStyle(const Control& c, bool enabled)
{
    switch (c.kind()) {
    case Kind::Label:
        return (c.opaque() ? "background:" + css(c.backColor().value_or(look::Face)) + ";" : "")
            + "color:" + css(enabled ? c.foreColor().value_or(look::Ink) : look::DisabledInk) + ";"
            + (c.align() == Align::Center ? "text-align:center;" : "text-align:left;");
    case Kind::CommandButton:
    case Kind::OptionButton: {
        const Bgr face = c.backColor().value_or(look::Face);
        const std::string engrave = number(look::EngraveOffset * cssPixels.bevel()) + "px ";
        return "background:" + css(face) + ";" + edges(look::raised(face))
            + (enabled ? "color:" + css(c.foreColor().value_or(look::Ink)) + ";"
                       : "color:" + css(look::EngravedInk) + ";text-shadow:" + engrave + engrave
                        + "0 " + css(look::EngravedLight) + ";");
    }
    case Kind::Frame:
        return "background:" + css(c.backColor().value_or(look::Face)) + ";";
    case Kind::PictureBox:
        return "background:" + css(c.backColor().value_or(look::Face)) + ";"
            + (c.frameLine() ? edges(look::Sunken) : "");
    case Kind::Shape:
    case Kind::Timer:
    case Kind::Menu:
        break;
    }
    return {};
}

// A frame's etched line, starting half a text line down when there is a caption.
std::string frameLineStyle(const Control& c)
{
    if (!c.frameLine())
        return "display:none;";
    const int top = c.caption().empty() ? 0 : static_cast<int>(pixelsOf(c.font()) * LineEm) / 2;
    return "top:" + std::to_string(top) + "px;" + edges(look::Etched);
}

// A frame's caption, on the frame's colour over the line, one average character in.
std::string frameCaptionStyle(const Control& c)
{
    if (c.caption().empty())
        return "display:none;";
    const int x = static_cast<int>(std::lround(pixelsOf(c.font()) * AverageCharEm));
    return "left:" + std::to_string(x) + "px;background:" + css(c.backColor().value_or(look::Face))
        + ";color:" + css(c.foreColor().value_or(look::Ink)) + ";" + font(c.font());
}

// A shape's figure in its rectangle r: the border lies inside it, and a circle is the largest
// one centred in it.
std::string figureStyle(const Control& c, const PxRect& r)
{
    const int pen = c.borderPx() > 0 ? std::max(1, c.borderPx()) : 0;
    double w = r.w, h = r.h, x = 0, y = 0;
    if (c.shape() == ShapeKind::Circle) {
        const double side = std::min(w, h);
        x = (w - side) / 2;
        y = (h - side) / 2;
        w = h = side;
    }
    std::string figure = "left:" + number(x) + "px;top:" + number(y) + "px;width:" + number(w)
        + "px;height:" + number(h) + "px;background:"
        + (c.backColor() ? css(*c.backColor()) : std::string("transparent")) + ";";
    if (pen > 0)
        figure += "border:" + std::to_string(pen) + "px solid "
            + css(c.borderColor().value_or(look::Ink)) + ";";
    if (c.shape() == ShapeKind::Circle)
        figure += "border-radius:50%;";
    else if (c.shape() == ShapeKind::RoundedRectangle)
        figure
            += "border-radius:" + number(look::cornerRadius(w - pen, h - pen) + pen / 2.0) + "px;";
    return figure;
}

} // namespace

Element elementOf(Kind k)
{
    switch (k) {
    case Kind::Label:
        return { "div", "tarvo-c tarvo-label", { { "span", "" } }, 1 };
    case Kind::OptionButton:
    case Kind::CommandButton:
        return { "button", "tarvo-c tarvo-button", {}, 0 };
    case Kind::Frame:
        // The caption is the group's name, which a reader says already.
        return { "div", "tarvo-c tarvo-frame",
            { { "div", "tarvo-line" }, { "span", "tarvo-caption", true } }, 2 };
    case Kind::PictureBox:
        return { "div", "tarvo-c tarvo-picture", {}, -1 };
    case Kind::Shape:
        return { "div", "tarvo-c tarvo-shape", { { "div", "tarvo-figure" } }, -1 };
    case Kind::Timer:
    case Kind::Menu:
        break;
    }
    return {};
}

std::string textOf(const Control& c)
{
    const std::string text = c.shownCaption();
    return c.is(Kind::Frame) && !text.empty() ? " " + text : text;
}

std::array<std::string, 3> stylesOf(const Control& c, int z)
{
    std::array<std::string, 3> styles;
    PxRect r = cssPixels.rect(c.rect());
    const int origin = clientOrigin(c.container());
    r.x += origin;
    r.y += origin;
    if (c.is(Kind::Frame)) {
        styles[1] = frameLineStyle(c);
        styles[2] = frameCaptionStyle(c);
    } else if (c.is(Kind::Shape)) {
        styles[1] = figureStyle(c, r);
    }
    styles[0] = box(r) + font(c.font()) + "z-index:" + std::to_string(z) + ";"
        + ownStyle(c, c.effectivelyEnabled());
    return styles;
}

std::string clientStyle(const Window& w, bool modal)
{
    return "background:" + css(w.backColor()) + ";"
        + (modal ? "width:" + std::to_string(cssPixels.px(w.designWidth()))
                    + "px;height:" + std::to_string(cssPixels.px(w.designHeight())) + "px;"
                 : "");
}

} // namespace tarvo::web

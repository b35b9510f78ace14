#pragma once
// Small builders for the screen tables: one chained expression per control, so that each row of
// a table reads like the row of its screen definition. Only the four table files include this.

#include "model/Palette.h"
#include "model/Window.h"

#include <string_view>

namespace tarvo::screens::rows {

constexpr bool Bold = true;
constexpr bool Regular = false;

inline Font arial(double points, bool bold)
{
    return { "Arial", points, bold };
}
inline Font sansSerif(double points, bool bold)
{
    return { "MS Sans Serif", points, bold };
}

// One row under construction; every setter returns the row so that a table row is one chain.
struct Row {
    ControlDef def;

    operator const ControlDef&() const { return def; } // so that Window::add takes a row as is

    Row& in(std::string_view container, int index = -1)
    {
        def.container = container;
        def.containerIndex = index;
        return *this;
    }
    Row& at(int left, int top, int width, int height)
    {
        def.rect = { left, top, width, height };
        return *this;
    }
    Row& at(Twips r)
    {
        def.rect = r;
        return *this;
    }
    Row& text(std::string_view caption)
    {
        def.caption = caption;
        return *this;
    }
    Row& font(const Font& f)
    {
        def.font = f;
        return *this;
    }
    Row& back(Bgr c)
    {
        def.back = c;
        return *this;
    }
    Row& fore(Bgr c)
    {
        def.fore = c;
        return *this;
    }
    Row& tab(int position)
    {
        def.tabIndex = position;
        return *this;
    }
    Row& transparent()
    {
        def.opaque = false;
        return *this;
    }
    Row& centred()
    {
        def.align = Align::Center;
        return *this;
    }
    Row& shown(bool visible)
    {
        def.visible = visible;
        return *this;
    }
    Row& hidden() { return shown(false); }
    Row& enabled(bool on)
    {
        def.enabled = on;
        return *this;
    }
    Row& disabled() { return enabled(false); }
    Row& circle()
    {
        def.shape = ShapeKind::Circle;
        return *this;
    }
    Row& rounded()
    {
        def.shape = ShapeKind::RoundedRectangle;
        return *this;
    }
    // Shapes: the fill is the background; the border colour is left to the platform unless given.
    Row& fill(Bgr c) { return back(c); }
    Row& border(int px)
    {
        def.borderPx = px;
        return *this;
    }
    Row& border(int px, Bgr c)
    {
        def.borderPx = px;
        def.borderColor = c;
        return *this;
    }
    // Left out of a screen reader's tree: drawn only to be seen, and read through something else.
    Row& decorative()
    {
        def.decorative = true;
        return *this;
    }
    Row& frameLine()
    {
        def.frameLine = true;
        return *this;
    }
    Row& dock(Dock d)
    {
        def.dock = d;
        return *this;
    }
    Row& z(int order)
    {
        def.z = order;
        return *this;
    }
    Row& interval(int ms)
    {
        def.intervalMs = ms;
        return *this;
    }
};

inline Row row(Kind kind, std::string_view name, int index = -1)
{
    Row r;
    r.def.kind = kind;
    r.def.name = name;
    r.def.index = index;
    return r;
}

inline Row label(std::string_view name, int index = -1)
{
    return row(Kind::Label, name, index);
}
inline Row option(std::string_view name, int index)
{
    return row(Kind::OptionButton, name, index);
}
inline Row command(std::string_view name)
{
    return row(Kind::CommandButton, name);
}
inline Row frame(std::string_view name, int index = -1)
{
    return row(Kind::Frame, name, index);
}
inline Row picture(std::string_view name)
{
    return row(Kind::PictureBox, name);
}
inline Row shape(std::string_view name, int index = -1)
{
    return row(Kind::Shape, name, index);
}
// A timer with its interval and whether it runs from the start.
inline Row timer(std::string_view name, int ms, bool enabled)
{
    return row(Kind::Timer, name).interval(ms).enabled(enabled);
}
// A top-level menu entry without submenu.
inline Row menu(std::string_view name, std::string_view caption)
{
    return row(Kind::Menu, name).text(caption);
}

} // namespace tarvo::screens::rows

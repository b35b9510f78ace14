#include "model/MouseRoad.h"

#include "model/Window.h"

namespace tarvo {

namespace {

// A handler may close the window it runs on: the road then goes no further.
bool shown(const Window& w)
{
    return w.platform() != nullptr;
}

std::size_t slot(MouseButton b)
{
    switch (b) {
    case MouseButton::Left:
        return 0;
    case MouseButton::Right:
        return 1;
    case MouseButton::Middle:
        break;
    }
    return 2;
}

} // namespace

void MouseRoad::press(Window& w, Control& target, MouseButton b, int shift)
{
    Down& d = down_[slot(b)];
    // A press of a button down already: its release never came (a disabled or hidden control
    // hears none), so the new press replaces it.
    d = {};
    if (!shown(w))
        return;
    Control* c = w.canTakeFocus(target) ? &target : nullptr;
    d = { .down = true, .in = &w, .on = c };
    if (!c)
        return;
    if (b == MouseButton::Left) {
        w.setFocus(*c);
        if (!shown(w))
            return;
    }
    w.raiseMouseDown(*c, b, shift);
}

void MouseRoad::release(Window& w, MouseButton b, int shift, bool over)
{
    Down& d = down_[slot(b)];
    Control* c = d.down && d.in == &w ? d.on : nullptr;
    d = {};
    if (!c || !shown(w) || !w.canTakeFocus(*c))
        return;
    w.raiseMouseUp(*c, b, shift);
    // A command button clicks as push buttons do; option buttons act on the press alone.
    if (b == MouseButton::Left && over && c->is(Kind::CommandButton) && shown(w))
        w.raiseClick(*c);
}

void MouseRoad::closed(const Window& w)
{
    for (Down& d : down_)
        if (d.in == &w)
            d = {};
}

} // namespace tarvo

#include "model/MouseRoad.h"

#include "model/Platform.h"
#include "model/Window.h"

#include <map>

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
    // Behind a modal window the press lands on nothing, and so does its release.
    const bool refused = w.platform()->refuse(w);
    Control* c = !refused && w.canTakeFocus(target) ? &target : nullptr;
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
    std::erase_if(pointers_, [&w](const auto& p) { return &p.second.on->window() == &w; });
}

void MouseRoad::pointerDown(int pointer, Control* target, std::optional<MouseButton> b, int shift)
{
    letGo(pointer);
    if (!target || !b)
        return;
    pointers_[pointer] = { target, *b };
    press(target->window(), *target, *b, shift);
}

Control* MouseRoad::pointerUp(
    int pointer, std::optional<MouseButton> b, int shift, const Control* under)
{
    const auto it = pointers_.find(pointer);
    if (it == pointers_.end())
        return nullptr;
    const Held p = it->second;
    pointers_.erase(it);
    release(p.on->window(), b.value_or(p.button), shift, under == p.on);
    return p.on;
}

void MouseRoad::chord(int pointer, MouseButton b, bool down, int shift, const Control* under)
{
    const auto it = pointers_.find(pointer);
    if (it == pointers_.end())
        return;
    Control& on = *it->second.on;
    if (down)
        press(on.window(), on, b, shift);
    else
        release(on.window(), b, shift, under == &on);
}

void MouseRoad::letGo(int pointer)
{
    const auto it = pointers_.find(pointer);
    if (it == pointers_.end())
        return;
    const Held p = it->second;
    pointers_.erase(it);
    release(p.on->window(), p.button, 0, false);
}

void MouseRoad::letGoAll()
{
    while (!pointers_.empty())
        letGo(pointers_.begin()->first);
}

} // namespace tarvo

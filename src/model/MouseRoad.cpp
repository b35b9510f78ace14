#include "model/MouseRoad.h"

#include "model/Window.h"

namespace tarvo {

namespace {

// A handler may close the window it runs on: the road then goes no further.
bool shown(const Window& w)
{
    return w.platform() != nullptr;
}

int bit(MouseButton b)
{
    return static_cast<int>(b);
}

} // namespace

void MouseRoad::press(Window& w, Control& target, MouseButton b, int shift)
{
    if (down_ == 0) {
        if (!shown(w))
            return;
        // The first button down takes the pointer for the control under it, even one that
        // cannot have it: the presses that follow then reach no other control either.
        in_ = &w;
        holder_ = w.canTakeFocus(target) ? &target : nullptr;
        left_ = false;
    }
    down_ |= bit(b);
    Window* in = in_;
    Control* c = holder_;
    if (!c || !shown(*in) || !in->canTakeFocus(*c))
        return;
    if (b == MouseButton::Left) {
        left_ = true;
        in->setFocus(*c);
        if (!shown(*in))
            return;
    }
    in->raiseMouseDown(*c, b, shift);
}

void MouseRoad::release(Window& w, MouseButton b, int shift, bool over)
{
    if (!(down_ & bit(b)))
        return; // its press went down elsewhere, or before the window was shown
    down_ &= ~bit(b);
    Control* c = in_ == &w ? holder_ : nullptr;
    const bool click = b == MouseButton::Left && left_ && over;
    if (b == MouseButton::Left)
        left_ = false;
    if (down_ == 0)
        forget();
    if (!c || !shown(w) || !w.canTakeFocus(*c))
        return;
    w.raiseMouseUp(*c, b, shift);
    // A command button clicks as push buttons do; option buttons act on the press alone.
    if (click && c->is(Kind::CommandButton) && shown(w))
        w.raiseClick(*c);
}

void MouseRoad::closed(const Window& w)
{
    // The pointer is free again, as the platform frees it when the holding window goes: a
    // button still down comes up unseen, and the next press starts afresh.
    if (in_ == &w) {
        down_ = 0;
        forget();
    }
}

void MouseRoad::forget()
{
    in_ = nullptr;
    holder_ = nullptr;
    left_ = false;
}

} // namespace tarvo

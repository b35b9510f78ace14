#include "model/KeyRoad.h"

#include "model/Window.h"

namespace tarvo {

namespace {

// A handler may close the window it runs on: the road then goes no further.
bool shown(const Window& w)
{
    return w.platform() != nullptr;
}

bool isArrow(int code)
{
    return code >= vk::Left && code <= vk::Down;
}

} // namespace

void KeyRoad::press(Window& w, Control* target, const KeyStroke& k)
{
    if (!shown(w))
        return;
    const auto held = down_.find(k.key);
    const bool repeat = k.repeat || held != down_.end();
    if (repeat) {
        const Window* owner = held != down_.end() ? held->second : nullptr;
        if (owner != &w)
            return; // its press was taken elsewhere, or by no control
    } else {
        down_[k.key] = target ? &w : nullptr;
    }
    if (!target)
        return;

    if (int code = k.code) {
        w.raiseKeyDown(*target, code, k.shift);
        if (!shown(w))
            return;
        // An arrow left to the platform moves within the option group.
        if (isArrow(code) && target->is(Kind::OptionButton)) {
            if (Control* next = w.nextInGroup(*target, code == vk::Left || code == vk::Up ? -1 : 1))
                w.setFocus(*next);
            if (!shown(w))
                return;
        }
    }
    int ascii = k.ascii;
    if (!ascii)
        return;
    // KeyPress goes to the control focused now: KeyDown may have moved the focus.
    Control* now = w.focused();
    if (!now)
        return;
    w.raiseKeyPress(*now, ascii);
    if (!shown(w) || !ascii || repeat || !now->is(Kind::CommandButton))
        return;
    // ENTER and SPACE give their own codes as characters.
    if (ascii == vk::Return) {
        w.raiseClick(*now);
    } else if (ascii == vk::Space) {
        armed_ = now;
        armedIn_ = &w;
        armedKey_ = k.key;
    }
}

void KeyRoad::release(Window& w, const KeyStroke& k)
{
    down_.erase(k.key);
    Control* armed = nullptr;
    if (armed_ && armedKey_ == k.key) {
        if (armedIn_ == &w)
            armed = armed_;
        disarm();
    }
    if (!shown(w))
        return;
    w.raiseKeyUp(w.focused(), k.code, k.shift);
    if (armed && shown(w) && w.focused() == armed)
        w.raiseClick(*armed);
}

void KeyRoad::focusMoved(const Window& w)
{
    if (armedIn_ == &w)
        disarm();
}

void KeyRoad::closed(const Window& w)
{
    for (auto& [key, owner] : down_)
        if (owner == &w)
            owner = nullptr;
    if (armedIn_ == &w)
        disarm();
}

void KeyRoad::disarm()
{
    armed_ = nullptr;
    armedIn_ = nullptr;
    armedKey_ = 0;
}

} // namespace tarvo

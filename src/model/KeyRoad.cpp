#include "model/KeyRoad.h"

#include "model/Platform.h"
#include "model/Types.h"
#include "model/Window.h"

#include <algorithm>
#include <vector>

namespace tarvo {

int virtualKeyOf(const KeyFacts& k)
{
    if (k.onKeypad)
        return k.keypadCode != 0 ? k.keypadCode : k.symbolCode;
    if (k.symbolCode != 0)
        return k.symbolCode;
    return k.digitRowPlace >= 0 && k.digitRowPlace <= 9 ? vk::Digit0 + k.digitRowPlace : 0;
}

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

bool KeyRoad::admit(const Window& w, const Control* target, const KeyStroke& k, bool& repeat)
{
    const auto held = down_.find(k.key);
    // A key whose release settle gave is pressed anew, whatever the platform says: a platform
    // that keeps its own record of held keys never saw that release either (WebKitGTK).
    const bool settled = settled_.erase(k.key) > 0;
    repeat = (k.repeat && !settled) || held != down_.end();
    if (!repeat) {
        down_[k.key] = { .in = target ? &w : nullptr, .code = k.code, .shift = k.shift };
        return true;
    }
    // A repeat acts only where its press went down; not where that was another window, or none.
    return held != down_.end() && held->second.in == &w;
}

void KeyRoad::press(Window& w, Control* target, const KeyStroke& k)
{
    bool repeat = false;
    if (!shown(w))
        return;
    // Behind a modal window the key is down, but reached nothing: its repeats act nowhere.
    const bool refused = w.platform()->refuse(w);
    if (!admit(w, refused ? nullptr : target, k, repeat) || !target || refused)
        return;
    if (int code = k.code) {
        w.raiseKeyDown(*target, code, k.shift);
        if (!shown(w))
            return;
        // An arrow left to the platform moves within the option group.
        if (isArrow(code) && target->is(Kind::OptionButton)) {
            stepInGroup(w, *target, code);
            if (!shown(w))
                return;
        }
    }
    int ascii = k.ascii;
    // KeyPress goes to the control focused now: KeyDown may have moved the focus.
    Control* now = w.focused();
    if (!ascii || !now)
        return;
    w.raiseKeyPress(*now, ascii);
    if (shown(w) && ascii && !repeat && now->is(Kind::CommandButton))
        push(w, *now, ascii, k.key);
}

void KeyRoad::stepInGroup(Window& w, const Control& from, int arrow)
{
    if (Control* next = w.nextInGroup(from, arrow == vk::Left || arrow == vk::Up ? -1 : 1))
        w.setFocus(*next);
}

void KeyRoad::push(Window& w, Control& button, int ascii, int key)
{
    // ENTER and SPACE give their own codes as characters.
    if (ascii == vk::Return) {
        w.raiseClick(button);
    } else if (ascii == vk::Space) {
        armed_ = &button;
        armedIn_ = &w;
        armedKey_ = key;
    }
}

void KeyRoad::release(Window& w, const KeyStroke& k)
{
    down_.erase(k.key);
    settled_.erase(k.key);
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
    for (auto& [key, held] : down_)
        if (held.in == &w)
            held.in = nullptr;
    if (armedIn_ == &w)
        disarm();
}

void KeyRoad::settle(Window& w, const std::function<bool(int key)>& stillDown)
{
    std::vector<KeyStroke> released;
    for (const auto& [key, held] : down_)
        if (!stillDown(key))
            released.push_back({ .key = key, .code = held.code, .shift = held.shift });
    // one order, whatever the table's
    std::sort(released.begin(), released.end(),
        [](const KeyStroke& a, const KeyStroke& b) { return a.key < b.key; });
    for (const KeyStroke& k : released) {
        if (armed_ && armedKey_ == k.key)
            disarm();
        release(w, k);
        settled_.insert(k.key);
    }
}

void KeyRoad::disarm()
{
    armed_ = nullptr;
    armedIn_ = nullptr;
    armedKey_ = 0;
}

} // namespace tarvo

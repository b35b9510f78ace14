#include "FakePlatform.h"

#include <algorithm>

namespace tarvo::test {

void FakePlatform::watch(Window& w)
{
    w.attach(this);
    w.observer = [&w](Control& c, Prop p) {
        if ((p != Prop::Enabled && p != Prop::Visible) || !w.focused())
            return;
        if (w.canTakeFocus(*w.focused()))
            return;
        // The focused control (or one of its containers) was disabled or hidden: the toolkit
        // moves the focus to the next control in tab order that can take it, or clears it.
        std::vector<Control*> chain;
        for (auto& ctl : w.controls())
            if (isButton(ctl->kind()) && ctl->tabIndex() >= 0)
                chain.push_back(ctl.get());
        std::stable_sort(chain.begin(), chain.end(),
            [](Control* a, Control* b) { return a->tabIndex() < b->tabIndex(); });
        auto at = std::find(chain.begin(), chain.end(), w.focused());
        const std::size_t start = at == chain.end() ? 0 : std::size_t(at - chain.begin());
        for (std::size_t k = 1; k <= chain.size(); ++k) {
            Control* next = chain[(start + k) % chain.size()];
            if (w.canTakeFocus(*next)) {
                w.focusMovedTo(next);
                return;
            }
        }
        (void)c;
        w.focusMovedTo(nullptr);
    };
}

void FakePlatform::attach(Window& w)
{
    watch(w);
}

bool FakePlatform::setFocus(Window& w, Control& c)
{
    if (!w.canTakeFocus(c))
        return false;
    w.focusMovedTo(&c);
    return true;
}

void FakePlatform::show(Window& w, bool modal)
{
    watch(w);
    shown.push_back(&w);
    if (modal) {
        modalShows.push_back(&w);
        if (onModal)
            onModal(w);
    }
}

void FakePlatform::raise(Window& w)
{
    raised.push_back(&w);
}

void FakePlatform::unload(Window& w)
{
    unloaded.push_back(&w);
    w.observer = nullptr;
}

void FakePlatform::post(std::function<void()> f)
{
    posted_.push_back(std::move(f));
}

void FakePlatform::runPosted()
{
    while (!posted_.empty()) {
        auto batch = std::move(posted_);
        posted_.clear();
        for (auto& f : batch)
            f();
    }
}

void pressKey(Window& w, int keyCode, int keyAscii)
{
    Control* c = w.focused();
    if (!c)
        return;
    int code = keyCode;
    w.raiseKeyDown(*c, code);
    if (keyAscii && w.focused()) {
        int ascii = keyAscii;
        w.raiseKeyPress(*w.focused(), ascii);
    }
}

void releaseKey(Window& w, int keyCode)
{
    w.raiseKeyUp(w.focused(), keyCode);
}

void tapKey(Window& w, int keyCode, int keyAscii)
{
    pressKey(w, keyCode, keyAscii);
    releaseKey(w, keyCode);
}

void tapSpace(Window& w)
{
    tapKey(w, vk::Space, 32);
}
void tapEnter(Window& w)
{
    tapKey(w, vk::Return, 13);
}

void mousePress(Window& w, Control& c, MouseButton b)
{
    if (!w.canTakeFocus(c))
        return;
    if (b == MouseButton::Left)
        w.setFocus(c);
    w.raiseMouseDown(c, b);
}

void mouseRelease(Window& w, Control& c, MouseButton b)
{
    if (!w.canTakeFocus(c))
        return;
    w.raiseMouseUp(c, b);
}

void click(Window& w, Control& c, MouseButton b)
{
    mousePress(w, c, b);
    mouseRelease(w, c, b);
}

} // namespace tarvo::test

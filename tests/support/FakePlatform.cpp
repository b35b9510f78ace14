#include "FakePlatform.h"

namespace tarvo::test {

void FakePlatform::watch(Window& w)
{
    w.attach(this);
    w.observer = [&w](Control&, Prop p) {
        // The focused control (or one of its containers) was disabled or hidden: the toolkit
        // moves the focus on in tab order, or clears it.
        if ((p == Prop::Enabled || p == Prop::Visible) && w.focusNeedsRepair())
            w.focusMovedTo(w.focusHeir());
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
    if (Platform* p = w.platform())
        p->keys().press(w, w.focused(), { .key = keyCode, .code = keyCode, .ascii = keyAscii });
}

void releaseKey(Window& w, int keyCode)
{
    if (Platform* p = w.platform())
        p->keys().release(w, { .key = keyCode, .code = keyCode });
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
    if (Platform* p = w.platform())
        p->mouse().press(w, c, b, 0);
}

void mouseRelease(Window& w, MouseButton b, bool over)
{
    if (Platform* p = w.platform())
        p->mouse().release(w, b, 0, over);
}

void click(Window& w, Control& c, MouseButton b)
{
    mousePress(w, c, b);
    mouseRelease(w, b);
}

} // namespace tarvo::test

// The page's events (web/Page.h) into the model's roads: keys, pointers, clicks, the page's own
// focus, sizes, timers and posted work. Whether the program consumed an event, which tells the
// page whether to leave the browser its own action, is decided here.

#include "web/WebPlatform.h"

#include "model/Window.h"
#include "web/Buttons.h"
#include "web/KeyCodes.h"
#include "web/Page.h"
#include "web/Units.h"

namespace tarvo::web {

namespace {

// A click that follows a pointer's release on the same button within this time is that press's
// own, already heard.
constexpr double ClickOfAPress = 1000; // ms

} // namespace

bool WebPlatform::key(
    bool down, std::string_view code, std::string_view name, Keys held, bool repeat)
{
    if (ended_)
        return false;
    const bool space = isSpaceOrEnter(code, name);
    if (down && browsersOwn(code, name, held.ctrl, held.meta))
        return false;
    // A key without a code of its own is told apart by what it types.
    const std::string place = code.empty() ? "key:" + std::string(name) : std::string(code);
    const int physical
        = physical_.try_emplace(place, static_cast<int>(physical_.size()) + 1).first->second;
    // A release whose press the program never had (the browser's own, or one before the page
    // had the keyboard) is the browser's.
    if (!down && !keys().awaitsRelease(physical))
        return space;
    View* v = front();
    if (!v)
        return true;
    Window& w = *v->window;
    const int shift = shiftState(held.shift, held.ctrl, held.alt);
    const int vkey = virtualKey(code, name);
    if (vkey == vk::Tab) {
        // TAB walks the buttons in the window's tab order, as the desktop toolkit does; it never
        // reaches the behaviour.
        if (down)
            if (Control* next = w.nextInTabOrder(w.focused(), held.shift ? -1 : 1))
                w.setFocus(*next);
        return true;
    }
    if (down)
        keys().press(w, w.focused(),
            { .key = physical,
                .code = vkey,
                .ascii = keyAscii(name, held.ctrl),
                .shift = shift,
                .repeat = repeat });
    else
        keys().release(w, { .key = physical, .code = vkey, .shift = shift });
    return true;
}

bool WebPlatform::pointerDown(
    int pointer, bool mouse, int button, int buttons, int target, int shift)
{
    // The page's own focus, selection, scrolling, zoom and navigation are never a press's.
    if (!ended_)
        this->mouse().pointerDown(
            pointer, buttonAt(target), buttonOf(mouse, true, button, buttons), shift);
    return true;
}

bool WebPlatform::pointerUp(int pointer, bool mouse, int button, int under, int shift, double time)
{
    if (!ended_) {
        if (const Control* held = this->mouse().pointerUp(
                pointer, buttonOf(mouse, false, button, 0), shift, buttonAt(under)))
            if (const View* v = view(held->window()))
                recent_ = { v->ids.at(held), time };
    }
    // A side button's release would take the browser back or forward.
    return isSideButton(button);
}

void WebPlatform::pointerMove(
    int pointer, bool mouse, int button, int buttons, int under, int shift)
{
    if (ended_ || !mouse)
        return;
    // A further mouse button going down or up while one is down.
    if (const auto b = buttonOf(mouse, false, button, buttons))
        this->mouse().chord(pointer, *b, holds(buttons, *b), shift, buttonAt(under));
}

void WebPlatform::pointerCancel(int pointer)
{
    if (!ended_)
        mouse().letGo(pointer);
}

void WebPlatform::click(int target, int shift, double time)
{
    const Named e = element(target);
    if (ended_ || !e.control)
        return;
    Control& c = *e.control;
    Window& w = *e.view->window;
    if (c.is(Kind::Menu)) {
        if (c.effectivelyEnabled() && c.visible())
            w.raiseClick(c);
        return;
    }
    if (!isButton(c.kind()))
        return;
    // A click that no pointer made on the button is a screen reader's or a switch's activation
    // (TalkBack, Switch Access, a reader's browse mode): a left press and release on it.
    const Click last = recent_;
    recent_ = {};
    if (last.id == target && time - last.time < ClickOfAPress)
        return;
    mouse().press(w, c, MouseButton::Left, shift);
    mouse().release(w, MouseButton::Left, shift, true);
}

void WebPlatform::focusIn(int target)
{
    // The page moved its focus by itself (a screen reader, a switch): the model follows where it
    // can, and the page then shows where the model's focus is.
    const Named e = element(target);
    if (ended_ || !e.control)
        return;
    Window& w = *e.view->window;
    if (e.view == front() && w.focused() != e.control && w.canTakeFocus(*e.control))
        w.focusMovedTo(e.control);
    if (View* now = view(w))
        focusElement(*now, w.focused());
}

void WebPlatform::lostKeyboard()
{
    if (ended_)
        return;
    // The page will not hear the releases: the pointers down let go, away from their buttons,
    // and each key still down comes up now, as the desktop's settle does when its keyboard
    // comes back, so that the next press acts as a press.
    mouse().letGoAll();
    if (View* v = front())
        keys().settle(*v->window, [](int) { return false; });
}

void WebPlatform::resized(int win, int width, int height)
{
    View* v = viewOf(win);
    // A window waiting behind the front one keeps its size, as a covered window does.
    if (ended_ || !v || (!v->modal && stack_.frontPlain() != v->window))
        return;
    resize(*v, width, height);
}

void WebPlatform::resize(View& v, int width, int height)
{
    if (v.reported && v.width == width && v.height == height)
        return;
    v.reported = true;
    v.width = width;
    v.height = height;
    Window& w = *v.window;
    w.setInnerSize(cssPixels.twips(width), cssPixels.twips(height));
    w.setFrameWidth(0); // a page has no frame of its own
    w.raiseResize();
}

void WebPlatform::viewport(int width, int height, int bar)
{
    if (ended_)
        return;
    // Told at every change of the viewport: a fitted window's size follows it.
    fit_ = cssPixels.fit(width, height, bar);
    bar_ = bar;
    // To a billionth: no pixel of the page moves for it.
    Record rec("fit");
    rec.json("zoom", number(fit_.zoom, 9));
    rec.json("width", number(fit_.width, 9));
    rec.json("height", number(fit_.height, 9));
    rec.json("top", number(fit_.top, 9));
    send(std::move(rec));
}

void WebPlatform::timer(int id)
{
    const Named e = element(id);
    if (!ended_ && e.control)
        e.view->window->raiseTimer(*e.control);
}

void WebPlatform::runPosted()
{
    auto work = std::move(posted_);
    posted_.clear();
    for (auto& f : work)
        if (!ended_)
            f();
}

} // namespace tarvo::web

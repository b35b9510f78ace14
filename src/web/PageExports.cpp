// The calls the page makes (web/Page.h), each an event of the program: its arguments into the
// platform's terms, the program's answer back, and what the event changed sent to the page
// once it is over.

#include "web/KeyCodes.h"
#include "web/Page.h"
#include "web/WebPlatform.h"

#include <emscripten/emscripten.h>

namespace {

using tarvo::web::WebPlatform;

// The texts the page writes (KeyboardEvent.code and .key).
char textIn[2][tarvo::web::WebPlatform::TextBytes];

// Runs one event on the platform, if there is one, and sends the page what it changed.
template <typename Event> int event(Event run)
{
    WebPlatform* p = WebPlatform::current();
    if (!p)
        return 0;
    const bool consumed = run(*p);
    p->flush();
    return consumed ? 1 : 0;
}

int shift(int shift, int ctrl, int alt)
{
    return tarvo::web::shiftState(shift != 0, ctrl != 0, alt != 0);
}

} // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE char* tarvo_text(int which)
{
    return textIn[which & 1];
}

EMSCRIPTEN_KEEPALIVE int tarvo_key(int down, int shift, int ctrl, int alt, int meta, int repeat)
{
    return event([&](WebPlatform& p) {
        return p.key(down != 0, textIn[0], textIn[1],
            { .shift = shift != 0, .ctrl = ctrl != 0, .alt = alt != 0, .meta = meta != 0 },
            repeat != 0);
    });
}

EMSCRIPTEN_KEEPALIVE int tarvo_pointer_down(
    int pointer, int mouse, int button, int buttons, int target, int shifted, int ctrl, int alt)
{
    return event([&](WebPlatform& p) {
        return p.pointerDown(
            pointer, mouse != 0, button, buttons, target, shift(shifted, ctrl, alt));
    });
}

EMSCRIPTEN_KEEPALIVE int tarvo_pointer_up(
    int pointer, int mouse, int button, int under, int shifted, int ctrl, int alt, double time)
{
    return event([&](WebPlatform& p) {
        return p.pointerUp(pointer, mouse != 0, button, under, shift(shifted, ctrl, alt), time);
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_pointer_move(
    int pointer, int mouse, int button, int buttons, int under, int shifted, int ctrl, int alt)
{
    event([&](WebPlatform& p) {
        p.pointerMove(pointer, mouse != 0, button, buttons, under, shift(shifted, ctrl, alt));
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_pointer_cancel(int pointer)
{
    event([&](WebPlatform& p) {
        p.pointerCancel(pointer);
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_click(int target, int shifted, int ctrl, int alt, double time)
{
    event([&](WebPlatform& p) {
        p.click(target, shift(shifted, ctrl, alt), time);
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_focus(int target)
{
    event([&](WebPlatform& p) {
        p.focusIn(target);
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_blur()
{
    event([](WebPlatform& p) {
        p.lostKeyboard();
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_resized(int win, int width, int height)
{
    event([&](WebPlatform& p) {
        p.resized(win, width, height);
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_viewport(int width, int height, int bar)
{
    event([&](WebPlatform& p) {
        p.viewport(width, height, bar);
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_timer(int id)
{
    event([&](WebPlatform& p) {
        p.timer(id);
        return true;
    });
}

EMSCRIPTEN_KEEPALIVE void tarvo_posted()
{
    event([](WebPlatform& p) {
        p.runPosted();
        return true;
    });
}
}

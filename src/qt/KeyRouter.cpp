#include "qt/KeyRouter.h"

#include "qt/ControlWidgets.h"
#include "qt/KeyMap.h"

#include <QKeyEvent>

namespace tarvo::qt {

namespace {
// Far longer than the microseconds between the two halves of a repeat, far shorter than a
// child's press and release. Only the KeyUp waits: a new press delivers it at once.
constexpr int RepeatPairGraceMs = 50;
} // namespace

KeyRouter::KeyRouter(ViewHost& host)
    : host_(host)
{
    grace_.setSingleShot(true);
    grace_.setInterval(RepeatPairGraceMs);
    QObject::connect(&grace_, &QTimer::timeout, [this] {
        if (pending_)
            flush();
    });
}

bool KeyRouter::pairsWithPending(const QKeyEvent& e)
{
    if (!pending_)
        return false;
    if (e.key() == pending_->qtKey && e.nativeScanCode() == pending_->scanCode
        && e.timestamp() == pending_->time) {
        pending_.reset(); // the key is held: its release was not real
        grace_.stop();
        return true;
    }
    flush(); // another key: the release happened first
    return false;
}

void KeyRouter::press(Control* target, const QKeyEvent& e)
{
    const bool repeat = pairsWithPending(e) || e.isAutoRepeat();
    Window* w = host_.model();
    if (!w || !target)
        return;
    int code = virtualKey(e);
    if (code) {
        w->raiseKeyDown(*target, code, shiftState(e.modifiers()));
        if (!host_.model())
            return;
        // An arrow left to the platform moves within the option group.
        if (code >= vk::Left && code <= vk::Down && target->is(Kind::OptionButton)) {
            host_.stepInGroup(*target, code == vk::Left || code == vk::Up ? -1 : 1);
            if (!host_.model())
                return;
        }
    }
    int ascii = keyAscii(e);
    if (!ascii)
        return;
    // KeyPress goes to the control focused now: KeyDown may have moved the focus.
    Control* now = w->focused();
    if (!now)
        return;
    w->raiseKeyPress(*now, ascii);
    if (!host_.model() || !ascii || repeat || !now->is(Kind::CommandButton))
        return;
    // A command button is pushed by ENTER at once, and by SPACE when it comes back up.
    if (ascii == 13)
        w->raiseClick(*now);
    else if (ascii == 32)
        spaceArmed_ = now;
}

void KeyRouter::release(const QKeyEvent& e)
{
    if (e.isAutoRepeat())
        return;
    if (pending_)
        flush();
    const Release r { e.key(), e.nativeScanCode(), e.timestamp(), virtualKey(e),
        shiftState(e.modifiers()) };
    if (r.time == 0) { // no timestamp to pair it by
        deliver(r);
        return;
    }
    pending_ = r;
    grace_.start();
}

void KeyRouter::flush()
{
    const Release r = *pending_;
    pending_.reset();
    grace_.stop();
    deliver(r);
}

void KeyRouter::deliver(const Release& r)
{
    Window* w = host_.model();
    if (!w)
        return;
    Control* armed = r.qtKey == Qt::Key_Space ? std::exchange(spaceArmed_, nullptr) : nullptr;
    w->raiseKeyUp(w->focused(), r.code, r.shift);
    if (armed && host_.model() && w->focused() == armed)
        w->raiseClick(*armed);
}

} // namespace tarvo::qt

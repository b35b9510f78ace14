#include "qt/KeyRouter.h"

#include "model/Platform.h"
#include "qt/ControlWidgets.h"
#include "qt/KeyMap.h"
#include "qt/X11Desktop.h"
#include "qt/XkbRepeat.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace tarvo::qt {

namespace {

// Asks the X server to send a held key as presses alone, with one release at the end; false
// where it will not, or where this is no X11 session.
bool askForDetectableAutoRepeat()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    return c && tarvo_xkb_detectable_auto_repeat(c) != 0;
}

// The physical key: X11 and Wayland give its keycode; elsewhere the Qt key stands for it.
int physicalKey(const QKeyEvent& e)
{
    if (const quint32 scan = e.nativeScanCode())
        return static_cast<int>(scan);
    return -e.key();
}

} // namespace

bool KeyRouter::serverReportsHeldKeys()
{
    static const bool reports = askForDetectableAutoRepeat();
    return reports;
}

KeyRouter::KeyRouter(ViewHost& host)
    : host_(host)
{
    serverReportsHeldKeys(); // before the first key reaches the program
}

KeyRoad* KeyRouter::road() const
{
    Window* w = host_.model();
    return w && w->platform() ? &w->platform()->keys() : nullptr;
}

void KeyRouter::press(Control* target, const QKeyEvent& e)
{
    KeyRoad* r = road();
    if (!r)
        return;
    r->press(*host_.model(), target,
        { .key = physicalKey(e),
            .code = virtualKey(e),
            .ascii = keyAscii(e),
            .shift = shiftState(e.modifiers()),
            .repeat = !serverReportsHeldKeys() && e.isAutoRepeat() });
}

void KeyRouter::release(const QKeyEvent& e)
{
    // Without the server's report, Qt's flag marks the release half of a repeat.
    if (!serverReportsHeldKeys() && e.isAutoRepeat())
        return;
    KeyRoad* r = road();
    if (!r)
        return;
    r->release(*host_.model(),
        { .key = physicalKey(e), .code = virtualKey(e), .shift = shiftState(e.modifiers()) });
}

void KeyRouter::keyboardIn()
{
    KeyRoad* r = road();
    if (!r)
        return;
    if (x11::onX11()) {
        const auto keys = x11::keysDown();
        if (!keys)
            return;
        // Physical keys on X11 are the keycodes.
        r->settle(*host_.model(), [&keys](int key) {
            return key > 0 && std::size_t(key) < keys->size() && keys->test(std::size_t(key));
        });
    } else if (x11::onWayland()) {
        // Qt 6.4 drops the list of held keys the compositor gives with the keyboard, and sends
        // no further press or repeat of a key held when the keyboard left: each key still down
        // for the road came up elsewhere, or its release is still to come (one more KeyUp).
        r->settle(*host_.model(), [](int) { return false; });
    }
}

} // namespace tarvo::qt

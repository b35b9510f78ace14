#include "qt/X11Desktop.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#ifdef TARVO_HAVE_XCB
#include <xcb/xcb.h>

#include <cstddef>
#include <cstdlib>
#endif

namespace tarvo::qt::x11 {

#ifdef TARVO_HAVE_XCB
namespace {

xcb_connection_t* connection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name, std::size_t length)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(length), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

xcb_atom_t frameExtentsAtom()
{
    static constexpr char name[] = "_NET_FRAME_EXTENTS";
    static const xcb_atom_t a
        = connection() ? atom(connection(), name, sizeof name - 1) : xcb_atom_t(XCB_ATOM_NONE);
    return a;
}

bool created(const QWidget& w)
{
    return w.testAttribute(Qt::WA_WState_Created);
}

} // namespace
#endif

bool onX11()
{
#ifdef TARVO_HAVE_XCB
    return connection() != nullptr;
#else
    return false;
#endif
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool windowManagerRunning()
{
#ifdef TARVO_HAVE_XCB
    xcb_connection_t* c = connection();
    if (!c)
        return true;
    static constexpr char name[] = "_NET_SUPPORTING_WM_CHECK";
    const xcb_atom_t check = atom(c, name, sizeof name - 1);
    if (check == XCB_ATOM_NONE)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* prop = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool running
        = prop && prop->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(prop) > 0;
    std::free(prop);
    return running;
#else
    return true;
#endif
}

std::optional<int> frameWidth(const QWidget& w)
{
#ifdef TARVO_HAVE_XCB
    xcb_connection_t* c = connection();
    if (!c || frameExtentsAtom() == XCB_ATOM_NONE || !created(w))
        return std::nullopt;
    xcb_get_property_reply_t* prop = xcb_get_property_reply(c,
        xcb_get_property(c, 0, static_cast<xcb_window_t>(w.winId()), frameExtentsAtom(),
            XCB_ATOM_CARDINAL, 0, 4),
        nullptr);
    std::optional<int> width;
    if (prop && prop->format == 32 && xcb_get_property_value_length(prop) == 16) {
        const auto* extents = static_cast<const std::uint32_t*>(xcb_get_property_value(prop));
        width = static_cast<int>(extents[0] + extents[1]); // left, right, top, bottom
    }
    std::free(prop);
    return width;
#else
    (void)w;
    return std::nullopt;
#endif
}

void setBackground(QWidget& w, QRgb colour)
{
#ifdef TARVO_HAVE_XCB
    xcb_connection_t* c = connection();
    if (!c)
        return;
    const std::uint32_t pixel = colour & 0xFFFFFFu;
    xcb_change_window_attributes(
        c, static_cast<xcb_window_t>(w.winId()), XCB_CW_BACK_PIXEL, &pixel);
#else
    (void)w;
    (void)colour;
#endif
}

bool activate(QWidget& w)
{
#ifdef TARVO_HAVE_XCB
    xcb_connection_t* c = connection();
    if (!c || !windowManagerRunning())
        return false;
    static constexpr char name[] = "_NET_ACTIVE_WINDOW";
    xcb_client_message_event_t ev {};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(w.winId());
    ev.type = atom(c, name, sizeof name - 1);
    ev.data.data32[0] = 2; // on the user's behalf, as a task bar asks
    ev.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    return true;
#else
    (void)w;
    return false;
#endif
}

std::optional<std::bitset<256>> keysDown()
{
#ifdef TARVO_HAVE_XCB
    xcb_connection_t* c = connection();
    auto* reply = c ? xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr) : nullptr;
    if (!reply)
        return std::nullopt;
    // One bit per keycode, eight to a byte, lowest first.
    std::bitset<256> keys;
    for (std::size_t code = 0; code < keys.size(); ++code)
        keys[code] = (reply->keys[code / 8] >> (code % 8)) & 1;
    std::free(reply);
    return keys;
#else
    return std::nullopt;
#endif
}

WindowWatcher::WindowWatcher(
    const QWidget& w, std::function<void()> frameChanged, std::function<void()> keyboardIn)
    : widget_(w)
    , frameChanged_(std::move(frameChanged))
    , keyboardIn_(std::move(keyboardIn))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowWatcher::~WindowWatcher()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowWatcher::nativeEventFilter(const QByteArray& type, void* message, qintptr*)
{
#ifdef TARVO_HAVE_XCB
    if (type != "xcb_generic_event_t" || !created(widget_))
        return false;
    const auto window = static_cast<xcb_window_t>(widget_.winId());
    const auto* ev = static_cast<const xcb_generic_event_t*>(message);
    switch (ev->response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto* pn = static_cast<const xcb_property_notify_event_t*>(message);
        if (pn->window == window && pn->atom == frameExtentsAtom() && frameChanged_)
            frameChanged_();
        break;
    }
    case XCB_FOCUS_IN:
        if (static_cast<const xcb_focus_in_event_t*>(message)->event == window && keyboardIn_)
            keyboardIn_();
        break;
    default:
        break;
    }
#else
    (void)type;
    (void)message;
#endif
    return false;
}

} // namespace tarvo::qt::x11

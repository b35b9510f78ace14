#pragma once
// What the binding asks of an X11 desktop beyond Qt's own API: whether a window manager runs,
// the frame it has put around a window right now, the colour the server fills a new window
// with, which keys are down, and signals when the frame changes and when the window gets the
// keyboard. Off X11 (Wayland) each answer is the neutral one.

#include <QAbstractNativeEventFilter>
#include <QRgb>

#include <bitset>
#include <functional>
#include <optional>

class QWidget;

namespace tarvo::qt::x11 {

// The program runs on an X server (Qt's xcb platform).
bool onX11();
// The program runs on a Wayland compositor (Qt's wayland platforms), where none of the X11
// answers below are known.
bool onWayland();
// False only on an X server without a window manager.
bool windowManagerRunning();
// Left plus right frame extents as the window manager has set them on w's window; none where
// it has set none (no window manager, not X11, not created yet).
std::optional<int> frameWidth(const QWidget& w);
// The colour the X server shows in w's window before its first paint.
void setBackground(QWidget& w, QRgb colour);
// Asks the window manager to activate w on the user's behalf, as a task bar does: a window
// manager refuses a program's own request once the user has pressed another window since.
// False where there is none to ask (then Qt's own request is the way).
bool activate(QWidget& w);

// Which keys are down on the X server now, by keycode (8..255); none off X11.
std::optional<std::bitset<256>> keysDown();

// Watches w's X window, while the watcher lives. frameChanged() runs whenever the window
// manager sets new frame extents (after the resize that brought them). keyboardIn() runs
// whenever the window gets the X keyboard focus, before Qt hears of it; also where Qt reports
// no activation, as when the focus went to another program and came back within Qt's delay.
class WindowWatcher final : public QAbstractNativeEventFilter {
public:
    WindowWatcher(
        const QWidget& w, std::function<void()> frameChanged, std::function<void()> keyboardIn);
    ~WindowWatcher() override;
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    const QWidget& widget_;
    std::function<void()> frameChanged_;
    std::function<void()> keyboardIn_;
};

} // namespace tarvo::qt::x11

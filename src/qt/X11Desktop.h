#pragma once
// What the binding asks of an X11 desktop beyond Qt's own API: whether a window manager runs,
// the frame it has put around a window right now, the colour the server fills a new window
// with, and a signal when the frame changes. Off X11 (Wayland) each answer is the neutral one.

#include <QAbstractNativeEventFilter>
#include <QRgb>

#include <functional>
#include <optional>

class QWidget;

namespace tarvo::qt::x11 {

// The program runs on an X server (Qt's xcb platform).
bool onX11();
// False only on an X server without a window manager.
bool windowManagerRunning();
// Left plus right frame extents as the window manager has set them on w's window; none where
// it has set none (no window manager, not X11, not created yet).
std::optional<int> frameWidth(const QWidget& w);
// The colour the X server shows in w's window before its first paint.
void setBackground(QWidget& w, QRgb colour);

// Calls changed() whenever the window manager sets new frame extents on w's window; the
// change comes after the resize that brought it. Installed while the watcher lives.
class FrameWatcher final : public QAbstractNativeEventFilter {
public:
    FrameWatcher(const QWidget& w, std::function<void()> changed);
    ~FrameWatcher() override;
    FrameWatcher(const FrameWatcher&) = delete;
    FrameWatcher& operator=(const FrameWatcher&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    const QWidget& widget_;
    std::function<void()> changed_;
};

} // namespace tarvo::qt::x11

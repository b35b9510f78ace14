#pragma once
// The toolkit behind every screen: shows any tarvo::Window as a Qt Widgets window built from its
// control tree, keeps it in step with the model, and turns Qt's events into the model's events.
// Create it after the QApplication. Windows are unloaded (or destroyed) before the platform is.

#include "model/Platform.h"

#include <QIcon>
#include <QObject>
#include <QPointer>

#include <string>
#include <unordered_map>
#include <vector>

class QAction;
class QTimer;
class QWidget;

namespace tarvo::qt {

class WindowView;

class QtPlatform final : public Platform {
public:
    // Installs the font substitutes (Arial, MS Sans Serif -> Liberation Sans -> any sans).
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // Qt's focus moves to c and the model hears lost/gained before this returns; false when the
    // window is not shown or c cannot take the focus.
    bool setFocus(Window& w, Control& c) override;
    // Builds and shows the window (attaching it to this platform), and returns at once. Showing a
    // window already shown brings it to the front. A modal window is shown as Qt's modal window,
    // in front of the window that was active (its opener), which gets the input back when the
    // modal window is unloaded.
    void show(Window& w, bool modal) override;
    void raise(Window& w) override;
    // Stops the window's timers, detaches the view from the model, hides the view and deletes it
    // later. No effect on a window that is not shown. The Window object is left alone.
    void unload(Window& w) override;
    // Queued on the event loop: runs after the current event, never inside the caller.
    void post(std::function<void()> f) override;
    // Leaves the event loop; exit code 0.
    void quit() override;

    // The icon of windows whose hasIcon() is true (the others keep the application's).
    void setIcon(const QIcon& icon);

    // Lookups, for tests: null when the window is not shown or the control has no such object.
    // Widgets are named after their control, "Name(3)" for array members; views after their
    // window.
    QWidget* viewFor(const Window& w) const;
    QWidget* widgetFor(const Control& c) const;
    QAction* actionFor(const Control& menuEntry) const;
    QTimer* timerFor(const Control& timer) const;

private:
    WindowView* view(const Window& w) const;
    // Said by a screen reader once the window is active; nothing while no reader listens.
    void speak(Window& w, const std::string& words) override;

    std::unordered_map<const Window*, QPointer<WindowView>> views_;
    std::vector<QPointer<WindowView>> unloaded_; // deleted later, or by the destructor
    QIcon icon_;
    QObject context_; // posted calls die with the platform
};

} // namespace tarvo::qt

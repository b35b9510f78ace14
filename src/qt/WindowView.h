#pragma once
// The top-level view of one shown window: a menu bar of plain entries, a client area sized in
// twips, one widget per control, one QTimer per timer. It keeps the widgets in step with the
// model through the window's observer and reports resize, activation, focus and closing back.

#include "qt/Accessibility.h"
#include "qt/ControlWidgets.h"
#include "qt/KeyRouter.h"
#include "qt/X11Desktop.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QAction;
class QTimer;

namespace tarvo::qt {

class WindowView final : public QMainWindow, public ViewHost {
public:
    explicit WindowView(Window& window);
    ~WindowView() override;

    Window* model() const override { return model_; }
    const Scale& scale() const override { return scale_; }
    void syncFocus() override;
    void keyPressed(Control* target, const QKeyEvent& e) override { keys_.press(target, e); }
    void keyReleased(const QKeyEvent& e) override { keys_.release(e); }

    // Sizes, places and shows the view, then gives the focus to the first button in tab order
    // when nothing has it yet. `opener` (may be null) is the window a modal view belongs to.
    void present(bool modal, QWidget* opener);
    void bringToFront();
    // Qt's focus to c, reported to the model before returning; false where c cannot take it.
    bool focusControl(Control& c);
    // Forgets the model: timers stop, the observer goes.
    void detach();
    // Of a modal view: the window that was active when it was shown (may be null).
    QWidget* opener() const { return opener_; }

    QWidget* widgetFor(const Control& c) const;
    QAction* actionFor(const Control& c) const;
    QTimer* timerFor(const Control& c) const;

protected:
    // Activation, and minimise/restore (each a Resize); a modal view never hides on its own.
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    class ClientArea;

    void build();
    void addTimer(Control& c);
    void addMenuEntry(Control& c);
    QWidget* addWidget(Control& c);
    void onChange(Control& c, Prop p);
    void place(const Control& c);
    void updateTimer(Control& c);
    void updateMenuBar();
    void restack();
    void chainTabOrder();
    // After a control was disabled or hidden: the focus may not stay on a widget that cannot
    // hold it; it moves where the model says, as Qt moves it in an active window.
    void repairFocus();
    void clientResized();
    void updateFrameWidth();
    void rescale();
    // A modal window that blocks this one is brought back in front of it.
    void frontModal();
    // Of the modal view: a minimise is undone, so that no window it blocks is left shown and
    // dead while it is out of sight.
    void refuseMinimise();
    // A modal screen of `opener` (may be null): a dialog with no minimise, in front of it.
    void makeModalOf(QWidget* opener);
    // Before the first map: the X server fills the window with its first frame's colour.
    void setFirstFrameBackground();
    // The window manager has put a new frame around the window.
    void frameChanged();
    Control* controlOf(QWidget* w) const;

    Window* model_;
    Scale scale_;
    KeyRouter keys_ { *this };
    AccessibleUpdates a11y_;
    DrawnWidget* client_ = nullptr; // a ClientArea
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<const Control*, QTimer*> timers_;
    std::unordered_map<const Control*, QAction*> actions_;
    QPointer<QWidget> opener_; // of a modal view: the window it belongs to
    std::unique_ptr<x11::WindowWatcher> windowWatcher_;
    QSize reported_;
    bool reportedOnce_ = false;
    std::optional<bool> wasExposed_; // none until first exposed
};

} // namespace tarvo::qt

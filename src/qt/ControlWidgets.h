#pragma once
// The widgets that stand for the controls of a window. Each paints itself from its Control at
// paint time; the view that owns them keeps geometry, font, visibility and enabled state in step
// and tells them to repaint. Buttons hand Qt's key and mouse events to the model's roads.

#include "model/Window.h"
#include "qt/Units.h"

#include <QPushButton>
#include <QWidget>

#include <optional>

namespace tarvo::qt {

// What a control widget needs from the view of its window.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    // The window while it is shown; null once it has been unloaded (the widgets then do nothing).
    virtual Window* model() const = 0;
    virtual const Scale& scale() const = 0;
    // Makes the window's focus widget and the model's focus agree again.
    virtual void syncFocus() = 0;
    // Key events of the window: to the focused button (`target`), or to the window itself.
    virtual void keyPressed(Control* target, const QKeyEvent& e) = 0;
    virtual void keyReleased(const QKeyEvent& e) = 0;
};

// Labels, shapes, and the surfaces of the client area, frames and picture boxes. Surfaces hold
// the widgets of their controls; labels and shapes never take the focus or the mouse.
class DrawnWidget : public QWidget {
public:
    // `control` null: the window's client area.
    DrawnWidget(ViewHost& host, Control* control, QWidget* parent);
    Control* control() const { return control_; }
    // Where the client area of this container starts inside it (a picture box's frame line).
    QPoint clientOrigin() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void paintLabel(QPainter& p);
    void paintShape(QPainter& p);
    void paintFrame(QPainter& p);
    void paintPicture(QPainter& p);

    ViewHost& host_;
    Control* control_;
};

// Option and command buttons: push buttons whose background colour shows, raised, never drawn
// pressed or checked. Qt's own button handling of keys and mouse is bypassed entirely.
class ButtonWidget : public QPushButton {
public:
    ButtonWidget(ViewHost& host, Control& control, QWidget* parent);
    Control& control() const { return control_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // A mouse event as the model takes it, on the window it is for.
    struct Hit {
        Window& window;
        MouseButton button;
        int shift;
    };
    std::optional<Hit> hit(QMouseEvent* e) const;
    void press(QMouseEvent* e);

    ViewHost& host_;
    Control& control_;
};

} // namespace tarvo::qt

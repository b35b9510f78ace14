// The focus of a shown window: Qt's focus and the model's kept as one, repaired where the model
// says when the focused control is disabled or hidden, and keys that reach no button.

#include "qt/WindowView.h"

#include <QKeyEvent>

namespace tarvo::qt {

Control* WindowView::controlOf(QWidget* w) const
{
    if (auto* b = dynamic_cast<ButtonWidget*>(w))
        return &b->control();
    return nullptr;
}

void WindowView::syncFocus()
{
    if (!model_)
        return;
    QWidget* fw = focusWidget();
    Control* c = controlOf(fw);
    // The menu bar holds the keyboard only while it is being worked: the model keeps its focus.
    if (fw && !c && fw != this && fw != client_)
        return;
    model_->focusMovedTo(c);
}

void WindowView::repairFocus()
{
    if (!model_)
        return;
    if (model_->focusNeedsRepair()) {
        // Qt may have moved the focus already, by its own rule: the model's rule decides.
        if (Control* heir = model_->focusHeir())
            widgetFor(*heir)->setFocus(Qt::TabFocusReason);
        else if (QWidget* fw = focusWidget())
            fw->clearFocus();
    }
    syncFocus();
}

bool WindowView::focusControl(Control& c)
{
    if (!model_)
        return false;
    auto* widget = dynamic_cast<ButtonWidget*>(widgetFor(c));
    if (!widget || !widget->isEnabled() || !widget->isVisibleTo(this))
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    // Inactive windows get no focus events: report the move here, whatever Qt sent.
    syncFocus();
    return model_ && model_->focused() == &c;
}

void WindowView::keyPressEvent(QKeyEvent* e)
{
    // No button has the focus: the key acts on nothing, but its release is still reported.
    e->accept();
    keys_.press(nullptr, *e);
}

void WindowView::keyReleaseEvent(QKeyEvent* e)
{
    e->accept();
    keys_.release(*e);
}

} // namespace tarvo::qt

// Size and scale of a shown window: client resizes, the frame's width, a new screen's DPI,
// and minimise and restore, which the model hears as Resizes; activation.

#include "qt/WindowView.h"

#include "qt/X11Desktop.h"

#include <QEvent>
#include <QScreen>
#include <QWindow>
#include <QWindowStateChangeEvent>

namespace tarvo::qt {

void WindowView::clientResized()
{
    if (!model_)
        return;
    const QSize size = client_->size();
    if (reportedOnce_ && size == reported_)
        return;
    reportedOnce_ = true;
    reported_ = size;
    model_->setInnerSize(scale_.twips(size.width()), scale_.twips(size.height()));
    updateFrameWidth();
    model_->raiseResize();
}

void WindowView::updateFrameWidth()
{
    if (!model_ || !client_)
        return;
    // Qt refreshes its frame margins only on a later event; the window manager's own word is
    // read as it stands now.
    const int frame = x11::frameWidth(*this).value_or(frameGeometry().width() - client_->width());
    model_->setFrameWidth(scale_.twips(frame));
}

void WindowView::frameChanged()
{
    if (!model_ || !reportedOnce_)
        return;
    const int before = model_->outerWidth();
    updateFrameWidth();
    // A new frame is a new outer size, known only after the resize that brought it: the
    // curtains start again from its half.
    if (model_ && model_->outerWidth() != before)
        model_->raiseResize();
}

void WindowView::rescale()
{
    if (!model_)
        return;
    const double dpi = screen()->logicalDotsPerInch();
    if (dpi == scale_.dpi())
        return;
    scale_ = Scale(dpi);
    for (auto& [control, widget] : widgets_)
        place(*control);
    reportedOnce_ = false;
    clientResized();
}

bool WindowView::eventFilter(QObject* watched, QEvent* e)
{
    // Shown again after the window manager had unmapped it (a restore, however quickly it
    // followed the minimise): a Resize, as the state change would be.
    if (e->type() == QEvent::Expose && watched == windowHandle()) {
        const bool exposed = windowHandle()->isExposed();
        if (exposed && wasExposed_ == false && model_) {
            reportedOnce_ = false;
            clientResized();
        }
        if (exposed || wasExposed_)
            wasExposed_ = exposed;
    }
    return QMainWindow::eventFilter(watched, e);
}

void WindowView::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        // On X11 the window watcher saw the keyboard come, earlier and more often than this.
        if (!x11::onX11())
            keys_.keyboardIn();
        frontModal();
        if (model_)
            model_->raiseActivate();
    }
    // A window manager may minimise a modal view all the same: it is shown again at once.
    // Restoring a window it blocks brings it back in front as well.
    if (e->type() == QEvent::WindowStateChange && isMinimized())
        refuseMinimise();
    if (e->type() == QEvent::WindowStateChange && !isMinimized())
        frontModal();
    if (e->type() == QEvent::WindowStateChange && model_) {
        // Minimising and restoring are Resizes as well, though the client area keeps its size:
        // the controls are laid out again and the start screen's curtains close and reopen.
        const auto old = static_cast<QWindowStateChangeEvent*>(e)->oldState();
        if ((old & Qt::WindowMinimized) != (windowState() & Qt::WindowMinimized)) {
            reportedOnce_ = false;
            clientResized();
        }
    }
}

void WindowView::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    frameChanged();
}

void WindowView::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    frameChanged();
}

} // namespace tarvo::qt

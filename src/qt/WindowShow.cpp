// Showing a window: its size and place, the first frame's colour, the first focus, modal
// presentation, bringing it to the front, and closing, which the program decides.

#include "qt/WindowView.h"

#include "model/Platform.h"
#include "qt/X11Desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QMenuBar>
#include <QMetaObject>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace tarvo::qt {

void WindowView::present(bool modal, QWidget* opener)
{
    Window& w = *model_;
    const QSize client(scale_.px(w.designWidth()), scale_.px(w.designHeight()));
    const int menuHeight
        = (!actions_.empty() && !menuBar()->isHidden()) ? menuBar()->sizeHint().height() : 0;
    const QSize outer(client.width(), client.height() + menuHeight);
    if (w.resizable())
        resize(outer);
    else
        setFixedSize(outer);
    if (modal)
        makeModalOf(opener);
    const QRect avail = screen()->availableGeometry();
    const bool managed = x11::windowManagerRunning();
    if (w.maximised() && !managed)
        setGeometry(avail);
    setFirstFrameBackground();
    if (w.maximised() && !managed) {
        // Without a window manager nobody maximises the window: take the screen ourselves.
        showMaximized();
    } else {
        // Also the geometry a maximised window returns to when the user un-maximises it: its
        // design size, centred, title bar on the screen.
        move(avail.center() - QPoint(outer.width() / 2, outer.height() / 2));
        if (w.maximised())
            showMaximized();
        else
            show();
    }
    if (!model_)
        return;
    if (QWindow* handle = windowHandle()) {
        connect(handle, &QWindow::screenChanged, this, &WindowView::rescale);
        handle->installEventFilter(this);
    }

    model_->takeFirstFocus();
    if (model_) {
        raise();
        activateWindow();
    }
}

void WindowView::makeModalOf(QWidget* opener)
{
    // No minimise or maximise of its own: a modal screen hidden alone would leave its opener
    // shown, deaf to every key and click.
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    opener_ = opener;
    setWindowModality(Qt::ApplicationModal);
    if (opener && opener->windowHandle()) {
        winId();
        windowHandle()->setTransientParent(opener->windowHandle());
    }
}

void WindowView::setFirstFrameBackground()
{
    // The X server shows a new window at once, yet Qt paints it only after the map: until then
    // the window would show whatever lay below, black on a bare server. The server fills it
    // with its background instead: the colour that the first frame, painted now, has at its
    // centre (the start screen's closed curtains).
    if (!x11::onX11())
        return;
    // Only that one pixel is painted: a grab of the whole window would hold a screen-sized
    // image for nothing.
    const QImage first = grab(QRect(rect().center(), QSize(1, 1))).toImage();
    if (!first.isNull())
        x11::setBackground(*this, first.pixel(0, 0));
}

void WindowView::bringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    // Asked for by the user's press or activation of a window, maybe a blocked one: on their
    // behalf, so that the window manager does not refuse it.
    if (!x11::activate(*this))
        activateWindow();
}

void WindowView::detach()
{
    if (!model_)
        return;
    for (auto& [control, timer] : timers_)
        timer->stop();
    model_->observer = nullptr;
    model_ = nullptr;
}

void WindowView::frontModal()
{
    // The model knows the modal window and asks the platform to bring it in front.
    if (model_ && model_->platform())
        model_->platform()->refuse(*model_);
}

void WindowView::refuseMinimise()
{
    if (!model_ || !model_->platform() || model_->platform()->modal() != model_)
        return;
    // Out of sight it would leave the windows it blocks shown and dead: it comes straight back,
    // once Qt has finished with this state change.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (model_ && isMinimized())
                bringToFront();
        },
        Qt::QueuedConnection);
}

void WindowView::closeEvent(QCloseEvent* e)
{
    // The program decides: it unloads the screen (and maybe others) itself.
    if (model_ && model_->closeRequested) {
        e->ignore();
        model_->closeRequested();
        return;
    }
    e->accept();
}

} // namespace tarvo::qt

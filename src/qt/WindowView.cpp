#include "qt/WindowView.h"

#include "model/Platform.h"
#include "qt/X11Desktop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace tarvo::qt {

namespace {

// The menu bar never takes the keyboard by a lone ALT: every key belongs to the focused
// button (a stray ALT would otherwise leave the keypad deaf until ESC or a click).
class NoAltNavigation final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QString objectNameOf(const Control& c)
{
    QString name = QString::fromStdString(c.name());
    if (c.index() >= 0)
        name += QStringLiteral("(%1)").arg(c.index());
    return name;
}

} // namespace

class WindowView::ClientArea final : public DrawnWidget {
public:
    ClientArea(WindowView& view)
        : DrawnWidget(view, nullptr, &view)
        , view_(view)
    {
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        DrawnWidget::resizeEvent(e);
        view_.clientResized();
    }

private:
    WindowView& view_;
};

WindowView::WindowView(Window& window)
    : model_(&window)
{
    build();
    windowWatcher_ = std::make_unique<x11::WindowWatcher>(
        *this, [this] { frameChanged(); },
        [this] {
            keys_.keyboardIn();
            // Qt hands the focus of a blocked window to the modal one by the program's own
            // request, which a window manager may refuse after a press on the blocked window.
            frontModal();
        });
}

WindowView::~WindowView()
{
    windowWatcher_.reset();
    // The model may be gone already; deleting the children must not report to it.
    model_ = nullptr;
}

void WindowView::build()
{
    Window& w = *model_;
    setObjectName(QString::fromStdString(w.name()));
    setWindowTitle(QString::fromStdString(w.title()));
    scale_ = Scale(screen()->logicalDotsPerInch());

    client_ = new ClientArea(*this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);

    std::unordered_map<QWidget*, std::vector<Control*>> children;
    for (const auto& owned : w.controls()) {
        Control& c = *owned;
        if (c.is(Kind::Timer))
            addTimer(c);
        else if (c.is(Kind::Menu))
            addMenuEntry(c);
        else
            children[addWidget(c)->parentWidget()].push_back(&c);
    }
    updateMenuBar();

    // Labels and shapes lie behind the child windows (frames, pictures, buttons) of their
    // container; within each class a higher z, then a later control, lies in front.
    for (auto& [surface, list] : children) {
        std::stable_sort(list.begin(), list.end(), [](const Control* a, const Control* b) {
            const int ca = isButton(a->kind()) || isContainer(a->kind()) ? 1 : 0;
            const int cb = isButton(b->kind()) || isContainer(b->kind()) ? 1 : 0;
            return ca != cb ? ca < cb : a->z() < b->z();
        });
        for (Control* c : list)
            widgets_.at(c)->raise();
    }
    chainTabOrder();
    a11y_.watch(w);

    w.observer = [this](Control& c, Prop p) { onChange(c, p); };
}

void WindowView::addTimer(Control& c)
{
    auto* t = new QTimer(this);
    t->setTimerType(Qt::PreciseTimer);
    t->setObjectName(objectNameOf(c));
    connect(t, &QTimer::timeout, this, [this, &c] {
        if (model_)
            model_->raiseTimer(c);
    });
    timers_[&c] = t;
    updateTimer(c);
}

void WindowView::addMenuEntry(Control& c)
{
    if (actions_.empty()) {
        menuBar()->setNativeMenuBar(false); // plain top-level entries have no global-menu form
        auto* style = new NoAltNavigation;
        style->setParent(menuBar());
        menuBar()->setStyle(style);
    }
    QAction* a = menuBar()->addAction(displayText(c.caption()));
    a->setObjectName(objectNameOf(c));
    a->setEnabled(c.enabled());
    a->setVisible(c.visible());
    connect(a, &QAction::triggered, this, [this, &c] {
        if (model_)
            model_->raiseClick(c);
    });
    actions_[&c] = a;
}

QWidget* WindowView::addWidget(Control& c)
{
    QWidget* parent = c.container() ? widgets_.at(c.container()) : client_;
    QWidget* widget = nullptr;
    if (isButton(c.kind())) {
        widget = new ButtonWidget(*this, c, parent);
        buttonsInTabOrder_.push_back(&c);
    } else {
        widget = new DrawnWidget(*this, &c, parent);
    }
    widget->setObjectName(objectNameOf(c));
    widget->setFont(toQFont(c.font()));
    widget->setEnabled(c.enabled());
    if (!c.visible())
        widget->hide();
    widgets_[&c] = widget;
    place(c);
    return widget;
}

void WindowView::chainTabOrder()
{
    auto& list = buttonsInTabOrder_;
    std::erase_if(list, [](const Control* c) { return c->tabIndex() < 0; });
    std::stable_sort(list.begin(), list.end(),
        [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    for (std::size_t i = 1; i < list.size(); ++i)
        QWidget::setTabOrder(widgets_.at(list[i - 1]), widgets_.at(list[i]));
}

void WindowView::place(const Control& c)
{
    QWidget* widget = widgets_.at(&c);
    QPoint origin;
    if (auto* surface = dynamic_cast<DrawnWidget*>(widget->parentWidget()))
        origin = surface->clientOrigin();
    widget->setGeometry(scale_.rect(c.rect()).translated(origin));
}

void WindowView::updateTimer(Control& c)
{
    QTimer* t = timers_.at(&c);
    if (c.enabled() && c.interval() > 0) {
        if (!t->isActive() || t->interval() != c.interval())
            t->start(c.interval());
    } else {
        t->stop();
    }
}

void WindowView::updateMenuBar()
{
    if (actions_.empty())
        return;
    const bool any = std::any_of(
        actions_.begin(), actions_.end(), [](const auto& kv) { return kv.second->isVisible(); });
    menuBar()->setVisible(any);
}

void WindowView::onChange(Control& c, Prop p)
{
    if (c.is(Kind::Timer)) {
        if (p == Prop::Enabled)
            updateTimer(c);
        return;
    }
    if (c.is(Kind::Menu)) {
        QAction* a = actions_.at(&c);
        if (p == Prop::Caption)
            a->setText(displayText(c.caption()));
        else if (p == Prop::Enabled)
            a->setEnabled(c.enabled());
        else if (p == Prop::Visible) {
            a->setVisible(c.visible());
            updateMenuBar();
        }
        return;
    }
    QWidget* widget = widgets_.at(&c);
    switch (p) {
    case Prop::Caption:
        if (isButton(c.kind()))
            widget->setAccessibleName(QString::fromStdString(c.caption()));
        widget->update();
        break;
    case Prop::BackColor:
    case Prop::ForeColor:
    case Prop::Value: // never drawn: no button shows a selected state
        widget->update();
        break;
    case Prop::Font:
        widget->setFont(toQFont(c.font()));
        widget->update();
        break;
    case Prop::Visible:
        widget->setVisible(c.visible());
        repairFocus();
        break;
    case Prop::Enabled:
        widget->setEnabled(c.enabled());
        repairFocus();
        break;
    case Prop::Rect:
        place(c);
        break;
    }
    a11y_.changed(*this, c, p);
}

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

    // The first button in tab order takes the focus when the window first shows.
    if (!focusWidget()) {
        for (Control* c : buttonsInTabOrder_)
            if (model_->canTakeFocus(*c) && focusControl(*c))
                break;
    }
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

QWidget* WindowView::widgetFor(const Control& c) const
{
    const auto it = widgets_.find(&c);
    return it == widgets_.end() ? nullptr : it->second;
}

QAction* WindowView::actionFor(const Control& c) const
{
    const auto it = actions_.find(&c);
    return it == actions_.end() ? nullptr : it->second;
}

QTimer* WindowView::timerFor(const Control& c) const
{
    const auto it = timers_.find(&c);
    return it == timers_.end() ? nullptr : it->second;
}

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

// Building a view from its window's controls (widgets, stacking, tab order, menus, timers), and
// keeping it in step with the model. Focus, showing and size are in WindowFocus.cpp,
// WindowShow.cpp and WindowSize.cpp.

#include "qt/WindowView.h"

#include <QAction>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QTimer>

#include <algorithm>

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

    for (auto& [surface, list] : children) {
        sortControls(list, drawnBelow);
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
    QAction* a = menuBar()->addAction(QString::fromStdString(c.shownCaption()));
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
    const std::vector<Control*> list = model_->tabChain();
    for (std::size_t i = 1; i < list.size(); ++i)
        QWidget::setTabOrder(widgets_.at(list[i - 1]), widgets_.at(list[i]));
}

void WindowView::place(const Control& c)
{
    QWidget* widget = widgets_.at(&c);
    QPoint origin;
    if (auto* surface = dynamic_cast<DrawnWidget*>(widget->parentWidget()))
        origin = surface->clientOrigin();
    widget->setGeometry(toQRect(scale_.rect(c.rect())).translated(origin));
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
            a->setText(QString::fromStdString(c.shownCaption()));
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

} // namespace tarvo::qt

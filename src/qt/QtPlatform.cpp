#include "qt/QtPlatform.h"

#include "qt/Accessibility.h"
#include "qt/Units.h"
#include "qt/WindowView.h"

#include <QApplication>

namespace tarvo::qt {

QtPlatform::QtPlatform()
{
    installFontSubstitutes();
    // Menus and anything without a font of its own use the screens' default face, so one font
    // family serves the whole program.
    QApplication::setFont(toQFont(Font {}));
    installAccessibility();
}

QtPlatform::~QtPlatform()
{
    for (auto& [window, view] : views_)
        delete view.data();
    for (auto& view : unloaded_)
        delete view.data();
}

WindowView* QtPlatform::view(const Window& w) const
{
    const auto it = views_.find(&w);
    return it == views_.end() ? nullptr : it->second.data();
}

bool QtPlatform::setFocus(Window& w, Control& c)
{
    WindowView* v = view(w);
    return v && v->focusControl(c);
}

void QtPlatform::show(Window& w, bool modal)
{
    if (shows(w)) {
        raise(w);
        return;
    }
    w.attach(this);
    QPointer<QWidget> opener = QApplication::activeWindow();
    auto* v = new WindowView(w);
    if (w.hasIcon() && !icon_.isNull())
        v->setWindowIcon(icon_);
    views_[&w] = v;
    showing(w);
    v->present(modal, opener);
}

void QtPlatform::raise(Window& w)
{
    if (WindowView* v = view(w))
        v->bringToFront();
}

void QtPlatform::unload(Window& w)
{
    closed(w);
    const auto it = views_.find(&w);
    if (it == views_.end())
        return;
    QPointer<WindowView> v = it->second;
    views_.erase(it);
    if (!v)
        return;
    QPointer<QWidget> opener = v->opener();
    v->detach();
    v->hide();
    v->deleteLater();
    // Input goes back to the window that opened a modal one, with or without a window manager
    // to hand it back.
    if (opener && opener->isVisible()) {
        opener->raise();
        opener->activateWindow();
    }
    std::erase_if(unloaded_, [](const QPointer<WindowView>& p) { return p.isNull(); });
    unloaded_.push_back(v);
}

void QtPlatform::post(std::function<void()> f)
{
    auto run = [f = std::move(f)] { f(); };
    QMetaObject::invokeMethod(&context_, std::move(run), Qt::QueuedConnection);
}

void QtPlatform::speak(Window& w, const std::string& words)
{
    if (WindowView* v = view(w))
        tarvo::qt::announce(v, words);
}

void QtPlatform::quit()
{
    QCoreApplication::exit(0);
}

void QtPlatform::setIcon(const QIcon& icon)
{
    icon_ = icon;
    for (auto& [window, v] : views_)
        if (v && window->hasIcon())
            v->setWindowIcon(icon_);
}

QWidget* QtPlatform::viewFor(const Window& w) const
{
    return view(w);
}

QWidget* QtPlatform::widgetFor(const Control& c) const
{
    WindowView* v = view(c.window());
    return v ? v->widgetFor(c) : nullptr;
}

QAction* QtPlatform::actionFor(const Control& menuEntry) const
{
    WindowView* v = view(menuEntry.window());
    return v ? v->actionFor(menuEntry) : nullptr;
}

QTimer* QtPlatform::timerFor(const Control& timer) const
{
    WindowView* v = view(timer.window());
    return v ? v->timerFor(timer) : nullptr;
}

} // namespace tarvo::qt

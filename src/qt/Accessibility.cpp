#include "qt/Accessibility.h"

#include "model/Platform.h"
#include "qt/ControlWidgets.h"
#include "qt/WindowView.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>

#include <deque>

namespace tarvo::qt {

namespace {

// The window a widget belongs to, while its model is alive: once the view has been detached the
// controls may already be gone, and the interfaces must not touch them.
Window* liveModel(const QWidget* w)
{
    auto* view = dynamic_cast<WindowView*>(w->window());
    return view ? view->model() : nullptr;
}

// What the program says a reader hears of the widget's window; null while it says nothing (the
// widgets then read as Qt reads them).
const Reader* readerOf(const QWidget* w)
{
    const Window* model = liveModel(w);
    return model && model->platform() ? model->platform()->reader() : nullptr;
}

QString fromUtf8(const std::string& s)
{
    return QString::fromStdString(s);
}

class ButtonAccessible final : public QAccessibleWidget {
public:
    explicit ButtonAccessible(ButtonWidget* b)
        : QAccessibleWidget(b, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (const Reader* r = readerOf(widget()); r && t == QAccessible::Name)
            return fromUtf8(r->name(button()->control()));
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    // A reader's "press" is a left click on the button: the road of the mouse, nothing else.
    void doAction(const QString& name) override
    {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        QPointer<QWidget> target = widget();
        const QPointF local = QRectF(target->rect()).center();
        const QPointF global = target->mapToGlobal(local);
        QMouseEvent down(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
            Qt::NoModifier);
        QCoreApplication::sendEvent(target, &down);
        if (!target)
            return;
        QMouseEvent up(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
            Qt::NoModifier);
        QCoreApplication::sendEvent(target, &up);
    }

private:
    ButtonWidget* button() const { return static_cast<ButtonWidget*>(widget()); }
};

// Labels, frames, picture boxes and the client area.
class DrawnAccessible final : public QAccessibleWidget {
public:
    explicit DrawnAccessible(DrawnWidget* d)
        : QAccessibleWidget(d, QAccessible::Client)
    {
    }

    QAccessible::Role role() const override
    {
        const Control* c = control();
        if (!c)
            return QAccessible::Client;
        switch (reader()->role(*c)) {
        case ReaderRole::Text:
            return QAccessible::StaticText;
        case ReaderRole::Group:
            return QAccessible::Grouping;
        case ReaderRole::Button:
            return QAccessible::Button;
        case ReaderRole::None:
            break;
        }
        return QAccessible::NoRole;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const Control* c = control();
        if (c && reader()->role(*c) == ReaderRole::None)
            s.invisible = true;
        if (c && reader()->role(*c) == ReaderRole::Text)
            s.readOnly = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        const Control* c = control();
        if (!c)
            return t == QAccessible::Name ? QString() : QAccessibleWidget::text(t);
        switch (t) {
        case QAccessible::Name:
            return fromUtf8(reader()->name(*c));
        case QAccessible::Description:
            return fromUtf8(reader()->description(*c));
        case QAccessible::Value:
            // What the control itself shows: an answer cell's answer, a label's caption.
            return reader()->role(*c) == ReaderRole::Text ? fromUtf8(c->shownCaption()) : QString();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    int childCount() const override { return static_cast<int>(children().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const auto list = children();
        if (index < 0 || index >= static_cast<int>(list.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(list[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        const auto list = children();
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i] == child->object())
                return static_cast<int>(i);
        return -1;
    }

private:
    DrawnWidget* drawn() const { return static_cast<DrawnWidget*>(widget()); }

    // Null for the client area, once the model is gone, and while no reader is set.
    const Control* control() const { return readerOf(widget()) ? drawn()->control() : nullptr; }
    // Set whenever control() is not null.
    const Reader* reader() const { return readerOf(widget()); }

    std::vector<QWidget*> children() const
    {
        std::vector<QWidget*> list;
        Window* w = liveModel(widget());
        const Reader* r = reader();
        auto* view = dynamic_cast<WindowView*>(widget()->window());
        if (!w || !r || !view)
            return list;
        const Control* self = drawn()->control();
        if (self && r->role(*self) != ReaderRole::Group)
            return list; // a text reads whatever it holds as its own name
        for (const Control* c : r->children(*w, self))
            if (QWidget* child = view->widgetFor(*c))
                list.push_back(child);
        return list;
    }
};

// One announcement: an object of the window that exists only for the reader.
class Voice final : public QObject {
public:
    Voice(QString words, QWidget* window)
        : QObject(window)
        , words_(std::move(words))
    {
    }
    const QString& words() const { return words_; }
    QWidget* window() const { return static_cast<QWidget*>(parent()); }

private:
    QString words_;
};

class VoiceAccessible final : public QAccessibleObject {
public:
    explicit VoiceAccessible(Voice* v)
        : QAccessibleObject(v)
    {
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? voice()->words() : QString();
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(voice()->window());
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

private:
    Voice* voice() const { return static_cast<Voice*>(object()); }
};

// Holds a window's words until the window is active (a reader presents a window's activation
// and its focus first, and would cut short what came before), then lets one voice appear.
class Announcer final : public QObject {
public:
    explicit Announcer(QWidget* window)
        : QObject(window)
        , window_(window)
    {
        window->installEventFilter(this);
    }

    void add(const QString& words)
    {
        // A window that never becomes active keeps only its latest words.
        if (pending_.size() >= 3)
            pending_.pop_front();
        pending_.push_back(words);
        schedule();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::WindowActivate && !pending_.empty())
            schedule();
        return false;
    }

private:
    void schedule()
    {
        if (scheduled_)
            return;
        scheduled_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                scheduled_ = false;
                flush();
            },
            Qt::QueuedConnection);
    }

    void flush()
    {
        if (pending_.empty() || !window_->isActiveWindow())
            return;
        QString words;
        for (const QString& w : pending_)
            words += (words.isEmpty() ? QString() : QStringLiteral(" ")) + w;
        pending_.clear();
        auto* voice = new Voice(words, window_);
        QAccessibleEvent shown(voice, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
        // A reader reads a voice when it hears of it, a moment later: the last few stay alive.
        voices_.emplace_back(voice);
        while (voices_.size() > 4) {
            delete voices_.front().data();
            voices_.pop_front();
        }
    }

    QWidget* window_;
    std::deque<QString> pending_;
    std::deque<QPointer<Voice>> voices_;
    bool scheduled_ = false;
};

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (auto* v = dynamic_cast<Voice*>(object))
        return new VoiceAccessible(v);
    if (auto* b = dynamic_cast<ButtonWidget*>(object))
        return new ButtonAccessible(b);
    if (auto* d = dynamic_cast<DrawnWidget*>(object))
        return new DrawnAccessible(d);
    return nullptr;
}

void raise(QWidget* widget, QAccessible::Event type)
{
    QAccessibleEvent e(widget, type);
    QAccessible::updateAccessibility(&e);
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // Qt 6.4 reads the accessibility bus's "enabled" state once, when its bridge starts, and never
    // again (its D-Bus layer has no property-change notifications): a screen reader started
    // later would find the program silent. Always-on makes the bridge register with the bus
    // whenever one exists, as GTK programs do; Qt then sends only the events that a listening
    // reader has asked for, so without one nothing is sent. Must precede the bridge's creation,
    // at the first window shown.
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QAccessible::installFactory(factory);
}

void announce(QWidget* window, const std::string& words)
{
    if (!window || words.empty() || !QAccessible::isActive())
        return;
    // One announcer per window, dying with it.
    static std::unordered_map<const QWidget*, QPointer<Announcer>> announcers;
    QPointer<Announcer>& announcer = announcers[window];
    if (!announcer)
        announcer = new Announcer(window);
    announcer->add(fromUtf8(words));
}

void AccessibleUpdates::watch(const Window& w)
{
    texts_.clear();
    told_.clear();
    reader_ = w.platform() ? w.platform()->reader() : nullptr;
    if (!reader_)
        return;
    for (const auto& c : w.controls()) {
        if (reader_->role(*c) != ReaderRole::Text)
            continue;
        texts_.push_back(c.get());
        told_[c.get()] = { reader_->name(*c), reader_->description(*c) };
    }
}

void AccessibleUpdates::changed(const WindowView& view, const Control&, Prop p)
{
    if (p != Prop::Caption && p != Prop::BackColor)
        return;
    for (const Control* c : texts_) {
        Told now { reader_->name(*c), reader_->description(*c) };
        Told& before = told_[c];
        QWidget* widget = view.widgetFor(*c);
        if (widget && now.name != before.name)
            raise(widget, QAccessible::NameChanged);
        if (widget && now.description != before.description)
            raise(widget, QAccessible::DescriptionChanged);
        before = std::move(now);
    }
}

} // namespace tarvo::qt

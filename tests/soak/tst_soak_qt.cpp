// Random input through real Qt events on the offscreen platform: the whole program on the Qt
// binding, keys and mouse buttons delivered to the windows as the window system delivers them
// (to the focus window, at a point of a window, held, repeated, released out of order), window
// sizes and states, timer ticks, menus and closings. After every event the invariants of the
// control model hold and Qt agrees with the model (focus, enabled and shown buttons, running
// timers). Each program runs inside QApplication::exec, as in main(); an ended program is replaced
// by a new one. TARVO_SOAK_SEED and TARVO_SOAK_EVENTS replay a run.
#include "Pupil.h"
#include "SoakChecks.h"
#include "app/Program.h"
#include "game/GameScreen.h"
#include "qt/QtPlatform.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <deque>
#include <memory>
#include <random>

using namespace tarvo;
using namespace tarvo::soak;
using tarvo::qt::QtPlatform;

namespace {

// One key as the window system reports it.
struct Key {
    int key = 0;
    Qt::KeyboardModifiers mods;
    QString text;
    std::string name() const
    {
        return QKeySequence(key).toString().toStdString() + " mods 0x"
            + QString::number(int(mods), 16).toStdString();
    }
};

Key makeKey(int qtKey, Qt::KeyboardModifiers mods)
{
    Key k { qtKey, mods, {} };
    const bool shift = mods & Qt::ShiftModifier;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        const int i = qtKey - Qt::Key_A;
        if (mods & Qt::ControlModifier)
            k.text = QString(QChar(1 + i));
        else
            k.text = QString(QChar((shift ? 'A' : 'a') + i));
    } else if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const int d = qtKey - Qt::Key_0;
        k.text = QString(QChar(shift && !(mods & Qt::KeypadModifier) ? ")!@#$%^&*("[d] : '0' + d));
    } else {
        switch (qtKey) {
        case Qt::Key_Space:
            k.text = QStringLiteral(" ");
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            k.text = QStringLiteral("\r");
            break;
        case Qt::Key_Backspace:
            k.text = QStringLiteral("\b");
            break;
        case Qt::Key_Escape:
            k.text = QString(QChar(27));
            break;
        case Qt::Key_Tab:
            k.text = QStringLiteral("\t");
            break;
        case Qt::Key_Delete:
            k.text = QString(QChar(127));
            break;
        case Qt::Key_Asterisk:
            k.text = QStringLiteral("*");
            break;
        case Qt::Key_Plus:
            k.text = QStringLiteral("+");
            break;
        default:
            break;
        }
    }
    return k;
}

class QtSoak final : private PupilHands {
public:
    explicit QtSoak(std::uint64_t seed)
        : seed_(seed)
        , rng_(seed)
    {
    }

    // Runs programs one after the other inside the application's event loop until `events`
    // events have been given. False on the first broken invariant (see failure()).
    bool run(long events)
    {
        total_ = events;
        while (index_ < total_ && failure_.empty()) {
            session_ = std::make_unique<Session>(rng_());
            ++stats.programs;
            auto run = [this] { runProgram(); };
            QMetaObject::invokeMethod(qApp, run, Qt::QueuedConnection);
            QApplication::exec();
            // The program has ended: everything it had goes, as at the end of main().
            session_.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        return failure_.empty();
    }

    const std::string& failure() const { return failure_; }

    struct Stats {
        long programs = 0, ends = 0, modals = 0, celebrations = 0, waits = 0, tarvos = 0;
    } stats;

private:
    struct Session {
        explicit Session(std::uint64_t seed)
            : clock(seed)
        {
            random.watch(&program.state());
        }
        QtPlatform platform;
        SteppingClock clock;
        WatchedRandom random;
        test::RecordingProbe probe; // no settings file
        Program program { platform, clock, random, probe };
    };

    enum class Ev {
        Key,
        Release,
        Repeat,
        X11Repeat,
        Mouse,
        MouseUp,
        Tick,
        Resize,
        State,
        Activate,
        Menu,
        Close,
        Wait,
        Idle
    };
    struct Event {
        Ev kind = Ev::Idle;
        ScreenId win = ScreenId::Inizio;
        Key key {};
        Qt::MouseButton button = Qt::LeftButton;
        std::string control {};
        int index = -1;
        bool centre = true; // the mouse at the control's centre, else anywhere in the window
        QPoint at {};
        QSize size {};
        int ms = 0;
    };

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    ScreenId randomMain() { return chance(0.5) ? ScreenId::Inizio : ScreenId::Operativo; }

    Program& program() { return session_->program; }
    QtPlatform& platform() { return session_->platform; }
    Window* loaded(ScreenId id) { return program().isLoaded(id) ? program().window(id) : nullptr; }
    QWidget* viewOf(ScreenId id)
    {
        Window* w = loaded(id);
        return w ? platform().viewFor(*w) : nullptr;
    }

    void fail(const std::string& what)
    {
        if (!failure_.empty())
            return;
        failure_ = "seed " + std::to_string(seed_) + ", event #" + std::to_string(index_) + ": "
            + what + "\n" + log_.tail() + "\n(replay: TARVO_SOAK_SEED=" + std::to_string(seed_)
            + " TARVO_SOAK_EVENTS=" + std::to_string(index_ + 1) + ")";
        // Leave every event loop: the run is over.
        QCoreApplication::exit(1);
    }

    // The work between two events: everything queued except timers, whose ticks the soak gives
    // itself (or lets real time give, in its waits), so that a seed replays the same run.
    static void settle()
    {
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
    }

    void runProgram()
    {
        generations_ = 0;
        script_.clear();
        buttons_ = Qt::NoButton;
        grab_ = nullptr;
        program().start();
        settle();
        check();
        while (failure_.empty() && index_ < total_ && !program().finished()) {
            step(nextEvent());
            ++index_;
        }
        if (!failure_.empty() || program().finished())
            return; // exit() has been called: QApplication::exec returns
        // Out of events: close the start screen, which ends the program.
        if (QWidget* v = viewOf(ScreenId::Inizio)) {
            log_.add("end of run: start screen closed");
            endAllowed_ = true;
            v->close();
            settle();
        }
        if (!program().finished())
            fail("closing the start screen did not end the program");
    }

    Event nextEvent()
    {
        if (!script_.empty() && chance(0.85)) {
            Event e = script_.front();
            script_.pop_front();
            return e;
        }
        const int r = pick(10000);
        if (r < 2800)
            return { .kind = Ev::Key, .key = randomKey() };
        if (r < 4800)
            return { .kind = Ev::Release };
        if (r < 5100)
            return { .kind = Ev::Repeat };
        if (r < 5300)
            return { .kind = Ev::X11Repeat };
        if (r < 6200)
            return randomMouse(randomMain());
        if (r < 6900)
            return { .kind = Ev::MouseUp, .button = randomButton() };
        if (r < 8300)
            return randomTick(randomMain());
        if (r < 8500)
            return { .kind = Ev::Resize, .win = randomMain(), .size = randomSize() };
        if (r < 8600)
            return { .kind = Ev::State, .win = randomMain(), .index = pick(3) };
        if (r < 8900)
            return { .kind = Ev::Activate, .win = randomMain() };
        if (r < 8960)
            return { .kind = Ev::Menu, .win = randomMain() };
        if (r < 8970)
            return { .kind = Ev::Close, .win = randomMain() };
        if (r < 9000)
            return { .kind = Ev::Wait, .ms = 10 + pick(50) };
        if (r < 9100 || !script_.empty())
            return { .kind = Ev::Idle };
        plan();
        return { .kind = Ev::Idle };
    }

    Key randomKey()
    {
        Qt::KeyboardModifiers mods;
        if (chance(0.3)) {
            const int m = pick(8);
            mods.setFlag(Qt::ShiftModifier, m & 1);
            mods.setFlag(Qt::ControlModifier, m & 2);
            mods.setFlag(Qt::AltModifier, m & 4);
        }
        static constexpr int useful[] = { Qt::Key_Space, Qt::Key_Return, Qt::Key_Backspace,
            Qt::Key_C, Qt::Key_A, Qt::Key_N, Qt::Key_E, Qt::Key_S, Qt::Key_V, Qt::Key_F2,
            Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Tab };
        static constexpr int other[] = { Qt::Key_Home, Qt::Key_Delete, Qt::Key_End, Qt::Key_Insert,
            Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Escape, Qt::Key_Shift, Qt::Key_Control,
            Qt::Key_Alt, Qt::Key_Backtab, Qt::Key_Menu, Qt::Key_NumLock };
        switch (pick(6)) {
        case 0:
            return makeKey(Qt::Key_0 + pick(10), mods);
        case 1:
            return makeKey(Qt::Key_0 + pick(10), mods | Qt::KeypadModifier);
        case 2:
            return makeKey(useful[pick(int(std::size(useful)))], mods);
        case 3:
            return makeKey(Qt::Key_A + pick(26), mods);
        case 4: {
            static constexpr int pad[] = { Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Enter };
            return makeKey(pad[pick(3)], mods | Qt::KeypadModifier);
        }
        default:
            return makeKey(
                chance(0.5) ? Qt::Key_F1 + pick(12) : other[pick(int(std::size(other)))], mods);
        }
    }

    Qt::MouseButton randomButton()
    {
        static constexpr Qt::MouseButton b[]
            = { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton };
        return b[pick(3)];
    }

    Event randomMouse(ScreenId id)
    {
        Event e { .kind = Ev::Mouse, .win = id, .button = randomButton() };
        const Target t = randomTarget(id, rng_);
        e.control = t.control;
        e.index = t.index;
        e.centre = !chance(0.1);
        e.at = QPoint(pick(2000), pick(1500));
        return e;
    }

    Event randomTick(ScreenId id)
    {
        // Often a run of ticks: the time a person takes between two actions.
        Event e { .kind = Ev::Tick, .win = id };
        e.control = id == ScreenId::Inizio ? "timerTendine" : chance(0.5) ? "Timer3" : "Timer2";
        e.index = chance(0.5) ? 1 : 1 + pick(e.control == "Timer3" ? 10 : 100);
        return e;
    }

    QSize randomSize()
    {
        auto side = [this] {
            switch (pick(5)) {
            case 0:
                return 1; // a window of no size at all is unmapped by the window system
            case 1:
                return 1 + pick(100);
            case 2:
                return 2000 + pick(2000); // larger than the screen
            default:
                return 100 + pick(1200);
            }
        };
        return { side(), side() };
    }

    // A pupil's moves (Pupil.h) as events of this soak; random events still come in between.
    void tap(ScreenId id, int qtKey, Qt::KeyboardModifiers mods = {})
    {
        script_.push_back({ .kind = Ev::Key, .win = id, .key = makeKey(qtKey, mods) });
        script_.push_back({ .kind = Ev::Release, .win = id, .key = makeKey(qtKey, mods) });
    }
    void press(ScreenId id, const char* name, int index)
    {
        script_.push_back({ .kind = Ev::Mouse,
            .win = id,
            .button = randomButton(),
            .control = name,
            .index = index });
        script_.push_back({ .kind = Ev::MouseUp, .win = id, .button = Qt::AllButtons });
    }
    void plan()
    {
        planPupil(loaded(ScreenId::Operativo) != nullptr, program().state(), rng_, *this);
    }
    void bringForward(ScreenId win) override
    {
        script_.push_back({ .kind = Ev::Activate, .win = win });
    }
    void waitTick(ScreenId win) override { script_.push_back(randomTick(win)); }
    void pressButton(ScreenId win, const char* control, int index) override
    {
        press(win, control, index);
    }
    void tap(ScreenId win, PupilKey key, int digit) override
    {
        switch (key) {
        case PupilKey::Digit:
            return tap(win, Qt::Key_0 + digit);
        case PupilKey::KeypadDigit:
            return tap(win, Qt::Key_0 + digit, Qt::KeypadModifier);
        case PupilKey::KeypadStar:
            return tap(win, Qt::Key_Asterisk, Qt::KeypadModifier);
        case PupilKey::A:
            return tap(win, Qt::Key_A);
        case PupilKey::N:
            return tap(win, Qt::Key_N);
        case PupilKey::E:
            return tap(win, Qt::Key_E);
        case PupilKey::Return:
            // The main ENTER and the keypad's are the same key to the program.
            if (chance(0.5))
                return tap(win, Qt::Key_Enter, Qt::KeypadModifier);
            return tap(win, Qt::Key_Return);
        }
    }

    // Delivery --------------------------------------------------------------------------------

    // Where the window system sends keys: the active window; none while no window is active.
    static QWindow* keyWindow()
    {
        QWidget* active = QApplication::activeWindow();
        return active ? active->windowHandle() : nullptr;
    }

    // The control a key pressed now would reach, as the model knows it.
    const Control* keyTargetControl()
    {
        QWindow* kw = keyWindow();
        for (ScreenId id : { ScreenId::Inizio, ScreenId::Operativo })
            if (QWidget* v = viewOf(id); v && v->windowHandle() == kw)
                return loaded(id)->focused();
        return nullptr;
    }

    bool endsTheProgram(const Control* c)
    {
        const Window* start = loaded(ScreenId::Inizio);
        const Window* game = loaded(ScreenId::Operativo);
        return c
            && ((start && c == &start->at("Option2", 2))
                || (game && c == &game->at("Option1", TastoEsco)));
    }
    const Control* controlOfWidget(const QWidget* w)
    {
        for (ScreenId id : { ScreenId::Inizio, ScreenId::Operativo })
            if (Window* win = loaded(id))
                for (const auto& c : win->controls())
                    if (isButton(c->kind()) && platform().widgetFor(*c) == w)
                        return c.get();
        return nullptr;
    }

    static std::string widgetName(const QWidget* w)
    {
        return w ? w->window()->objectName().toStdString() + "/" + w->objectName().toStdString()
                 : "none";
    }

    void keyEvent(QEvent::Type type, const Key& k, bool autoRepeat)
    {
        QWindow* w = keyWindow();
        if (!w)
            return;
        const bool enter = k.key == Qt::Key_Return || k.key == Qt::Key_Enter;
        if (type == QEvent::KeyPress && enter)
            endAllowed_ = endsTheProgram(keyTargetControl());
        qt_handleKeyEvent(w, type, k.key, k.mods, k.text, autoRepeat);
    }

    void step(const Event& e)
    {
        endAllowed_ = false;
        switch (e.kind) {
        case Ev::Key: {
            log_.add("#" + std::to_string(index_) + " key down " + e.key.name());
            const bool repeat = std::any_of(
                held_.begin(), held_.end(), [&](const Key& h) { return h.key == e.key.key; });
            if (!repeat)
                held_.push_back(e.key);
            if (held_.size() > 6) {
                keyEvent(QEvent::KeyRelease, held_.front(), false);
                held_.pop_front();
            }
            keyEvent(QEvent::KeyPress, e.key, repeat);
            break;
        }
        case Ev::Release: {
            if (held_.empty()) {
                log_.add("#" + std::to_string(index_) + " nothing to release");
                break;
            }
            // The key given, else any held one: keys come up in any order.
            auto at = std::find_if(held_.begin(), held_.end(),
                [&](const Key& h) { return e.key.key && h.key == e.key.key; });
            if (at == held_.end())
                at = held_.begin() + pick(int(held_.size()));
            const Key k = *at;
            held_.erase(at);
            log_.add("#" + std::to_string(index_) + " key up " + k.name());
            keyEvent(QEvent::KeyRelease, k, false);
            break;
        }
        case Ev::Repeat:
        case Ev::X11Repeat: {
            if (held_.empty())
                break;
            const Key k = held_[std::size_t(pick(int(held_.size())))];
            QWidget* target = QApplication::focusWidget();
            if (e.kind == Ev::Repeat || !target) {
                log_.add("#" + std::to_string(index_) + " key repeat " + k.name());
                keyEvent(QEvent::KeyPress, k, true);
                break;
            }
            // A release and a press with one timestamp, unflagged: two quick taps, or a held key
            // as an X server without detectable auto-repeat sends it.
            log_.add("#" + std::to_string(index_) + " X11 repeat pair " + k.name());
            const quint64 t = ++x11Time_ * 1000;
            QKeyEvent up(QEvent::KeyRelease, k.key, k.mods, 0, 0, 0, k.text, false);
            up.setTimestamp(t);
            QApplication::sendEvent(target, &up);
            if (QWidget* now = QApplication::focusWidget()) {
                if (k.key == Qt::Key_Return || k.key == Qt::Key_Enter)
                    endAllowed_ = endsTheProgram(controlOfWidget(now));
                QKeyEvent down(QEvent::KeyPress, k.key, k.mods, 0, 0, 0, k.text, false);
                down.setTimestamp(t);
                QApplication::sendEvent(now, &down);
            }
            break;
        }
        case Ev::Mouse:
            mousePress(e);
            break;
        case Ev::MouseUp:
            mouseRelease(e);
            break;
        case Ev::Tick:
            if (Window* w = loaded(e.win)) {
                Control& c = w->at(e.control);
                log_.add("#" + std::to_string(index_) + " " + std::to_string(e.index) + " ticks of "
                    + e.control);
                // The ticks a running QTimer gets from the event loop.
                for (int k = 0; k < e.index && loaded(e.win) == w; ++k) {
                    QTimer* t = platform().timerFor(c);
                    if (!t || !t->isActive())
                        break;
                    QTimerEvent tick(t->timerId());
                    QCoreApplication::sendEvent(t, &tick);
                }
            }
            break;
        case Ev::Resize:
            if (QWidget* v = viewOf(e.win)) {
                log_.add("#" + std::to_string(index_) + " resize " + std::to_string(e.size.width())
                    + "x" + std::to_string(e.size.height()));
                if (v->isMaximized() || v->isMinimized())
                    v->showNormal();
                v->resize(e.size);
            }
            break;
        case Ev::State:
            if (QWidget* v = viewOf(e.win)) {
                log_.add("#" + std::to_string(index_) + " window state " + std::to_string(e.index));
                if (e.index == 0)
                    v->showMinimized();
                else if (e.index == 1)
                    v->showMaximized();
                else
                    v->showNormal();
            }
            break;
        case Ev::Activate:
            if (QWidget* v = viewOf(e.win)) {
                log_.add(
                    "#" + std::to_string(index_) + " activate " + v->objectName().toStdString());
                v->activateWindow();
            }
            break;
        case Ev::Menu:
            menu(e.win);
            break;
        case Ev::Close:
            if (QWidget* v = viewOf(e.win)) {
                log_.add("#" + std::to_string(index_) + " close " + v->objectName().toStdString());
                endAllowed_ = true;
                v->close();
                settle();
                if (!program().finished())
                    fail("closing a main screen did not end the program");
            }
            break;
        case Ev::Wait:
            // Real time passes: the timers fire on their own, held releases come through.
            log_.add("#" + std::to_string(index_) + " wait " + std::to_string(e.ms) + " ms");
            ++stats.waits;
            QTest::qWait(e.ms);
            break;
        case Ev::Idle:
            log_.add("#" + std::to_string(index_) + " idle");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            break;
        }
        settle();
        afterEvent();
    }

    // TARVO_SOAK_TRACE=1: the state after each event, to follow a failing run.
    void traceState()
    {
        std::string cells;
        if (Window* g = loaded(ScreenId::Operativo))
            for (int i = 0; i < 8; ++i)
                cells += "[" + g->at("lblRisultato", i).caption() + "]";
        const QWidget* active = QApplication::activeWindow();
        const std::string last = log_.tail().substr(log_.tail().rfind('\n') + 1);
        std::fprintf(stderr, "%s | R=%d %s | active %s, Qt focus %s, model focus %s\n",
            last.c_str(), program().state().RaggioCorrente, cells.c_str(),
            active ? qPrintable(active->objectName()) : "none",
            widgetName(QApplication::focusWidget()).c_str(),
            test::describe(keyTargetControl()).c_str());
    }

    void afterEvent()
    {
        if (trace_)
            traceState();
        if (program().finished()) {
            if (!endAllowed_)
                fail("the program ended by itself");
            for (ScreenId id :
                { ScreenId::Inizio, ScreenId::Operativo, ScreenId::Istruzioni, ScreenId::Autore })
                if (program().isLoaded(id))
                    fail("the program ended with a screen still open");
            ++stats.ends;
            return;
        }
        check();
    }

    // A point of the window's client area: the menu bar's own popups (its overflow button) are
    // no part of the program, and the menu entries are chosen by Ev::Menu.
    static QPoint clientPoint(QWidget* view, QPoint seed)
    {
        const auto* main = qobject_cast<QMainWindow*>(view);
        const QRect client
            = main && main->centralWidget() ? main->centralWidget()->geometry() : view->rect();
        return client.topLeft()
            + QPoint(
                seed.x() % std::max(1, client.width()), seed.y() % std::max(1, client.height()));
    }

    QPoint pointFor(QWidget* view, const Event& e)
    {
        Window* w = loaded(e.win);
        const Control* c = w ? w->find(e.control, e.index) : nullptr;
        QWidget* widget = c ? platform().widgetFor(*c) : nullptr;
        if (!e.centre || !widget)
            return clientPoint(view, e.at);
        const QPoint p = widget->mapTo(view, widget->rect().center());
        const auto* main = qobject_cast<QMainWindow*>(view);
        if (main && main->menuWidget() && main->menuWidget()->isVisible()
            && main->menuWidget()->geometry().contains(p))
            return clientPoint(view, e.at);
        return p;
    }

    void mousePress(const Event& e)
    {
        QWidget* view = viewOf(e.win);
        if (!view || !view->windowHandle())
            return;
        const QPoint local = pointFor(view, e);
        // The widget that gets the press, by Qt's rule: a press of the only button down takes
        // the widget under the pointer as the one holding the mouse, and every press goes to the
        // one holding it, in whichever window.
        QWidget* under = view->childAt(local);
        if ((buttons_ | e.button) == e.button)
            grab_ = under ? under : view;
        QWidget* receiver = grab_ ? grab_.data() : under;
        endAllowed_
            = endsTheProgram(controlOfWidget(receiver)) || endsTheProgram(controlOfWidget(under));
        buttons_ |= e.button;
        // Mostly far apart in time; now and then quick enough to make a double click.
        mouseTime_ += chance(0.1) ? 50 : 2000;
        log_.add("#" + std::to_string(index_) + " mouse down " + std::to_string(int(e.button))
            + " on " + view->objectName().toStdString() + " at " + std::to_string(local.x()) + ","
            + std::to_string(local.y()) + " (under " + widgetName(under) + ", held by "
            + widgetName(receiver) + ", window " + std::to_string(view->width()) + "x"
            + std::to_string(view->height()) + ")");
        qt_handleMouseEvent(view->windowHandle(), local, view->mapToGlobal(local), buttons_,
            e.button, QEvent::MouseButtonPress, Qt::NoModifier, int(mouseTime_));
    }

    void mouseRelease(const Event& e)
    {
        Qt::MouseButton b = e.button;
        if (b == Qt::AllButtons) { // the release of whatever is down
            b = buttons_ & Qt::LeftButton    ? Qt::LeftButton
                : buttons_ & Qt::RightButton ? Qt::RightButton
                                             : Qt::MiddleButton;
        }
        QWidget* view = grab_ ? grab_->window() : viewOf(randomMain());
        if (!view || !view->windowHandle() || !view->isVisible())
            view = viewOf(ScreenId::Inizio);
        if (!view || !view->windowHandle())
            return;
        const QPoint local = grab_ && grab_->window() == view
            ? grab_->mapTo(view, grab_->rect().center())
            : clientPoint(view, QPoint(pick(4000), pick(3000)));
        buttons_ &= ~b;
        if (buttons_ == Qt::NoButton)
            grab_ = nullptr;
        mouseTime_ += 10;
        log_.add("#" + std::to_string(index_) + " mouse up " + std::to_string(int(b)) + " on "
            + view->objectName().toStdString());
        qt_handleMouseEvent(view->windowHandle(), local, view->mapToGlobal(local), buttons_, b,
            QEvent::MouseButtonRelease, Qt::NoModifier, int(mouseTime_));
    }

    // A menu entry opens a modal screen: the events then go to it until it is closed.
    void menu(ScreenId id)
    {
        Window* w = loaded(id);
        QAction* a = w
            ? platform().actionFor(w->at(id == ScreenId::Inizio ? "mnuInfo" : "mnuIstruzioni"))
            : nullptr;
        if (!a || !a->isEnabled() || !a->isVisible())
            return;
        releaseMouse();
        log_.add("#" + std::to_string(index_) + " menu " + a->objectName().toStdString());
        const ScreenId modal = id == ScreenId::Inizio ? ScreenId::Autore : ScreenId::Istruzioni;
        a->trigger();
        if (!failure_.empty())
            return;
        if (!program().isLoaded(modal))
            fail("the menu entry opened no modal screen");
        else
            driveModal(modal);
    }

    void releaseMouse()
    {
        while (buttons_ != Qt::NoButton)
            mouseRelease({ .kind = Ev::MouseUp, .button = Qt::AllButtons });
    }

    void driveModal(ScreenId id)
    {
        ++stats.modals;
        Window* w = loaded(id);
        QWidget* view = viewOf(id);
        if (!w || !view) {
            fail("no modal screen to drive");
            return;
        }
        const int events = pick(12);
        for (int k = 0; k < events && failure_.empty() && loaded(id); ++k) {
            Event e;
            switch (pick(6)) {
            case 0:
                e = { .kind = Ev::Key, .key = randomKey() };
                break;
            case 1:
                e = { .kind = Ev::Release };
                break;
            case 2:
                e = randomMouse(id);
                break;
            case 3:
                e = randomTick(randomMain());
                break;
            case 4:
                e = { .kind = Ev::Resize, .win = id, .size = randomSize() };
                break;
            default:
                e = { .kind = Ev::MouseUp, .button = Qt::AllButtons };
                break;
            }
            step(e);
        }
        if (!failure_.empty())
            return;
        releaseMouse();
        if (QWidget* v = viewOf(id)) {
            log_.add("  modal close request");
            v->close();
            settle();
        }
        if (loaded(id))
            fail("the modal screen does not close");
    }

    // Checks -----------------------------------------------------------------------------------

    void check()
    {
        if (!failure_.empty())
            return;
        if (auto broken = checkProgram(program(), session_->random); !broken.empty()) {
            fail(broken);
            return;
        }
        for (ScreenId id : { ScreenId::Inizio, ScreenId::Operativo })
            if (auto broken = checkView(id); !broken.empty()) {
                fail(broken);
                return;
            }
        if (session_->random.generations() != generations_) {
            generations_ = session_->random.generations();
            ++stats.tarvos;
        }
        const bool celebrating = program().state().RaggioCorrente == 8;
        if (celebrating && !celebrating_)
            ++stats.celebrations;
        celebrating_ = celebrating;
    }

    // Qt and the model agree: focus, enabled and shown buttons, running timers.
    std::string checkView(ScreenId id)
    {
        Window* w = loaded(id);
        if (!w)
            return {};
        QWidget* view = platform().viewFor(*w);
        if (!view)
            return w->name() + " loaded but not shown";
        const Control* focused = w->focused();
        QWidget* fw = view->focusWidget();
        const Control* qtFocused = controlOfWidget(fw);
        const bool menuBarWorked = fw && !qtFocused && fw != view && fw->objectName() != "client";
        if (!menuBarWorked && qtFocused != focused)
            return w->name() + ": Qt focus on " + test::describe(qtFocused) + ", the model's on "
                + test::describe(focused);
        for (const auto& owned : w->controls()) {
            const Control& c = *owned;
            if (c.is(Kind::Timer)) {
                QTimer* t = platform().timerFor(c);
                const bool running = c.enabled() && c.interval() > 0;
                if (!t || t->isActive() != running)
                    return w->name() + ": " + test::describe(&c)
                        + (running ? " stopped" : " running");
                continue;
            }
            if (!isButton(c.kind()))
                continue;
            QWidget* b = platform().widgetFor(c);
            if (!b)
                return w->name() + ": no widget for " + test::describe(&c);
            if (b->isEnabled() != c.effectivelyEnabled())
                return w->name() + ": " + test::describe(&c) + " enabled differs";
            if (b->isVisibleTo(view) != c.effectivelyVisible())
                return w->name() + ": " + test::describe(&c) + " visibility differs";
        }
        return {};
    }

    std::uint64_t seed_;
    std::mt19937_64 rng_;
    std::unique_ptr<Session> session_;
    long index_ = 0;
    long total_ = 0;
    EventLog log_;
    std::string failure_;
    std::deque<Event> script_;
    std::deque<Key> held_;
    Qt::MouseButtons buttons_;
    QPointer<QWidget> grab_;
    quint64 mouseTime_ = 1000;
    quint64 x11Time_ = 1;
    bool endAllowed_ = false;
    bool celebrating_ = false;
    long generations_ = 0;
    const bool trace_ = qEnvironmentVariableIsSet("TARVO_SOAK_TRACE");
};

} // namespace

class TestSoakQt : public QObject {
    Q_OBJECT

    static inline QtMessageHandler previousHandler = nullptr;

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        // The offscreen platform's notes about what it cannot do (raise, size hints) are noise.
        previousHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (type == QtWarningMsg
                    && message.startsWith(QLatin1String("This plugin does not support")))
                    return;
                previousHandler(type, context, message);
            });
    }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void randomQtEventsKeepEveryInvariant()
    {
        const std::uint64_t seed = seedFromEnvironment(20240612);
        const long events = eventsFromEnvironment(10000);
        qInfo("seed %llu, %ld events", static_cast<unsigned long long>(seed), events);
        QtSoak soak(seed);
        const bool ok = soak.run(events);
        const auto& s = soak.stats;
        qInfo("%ld programs, %ld ended, %ld modal shows, %ld tarvos, %ld celebrations, %ld waits",
            s.programs, s.ends, s.modals, s.tarvos, s.celebrations, s.waits);
        if (!ok)
            std::fprintf(stderr, "%s\n", soak.failure().c_str()); // whole: QTest cuts messages
        QVERIFY2(ok, soak.failure().substr(0, soak.failure().find('\n')).c_str());
        // A run that never reached the game's deeper states would prove little.
        if (!qEnvironmentVariableIsSet("TARVO_SOAK_SEED") && events >= 10000) {
            QVERIFY(s.ends >= 2);
            QVERIFY(s.modals >= 10);
            QVERIFY(s.celebrations >= 3);
        }
    }
};

QTEST_MAIN(TestSoakQt)
#include "tst_soak_qt.moc"

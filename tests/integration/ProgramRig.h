#pragma once
// The whole program in-process on the offscreen platform: the real Program, QtPlatform and
// settings probe, with a clock and a random source of the test's own so that every tarvo's
// subtrahends are known in advance. The helpers act as a person does: keys go to the widget that
// holds Qt's keyboard focus, mouse presses to the widget of a control found by its object name.

#include "app/FileProbe.h"
#include "app/Program.h"
#include "model/Palette.h"
#include "model/Window.h"
#include "qt/QtPlatform.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace tarvo::test {

inline QColor rgb(Bgr c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// Each reseed starts drawing `order` again from its first value: the game turns r in [0, 1) into
// the subtrahend int(r * 10) + 1.
class ScriptedRandom final : public RandomSource {
public:
    std::vector<int> order { 3, 7, 1, 10, 5, 2, 9, 4 };
    int seeds = 0;

    void seed(double) override
    {
        ++seeds;
        next_ = 0;
    }
    double next() override
    {
        const int k = order.at(next_++ % order.size());
        return (k - 0.5) / 10.0;
    }

private:
    std::size_t next_ = 0;
};

class FixedClock final : public Clock {
public:
    double secondsSinceMidnight() override { return 43200.5; }
};

struct ProgramRig {
    // Declared first: destroyed last, after the program has taken its windows off it.
    qt::QtPlatform platform;
    FixedClock clock;
    ScriptedRandom rng;
    SystemFileProbe probe;
    Program program { platform, clock, rng, probe };

    ~ProgramRig() = default;

    Window* window(ScreenId id) const { return program.window(id); }
    Window& start() const { return *program.window(ScreenId::Inizio); }
    Window& game() const { return *program.window(ScreenId::Operativo); }
    QWidget* view(ScreenId id) const
    {
        const Window* w = window(id);
        return w ? platform.viewFor(*w) : nullptr;
    }
    // A control's widget, found the way a person's eye would: by its name in the shown window.
    QWidget* widget(ScreenId id, const char* name, int index = -1) const
    {
        QWidget* v = view(id);
        if (!v)
            return nullptr;
        QString objectName = QString::fromLatin1(name);
        if (index >= 0)
            objectName += QStringLiteral("(%1)").arg(index);
        return v->findChild<QWidget*>(objectName);
    }
    // The control whose widget holds Qt's keyboard focus, if it belongs to window `id`.
    Control* qtFocus(ScreenId id) const
    {
        QWidget* fw = QApplication::focusWidget();
        const Window* w = window(id);
        if (!fw || !w)
            return nullptr;
        for (const auto& c : w->controls())
            if (platform.widgetFor(*c) == fw)
                return c.get();
        return nullptr;
    }

    // Starts the program as main() does and waits for its start screen to be active.
    bool begin()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        program.start();
        QWidget* v = view(ScreenId::Inizio);
        return v && QTest::qWaitForWindowActive(v);
    }

    // One key pressed and released on whatever has the keyboard focus.
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow();
        if (target)
            QTest::keyClick(target, k, mods);
    }
    // A held key: the first press, the platform's auto-repeat presses, one release.
    static void holdKey(Qt::Key k, const QString& text, int repeats)
    {
        QPointer<QWidget> target = QApplication::focusWidget();
        if (!target)
            return;
        QTest::simulateEvent(target, true, k, Qt::NoModifier, text, false);
        for (int i = 0; i < repeats && target; ++i)
            QTest::simulateEvent(target, true, k, Qt::NoModifier, text, true);
        if (QApplication::focusWidget())
            QTest::simulateEvent(
                QApplication::focusWidget(), false, k, Qt::NoModifier, text, false);
    }
    // A mouse button pressed and released on a control's widget (which the press may close).
    void mouse(ScreenId id, const char* name, int index, Qt::MouseButton b = Qt::LeftButton)
    {
        QPointer<QWidget> w = widget(id, name, index);
        if (!w)
            return;
        QTest::mousePress(w, b);
        if (w)
            QTest::mouseRelease(w, b);
    }
    // A click on a menu bar entry, as a person gives it.
    void clickMenu(ScreenId id, const char* entry)
    {
        auto* mw = qobject_cast<QMainWindow*>(view(id));
        QAction* a = mw ? platform.actionFor(window(id)->at(entry)) : nullptr;
        if (!a)
            return;
        QMenuBar* bar = mw->menuBar();
        const QPoint at = bar->actionGeometry(a).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, at);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    }

    // What a control's widget shows just inside its bottom-left corner: a button's face, a
    // label's or frame's background (text starts at the top and in the middle).
    QColor shown(ScreenId id, const char* name, int index = -1) const
    {
        QWidget* w = widget(id, name, index);
        if (!w || w->width() < 4 || w->height() < 4)
            return {};
        return w->grab().toImage().pixelColor(2, w->height() - 3);
    }

    // Runs the event loop as main() does, `action` first from inside it, and returns the loop's
    // exit code: -1 when the program did not end within `boundMs`.
    static int execWith(const std::function<void()>& action, int boundMs = 10000)
    {
        QTimer bound;
        bound.setSingleShot(true);
        QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        bound.start(boundMs);
        QTimer::singleShot(0, &bound, action);
        return QCoreApplication::exec();
    }
};

// Closes a modal screen from inside its own event loop with its "C h i u d i" button, as a pupil
// would. Gives up after a bound and unloads the screen directly, so that a test can never hang.
class ModalCloser {
public:
    ModalCloser(ProgramRig& rig, ScreenId id)
        : rig_(rig)
        , id_(id)
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

    bool sawModal = false; // it was shown as the application's modal window
    QString title;
    bool closedByButton = false;

private:
    void poll()
    {
        QWidget* v = rig_.view(id_);
        if (v && v->isVisible()) {
            timer_.stop();
            sawModal = QApplication::activeModalWidget() == v;
            title = v->windowTitle();
            if (QWidget* button = v->findChild<QWidget*>(QStringLiteral("Command1"))) {
                QTest::mouseClick(button, Qt::LeftButton);
                closedByButton = !rig_.program.isLoaded(id_);
            }
            if (rig_.program.isLoaded(id_))
                rig_.program.unload(id_);
            return;
        }
        if (++tries_ > 500) {
            timer_.stop();
            rig_.program.unload(id_);
        }
    }

    ProgramRig& rig_;
    ScreenId id_;
    QTimer timer_;
    int tries_ = 0;
};

} // namespace tarvo::test

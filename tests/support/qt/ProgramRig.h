#pragma once
// The whole program in-process on the Qt platform (offscreen, or a real display for the screen
// reader's tests): the real Program, QtPlatform and settings probe, with the shared clock and a
// random source that cycles through known subtrahends, so that every tarvo is known in advance. The
// helpers act as a person does: keys go to the widget that holds Qt's keyboard focus, mouse presses
// to the widget of a control found by its object name.

#include "Doubles.h"
#include "app/FileProbe.h"
#include "app/Program.h"
#include "model/Palette.h"
#include "model/Window.h"
#include "qt/QtPlatform.h"

#include <QApplication>
#include <QColor>
#include <QString>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

class QWidget;

namespace tarvo::test {

inline QColor rgb(Bgr c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

struct ProgramRig {
    // Every tarvo's subtrahends: each reseed starts them again from the first.
    explicit ProgramRig(std::vector<int> subtrahends = { 3, 7, 1, 10, 5, 2, 9, 4 })
        : rng(std::move(subtrahends))
    {
    }

    // Declared first: destroyed last, after the program has taken its windows off it.
    qt::QtPlatform platform;
    FixedClock clock;
    ScriptedRandom rng;
    SystemFileProbe probe;
    Program program { platform, clock, rng, probe };

    Window* window(ScreenId id) const { return program.window(id); }
    Window& start() const { return *program.window(ScreenId::Inizio); }
    Window& game() const { return *program.window(ScreenId::Operativo); }
    QWidget* view(ScreenId id) const;
    // A control's widget, found the way a person's eye would: by its name in the shown window.
    QWidget* widget(ScreenId id, const char* name, int index = -1) const;
    // The control whose widget holds Qt's keyboard focus, if it belongs to window `id`.
    Control* qtFocus(ScreenId id) const;

    // Starts the program as main() does and waits for its start screen to be active.
    bool begin();
    // begin(), then waits for "10" to hold the keyboard focus.
    void beginOnFirstChoice();
    // Chooses the tarvo of `centre` with the mouse, then "Vai" by ENTER (the choice has moved
    // the focus there), and waits for the game screen to be active.
    void openGame(int centre);
    // Both of the above; false as soon as one of them has failed the test.
    bool beginAndOpenGame(int centre);
    // A keypad button of the game screen clicked with the mouse.
    void press(int index);
    // The digits of `value` clicked on the keypad.
    void answer(int value);

    // One key pressed and released on whatever has the keyboard focus.
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier);
    // A held key: the first press, the platform's auto-repeat presses, one release.
    static void holdKey(Qt::Key k, const QString& text, int repeats);
    // A mouse button pressed and released on a control's widget (which the press may close).
    void mouse(ScreenId id, const char* name, int index, Qt::MouseButton b = Qt::LeftButton);
    // A click on a menu bar entry, as a person gives it.
    void clickMenu(ScreenId id, const char* entry);

    // What a control's widget shows just inside its bottom-left corner: a button's face, a
    // label's or frame's background (text starts at the top and in the middle).
    QColor shown(ScreenId id, const char* name, int index = -1) const;

    // Runs the event loop as main() does, `action` first from inside it, and returns the loop's
    // exit code: -1 when the program did not end within `boundMs`.
    static int execWith(const std::function<void()>& action, int boundMs = 10000);
};

// Closes a modal screen, once it shows, with its "C h i u d i" button, as a pupil
// would. Gives up after a bound and unloads the screen directly, so that a test can never hang.
class ModalCloser {
public:
    ModalCloser(ProgramRig& rig, ScreenId id);

    bool sawModal = false; // it was shown as the application's modal window
    QString title;
    bool closedByButton = false;

private:
    void poll();

    ProgramRig& rig_;
    ScreenId id_;
    QTimer timer_;
    int tries_ = 0;
};

} // namespace tarvo::test

#pragma once
// The road of a key from Qt to the behaviour: KeyDown to the focused button, the platform's arrow
// navigation within an option group, KeyPress to the button focused after KeyDown, KeyUp on
// release. A held key acts as on the platform the program was designed for: repeated presses,
// one release. X11 sends a held key as release/press pairs with one timestamp, and Qt 6.4 often
// fails to flag them as auto-repeat (the press reaches it a few microseconds after the release),
// so a timestamped release is held back briefly: the paired press cancels it, any other key
// press delivers it first, and otherwise a single-shot timer delivers it.

#include "model/Window.h"

#include <QTimer>
#include <QtGlobal>

#include <optional>
#include <utility>

class QKeyEvent;

namespace tarvo::qt {

class ViewHost;

class KeyRouter {
public:
    explicit KeyRouter(ViewHost& host);

    // A key went down on `target`, the focused button, or on the window itself (null) while no
    // button has the focus.
    void press(Control* target, const QKeyEvent& e);
    void release(const QKeyEvent& e);
    // The focus moved: a SPACE held on a command button no longer pushes it.
    void focusMoved() { spaceArmed_ = nullptr; }

private:
    struct Release {
        int qtKey;
        quint32 scanCode;
        quint64 time;
        int code;
        int shift;
    };
    void deliver(const Release& r);
    void flush();
    // Settles the pending release against this press: true where the two are one held key.
    bool pairsWithPending(const QKeyEvent& e);

    ViewHost& host_;
    std::optional<Release> pending_;
    QTimer grace_;
    Control* spaceArmed_ = nullptr; // a command button that SPACE went down on
};

} // namespace tarvo::qt

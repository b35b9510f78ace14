#pragma once
// Qt's key events of one window, translated into the platform's key road (model/KeyRoad): the
// key code, the character, the SHIFT/CTRL/ALT state, which physical key it is and whether it
// repeats a held one. Nothing is held back or reordered: each event goes down the road at once.
//
// Whether a press repeats: on Wayland (and elsewhere) Qt's own flag says so. On X11, Qt 6.4's flag
// comes from a guess: a release followed by a press of the same key with the same timestamp is
// taken for a repeat, which also swallows two quick real presses, and is missed whenever the
// press has not been read yet. There the X server is asked to report a held key as presses
// without releases (XKB detectable auto-repeat); a press of a key still down is then its repeat,
// which the road knows by itself, and every release is real.

#include "model/KeyRoad.h"

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
    // The window got the keyboard. Keys released while another program had it sent their
    // release there: on X11 the server says which keys are down now, and the road lets go of
    // the others; on Wayland it lets go of all (see the .cpp). Elsewhere nothing changes.
    void keyboardIn();

    // True where the window system reports held keys as presses alone (see above).
    static bool serverReportsHeldKeys();

private:
    KeyRoad* road() const;

    ViewHost& host_;
};

} // namespace tarvo::qt

#pragma once
// The road of a mouse button through the windows of one platform, the same whatever reports it
// (the toolkit binding, or a test standing in for it). A touch or a pen is the left button.
//
// A press lands on the control the platform gives it (the one under the pointer, or the one
// holding the pointer while another button is down), and each release comes back to the control
// its press landed on, wherever the pointer is and whatever the focus or the handlers did
// meanwhile. A left press moves the focus to the control, then MouseDown goes to it; MouseUp goes
// to it on each release, and a command button clicks when the left button comes up over it after
// a left press on it. A disabled or hidden control, or one in a disabled or hidden container,
// gets nothing, its release included; nor does a window that is not shown, or that a modal
// window blocks (Platform::refuse). No press ever selects an option button: the handlers find
// one unselected, and MouseUp leaves it so.
//
// A platform that tells its pointers apart (a browser: the mouse, each finger, a pen) reports
// them by number: a pointer goes down with one button on the control under it, which holds the
// pointer; its further buttons (a chord) go down and up there, and its release comes back there.
// A pointer goes down only from up: a press of a pointer still down lost its release, which comes
// now, away from its control, as it does for a pointer whose release will never come.

#include <array>
#include <cstdint>
#include <map>
#include <optional>

namespace tarvo {

class Control;
class Window;
enum class MouseButton : std::uint8_t;

class MouseRoad {
public:
    // A button went down on `target`, a button control of `w`.
    void press(Window& w, Control& target, MouseButton b, int shift);
    // A button came up in `w`. `over`: the pointer is over the control its press went down on.
    void release(Window& w, MouseButton b, int shift, bool over);
    // `w` is no longer shown: the buttons held there reach nothing any more.
    void closed(const Window& w);

    // A pointer went down with button `b` on `target` (null, or no button: on nothing of the
    // program's).
    void pointerDown(int pointer, Control* target, std::optional<MouseButton> b, int shift);
    // A pointer came up with button `b` (none: the one it went down with), `under` the control
    // below it now. Returns the control that held it, null if none.
    Control* pointerUp(int pointer, std::optional<MouseButton> b, int shift, const Control* under);
    // A further button of a pointer that is down went down or up.
    void chord(int pointer, MouseButton b, bool down, int shift, const Control* under);
    // A pointer's release will never come: it lets go, away from its control.
    void letGo(int pointer);
    // Every pointer down lets go (the platform no longer hears them).
    void letGoAll();

private:
    // A button down: the window of its press, and the control it landed on (null: none).
    struct Down {
        bool down = false;
        const Window* in = nullptr;
        Control* on = nullptr;
    };
    std::array<Down, 3> down_ {}; // left, right, middle
    // A pointer down: the control that holds it and the button it went down with.
    struct Held {
        Control* on;
        MouseButton button;
    };
    std::map<int, Held> pointers_; // in the order of their numbers
};

} // namespace tarvo

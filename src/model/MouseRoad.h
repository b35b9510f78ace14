#pragma once
// The road of a mouse button through the windows of one platform, the same whatever reports it
// (the toolkit binding, or a test standing in for it). A touch or a pen is the left button.
//
// The first button to go down on a button control holds the pointer for it: every further press
// goes to that control, and every release comes back to it, until all buttons are up, wherever
// the pointer is and whatever the focus or the handlers did meanwhile. A left press moves the
// focus to the control, then MouseDown goes to it; MouseUp goes to it on each release, and a
// command button clicks when the left button comes up over it after a left press on it. A
// disabled or hidden control, or one in a disabled or hidden container, gets nothing; nor does a
// window that is not shown. No press ever selects an option button: the handlers find one
// unselected, and MouseUp leaves it so.

namespace tarvo {

class Control;
class Window;
enum class MouseButton;

class MouseRoad {
public:
    // A button went down on `target`, a button control of `w`.
    void press(Window& w, Control& target, MouseButton b, int shift);
    // A button came up. `over`: the pointer is still over the control it went down on.
    void release(Window& w, MouseButton b, int shift, bool over);
    // `w` is no longer shown: the pointer held there is free again.
    void closed(const Window& w);

    // The control holding the pointer while a button is down on it; null otherwise.
    Control* holder() const { return holder_; }

private:
    void forget();

    int down_ = 0; // the buttons down, as a mask of MouseButton values
    Window* in_ = nullptr; // the window of the press that holds the pointer
    Control* holder_ = nullptr; // null: the press reached no control (disabled, hidden, closed)
    bool left_ = false; // a left press reached the holder: its release over it clicks
};

} // namespace tarvo

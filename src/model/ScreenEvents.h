#pragma once
// The events object of a screen whose buttons have an input behaviour of their own: the screen
// keeps its life-cycle, change, timer and click events and hands the focus, key and mouse events
// to the input it owns. While it is alive it is its window's one events object.

#include "model/Window.h"

#include <memory>
#include <utility>

namespace tarvo {

class ScreenEvents : public WindowEvents {
public:
    explicit ScreenEvents(Window& w)
        : window_(w)
    {
        w.setEvents(this);
    }
    ~ScreenEvents() override
    {
        // A test may have put its own recorder in front of the screen: that one stays.
        if (&window_.events() == this)
            window_.setEvents(nullptr);
    }
    ScreenEvents(const ScreenEvents&) = delete;
    ScreenEvents& operator=(const ScreenEvents&) = delete;

    // Takes the input behaviour, replacing any earlier one; returns it, for its own queries.
    template <class Input> Input& useInput(std::unique_ptr<Input> input)
    {
        Input& kept = *input;
        input_ = std::move(input);
        return kept;
    }

    void gotFocus(Control& c) override { input().gotFocus(c); }
    void lostFocus(Control& c) override { input().lostFocus(c); }
    void keyDown(Control& c, int& keyCode, int shift) override
    {
        input().keyDown(c, keyCode, shift);
    }
    void keyPress(Control& c, int& keyAscii) override { input().keyPress(c, keyAscii); }
    void keyUp(Control* c, int keyCode, int shift) override { input().keyUp(c, keyCode, shift); }
    void mouseDown(Control& c, int button, int shift) override
    {
        input().mouseDown(c, button, shift);
    }
    void mouseUp(Control& c, int button, int shift) override { input().mouseUp(c, button, shift); }

private:
    WindowEvents& input()
    {
        static WindowEvents none;
        return input_ ? *input_ : none;
    }

    Window& window_;
    std::unique_ptr<WindowEvents> input_;
};

} // namespace tarvo

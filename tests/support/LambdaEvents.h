#pragma once
// Window events for tests, one slot per event. Made on a window, it stands in front of the events
// the window had (a screen's, or none): a slot that is set runs in place of the event, an unset
// one hands the event on to those; inner() reaches them from a slot that also wants them. It
// stays the window's events until the test puts others in front: the window must raise no event
// once it is gone (a window may itself go first, as a closed screen's does).

#include "model/Window.h"

#include <functional>

namespace tarvo::test {

class LambdaEvents final : public WindowEvents {
public:
    struct Slots {
        std::function<void()> load;
        std::function<void()> activate;
        std::function<void()> resize;
        std::function<void()> unload;
        std::function<void(Control&)> gotFocus;
        std::function<void(Control&)> lostFocus;
        std::function<void(Control&, int& keyCode, int shift)> keyDown;
        std::function<void(Control&, int& keyAscii)> keyPress;
        std::function<void(Control*, int keyCode, int shift)> keyUp;
        std::function<void(Control&, int button, int shift)> mouseDown;
        std::function<void(Control&, int button, int shift)> mouseUp;
        std::function<void(Control&)> change;
        std::function<void(Control&)> timer;
        std::function<void(Control&)> click;
    };
    Slots on;

    explicit LambdaEvents(Window& w);
    LambdaEvents(const LambdaEvents&) = delete;
    LambdaEvents& operator=(const LambdaEvents&) = delete;

    WindowEvents& inner() const { return inner_; }

    void load() override;
    void activate() override;
    void resize() override;
    void unload() override;
    void gotFocus(Control& c) override;
    void lostFocus(Control& c) override;
    void keyDown(Control& c, int& keyCode, int shift) override;
    void keyPress(Control& c, int& keyAscii) override;
    void keyUp(Control* c, int keyCode, int shift) override;
    void mouseDown(Control& c, int button, int shift) override;
    void mouseUp(Control& c, int button, int shift) override;
    void change(Control& c) override;
    void timer(Control& c) override;
    void click(Control& c) override;

private:
    WindowEvents& inner_;
};

} // namespace tarvo::test

#pragma once
// A stand-in for the toolkit in behaviour tests: it moves the focus at once (lost, then gained,
// before the request returns), refuses disabled or hidden controls, moves the focus on when the
// focused control is disabled or hidden (as a real toolkit does), and runs posted work on demand.

#include "model/Platform.h"
#include "model/Window.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvo::test {

class FakePlatform : public Platform {
public:
    // Shows the window at once: attaches it and watches it, as the binding would.
    void attach(Window& w);

    bool setFocus(Window& w, Control& c) override;
    void show(Window& w, bool modal) override;
    void raise(Window& w) override;
    void unload(Window& w) override;
    void post(std::function<void()> f) override;
    void quit() override { ++quits; }
    void announce(Window&, const std::string& words) override { announced.push_back(words); }

    // Runs the work posted so far (and what that work posts in turn).
    void runPosted();

    int quits = 0;
    std::vector<std::string> announced; // what a screen reader would have said, in order
    std::vector<Window*> shown;
    std::vector<Window*> modalShows;
    std::vector<Window*> unloaded;
    std::vector<Window*> raised;
    // Called inside a modal show, before it returns: a test closes the modal window here.
    std::function<void(Window&)> onModal;

private:
    void watch(Window& w);
    std::vector<std::function<void()>> posted_;
};

// Key presses and clicks as a person gives them to the focused control, along the platform's
// key road (a key pressed again before its release is its repeat).
void pressKey(Window& w, int keyCode, int keyAscii = 0); // KeyDown, then KeyPress if keyAscii
void releaseKey(Window& w, int keyCode);
void tapKey(Window& w, int keyCode, int keyAscii = 0); // press and release
void tapSpace(Window& w);
void tapEnter(Window& w);
// Mouse buttons along the platform's mouse road: a press on `c`, a release (`over` the control
// the press went down on), and the two together.
void mousePress(Window& w, Control& c, MouseButton b = MouseButton::Left);
void mouseRelease(Window& w, MouseButton b = MouseButton::Left, bool over = true);
void click(Window& w, Control& c, MouseButton b = MouseButton::Left);

} // namespace tarvo::test

#pragma once
// The browser behind every screen: shows any tarvo::Window as elements of the page built from its
// control tree (dom.js draws them), keeps them in step with the model through the window's
// observer, and turns the page's key, pointer, focus, resize and timer events into the model's.
// One platform per page; windows are unloaded (or destroyed) before it is.

#include "model/Platform.h"
#include "model/Reader.h"
#include "model/Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarvo::web {

class WebPlatform final : public Platform {
public:
    WebPlatform();
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    // The element of c takes the page's focus, and the model hears lost and gained before this
    // returns; false when the window is not shown or c cannot take the focus.
    bool setFocus(Window& w, Control& c) override;
    // Builds the window's elements and shows it in front: a modal window as a modal dialog over
    // the others, any other filling the page. Returns at once.
    void show(Window& w, bool modal) override;
    void raise(Window& w) override;
    // Stops the window's timers, detaches it from the model and removes its elements.
    void unload(Window& w) override;
    // Run from a fresh task of the page, after the current event.
    void post(std::function<void()> f) override;
    // Into the page's live region, which screen readers read out.
    void announce(Window& w, const std::string& words) override;
    // Every timer and listener is removed; the page says that the program has ended.
    void quit() override;

    // What the page reports (dom.js, through the exported functions in WebPlatform.cpp).
    void key(bool down, int physical, std::string_view code, std::string_view key, int shift,
        bool repeat);
    void pointer(bool down, int id, int button, int shift, bool over);
    void focusIn(int id);
    void resized(int win, int width, int height);
    // The page's viewport, in CSS pixels, and the height of a window's menu bar: the page is
    // zoomed out where the viewport is smaller than the screens need.
    void viewport(int width, int height, int bar);
    void timer(int id);
    void menu(int id);
    void lostKeyboard();
    void runPosted();

private:
    struct View;

    View* view(const Window& w) const;
    View* viewOf(int win) const;
    View* front() const;
    Control* control(int id, View** v = nullptr) const;
    void build(View& v);
    void addChildren(View& v, const Control* container, const std::vector<Control*>& drawn);
    void addElement(View& v, Control& c);
    ReaderRole roleOf(const Control& c) const;
    void updateReading(View& v);
    void render(View& v, Control& c);
    void renderTree(View& v, Control& c);
    void onChange(View& v, Control& c, Prop p);
    void updateTimer(View& v, Control& c);
    void repairFocus(View& v);
    void focusElement(View& v, Control* c);
    void toFront(View& v);
    void showFront();

    std::vector<std::unique_ptr<View>> views_; // in stacking order: the last lies in front
    std::unordered_map<const Window*, std::vector<std::string>> early_;
    std::vector<std::function<void()>> posted_;
    int nextId_ = 1;
    bool ended_ = false;
};

} // namespace tarvo::web

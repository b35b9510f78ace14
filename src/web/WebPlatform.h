#pragma once
// The browser behind every screen: shows any tarvo::Window as elements of the page built from its
// control tree, keeps them in step with the model through the window's observer, and turns the
// page's key, pointer, focus, resize and timer events into the model's (web/Page.h is the
// contract with the page). One platform per page; windows are unloaded (or destroyed) before it
// is. The platform is in three files: WebPlatform.cpp (the windows and their elements),
// PageEvents.cpp (the page's events), PageExports.cpp (the calls the page makes).

#include "model/Platform.h"
#include "model/Reader.h"
#include "model/Scale.h"
#include "model/Types.h"
#include "model/WindowStack.h"
#include "web/Changes.h"

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
    // Every timer and listener is removed; the page says that the program has ended.
    void quit() override;

    // The page's events (web/Page.h), in the model's terms; true where the program consumed it.
    struct Keys {
        bool shift = false;
        bool ctrl = false;
        bool alt = false;
        bool meta = false;
    };
    bool key(bool down, std::string_view code, std::string_view key, Keys held, bool repeat);
    bool pointerDown(int pointer, bool mouse, int button, int buttons, int target, int shift);
    bool pointerUp(int pointer, bool mouse, int button, int under, int shift, double time);
    void pointerMove(int pointer, bool mouse, int button, int buttons, int under, int shift);
    void pointerCancel(int pointer);
    void click(int target, int shift, double time);
    void focusIn(int target);
    void lostKeyboard();
    void resized(int win, int width, int height);
    void viewport(int width, int height, int bar);
    void timer(int id);
    void runPosted();

    // Sends the page what has changed, at the end of each event: its changes go together.
    void flush();
    // The size of each buffer the page writes its texts into (web/Page.h: tarvo_text).
    static constexpr int TextBytes = 64;
    // The platform of the page, null before it is made and once it is gone.
    static WebPlatform* current() { return current_; }

private:
    // One shown window on the page.
    struct View {
        Window* window = nullptr;
        int id = 0;
        bool modal = false;
        std::unordered_map<const Control*, int> ids;
        std::unordered_map<const Control*, int> z; // paint order among its container's controls
        std::unordered_map<const Control*, std::string> words; // what the page reads of it now
        // What the page has of each element: the JSON value of each field of "set" sent.
        std::unordered_map<const Control*, std::unordered_map<std::string, std::string>> sent;
        Control* mark = nullptr; // the button that shows the focus mark
        bool menubar = false;
        bool readingDue = false; // its words to be read again at the end of the event
        bool reported = false;
        int width = 0;
        int height = 0;
    };
    // What an element's number names.
    struct Named {
        View* view = nullptr;
        Control* control = nullptr;
    };

    void speak(Window& w, const std::string& words) override;
    void send(Record r);

    View* view(const Window& w) const;
    View* viewOf(int win) const;
    View* front() const;
    Named element(int id) const;
    Control* buttonAt(int id) const;
    void build(View& v);
    void addChildren(View& v, const Control* container, const std::vector<Control*>& drawn);
    void addElement(View& v, Control& c);
    void addEntry(View& v, Control& c);
    // Each writes into r what the page does not have yet of c; true when it wrote anything.
    bool put(Record& r, View& v, const Control& c, const std::string& name, std::string value);
    bool addReading(Record& r, View& v, const Control& c);
    ReaderRole roleOf(const Control& c) const;
    void updateReading(View& v);
    bool addLook(Record& r, View& v, const Control& c);
    void render(View& v, Control& c);
    void renderTree(View& v, Control& c);
    void renderEntry(View& v, Control& c);
    void onChange(View& v, Control& c, Prop p);
    void updateTimer(View& v, Control& c);
    void repairFocus(View& v);
    void focusElement(View& v, Control* c);
    void resize(View& v, int width, int height);
    void toFront(Window& w);
    void restack();
    void showFront();

    WindowStack stack_;
    std::unordered_map<const Window*, std::unique_ptr<View>> views_;
    std::unordered_map<int, Named> elements_;
    std::vector<std::function<void()>> posted_;
    Changes changes_;
    std::unordered_map<std::string, int> physical_; // KeyboardEvent.code -> physical key
    struct Click {
        int id = 0;
        double time = 0;
    };
    Click recent_; // the button a pointer last came up on, and when
    ViewportFit fit_;
    int bar_ = 0; // a menu bar's height
    int nextId_ = 1;
    bool ended_ = false;
    static WebPlatform* current_;
};

} // namespace tarvo::web

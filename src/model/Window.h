#pragma once
// One screen: its window properties, its controls in a fixed collection order, the focus, and the
// one receiver of its events. The toolkit binding raises events through the raise* calls;
// behaviour reacts as a WindowEvents. Nothing here knows any toolkit.

#include "model/Control.h"
#include "model/Palette.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

class Platform;

struct WindowDef {
    std::string_view name;
    std::string_view title;
    int clientWidth = 0; // twips, at design time
    int clientHeight = 0;
    Bgr back = ColoreNormale;
    bool maximised = false; // else centred on the screen
    bool hasIcon = false;
    bool resizable = true;
};

// The events of one window, as the binding raises them. One object per window receives them all:
// the screen's behaviour, which hands the focus, key and mouse events on to its input collaborator
// itself. A single interface with empty defaults (as a toolkit's own virtual event handlers) lets
// "go to definition" follow every event to one place, and no two objects can fight over a slot.
// One interface rather than one per collaborator: the input behaviours take the same seven focus,
// key and mouse events on every screen, so a split would only name those seven twice.
// Control arrays share one handler that receives the control, whose index() tells which member it
// is.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void load() { }
    virtual void activate() { }
    virtual void resize() { }
    virtual void unload() { }
    virtual void gotFocus(Control&) { }
    virtual void lostFocus(Control&) { }
    // keyCode and keyAscii may be written: 0 swallows the key.
    virtual void keyDown(Control&, int& /*keyCode*/, int /*shift*/) { }
    virtual void keyPress(Control&, int& /*keyAscii*/) { }
    // The release may come while no control has the focus (null then): latches must still clear.
    virtual void keyUp(Control*, int /*keyCode*/, int /*shift*/) { }
    virtual void mouseDown(Control&, int /*button*/, int /*shift*/) { }
    virtual void mouseUp(Control&, int /*button*/, int /*shift*/) { }
    virtual void change(Control&) { } // a label's caption changed
    virtual void timer(Control&) { }
    virtual void click(Control&) { } // menu entries and command buttons
};

enum class MouseButton : std::uint8_t { Left = 1, Right = 2, Middle = 4 };

class Window {
public:
    explicit Window(const WindowDef& def);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window();

    const std::string& name() const { return name_; }
    const std::string& title() const { return title_; }
    Bgr backColor() const { return back_; }
    bool maximised() const { return maximised_; }
    bool hasIcon() const { return hasIcon_; }
    bool resizable() const { return resizable_; }
    int designWidth() const { return designWidth_; }
    int designHeight() const { return designHeight_; }

    // Building: controls are added in collection order; a container must be added before the
    // controls it holds.
    Control& add(const ControlDef& def);

    // Lookup by name and array index (-1 for a control that is no array member). Behaviour
    // resolves the controls it uses once, when its screen is built, so that a name missing from
    // a table fails there and never on a press.
    Control& at(std::string_view name, int index = -1); // throws std::out_of_range if absent
    const Control& at(std::string_view name, int index = -1) const;
    Control* find(std::string_view name, int index = -1);
    const Control* find(std::string_view name, int index = -1) const;
    // Members of one control array, by index order.
    std::vector<Control*> array(std::string_view name);
    std::vector<const Control*> array(std::string_view name) const;
    // Members 0..N-1 of a control array; throws std::out_of_range naming the first one absent.
    template <std::size_t N> std::array<Control*, N> members(std::string_view name)
    {
        std::array<Control*, N> list {};
        for (std::size_t i = 0; i < N; ++i)
            list[i] = &at(name, static_cast<int>(i));
        return list;
    }

    std::size_t count() const { return controls_.size(); }
    Control& item(std::size_t position) { return *controls_.at(position); }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // The client area in twips, and the window's outer width (client plus frame).
    int innerWidth() const { return innerWidth_; }
    int innerHeight() const { return innerHeight_; }
    int outerWidth() const { return innerWidth_ + frameWidth_; }
    // Set by the binding before it raises Resize; re-docks the docked picture boxes.
    void setInnerSize(int width, int height);
    void setFrameWidth(int twips) { frameWidth_ = twips; }

    // The one receiver of this window's events; null (the default) ignores them all. The window
    // does not own it, and it must outlive its time here.
    void setEvents(WindowEvents* events) { events_ = events; }
    WindowEvents& events() const;

    // The platform this window is shown on; null until attached, and again once it is closed.
    void attach(Platform* platform);
    Platform* platform() const { return platform_; }

    // Focus.
    Control* focused() const { return focused_; }
    bool hasFocus(const Control& c) const { return focused_ == &c; }
    // Asks the platform to move the focus; false (nothing changes) where the control cannot take
    // it: not a button, disabled, hidden, or no platform.
    bool setFocus(Control& c);
    bool canTakeFocus(const Control& c) const;
    // The option button an arrow key moves to from `from`: the next (direction 1) or previous
    // (-1) by index in the same container that can take the focus, wrapping; null if none.
    Control* nextInGroup(const Control& from, int direction) const;
    // The button the tab key moves to from `from`: the next (direction 1) or previous (-1) in tab
    // order that can take the focus, wrapping; from the first (or last) when `from` is null or
    // has no tab stop. Null if none can.
    Control* nextInTabOrder(const Control* from, int direction) const;
    // The buttons with a tab stop, in tab order.
    std::vector<Control*> tabChain() const;
    // The focused control (or a container of it) was disabled or hidden: the focus must move on,
    // to focusHeir(), as the toolkit moves it in an active window; to no control if that is null.
    bool focusNeedsRepair() const { return focused_ && !canTakeFocus(*focused_); }
    Control* focusHeir() const { return nextInTabOrder(focused_, 1); }
    // The window has just shown: unless a control has the focus, the first button in tab order
    // that takes it gets it.
    void takeFirstFocus();

    // Property observer for the binding: one per window.
    std::function<void(Control&, Prop)> observer;
    // Asked when the user closes the window from its frame; the program unloads the screen.
    std::function<void()> closeRequested;

    // Events, raised by the binding (or by tests standing in for it).
    void raiseLoad();
    void raiseActivate();
    void raiseResize();
    void raiseUnload();
    // Focus reports from the platform: lost on the old control, then gained on the new one.
    void focusMovedTo(Control* c);
    void raiseKeyDown(Control& c, int& keyCode, int shift = 0);
    void raiseKeyPress(Control& c, int& keyAscii);
    void raiseKeyUp(Control* c, int keyCode, int shift = 0);
    void raiseMouseDown(Control& c, MouseButton b, int shift = 0);
    void raiseMouseUp(Control& c, MouseButton b, int shift = 0);
    void raiseTimer(Control& timer);
    void raiseClick(Control& c);

private:
    friend class Control;
    void notify(Control& c, Prop p);
    // The lookups behind at, find and array, for both constnesses (the window owns its controls).
    Control* lookup(std::string_view name, int index) const;
    Control& lookupOrThrow(std::string_view name, int index) const;
    std::vector<Control*> membersOf(std::string_view name) const;

    std::string name_;
    std::string title_;
    Bgr back_;
    bool maximised_;
    bool hasIcon_;
    bool resizable_;
    int designWidth_;
    int designHeight_;
    int innerWidth_;
    int innerHeight_;
    int frameWidth_ = 0;
    std::vector<std::unique_ptr<Control>> controls_;
    Control* focused_ = nullptr;
    Platform* platform_ = nullptr;
    WindowEvents* events_ = nullptr;
};

} // namespace tarvo

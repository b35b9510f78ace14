#pragma once
// What behaviour asks of the toolkit and of the world outside the program. The Qt binding
// implements Platform; tests use a small fake. Behaviour never talks to a toolkit directly.

#include "model/KeyRoad.h"
#include "model/MouseRoad.h"
#include "model/Reader.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tarvo {

class Window;
class Control;

// What a platform whose page outlives the program (a browser's) shows once it has ended, in the
// program's language: the page's title, a heading and what to do to start again.
struct Farewell {
    std::string title;
    std::string heading;
    std::string advice;
};

class Platform {
public:
    virtual ~Platform() = default;
    // Moves the focus to c, reporting lost and gained to the window before returning. False where
    // c cannot take it (the window has already checked enabled and visible).
    virtual bool setFocus(Window& w, Control& c) = 0;
    // Shows the window and returns at once. A modal window is presented as modal (in front of
    // the others); the refusal of input to the others is the model's, through setModal.
    virtual void show(Window& w, bool modal) = 0;
    // Brings an already shown window to the front.
    virtual void raise(Window& w) = 0;
    // Closes and forgets the window; the window object itself is still alive when this returns.
    virtual void unload(Window& w) = 0;
    // Runs f once the current event has been handled (never inside the caller).
    virtual void post(std::function<void()> f) = 0;
    // Tells a screen reader, if one listens, what an action of the pupil has just changed; the
    // screen shows it already. Words said for a window that does not show yet (from its Load)
    // are said once it shows (through speak), and not at all if it closes first.
    virtual void announce(Window& w, const std::string& words);
    // Every screen is closed: the program ends with exit code 0.
    virtual void quit() = 0;

    // What a screen reader hears of the windows shown here, handed over by the program, which
    // keeps it alive while set; null (the default): the platform's plain captions only.
    void setReader(const Reader* reader) { reader_ = reader; }
    const Reader* reader() const { return reader_; }

    // The road of every key into the windows shown here: one for them all, since a key held
    // down may go down in one window and repeat or come up in another.
    KeyRoad& keys() { return keys_; }
    // The road of every mouse button, touch and pen press into the windows shown here.
    MouseRoad& mouse() { return mouse_; }

    // The window shown modally, null while none is. Meanwhile no other window takes a key press,
    // a mouse press or a close: refuse() says so to whoever brings one.
    void setModal(Window* w) { modal_ = w; }
    Window* modal() const { return modal_; }
    // True when input for `w` must go nowhere, a modal window other than `w` being open; that
    // window is brought to the front, where the input belongs (also for a mere activation of
    // `w`, so that no window of the program is left shown and dead).
    bool refuse(Window& w)
    {
        if (!modal_ || modal_ == &w)
            return false;
        raise(*modal_);
        return true;
    }

    // The binding has shown `w` (and not closed it since).
    bool shows(const Window& w) const { return showing_.contains(&w); }

    void setFarewell(Farewell f) { farewell_ = std::move(f); }
    const Farewell& farewell() const { return farewell_; }

protected:
    // What a reader hears now, of a window that shows. Platforms without a reader say nothing.
    virtual void speak(Window& w, const std::string& words)
    {
        (void)w;
        (void)words;
    }
    // Told by a binding once the window shows (the words it was told before are spoken now) and
    // once it has closed.
    void showing(Window& w);
    void closed(const Window& w);

private:
    KeyRoad keys_;
    MouseRoad mouse_;
    Window* modal_ = nullptr;
    const Reader* reader_ = nullptr;
    Farewell farewell_;
    std::unordered_set<const Window*> showing_;
    std::unordered_map<const Window*, std::vector<std::string>> early_;
};

// Time of day, the only seed of the random generator.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() = 0; // with its fractional part
};

// A uniform pseudo-random source in [0, 1), reseeded from the time of day by its caller.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(double seconds) = 0;
    virtual double next() = 0; // 0 <= r < 1
};

// Opening a named file for reading and closing it at once.
class FileProbe {
public:
    virtual ~FileProbe() = default;
    // True when the file could be opened for reading (it is closed again before returning).
    virtual bool probeReadable(const std::string& name) = 0;
};

} // namespace tarvo

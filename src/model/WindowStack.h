#pragma once
// The order of the shown windows, back to front, for a platform that stacks them itself (a
// browser page; a desktop's window manager stacks its own): a modal window stays in front of every
// other, and a window shown or brought to the front goes in front of the others that are not
// modal, behind the modal ones.

#include <vector>

namespace tarvo {

class Window;

class WindowStack {
public:
    struct Entry {
        Window* window;
        bool modal;
    };

    // `w` shows, in front of its layer; a window already stacked is brought to the front.
    void show(Window& w, bool modal);
    // A stacked window to the front of its layer; false for one not stacked.
    bool raise(const Window& w);
    void remove(const Window& w);

    bool contains(const Window& w) const;
    // The window in front of all; null when none shows.
    Window* front() const;
    // The frontmost window that is not modal: the one that fills a page, the others waiting
    // behind it; null when there is none.
    Window* frontPlain() const;
    const std::vector<Entry>& backToFront() const { return entries_; }

private:
    void insert(Entry e);

    std::vector<Entry> entries_;
};

} // namespace tarvo

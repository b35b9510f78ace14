#include "model/WindowStack.h"

#include <algorithm>

namespace tarvo {

void WindowStack::insert(Entry e)
{
    auto at = entries_.end();
    if (!e.modal)
        at = std::find_if(entries_.begin(), entries_.end(), [](const Entry& o) { return o.modal; });
    entries_.insert(at, e);
}

void WindowStack::show(Window& w, bool modal)
{
    if (!raise(w))
        insert({ &w, modal });
}

bool WindowStack::raise(const Window& w)
{
    const auto it = std::find_if(
        entries_.begin(), entries_.end(), [&w](const Entry& e) { return e.window == &w; });
    if (it == entries_.end())
        return false;
    const Entry e = *it;
    entries_.erase(it);
    insert(e);
    return true;
}

void WindowStack::remove(const Window& w)
{
    std::erase_if(entries_, [&w](const Entry& e) { return e.window == &w; });
}

bool WindowStack::contains(const Window& w) const
{
    return std::any_of(
        entries_.begin(), entries_.end(), [&w](const Entry& e) { return e.window == &w; });
}

Window* WindowStack::front() const
{
    return entries_.empty() ? nullptr : entries_.back().window;
}

Window* WindowStack::frontPlain() const
{
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (!it->modal)
            return it->window;
    return nullptr;
}

} // namespace tarvo

#include "model/Platform.h"

namespace tarvo {

void Platform::announce(Window& w, const std::string& words)
{
    if (showing_.contains(&w))
        speak(w, words);
    else
        early_[&w].push_back(words);
}

void Platform::showing(Window& w)
{
    showing_.insert(&w);
    if (auto early = early_.extract(&w))
        for (const std::string& words : early.mapped())
            speak(w, words);
}

void Platform::closed(const Window& w)
{
    showing_.erase(&w);
    early_.erase(&w);
}

} // namespace tarvo

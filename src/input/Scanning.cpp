#include "input/Scanning.h"

namespace tarvo {

int nextScanTarget(Window& w, std::string_view name, int count, int from)
{
    if (count <= 0)
        return -1;
    int i = from;
    // Bounded by one full turn: a group whose buttons are all disabled ends the search instead of
    // looping for ever.
    for (int steps = 0; steps < count; ++steps) {
        i = i + 1 >= count ? 0 : i + 1;
        Control* c = w.find(name, i);
        if (c && w.canTakeFocus(*c))
            return i;
    }
    return -1;
}

bool scanStep(Window& w, std::string_view name, int count, int from)
{
    const int target = nextScanTarget(w, name, count, from);
    return target >= 0 && w.setFocus(w.at(name, target));
}

} // namespace tarvo

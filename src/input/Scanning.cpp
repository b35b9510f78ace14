#include "input/Scanning.h"

namespace tarvo {

int nextScanTarget(const Window& w, std::span<Control* const> group, int from)
{
    const int count = static_cast<int>(group.size());
    int i = from;
    // Bounded by one full turn: a group whose buttons are all disabled ends the search instead of
    // looping for ever.
    for (int steps = 0; steps < count; ++steps) {
        i = i + 1 >= count ? 0 : i + 1;
        if (w.canTakeFocus(*group[static_cast<std::size_t>(i)]))
            return i;
    }
    return -1;
}

bool scanStep(Window& w, std::span<Control* const> group, int from)
{
    const int target = nextScanTarget(w, group, from);
    return target >= 0 && w.setFocus(*group[static_cast<std::size_t>(target)]);
}

} // namespace tarvo

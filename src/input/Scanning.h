#pragma once
// One scanning step within a button group: the next enabled button after the focused one, in
// index order, wrapping at the end.

#include "model/Window.h"

#include <span>

namespace tarvo {

// Index of the button that a SPACE on button `from` of `group` (its members by index) moves to:
// the next enabled one, wrapping; `from` itself when it is the only enabled one, and -1 when none
// can take the focus.
int nextScanTarget(const Window& w, std::span<Control* const> group, int from);

// Performs the step: moves the focus there. False when nothing could take it.
bool scanStep(Window& w, std::span<Control* const> group, int from);

} // namespace tarvo

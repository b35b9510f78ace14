#pragma once
// One scanning step within a button group: the next enabled button after the focused one, in
// index order, wrapping at the end.

#include "model/Window.h"

#include <string_view>

namespace tarvo {

// Index of the button that a SPACE on button `from` of the group `name` (members 0..count-1)
// moves to: the next enabled one, wrapping; `from` itself when it is the only enabled one, and
// -1 when none can take the focus.
int nextScanTarget(Window& w, std::string_view name, int count, int from);

// Performs the step: moves the focus there. False when nothing could take it.
bool scanStep(Window& w, std::string_view name, int count, int from);

} // namespace tarvo

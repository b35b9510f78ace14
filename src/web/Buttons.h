#pragma once
// What a browser's PointerEvent says of its button, in the model's terms.

#include "model/Window.h"

#include <optional>

namespace tarvo::web {

// The model's button for PointerEvent.button of a press, a release or a chord; none for the side
// buttons ("back", "forward" and beyond), which are none of the program's. A touch or a pen is
// the left button. `buttons` is PointerEvent.buttons: WebKitGTK reports a side button's press as
// the left's, with the left one's bit not set.
std::optional<MouseButton> buttonOf(bool mouse, bool press, int button, int buttons);
// Whether PointerEvent.buttons holds `b` down.
bool holds(int buttons, MouseButton b);
// A side button, whose own action (the browser's back and forward) the page must not take.
bool isSideButton(int button);

} // namespace tarvo::web

#pragma once
// The highlight is the focus, drawn: the focused button wears the highlight colour, every other
// button the normal colour, and no button ever stays selected.

#include "model/Control.h"
#include "model/Palette.h"

namespace tarvo {

// GotFocus and LostFocus of every button group.
void onGotFocus(Control& button);
void onLostFocus(Control& button);

} // namespace tarvo

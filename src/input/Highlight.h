#pragma once
// The highlight is the focus, drawn: the focused button wears the highlight colour, every other
// button the normal colour, and no button ever stays selected.

#include "model/Control.h"

namespace tarvo {

inline constexpr Bgr ColoreNormale = 0x00C0E0FF; // pale peach: the buttons' own background
inline constexpr Bgr ColoreEvidenziato = 0x0080C0FF; // light orange: the focused button

// GotFocus and LostFocus of every button group.
void onGotFocus(Control& button);
void onLostFocus(Control& button);

} // namespace tarvo

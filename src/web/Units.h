#pragma once
// The model's units in the page's: twips to CSS pixels (96 to the inch, 15 twips to a pixel;
// the browser's zoom and device pixels are its own business), 0x00BBGGRR colours to CSS.

#include "model/Scale.h"
#include "model/Types.h"

#include <string>

namespace tarvo::web {

// CSS pixels: 96 to the inch.
inline constexpr Scale cssPixels;

std::string css(Bgr c);
// As the desktop toolkit lightens and darkens a face for its bevel: the HSV value times (or
// divided by) factor / 100, the saturation giving way where the value would pass 255.
Bgr lighter(Bgr c, int factor);
Bgr darker(Bgr c, int factor);

} // namespace tarvo::web

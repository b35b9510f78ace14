#pragma once
// The model's units in the page's: twips to CSS pixels (96 to the inch, 15 twips to a pixel;
// the browser's zoom and device pixels are its own business), 0x00BBGGRR colours and lengths to
// CSS text.

#include "model/Scale.h"
#include "model/Types.h"

#include <string>

namespace tarvo::web {

// CSS pixels: 96 to the inch.
inline constexpr Scale cssPixels;

// "#rrggbb".
std::string css(Bgr c);
// A length or a factor for CSS, to a thousandth (or to `places` decimals): "8.25", "-0.5", "12".
std::string number(double v, int places = 3);

} // namespace tarvo::web

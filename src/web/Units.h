#pragma once
// The model's units in the page's: twips to CSS pixels (96 to the inch, 15 twips to a pixel;
// the browser's zoom and device pixels are its own business), 0x00BBGGRR colours to CSS.

#include "model/Types.h"

#include <string>

namespace tarvo::web {

constexpr int TwipsPerPx = 15;

int px(int twips);
int twips(int px);
// Edges are rounded, not sizes, so that controls that touch in twips also touch on screen.
struct PxRect {
    int x, y, w, h;
};
PxRect pxRect(const Twips& r);

std::string css(Bgr c);
// As the desktop toolkit lightens and darkens a face for its bevel: the HSV value times (or
// divided by) factor / 100, the saturation giving way where the value would pass 255.
Bgr lighter(Bgr c, int factor);
Bgr darker(Bgr c, int factor);

} // namespace tarvo::web

#pragma once
// Twips in a toolkit's pixels at one logical DPI (96 gives 15 twips to a pixel, as CSS pixels
// are). Edges are rounded, not sizes, so that controls that touch in twips also touch on screen.

#include "model/Types.h"

namespace tarvo {

struct PxRect {
    int x, y, w, h;
};

class Scale {
public:
    constexpr explicit Scale(double logicalDpi = 96.0)
        : dpi_(logicalDpi > 0 ? logicalDpi : 96.0)
    {
    }
    double dpi() const { return dpi_; }
    int px(int twips) const;
    int twips(int px) const;
    PxRect rect(const Twips& r) const;
    // A length given in pixels at 96 DPI (border widths), at this DPI; never below 1 when n > 0.
    double lineWidth(int px96) const;
    int bevel() const; // one bevel line of a raised or sunken edge, in pixels

private:
    double dpi_;
};

} // namespace tarvo

#pragma once
// Twips in a toolkit's pixels at one logical DPI (96 gives 15 twips to a pixel, as CSS pixels
// are). Edges are rounded, not sizes, so that controls that touch in twips also touch on screen.

#include "model/Types.h"

namespace tarvo {

struct PxRect {
    int x, y, w, h;
};

// The smallest client area of a main screen at which every caption shows whole at its font's size
// (900 x 720 pixels at 96 DPI). A browser's viewport below it, a tablet held upright or a phone, is
// zoomed out as a whole until it holds that much, as a browser zooms out a page too wide for it;
// at this size and above nothing is zoomed.
inline constexpr int SmallestClientWidth = 13500; // twips
inline constexpr int SmallestClientHeight = 10800;

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
    // The zoom, at most 1, that gives a viewport of `width` x `height` pixels the smallest client
    // area, its windows' menu bar (`bar` pixels high, zoomed with them) aside.
    double zoomToFit(int width, int height, int bar) const;

private:
    double dpi_;
};

} // namespace tarvo

#pragma once
// Twips in a toolkit's pixels at one logical DPI (96 gives 15 twips to a pixel, as CSS pixels
// are). Edges are rounded, not sizes, so that controls that touch in twips also touch on screen.

#include "model/Types.h"

namespace tarvo {

struct PxRect {
    int x, y, w, h;
};

// The smallest client area of a main screen at which every caption shows whole at its font's size
// (900 x 720 pixels at 96 DPI), and the narrowest proportion of a desktop's screen (5:4), at which
// the tarvo's rays still stand around its ring. A browser's viewport narrower than that (a tablet
// held upright, a phone) shows the window at that proportion, across the viewport's width and
// centred down it; one smaller than the client area is zoomed out as a whole until it holds it,
// as a browser zooms out a page too wide for it. A desktop's screen is shown as it is.
inline constexpr int SmallestClientWidth = 13500; // twips
inline constexpr int SmallestClientHeight = 10800;
inline constexpr double NarrowestProportion = 5.0 / 4.0; // width to height

// Where a window stands in a viewport, in the viewport's pixels: zoomed by `zoom`, it is `width` x
// `height` pixels before the zoom, its top edge `top` pixels down the viewport.
struct ViewportFit {
    double zoom = 1.0;
    double width = 0.0;
    double height = 0.0;
    double top = 0.0;
    bool operator==(const ViewportFit&) const = default;
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
    // A full-page window in a viewport of `width` x `height` pixels, its menu bar (`bar` pixels
    // high, zoomed with it) aside.
    ViewportFit fit(int width, int height, int bar) const;

private:
    double dpi_;
};

} // namespace tarvo

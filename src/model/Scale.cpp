#include "model/Scale.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

int Scale::px(int twips) const
{
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

int Scale::twips(int px) const
{
    return static_cast<int>(std::lround(px * 1440.0 / dpi_));
}

PxRect Scale::rect(const Twips& r) const
{
    const int x = px(r.left);
    const int y = px(r.top);
    return { x, y, px(r.left + r.width) - x, px(r.top + r.height) - y };
}

double Scale::lineWidth(int px96) const
{
    if (px96 <= 0)
        return 0.0;
    return std::max(1.0, px96 * dpi_ / 96.0);
}

int Scale::bevel() const
{
    return std::max(1, static_cast<int>(std::lround(dpi_ / 96.0)));
}

ViewportFit Scale::fit(int width, int height, int bar) const
{
    // A viewport of no area (a minimised window) has nothing to fit.
    if (width <= 0 || height <= 0)
        return { 1.0, double(std::max(0, width)), double(std::max(0, height)), 0.0 };
    const double tall = std::min(double(height), width / NarrowestProportion);
    const double zoom = std::min({ 1.0, width / double(px(SmallestClientWidth)),
        tall / double(px(SmallestClientHeight) + std::max(0, bar)) });
    return { zoom, width / zoom, tall / zoom, (height - tall) / 2 };
}

} // namespace tarvo

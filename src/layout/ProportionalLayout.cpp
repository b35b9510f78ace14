#include "layout/ProportionalLayout.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {
// A single-precision product to whole twips, to nearest (ties to even), kept in int range.
int toTwips(float inner, float fraction)
{
    const float v = inner * fraction;
    constexpr float limit = 1.0e9f;
    if (!(v > -limit))
        return v != v ? 0 : -static_cast<int>(limit);
    if (v > limit)
        return static_cast<int>(limit);
    return static_cast<int>(std::nearbyint(v));
}
} // namespace

void ProportionalLayout::capture(const Window& w)
{
    proporzioni_.assign(w.count(), {});
    for (std::size_t i = 0; i < w.count(); ++i) {
        const Control& c = *w.controls()[i];
        // Each quotient reads the inner size afresh; a zero size is a failing division,
        // skipped like a missing property: the field keeps its 0.
        const auto iw = static_cast<float>(w.innerWidth());
        const auto ih = static_cast<float>(w.innerHeight());
        ProporzioniControllo& p = proporzioni_[i];
        if (!c.hasGeometry())
            continue;
        if (iw != 0.0f) {
            p.Width = static_cast<float>(c.width()) / iw;
            p.Left = static_cast<float>(c.left()) / iw;
        }
        if (ih != 0.0f) {
            p.Height = static_cast<float>(c.height()) / ih;
            p.Top = static_cast<float>(c.top()) / ih;
        }
    }
}

void ProportionalLayout::apply(Window& w) const
{
    const std::size_t n = std::min(w.count(), proporzioni_.size());
    for (std::size_t i = 0; i < n; ++i) {
        Control& c = w.item(i);
        if (!c.hasGeometry())
            continue;
        const auto iw = static_cast<float>(w.innerWidth());
        const auto ih = static_cast<float>(w.innerHeight());
        const ProporzioniControllo& p = proporzioni_[i];
        c.move({ toTwips(iw, p.Left), toTwips(ih, p.Top), toTwips(iw, p.Width),
            toTwips(ih, p.Height) });
    }
}

} // namespace tarvo

#include "web/Units.h"

#include <algorithm>
#include <cmath>

namespace tarvo::web {

namespace {

struct Hsv {
    int h; // -1 for grey
    int s;
    int v;
};

Hsv toHsv(Bgr c)
{
    const int r = redOf(c), g = greenOf(c), b = blueOf(c);
    const int max = std::max({ r, g, b }), min = std::min({ r, g, b });
    const int delta = max - min;
    Hsv out { -1, max == 0 ? 0 : (255 * delta + max / 2) / max, max };
    if (delta == 0)
        return out;
    double h = 0;
    if (r == max)
        h = double(g - b) / delta;
    else if (g == max)
        h = 2 + double(b - r) / delta;
    else
        h = 4 + double(r - g) / delta;
    h *= 60;
    if (h < 0)
        h += 360;
    out.h = static_cast<int>(std::lround(h)) % 360;
    return out;
}

Bgr fromHsv(const Hsv& in)
{
    const double v = in.v / 255.0;
    const double s = in.s / 255.0;
    double r = v, g = v, b = v;
    if (in.h >= 0 && in.s > 0) {
        const double h = in.h / 60.0;
        const int i = static_cast<int>(h) % 6;
        const double f = h - std::floor(h);
        const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
        switch (i) {
        case 0:
            r = v;
            g = t;
            b = p;
            break;
        case 1:
            r = q;
            g = v;
            b = p;
            break;
        case 2:
            r = p;
            g = v;
            b = t;
            break;
        case 3:
            r = p;
            g = q;
            b = v;
            break;
        case 4:
            r = t;
            g = p;
            b = v;
            break;
        default:
            r = v;
            g = p;
            b = q;
            break;
        }
    }
    const auto byte
        = [](double x) { return static_cast<Bgr>(std::clamp(std::lround(x * 255), 0L, 255L)); };
    return byte(r) | byte(g) << 8 | byte(b) << 16;
}

} // namespace

std::string css(Bgr c)
{
    // By hand: printf would be the largest code in the page, and the slowest to start.
    std::string text = "#";
    for (const int byte : { redOf(c), greenOf(c), blueOf(c) }) {
        text += "0123456789abcdef"[byte >> 4];
        text += "0123456789abcdef"[byte & 15];
    }
    return text;
}

Bgr lighter(Bgr c, int factor)
{
    Hsv hsv = toHsv(c);
    int v = hsv.v * factor / 100;
    if (v > 255) {
        hsv.s = std::max(0, hsv.s - (v - 255));
        v = 255;
    }
    hsv.v = v;
    return fromHsv(hsv);
}

Bgr darker(Bgr c, int factor)
{
    Hsv hsv = toHsv(c);
    hsv.v = hsv.v * 100 / factor;
    return fromHsv(hsv);
}

} // namespace tarvo::web

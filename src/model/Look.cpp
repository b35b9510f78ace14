#include "model/Look.h"

#include <cmath>

namespace tarvo::look {

namespace {

// The toolkit shades in 16-bit components with single-precision arithmetic; so does this, so that
// a bevel comes out as the desktop draws it, to the last bit.
constexpr int Full = 0xFFFF;
constexpr int Grey = -1; // the hue of a colour that has none

struct Hsv {
    int hue; // hundredths of a degree, or Grey
    int saturation; // 0..Full
    int value; // 0..Full
};

float wide(int byte)
{
    return static_cast<float>(byte * 257) / Full;
}

int word(float fraction)
{
    return static_cast<int>(std::lround(fraction * Full));
}

int byteOf(int word)
{
    return (word + 128) / 257;
}

Hsv toHsv(Bgr c)
{
    const float r = wide(redOf(c)), g = wide(greenOf(c)), b = wide(blueOf(c));
    const float max = std::max({ r, g, b });
    const float delta = max - std::min({ r, g, b });
    Hsv out { Grey, 0, word(max) };
    if (delta == 0)
        return out;
    out.saturation = word(delta / max);
    float hue = r == max ? (g - b) / delta : g == max ? 2 + (b - r) / delta : 4 + (r - g) / delta;
    hue *= 60;
    if (hue < 0)
        hue += 360;
    out.hue = static_cast<int>(std::lround(hue * 100));
    return out;
}

Bgr fromHsv(const Hsv& in)
{
    auto bgr = [](int r, int g, int b) {
        return static_cast<Bgr>(byteOf(r) | byteOf(g) << 8 | byteOf(b) << 16);
    };
    if (in.saturation == 0 || in.hue == Grey)
        return bgr(in.value, in.value, in.value);
    const float h = in.hue == 36000 ? 0 : static_cast<float>(in.hue) / 6000;
    const float s = static_cast<float>(in.saturation) / Full;
    const float v = static_cast<float>(in.value) / Full;
    const int sector = static_cast<int>(h);
    const float f = h - static_cast<float>(sector);
    const int p = word(v * (1 - s)), q = word(v * (1 - s * f)), t = word(v * (1 - s * (1 - f)));
    const int top = word(v);
    switch (sector) {
    case 0:
        return bgr(top, t, p);
    case 1:
        return bgr(q, top, p);
    case 2:
        return bgr(p, top, t);
    case 3:
        return bgr(p, q, top);
    case 4:
        return bgr(t, p, top);
    default:
        return bgr(top, p, q);
    }
}

} // namespace

Edge raised(Bgr face)
{
    return { 0x00FFFFFF, 0x00000000, lighter(face, 110), darker(face, 160) };
}

Bgr lighter(Bgr c, int factor)
{
    Hsv hsv = toHsv(c);
    int value = factor * hsv.value / 100;
    if (value > Full) {
        hsv.saturation = std::max(0, hsv.saturation - (value - Full));
        value = Full;
    }
    hsv.value = value;
    return fromHsv(hsv);
}

Bgr darker(Bgr c, int factor)
{
    Hsv hsv = toHsv(c);
    hsv.value = hsv.value * 100 / factor;
    return fromHsv(hsv);
}

} // namespace tarvo::look

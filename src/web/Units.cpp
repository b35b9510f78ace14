#include "web/Units.h"

#include <cmath>

namespace tarvo::web {

// By hand: printf would be the largest code in the page, and the slowest to start.

std::string css(Bgr c)
{
    std::string text = "#";
    for (const int byte : { redOf(c), greenOf(c), blueOf(c) }) {
        text += "0123456789abcdef"[byte >> 4];
        text += "0123456789abcdef"[byte & 15];
    }
    return text;
}

std::string number(double v, int places)
{
    long long scale = 1;
    for (int i = 0; i < places; ++i)
        scale *= 10;
    const long long parts = std::llround(std::abs(v) * static_cast<double>(scale));
    std::string text = (v < 0 && parts ? "-" : "") + std::to_string(parts / scale);
    if (long long rest = parts % scale) {
        text += '.';
        for (long long unit = scale / 10; rest; unit /= 10) {
            text += static_cast<char>('0' + rest / unit);
            rest %= unit;
        }
    }
    return text;
}

} // namespace tarvo::web

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

std::string number(double v)
{
    const long long thousandths = std::llround(std::abs(v) * 1000);
    std::string text = (v < 0 && thousandths ? "-" : "") + std::to_string(thousandths / 1000);
    if (int rest = static_cast<int>(thousandths % 1000)) {
        text += '.';
        for (int unit = 100; rest; unit /= 10) {
            text += static_cast<char>('0' + rest / unit);
            rest %= unit;
        }
    }
    return text;
}

} // namespace tarvo::web

#pragma once
// The latches of one button group, through which one press of a key gives one action: both are
// set by the press and cleared only by a release.

namespace tarvo {

struct Latches {
    bool key = false; // set by an admitted key: the group ignores keys until a release
    bool space = false; // set by a scanning step: SPACE held down moves one button only
};

} // namespace tarvo

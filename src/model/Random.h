#pragma once
// The program's own random source and clock: a small generator reseeded from the time of day at
// every tarvo, and the local wall clock.

#include "model/Platform.h"

#include <cstdint>

namespace tarvo {

// xorshift64* seeded from the bits of the seed; uniform doubles in [0, 1).
class SeededRandom final : public RandomSource {
public:
    void seed(double seconds) override;
    double next() override;

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

class SystemClock final : public Clock {
public:
    double secondsSinceMidnight() override;
};

} // namespace tarvo

#include "model/Random.h"

#include <chrono>
#include <cstring>
#include <ctime>

namespace tarvo {

namespace {
std::uint64_t splitmix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}
} // namespace

void SeededRandom::seed(double seconds)
{
    std::uint64_t bits = 0; // the double's own bits, as bit_cast would give them
    static_assert(sizeof bits == sizeof seconds);
    std::memcpy(&bits, &seconds, sizeof bits);
    state_ = splitmix(bits);
    if (state_ == 0)
        state_ = 0x9E3779B97F4A7C15ull; // xorshift must never hold zero
}

double SeededRandom::next()
{
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    const std::uint64_t bits = state_ * 0x2545F4914F6CDD1Dull;
    // The top 53 bits give every double of [0, 1) on an even grid; 1.0 is never reached.
    return static_cast<double>(bits >> 11) * 0x1.0p-53;
}

double SystemClock::secondsSinceMidnight()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local {};
    localtime_r(&t, &local);
    const auto sub = duration_cast<microseconds>(now.time_since_epoch()) % seconds(1);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec
        + static_cast<double>(sub.count()) / 1e6;
}

} // namespace tarvo

#pragma once
// What must hold after every event of a random soak, whatever the input was: checked on the
// start and game screens of a running Program. Shared by the soak on the control model and the
// soak through real Qt events.

#include "Describe.h"
#include "Doubles.h"
#include "app/Program.h"
#include "model/Random.h"

#include <cstdint>
#include <deque>
#include <random>
#include <string>

namespace tarvo::soak {

// The seed of a run: $TARVO_SOAK_SEED when set (decimal), else `fallback`.
std::uint64_t seedFromEnvironment(std::uint64_t fallback);
// The number of events of a run: $TARVO_SOAK_EVENTS when set, else `fallback`.
long eventsFromEnvironment(long fallback);

// The program's own generator, remembering the centre number each tarvo was made from: a tarvo
// is generated right after the generator is reseeded.
class WatchedRandom final : public RandomSource {
public:
    void watch(const Module1* state) { state_ = state; }
    void seed(double seconds) override;
    double next() override { return inner_.next(); }

    int centreAtGeneration() const { return centre_; }
    long generations() const { return generations_; }

private:
    SeededRandom inner_;
    const Module1* state_ = nullptr;
    int centre_ = -1;
    long generations_ = 0;
};

// A clock that moves on by a random step at every reading, wrapping at midnight.
class SteppingClock final : public Clock {
public:
    explicit SteppingClock(std::uint64_t seed)
        : rng_(seed)
    {
    }
    double secondsSinceMidnight() override;

private:
    std::mt19937_64 rng_;
    double now_ = 43200.0;
};

// The last few events, for the report of a failure.
class EventLog {
public:
    void add(std::string what);
    std::string tail() const;

private:
    std::deque<std::string> last_;
};

// Every invariant of the start and game screens of `p` (those loaded); the description of the
// first one broken, or empty.
std::string checkProgram(Program& p, const WatchedRandom& rng);

} // namespace tarvo::soak

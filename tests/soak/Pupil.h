#pragma once
// The soaks' shared ways of choosing input. A pupil who knows what to do, now and then, so that the
// random input reaches the game, its checks, the celebration and the endings often. Both soaks plan
// with it and turn its moves into events of their own layer (key codes and model events, or Qt keys
// and Qt events).

#include "game/GameState.h"
#include "screens/ScreenHost.h"

#include <random>

namespace tarvo::soak {

// A key the pupil taps, by what it means; the soak picks the modifiers the program ignores.
enum class PupilKey { Digit, KeypadDigit, KeypadStar, Return, A, N, E };

// What the pupil does, turned by each soak into events of its own. Each call queues its events.
class PupilHands {
public:
    virtual void bringForward(ScreenId win) = 0; // makes the window active
    virtual void waitTick(ScreenId win) = 0; // one tick of one of the window's timers
    virtual void tap(ScreenId win, PupilKey key, int digit) = 0;
    virtual void pressButton(ScreenId win, const char* control, int index) = 0;

protected:
    ~PupilHands() = default;
};

// The next moves: with no game open (and now and then anyway) choose a tarvo and open it, by
// keys or by mouse; at the end of a tarvo start a new one or leave; else answer the current ray,
// mostly right.
void planPupil(bool gameOpen, const Module1& state, std::mt19937_64& rng, PupilHands& hands);

// A button of the window for a random press: any, disabled ones included, but "Esci" seldom, as
// it ends the program.
struct Target {
    const char* control;
    int index;
};
Target randomTarget(ScreenId win, std::mt19937_64& rng);

} // namespace tarvo::soak

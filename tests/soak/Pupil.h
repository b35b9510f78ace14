#pragma once
// A pupil who knows what to do, now and then, so that the random input reaches the game, its
// checks, the celebration and the endings often. Both soaks plan with it and turn its moves into
// events of their own layer (key codes and model events, or Qt keys and Qt events).

#include "game/GameState.h"
#include "model/ScreenHost.h"

#include <random>
#include <vector>

namespace tarvo::soak {

struct Move {
    enum class Kind { Activate, Ticks, Tap, Press };
    // Tap: the key, by what it means; the soak picks the modifiers the program ignores.
    enum class Key { Digit, KeypadDigit, KeypadStar, Return, A, N, E };

    Kind kind;
    ScreenId win;
    Key key = Key::Return;
    int value = 0; // Tap: the digit; Press: the button's index; Ticks: how many
    const char* control = nullptr; // Press: the button's control array
};

// The next moves: with no game open (and now and then anyway) choose a tarvo and open it, by
// keys or by mouse; at the end of a tarvo start a new one or leave; else answer the current ray,
// mostly right.
std::vector<Move> planPupil(bool gameOpen, const Module1& state, std::mt19937_64& rng);

} // namespace tarvo::soak

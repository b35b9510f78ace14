#include "Pupil.h"

#include "game/GameScreen.h"

#include <string>

namespace tarvo::soak {

void planPupil(bool gameOpen, const Module1& st, std::mt19937_64& rng, PupilHands& hands)
{
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto chance = [&rng](double p) { return std::bernoulli_distribution(p)(rng); };
    using K = PupilKey;

    if (!gameOpen || chance(0.05)) {
        constexpr ScreenId start = ScreenId::Inizio;
        const int choice = pick(11);
        hands.bringForward(start);
        if (chance(0.5)) {
            if (choice == 10)
                hands.tap(start, K::KeypadStar, 0);
            else
                hands.tap(start, K::KeypadDigit, choice);
            for (int i = 0; i < 3; ++i)
                hands.tap(start, K::Return, 0);
        } else {
            hands.pressButton(start, "Option1", choice);
            hands.pressButton(start, "Option2", 0);
        }
        return;
    }
    constexpr ScreenId game = ScreenId::Operativo;
    hands.bringForward(game);
    if (st.RaggioCorrente == 8) {
        // The celebration blinks a while first.
        for (int i = 0; i < 3; ++i)
            hands.waitTick(game);
        const bool again = chance(0.9);
        if (chance(0.5)) {
            hands.tap(game, again ? K::N : K::E, 0);
            hands.tap(game, K::Return, 0);
        } else {
            hands.pressButton(game, "Option1", again ? TastoNuovoTarvo : TastoEsco);
        }
        return;
    }
    int answer = st.Risultati[static_cast<std::size_t>(st.RaggioCorrente)];
    if (chance(0.1))
        answer = pick(25);
    const bool byMouse = chance(0.3);
    for (char d : std::to_string(answer)) {
        if (byMouse)
            hands.pressButton(game, "Option1", d - '0');
        else
            hands.tap(game, chance(0.5) ? K::Digit : K::KeypadDigit, d - '0');
    }
    if (byMouse) {
        hands.pressButton(game, "Option1", TastoAvanti);
    } else {
        hands.tap(game, K::A, 0);
        hands.tap(game, K::Return, 0);
    }
}

Target randomTarget(ScreenId win, std::mt19937_64& rng)
{
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto chance = [&rng](double p) { return std::bernoulli_distribution(p)(rng); };
    switch (win) {
    case ScreenId::Inizio: {
        if (chance(0.85))
            return { "Option1", pick(11) };
        const int index = pick(3);
        return { "Option2", index == 2 && chance(0.75) ? pick(2) : index };
    }
    case ScreenId::Operativo:
        return { "Option1", pick(NumeroTasti) };
    default:
        return { "Command1", -1 }; // the one command button of a modal screen
    }
}

} // namespace tarvo::soak

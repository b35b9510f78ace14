#include "Pupil.h"

#include "game/GameScreen.h"

#include <string>

namespace tarvo::soak {

std::vector<Move> planPupil(bool gameOpen, const Module1& st, std::mt19937_64& rng)
{
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto chance = [&rng](double p) { return std::bernoulli_distribution(p)(rng); };
    using K = Move::Key;
    std::vector<Move> plan;
    const auto tap = [&plan](ScreenId id, K key, int digit = 0) {
        plan.push_back({ .kind = Move::Kind::Tap, .win = id, .key = key, .value = digit });
    };
    const auto press = [&plan](ScreenId id, const char* control, int index) {
        plan.push_back(
            { .kind = Move::Kind::Press, .win = id, .value = index, .control = control });
    };

    if (!gameOpen || chance(0.05)) {
        const int choice = pick(11);
        plan.push_back({ .kind = Move::Kind::Activate, .win = ScreenId::Inizio });
        if (chance(0.5)) {
            if (choice == 10)
                tap(ScreenId::Inizio, K::KeypadStar);
            else
                tap(ScreenId::Inizio, K::KeypadDigit, choice);
            for (int i = 0; i < 3; ++i)
                tap(ScreenId::Inizio, K::Return);
        } else {
            press(ScreenId::Inizio, "Option1", choice);
            press(ScreenId::Inizio, "Option2", 0);
        }
        return plan;
    }
    constexpr ScreenId game = ScreenId::Operativo;
    plan.push_back({ .kind = Move::Kind::Activate, .win = game });
    if (st.RaggioCorrente == 8) {
        // The celebration blinks a while first.
        plan.push_back({ .kind = Move::Kind::Ticks, .win = game, .value = 3 });
        const bool again = chance(0.9);
        if (chance(0.5)) {
            tap(game, again ? K::N : K::E);
            tap(game, K::Return);
        } else {
            press(game, "Option1", again ? TastoNuovoTarvo : TastoEsco);
        }
        return plan;
    }
    int answer = st.Risultati[static_cast<std::size_t>(st.RaggioCorrente)];
    if (chance(0.1))
        answer = pick(25);
    const bool byMouse = chance(0.3);
    for (char d : std::to_string(answer)) {
        if (byMouse)
            press(game, "Option1", d - '0');
        else
            tap(game, chance(0.5) ? K::Digit : K::KeypadDigit, d - '0');
    }
    if (byMouse) {
        press(game, "Option1", TastoAvanti);
    } else {
        tap(game, K::A);
        tap(game, K::Return);
    }
    return plan;
}

} // namespace tarvo::soak

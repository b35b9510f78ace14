#pragma once
// The exercise's shared state: one set for the whole run, written by the start screen (the
// centre number only) and by the game screen. The types are the exact widths the rules rely on:
// 16-bit signed integers, unsigned bytes, and 16-bit Booleans (0 false, -1 true).

#include <array>
#include <cstdint>
#include <string>

namespace tarvo {

inline constexpr std::int16_t True = -1;
inline constexpr std::int16_t False = 0;
// The mark of a value already drawn in Estratti: compared exactly, case-sensitive.
inline constexpr const char* Si = "si";

struct Module1 {
    std::int16_t NumeroCentrale = 0; // centre number N, 10..20 once chosen
    std::int16_t RaggioCorrente = 0; // current ray 0..7; 8 only after a fully right check
    std::array<std::uint8_t, 10> Sottraendi {}; // subtrahend of ray i (entries 8, 9 unused)
    std::array<std::uint8_t, 10> Risultati {}; // expected answer of ray i (entries 8, 9 unused)
    std::uint8_t NumeroEstratto = 0; // the value just drawn
    std::array<std::string, 12> Estratti {}; // "si" for each value drawn in this tarvo
    std::uint8_t ContaLampeggi = 0; // blink ticks since the last reset; wraps after 255
    std::array<std::int16_t, 4> VelocitaTessera {}; // vertical step of each letter tile
    std::int16_t FaseControllo = False; // true once the pupil has moved past the last ray
};

} // namespace tarvo

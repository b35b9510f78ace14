#pragma once
// Every colour the screens and the behaviour use (0x00BBGGRR), one name per value. Roles that
// share a value share its name: the normal colour is also every main screen's background, the
// highlight colour also the title panel's shadow, light yellow also the game's ring.

#include "model/Types.h"

namespace tarvo {

inline constexpr Bgr ColoreNormale = 0x00C0E0FF; // pale apricot: backgrounds, unfocused buttons
inline constexpr Bgr ColoreEvidenziato = 0x0080C0FF; // light orange: the focused button
inline constexpr Bgr GialloChiaro = 0x0080FFFF; // light yellow: answer cells after a reset, ring
inline constexpr Bgr ColoreGiusto = 0x0000F5F5; // yellow: an answer found right
inline constexpr Bgr ColoreSbagliato = 0x000073FF; // orange: the first answer found wrong
inline constexpr Bgr GialloPallido = 0x00C0FFFF; // pale yellow: one of the two blink colours
inline constexpr Bgr Giallo = 0x0000FFFF; // yellow: the other blink colour, the centre disc
inline constexpr Bgr Orchidea = 0x00FF80FF; // orchid pink: the curtains
inline constexpr Bgr Ruggine = 0x000040C0; // rust orange: the centre disc's border
inline constexpr Bgr Rosso = 0x000000FF; // red: the range banner
inline constexpr Bgr RosaChiaro = 0x00FFC0FF; // light pink: the letter tiles' circles
inline constexpr Bgr RossoScuro = 0x000000C0; // dark red
inline constexpr Bgr BluScuro = 0x00C00000; // dark blue
inline constexpr Bgr Blu = 0x00800000; // navy
inline constexpr Bgr Ciano = 0x00FFFFC0; // pale cyan: the small screens' background
inline constexpr Bgr Acqua = 0x00FFFF80; // aqua: the close buttons

} // namespace tarvo

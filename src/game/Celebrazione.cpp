// The celebration of a fully right tarvo: the blink of cells and frame, the end-of-tarvo keypad
// and the bounce of the letter tiles B, E, N, E.
#include "game/GameScreen.h"

#include <array>

namespace tarvo {

void GameScreen::onTimer(Control& c)
{
    if (&c == &Timer3)
        Lampeggio();
    else if (&c == &Timer2)
        Rimbalzo();
}

void GameScreen::Lampeggio()
{
    // Only the parity matters: the byte wraps from 255 to 0 and the alternation goes on.
    s_.ContaLampeggi = static_cast<std::uint8_t>(s_.ContaLampeggi + 1);
    if (s_.ContaLampeggi % 2 == 0) {
        Frame1.setBackColor(GialloPallido);
        for (int i = 0; i < 8; ++i)
            cella(i).setBackColor(Giallo);
    } else {
        for (int i = 0; i < 8; ++i)
            cella(i).setBackColor(GialloPallido);
        Frame1.setBackColor(Giallo);
    }
    TastierinoFinale();
}

void GameScreen::TastierinoFinale()
{
    for (int i = 0; i <= TastoAvanti; ++i)
        tasto(i).setEnabled(false);
    tasto(TastoNuovoTarvo).setEnabled(true);
    tasto(TastoEsco).setEnabled(true);
    // Fails while the screen is not the active window: the focus then stays where it is.
    w_.setFocus(tasto(TastoNuovoTarvo));
}

void GameScreen::Rimbalzo()
{
    // Right to left, as the tiles were always moved; move all four first, then test.
    static constexpr std::array<int, 4> ordine { 3, 2, 1, 0 };
    // The complement (-v - 1, not -v) makes a tile rise one twip faster than it falls.
    auto gira = [](std::int16_t& v) { v = static_cast<std::int16_t>(~v); };
    for (int t : ordine) {
        Control& tessera = *Frame2[t];
        tessera.setTop(tessera.top() + s_.VelocitaTessera[t]);
    }
    // A tile turns only at the bound it is heading for. Tested whatever its direction, a tile
    // that turned up to one twip above the top (or below the bottom) is still beyond it on the
    // way back, turns again at every tick and creeps out of the picture for good.
    std::array<bool, 4> scende {};
    for (int t : ordine)
        scende[t] = s_.VelocitaTessera[t] > 0;
    const int altezza = Picture11.height();
    for (int t : ordine) {
        const Control& tessera = *Frame2[t];
        if (scende[t] && altezza - tessera.height() <= tessera.top())
            gira(s_.VelocitaTessera[t]);
    }
    for (int t : ordine) {
        if (!scende[t] && Frame2[t]->top() <= 0)
            gira(s_.VelocitaTessera[t]);
    }
}

} // namespace tarvo

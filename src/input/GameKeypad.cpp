#include "input/GameKeypad.h"

#include "input/Highlight.h"
#include "input/Scanning.h"

#include <algorithm>
#include <cstdint>

namespace tarvo {

namespace {
enum class Tasto : std::uint8_t {
    Rifiutato,
    Cifra,
    Cancella,
    Avanti,
    Nuovo,
    Esco,
    Indietro,
    Invio,
    Libero
};

struct Lettura {
    Tasto tasto = Tasto::Rifiutato;
    int cifra = -1;
};

struct Voce {
    int keyCode;
    Tasto tasto;
};

// The keys that are not digits. The arrows are left to the toolkit's own move within the group;
// V and F2 pass through.
constexpr Voce kTasti[] = {
    { vk::C, Tasto::Cancella },
    { vk::A, Tasto::Avanti },
    { vk::N, Tasto::Nuovo },
    { vk::E, Tasto::Esco },
    { vk::Back, Tasto::Indietro },
    { vk::Return, Tasto::Invio },
    { vk::Left, Tasto::Libero },
    { vk::Up, Tasto::Libero },
    { vk::Right, Tasto::Libero },
    { vk::Down, Tasto::Libero },
    { vk::V, Tasto::Libero },
    { vk::F2, Tasto::Libero },
};

// What a KeyDown code means to the keypad. Letters come by key, so SHIFT, CTRL and ALT are never
// looked at.
Lettura leggi(int keyCode)
{
    if (keyCode >= vk::Digit0 && keyCode <= vk::Digit0 + 9)
        return { Tasto::Cifra, keyCode - vk::Digit0 };
    if (keyCode >= vk::Numpad0 && keyCode <= vk::Numpad0 + 9)
        return { Tasto::Cifra, keyCode - vk::Numpad0 };
    for (const Voce& v : kTasti)
        if (v.keyCode == keyCode)
            return { v.tasto };
    return {};
}
} // namespace

GameKeypad::GameKeypad(Window& frmOperativo, GameScreen& game)
    : w_(frmOperativo)
    , game_(game)
    , Option1(frmOperativo.members<NumeroTasti>("Option1"))
{
}

void GameKeypad::gotFocus(Control& c)
{
    if (isKey(c))
        onGotFocus(c);
}

void GameKeypad::lostFocus(Control& c)
{
    if (isKey(c))
        onLostFocus(c);
}

bool GameKeypad::isKey(const Control& c) const
{
    return std::find(Option1.begin(), Option1.end(), &c) != Option1.end();
}

bool GameKeypad::focusIfEnabled(int index)
{
    Control& b = *Option1.at(index);
    if (!b.enabled())
        return false;
    w_.setFocus(b);
    return true;
}

void GameKeypad::KeyDown(Control& button, int& keyCode, int /*shift*/)
{
    if (latches_.key || !isKey(button))
        return;
    const Lettura k = leggi(keyCode);
    if (k.tasto == Tasto::Rifiutato) {
        keyCode = 0;
        return;
    }
    // Latched before the action: "Esco" may tear the screen down, and nothing may touch this
    // object after it. No action reads the latch, so the order changes nothing else.
    latches_.key = true;
    switch (k.tasto) {
    case Tasto::Cifra:
        // The digit is written even when its button is disabled; only the focus move asks.
        game_.AggiungiCifra(static_cast<char>('0' + k.cifra));
        focusIfEnabled(k.cifra);
        break;
    case Tasto::Cancella:
        if (focusIfEnabled(TastoCancella))
            game_.CancellaCifra(true);
        break;
    case Tasto::Avanti:
        focusIfEnabled(TastoAvanti);
        break;
    case Tasto::Nuovo:
        focusIfEnabled(TastoNuovoTarvo);
        break;
    case Tasto::Esco:
        focusIfEnabled(TastoEsco);
        break;
    case Tasto::Indietro:
        game_.CancellaCifra(false);
        break;
    case Tasto::Invio:
        game_.Premi(button.index());
        break;
    case Tasto::Libero:
    case Tasto::Rifiutato:
        break;
    }
}

void GameKeypad::KeyPress(Control& button, int& keyAscii)
{
    if (latches_.space || !isKey(button))
        return;
    // Every character but SPACE was dealt with in KeyDown.
    if (keyAscii != ' ') {
        keyAscii = 0;
        return;
    }
    scanStep(w_, Option1, button.index());
    latches_.space = true;
}

void GameKeypad::KeyUp(Control* /*button*/, int /*keyCode*/, int /*shift*/)
{
    latches_ = {};
}

void GameKeypad::MouseDown(Control& button, int /*mouseButton*/, int /*shift*/)
{
    // Any mouse button acts; a disabled button never receives the press.
    if (isKey(button))
        game_.Premi(button.index());
}

void GameKeypad::MouseUp(Control& button, int /*mouseButton*/, int /*shift*/)
{
    if (isKey(button))
        button.setValue(false);
}

} // namespace tarvo

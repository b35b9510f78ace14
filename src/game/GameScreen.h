#pragma once
// The game screen's behaviour: makes a tarvo, takes the answers into the current answer cell,
// checks them, celebrates a fully right tarvo and closes every screen when it closes. It is the
// window's one events object: Load, Resize, Unload, Change, Timer and the menu Click are its own;
// the focus, key and mouse events go to the keypad given by useInput() (GameKeypad), which comes
// back through the public routines below. The window must outlive it.

#include "game/GameState.h"
#include "layout/ProportionalLayout.h"
#include "model/Palette.h"
#include "model/Platform.h"
#include "model/ScreenEvents.h"
#include "model/ScreenHost.h"
#include "model/Window.h"

#include <array>

namespace tarvo {

// The keypad buttons with an action of their own besides the ten digits.
inline constexpr int TastoCancella = 10;
inline constexpr int TastoAvanti = 11;
inline constexpr int TastoNuovoTarvo = 12;
inline constexpr int TastoEsco = 13;
inline constexpr int NumeroTasti = 14;

// The centre numbers a tarvo can be made for: the answer of every ray stays in 0..19.
inline constexpr int MinimoCentrale = 10;
inline constexpr int MassimoCentrale = 20;

class GameScreen final : public ScreenEvents {
public:
    // Resolves the controls below: throws std::out_of_range, naming it, for one the table lacks.
    GameScreen(
        Window& frmOperativo, Module1& state, ScreenHost& host, Clock& clock, RandomSource& rng);
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    // Puts the screen and the state back to the start of an exercise and makes a new tarvo.
    void NuovoTarvo();
    // Digits and "Cancella" enabled; "Avanti", "Nuovo tarvo" and "Esco" disabled.
    void AbilitaTastierino();
    // Draws eight different subtrahends of 1..10 (reseeding once from the time of day) and fills
    // the rays. A centre number outside 10..20 is drawn for as the nearest of 10 and 20, which is
    // also what the centre then shows; NumeroCentrale itself is left as it is.
    void GeneraRaggi();

    // Edits of the current answer cell. Both do nothing while no ray is current (after a fully
    // right check) and AggiungiCifra ignores anything but '0'..'9'.
    void AggiungiCifra(char digit);
    void CancellaCifra(bool regolaAvanti);

    // "Avanti": the next ray, or the check once every ray has been entered.
    void Avanza();
    // Checks from ray 0 and stops at the first wrong answer; all right starts the celebration.
    void ControllaRisposte();
    // The end-of-tarvo keypad: only "Nuovo tarvo" (focused) and "Esco" enabled.
    void TastierinoFinale();

    // The ticks of Timer3 (blink) and Timer2 (bounce).
    void Lampeggio();
    void Rimbalzo();

    // The action of keypad button `index` (0..13), as ENTER on it or a mouse press performs it.
    void Premi(int index);

    // The window's events, public so that the binding's order of events can be replayed.
    void Load();
    void Resize();
    void Unload();
    void load() override { Load(); }
    void resize() override { Resize(); }
    void unload() override { Unload(); }
    void change(Control& c) override { onChange(c); }
    void timer(Control& c) override { onTimer(c); }
    void click(Control& c) override { onClick(c); }

    const ProportionalLayout& layout() const { return layout_; }

private:
    Control& cella(int ray) { return *lblRisultato.at(ray); }
    Control& tasto(int index) { return *Option1.at(index); }
    bool isCella(const Control& c) const;
    bool raggioValido() const { return s_.RaggioCorrente >= 0 && s_.RaggioCorrente <= 7; }
    // Hands the words to the platform for a screen reader (Annunci.h).
    void annuncia(const std::string& words);
    void onChange(Control& c);
    void onTimer(Control& c);
    void onClick(Control& c);

    Window& w_;
    Module1& s_;
    ScreenHost& host_;
    Clock& clock_;
    RandomSource& rng_;
    ProportionalLayout layout_;

    // The window's controls this behaviour uses, by the table's names.
    Control& Label1; // the centre number
    std::array<Control*, 8> Label2; // each ray's subtrahend
    std::array<Control*, 8> lblSegno; // each ray's "-"
    std::array<Control*, 8> lblUguale; // each ray's "="
    std::array<Control*, 8> lblRisultato; // each ray's answer cell
    std::array<Control*, NumeroTasti> Option1; // the keypad: digits, then Tasto* above
    Control& Frame1; // the tarvo's frame, blinking in the celebration
    std::array<Control*, 4> Frame2; // the letter tiles B, E, N, E
    Control& Picture11; // the box the tiles bounce in
    Control& Timer2; // the bounce's tick
    Control& Timer3; // the blink's tick
    Control& mnuIstruzioni; // the menu entry opening the instructions
};

} // namespace tarvo

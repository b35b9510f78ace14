#pragma once
// The start screen's behaviour: the choice of the tarvo, the three commands, the version label,
// the settings probe, the proportional layout with its curtains, the "Autore" menu and the
// closing of every screen when the start screen closes.

#include "app/Curtains.h"
#include "game/GameState.h"
#include "input/StartInput.h"
#include "layout/ProportionalLayout.h"
#include "model/Platform.h"
#include "model/ScreenEvents.h"
#include "model/ScreenHost.h"
#include "model/Window.h"

#include <array>
#include <cstdint>
#include <string>

namespace tarvo {

// The window's one events object: Load, Activate, Resize, Unload, the curtain timer and the menu
// Click are its own; the buttons' input goes to the StartInput given by useInput().
class StartScreen final : public ScreenEvents, public StartCommands {
public:
    static constexpr const char* FileImpostazioni = "ImpostazioniVa.dat";

    // Resolves the controls below: throws std::out_of_range, naming it, for one the table lacks.
    StartScreen(Window& frmInizio, Module1& state, ScreenHost& host, FileProbe& probe);
    StartScreen(const StartScreen&) = delete;
    StartScreen& operator=(const StartScreen&) = delete;

    // The `Label1` caption that names the tarvo of choice button `index`; empty outside 0..10.
    static std::string captionFor(std::int16_t index);

    // Index 0..10: centre number 10 + index and its caption; any index: "10" not selected and
    // the focus to "Vai".
    void ScegliTarvo(std::int16_t index) override;
    // 0 "Vai" (opens the game screen once a tarvo is chosen, else leads back to "10"),
    // 1 "Ripristina" (focus to "10"), 2 "Esci" (closes the start screen); others nothing.
    void EseguiComando(std::int16_t index) override;
    // Closes the start screen, the author screen and the game screen, in this order.
    void ChiudiSchermate();
    void VerificaEsistenzaFile(const std::string& fileName);

    const ProportionalLayout& layout() const { return layout_; }
    Curtains& curtains() { return curtains_; }

    void load() override;
    void activate() override { focusFirstChoice(); }
    void resize() override;
    void unload() override { ChiudiSchermate(); }
    void timer(Control& t) override;
    void click(Control& c) override;

private:
    void focusFirstChoice();

    Window& window_;
    Module1& state_;
    ScreenHost& host_;
    FileProbe& probe_;
    ProportionalLayout layout_;
    Curtains curtains_;

    // The window's controls this behaviour uses, by the table's names.
    Control& Label1; // names the tarvo chosen
    Control& Label7; // the version label
    std::array<Control*, 11> Option1; // the choice buttons "10" .. "20"
    std::array<Control*, 3> Option2; // the commands "Vai", "Ripristina", "Esci"
    Control& timerTendine; // the curtains' tick
    Control& mnuInfo; // the menu entry opening the author screen
};

} // namespace tarvo

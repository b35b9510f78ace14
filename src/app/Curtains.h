#pragma once
// The start screen's opening curtains: two panels docked to the left and right edges close over
// the window at every resize and draw back 75 twips per panel at each tick of `timerTendine`.
// The panels always have the same width, never a negative one, and the timer always stops.

#include "model/Window.h"

namespace tarvo {

class Curtains {
public:
    static constexpr int Passo = 75; // twips per tick and per panel
    static constexpr int Soglia = 10; // the animation ends at or below this width

    // Resolves the window's `Picture1`, `Picture2`, `timerTendine` and `frame1`: throws
    // std::out_of_range, naming it, for one the table lacks.
    explicit Curtains(Window& frmInizio);

    // Both panels to half the outer width, timer running (restarts a running animation).
    void AvviaTendine();
    // One tick of `timerTendine`.
    void tick();
    bool running() const { return timerTendine.enabled(); }

private:
    // The window's controls, by the table's names.
    Control& Picture1; // the left curtain
    Control& Picture2; // the right curtain
    Control& timerTendine; // the tick that draws them back
    Control& frame1; // the choices behind them, enabled once they are open
    Window& window_;
};

} // namespace tarvo

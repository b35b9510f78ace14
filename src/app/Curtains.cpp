#include "app/Curtains.h"

namespace tarvo {

Curtains::Curtains(Window& frmInizio)
    : Picture1(frmInizio.at("Picture1"))
    , Picture2(frmInizio.at("Picture2"))
    , timerTendine(frmInizio.at("timerTendine"))
    , frame1(frmInizio.at("frame1"))
    , window_(frmInizio)
{
}

void Curtains::AvviaTendine()
{
    // Half the outer width: a little more than half the client area, so the panels overlap.
    Picture1.setWidth(window_.outerWidth() / 2);
    Picture2.setWidth(window_.outerWidth() / 2);
    timerTendine.setEnabled(true);
}

void Curtains::tick()
{
    // A refused step (it would go below zero) leaves both panels as they are.
    if (Picture1.setWidth(Picture1.width() - Passo))
        Picture2.setWidth(Picture2.width() - Passo);
    // Stop once no full step remains as well: a remainder above the threshold would otherwise
    // keep the timer ticking with nothing left to move.
    const int rest = Picture1.width();
    if (rest <= Soglia || rest < Passo)
        timerTendine.setEnabled(false);
    if (!timerTendine.enabled())
        frame1.setEnabled(true);
}

} // namespace tarvo

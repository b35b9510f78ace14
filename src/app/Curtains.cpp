#include "app/Curtains.h"

namespace tarvo {

Curtains::Curtains(Window& frmInizio)
    : picture1_(frmInizio.at("Picture1"))
    , picture2_(frmInizio.at("Picture2"))
    , timer_(frmInizio.at("timerTendine"))
    , frame1_(frmInizio.at("frame1"))
    , window_(frmInizio)
{
}

void Curtains::AvviaTendine()
{
    // Half the outer width: a little more than half the client area, so the panels overlap.
    picture1_.setWidth(window_.outerWidth() / 2);
    picture2_.setWidth(window_.outerWidth() / 2);
    timer_.setEnabled(true);
}

void Curtains::tick()
{
    // A refused step (it would go below zero) leaves both panels as they are.
    if (picture1_.setWidth(picture1_.width() - Passo))
        picture2_.setWidth(picture2_.width() - Passo);
    // Stop once no full step remains as well: a remainder above the threshold would otherwise
    // keep the timer ticking with nothing left to move.
    const int rest = picture1_.width();
    if (rest <= Soglia || rest < Passo)
        timer_.setEnabled(false);
    if (!timer_.enabled())
        frame1_.setEnabled(true);
}

} // namespace tarvo

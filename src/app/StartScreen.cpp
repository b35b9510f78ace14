#include "app/StartScreen.h"

namespace tarvo {

StartScreen::StartScreen(Window& frmInizio, Module1& state, ScreenHost& host, FileProbe& probe)
    : ScreenEvents(frmInizio)
    , window_(frmInizio)
    , state_(state)
    , host_(host)
    , probe_(probe)
    , curtains_(frmInizio)
    , Label1(frmInizio.at("Label1"))
    , Label7(frmInizio.at("Label7"))
    , Option1(frmInizio.members<11>("Option1"))
    , Option2(frmInizio.members<3>("Option2"))
    , timerTendine(frmInizio.at("timerTendine"))
    , mnuInfo(frmInizio.at("mnuInfo"))
{
}

void StartScreen::resize()
{
    layout_.apply(window_);
    curtains_.AvviaTendine();
}

void StartScreen::timer(Control& t)
{
    if (&t == &timerTendine)
        curtains_.tick();
}

void StartScreen::click(Control& c)
{
    if (&c != &mnuInfo)
        return;
    host_.show(ScreenId::Autore, true);
    // Back from the modal author screen: the pupil starts again from the first choice.
    if (host_.isLoaded(ScreenId::Inizio))
        focusFirstChoice();
}

std::string StartScreen::captionFor(std::int16_t index)
{
    if (index < 0 || index > 10)
        return {};
    if (index == 0)
        return "Tarvo dello 10";
    if (index == 1)
        return "Tarvo dell' 11";
    return "Tarvo del " + std::to_string(10 + index);
}

void StartScreen::load()
{
    layout_.capture(window_);
    Label7.setCaption(Label7.caption() + "Vers.1.0" + CR + "Mouse ");
    VerificaEsistenzaFile(FileImpostazioni);
    Label7.setVisible(true);
}

void StartScreen::VerificaEsistenzaFile(const std::string& fileName)
{
    // Only its presence is looked at, and nothing depends on it.
    (void)probe_.probeReadable(fileName);
}

void StartScreen::focusFirstChoice()
{
    // A refused focus move (a hidden window) is harmless: the next Activate tries again.
    window_.setFocus(*Option1[0]);
}

void StartScreen::ScegliTarvo(std::int16_t index)
{
    if (index >= 0 && index <= 10) {
        state_.NumeroCentrale = static_cast<std::int16_t>(10 + index);
        Label1.setCaption(captionFor(index));
    }
    Option1[0]->setValue(false);
    window_.setFocus(*Option2[0]);
    // A pupil who plays by ear hears the choice that the label now shows.
    if (Platform* p = window_.platform(); p && index >= 0 && index <= 10)
        p->announce(window_, captionFor(index));
}

void StartScreen::EseguiComando(std::int16_t index)
{
    switch (index) {
    case 0:
        // No tarvo can be made before a choice: lead the pupil to the choice buttons instead.
        if (state_.NumeroCentrale < 10 || state_.NumeroCentrale > 20)
            focusFirstChoice();
        else
            host_.show(ScreenId::Operativo, false);
        break;
    case 1:
        focusFirstChoice();
        break;
    case 2:
        host_.unload(ScreenId::Inizio);
        break;
    default:
        break;
    }
}

void StartScreen::ChiudiSchermate()
{
    // The start screen is already closing here: the first call only keeps the order complete.
    host_.unload(ScreenId::Inizio);
    host_.unload(ScreenId::Autore);
    host_.unload(ScreenId::Operativo);
}

} // namespace tarvo

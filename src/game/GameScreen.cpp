// Life cycle of the game screen, the reset and the making of a tarvo.
#include "game/GameScreen.h"

#include "game/Annunci.h"

#include <algorithm>
#include <string>

namespace tarvo {

GameScreen::GameScreen(
    Window& frmOperativo, Module1& state, ScreenHost& host, Clock& clock, RandomSource& rng)
    : ScreenEvents(frmOperativo)
    , w_(frmOperativo)
    , s_(state)
    , host_(host)
    , clock_(clock)
    , rng_(rng)
    , Label1(frmOperativo.at("Label1"))
    , Label2(frmOperativo.members<8>("Label2"))
    , lblSegno(frmOperativo.members<8>("lblSegno"))
    , lblUguale(frmOperativo.members<8>("lblUguale"))
    , lblRisultato(frmOperativo.members<8>("lblRisultato"))
    , Option1(frmOperativo.members<NumeroTasti>("Option1"))
    , Frame1(frmOperativo.at("Frame1"))
    , Frame2(frmOperativo.members<4>("Frame2"))
    , Picture11(frmOperativo.at("Picture11"))
    , Timer2(frmOperativo.at("Timer2"))
    , Timer3(frmOperativo.at("Timer3"))
    , mnuIstruzioni(frmOperativo.at("mnuIstruzioni"))
{
}

bool GameScreen::isCella(const Control& c) const
{
    return std::find(lblRisultato.begin(), lblRisultato.end(), &c) != lblRisultato.end();
}

void GameScreen::Load()
{
    layout_.capture(w_);
    s_.VelocitaTessera[3] = 10;
    s_.VelocitaTessera[2] = 20;
    s_.VelocitaTessera[1] = 15;
    s_.VelocitaTessera[0] = 30;
    for (int i = 0; i < 8; ++i) {
        Label2[i]->setCaption("");
        lblSegno[i]->setCaption("-");
        lblUguale[i]->setCaption("=");
    }
    NuovoTarvo();
}

void GameScreen::Resize()
{
    layout_.apply(w_);
}

void GameScreen::Unload()
{
    // The host leaves alone a screen that is not open, or that is closing already (this one).
    host_.unload(ScreenId::Autore);
    host_.unload(ScreenId::Istruzioni);
    host_.unload(ScreenId::Operativo);
    host_.unload(ScreenId::Inizio);
}

void GameScreen::onClick(Control& c)
{
    if (&c != &mnuIstruzioni)
        return;
    host_.show(ScreenId::Istruzioni, true);
    // During the celebration "1" is disabled: the focus then stays where it is.
    w_.setFocus(tasto(1));
}

void GameScreen::NuovoTarvo()
{
    Timer2.setEnabled(false);
    Timer3.setEnabled(false);
    Picture11.setVisible(false);
    s_.ContaLampeggi = 0;
    s_.RaggioCorrente = 0;
    s_.FaseControllo = False;
    std::fill(s_.Estratti.begin(), s_.Estratti.end(), std::string());
    for (int i = 0; i < 8; ++i) {
        Control& c = *lblRisultato[i];
        c.setCaption("");
        c.setBackColor(GialloChiaro);
        lblSegno[i]->setVisible(false);
        lblUguale[i]->setVisible(false);
    }
    cella(0).setCaption("?");
    lblSegno[0]->setVisible(true);
    lblUguale[0]->setVisible(true);
    // Last to set "Avanti": the captions written above have just enabled it.
    AbilitaTastierino();
    GeneraRaggi();
    annuncia(annuncioRaggio(w_, 0));
}

void GameScreen::annuncia(const std::string& words)
{
    if (Platform* p = w_.platform(); p && !words.empty())
        p->announce(w_, words);
}

void GameScreen::AbilitaTastierino()
{
    for (int i = 0; i <= TastoCancella; ++i)
        tasto(i).setEnabled(true);
    tasto(TastoAvanti).setEnabled(false);
    tasto(TastoNuovoTarvo).setEnabled(false);
    tasto(TastoEsco).setEnabled(false);
}

void GameScreen::GeneraRaggi()
{
    // A centre number below a subtrahend would give a negative answer, which the byte of
    // Risultati cannot hold: only 10..20 are ever drawn for.
    const auto centrale = static_cast<std::int16_t>(
        std::clamp<int>(s_.NumeroCentrale, MinimoCentrale, MassimoCentrale));
    rng_.seed(clock_.secondsSinceMidnight());
    for (int i = 0; i < 8; ++i) {
        do {
            double r = rng_.next();
            // A source that breaks its [0, 1) promise must not index outside Estratti.
            if (!(r >= 0.0 && r < 1.0))
                r = 0.0;
            s_.NumeroEstratto = static_cast<std::uint8_t>(static_cast<int>(r * 10.0) + 1);
        } while (s_.Estratti[s_.NumeroEstratto] == Si);
        s_.Estratti[s_.NumeroEstratto] = Si;
        Label1.setCaption(std::to_string(centrale));
        s_.Sottraendi[i] = s_.NumeroEstratto;
        Label2[i]->setCaption(std::to_string(s_.Sottraendi[i]));
        const auto risultato = static_cast<std::int16_t>(centrale - s_.Sottraendi[i]);
        s_.Risultati[i] = static_cast<std::uint8_t>(risultato);
    }
}

} // namespace tarvo

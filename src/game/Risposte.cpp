// Answer entry, the keypad actions and the check of a tarvo.
#include "game/GameScreen.h"

#include "game/Annunci.h"

#include <string>

namespace tarvo {

namespace {
// The value of the caption's leading decimal digits; none ("?" or empty) reads as 0.
int valoreDi(const std::string& caption)
{
    int v = 0;
    for (char ch : caption) {
        if (ch < '0' || ch > '9')
            break;
        if (v < 100000) // an answer has three digits at most; keep far from overflow anyway
            v = v * 10 + (ch - '0');
    }
    return v;
}
} // namespace

void GameScreen::AggiungiCifra(char digit)
{
    if (!raggioValido() || digit < '0' || digit > '9')
        return;
    Control& c = cella(s_.RaggioCorrente);
    const std::string prima = c.caption();
    // Each write below is one change of the cell, in this order: "Avanti" follows them.
    if (prima == "?" || prima.empty()) {
        c.setCaption("");
        c.setCaption(std::string(1, digit));
        if (c.caption().starts_with('0'))
            c.setCaption("?"); // an answer never begins with zero
    } else {
        c.setCaption(prima + digit);
        if (c.caption().size() >= 3)
            c.setCaption(c.caption().substr(0, 3));
    }
    annuncia(annuncioCella(c.caption()));
}

void GameScreen::CancellaCifra(bool regolaAvanti)
{
    if (!raggioValido())
        return;
    Control& c = cella(s_.RaggioCorrente);
    const std::string prima = c.caption();
    c.setCaption(prima.empty() ? std::string() : prima.substr(0, prima.size() - 1));
    if (c.caption().empty()) {
        c.setCaption("?");
        if (regolaAvanti)
            tasto(TastoAvanti).setEnabled(false);
    }
    annuncia(annuncioCella(c.caption()));
}

void GameScreen::onChange(Control& c)
{
    if (isCella(c) && c.caption() != "?")
        tasto(TastoAvanti).setEnabled(true);
}

void GameScreen::Avanza()
{
    tasto(TastoAvanti).setEnabled(false);
    if (s_.FaseControllo != False) {
        ControllaRisposte();
        return;
    }
    ++s_.RaggioCorrente;
    if (s_.RaggioCorrente < 8) {
        cella(s_.RaggioCorrente).setCaption("?");
        lblSegno.at(s_.RaggioCorrente)->setVisible(true);
        lblUguale.at(s_.RaggioCorrente)->setVisible(true);
        annuncia(annuncioRaggio(w_, s_.RaggioCorrente));
        return;
    }
    s_.RaggioCorrente = 0;
    ControllaRisposte();
}

void GameScreen::ControllaRisposte()
{
    s_.FaseControllo = True;
    s_.RaggioCorrente = 0;
    while (s_.RaggioCorrente <= 7) {
        Control& c = cella(s_.RaggioCorrente);
        if (valoreDi(c.caption()) != s_.Risultati[s_.RaggioCorrente]) {
            c.setBackColor(ColoreSbagliato);
            c.setCaption("?");
            annuncia(annuncioControllo(w_, s_.RaggioCorrente));
            return;
        }
        c.setBackColor(ColoreGiusto);
        ++s_.RaggioCorrente;
    }
    // The pupil sees the letter tiles bounce for the whole celebration; the reset hides them.
    Picture11.setVisible(true);
    Timer3.setEnabled(true);
    Timer2.setEnabled(true);
    annuncia(annuncioFesta());
}

void GameScreen::Premi(int index)
{
    if (index >= 0 && index <= 9) {
        const std::string& cifra = tasto(index).caption();
        if (!cifra.empty())
            AggiungiCifra(cifra.front());
        return;
    }
    switch (index) {
    case TastoCancella:
        CancellaCifra(true);
        break;
    case TastoAvanti:
        w_.setFocus(tasto(1));
        Avanza();
        break;
    case TastoNuovoTarvo:
        Frame1.setBackColor(ColoreNormale);
        NuovoTarvo();
        break;
    case TastoEsco:
        // Last statement: the host may tear the screen down from here.
        host_.unload(ScreenId::Operativo);
        break;
    default:
        break;
    }
}

} // namespace tarvo

#include "screens/InfoScreens.h"

namespace tarvo {

std::string testoIstruzioni()
{
    const std::string a = { CR };
    std::string t;
    t += " I dati possono essere immessi con: " + a;
    t += " - la tastiera ed il tastierino" + a;
    t += " - il mouse" + a;
    t += " - la scansione manuale" + a + a + a;
    t += " PER UTILIZZARE LA TASTIERA ED IL TASTIERINO" + a;
    t += " Premere il numero ordinale del pulsante." + a;
    t += " Oltre il numero 9 premere la lettera iniziale dei pulsanti." + a + a;
    t += " PER UTILIZZARE  IL MOUSE " + a;
    t += " Cliccare con il pulsante sinistro." + a + a;
    t += " PER UTILIZZARE LA SCANSIONE MANUALE " + a;
    t += " Premere la BARRA-SPAZIO per scegliere, premere INVIO per confermare.";
    return t;
}

InfoScreen::InfoScreen(Window& w, ScreenHost& host, ScreenId self)
    : ScreenEvents(w)
    , w_(w)
    , host_(host)
    , self_(self)
{
}

void InfoScreen::load()
{
    if (self_ == ScreenId::Istruzioni)
        w_.at("Label1").setCaption(testoIstruzioni());
}

void InfoScreen::click(Control& c)
{
    // Only the close button reacts; the labels (the author's addresses among them) do nothing.
    if (c.is("Command1"))
        host_.unload(self_);
}

} // namespace tarvo

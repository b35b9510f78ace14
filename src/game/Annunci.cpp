#include "game/Annunci.h"

namespace tarvo {

namespace {

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

const Control* lookup(const Window& w, std::string_view name, int index = -1)
{
    return w.find(name, index);
}

// "15 meno 7 uguale", or empty while the centre or the subtrahend shows nothing.
std::string sottrazione(const Window& w, int ray)
{
    const Control* centre = lookup(w, "Label1");
    const Control* subtrahend = lookup(w, "Label2", ray);
    const std::string n = centre ? trimmed(centre->caption()) : std::string();
    const std::string k = subtrahend ? trimmed(subtrahend->caption()) : std::string();
    if (n.empty() || k.empty())
        return {};
    return n + " meno " + k + " uguale";
}

} // namespace

std::string fraseRaggio(const Window& w, int ray)
{
    const Control* cell = lookup(w, "lblRisultato", ray);
    if (!cell)
        return {};
    std::string answer = trimmed(cell->caption());
    const std::string sum = sottrazione(w, ray);
    if (sum.empty())
        return answer;
    return answer.empty() ? sum + ", da fare" : sum + " " + answer;
}

std::string annuncioRaggio(const Window& w, int ray)
{
    const std::string sum = sottrazione(w, ray);
    return sum.empty() ? std::string() : sum + " quanto?";
}

std::string annuncioCella(const std::string& caption)
{
    const std::string answer = trimmed(caption);
    if (answer.empty() || answer == "?")
        return "Risposta vuota";
    return "Risposta " + answer;
}

std::string annuncioControllo(const Window& w, int wrong)
{
    // The check stops at the first wrong ray: it says how far it looked, not a score of the
    // whole tarvo.
    static const char* const ordinale[]
        = { "primo", "secondo", "terzo", "quarto", "quinto", "sesto", "settimo", "ottavo" };
    if (wrong < 0 || wrong > 7)
        return {};
    const std::string ray = annuncioRaggio(w, wrong);
    if (wrong == 0)
        return "Controllato il primo raggio: è da correggere. " + ray;
    const std::string right
        = wrong == 1 ? "giusto il primo" : std::string("giusti fino al ") + ordinale[wrong - 1];
    return std::string("Controllati i raggi dal primo al ") + ordinale[wrong] + ": " + right
        + ", da correggere il " + ordinale[wrong] + ". " + ray;
}

std::string annuncioFesta()
{
    return "Tutto il tarvo è giusto!";
}

} // namespace tarvo

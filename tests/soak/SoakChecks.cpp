#include "SoakChecks.h"

#include "game/GameScreen.h"
#include "input/Highlight.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace tarvo::soak {

std::uint64_t seedFromEnvironment(std::uint64_t fallback)
{
    const char* v = std::getenv("TARVO_SOAK_SEED");
    if (!v || !*v)
        return fallback;
    return std::strtoull(v, nullptr, 10);
}

long eventsFromEnvironment(long fallback)
{
    const char* v = std::getenv("TARVO_SOAK_EVENTS");
    if (!v || !*v)
        return fallback;
    const long n = std::strtol(v, nullptr, 10);
    return n > 0 ? n : fallback;
}

void WatchedRandom::seed(double seconds)
{
    if (state_)
        centre_ = state_->NumeroCentrale;
    ++generations_;
    inner_.seed(seconds);
}

double SteppingClock::secondsSinceMidnight()
{
    // Mostly small steps, sometimes whole hours, so that midnight comes round now and then.
    std::uniform_real_distribution<double> small(0.0, 3.0);
    now_ += (rng_() % 50 == 0) ? 3600.0 + small(rng_) : small(rng_);
    now_ = std::fmod(now_, 86400.0);
    return now_;
}

void EventLog::add(std::string what)
{
    last_.push_back(std::move(what));
    if (last_.size() > 25)
        last_.pop_front();
}

std::string EventLog::tail() const
{
    std::string s = "last events (oldest first):";
    for (const auto& e : last_)
        s += "\n  " + e;
    return s;
}

namespace {

// An answer cell: empty, "?", or one to three digits not starting with 0.
bool wellFormedAnswer(const std::string& s)
{
    if (s.empty() || s == "?")
        return true;
    if (s.size() > 3 || s.front() == '0')
        return false;
    for (char ch : s)
        if (ch < '0' || ch > '9')
            return false;
    return true;
}

std::string checkButtons(Window& w)
{
    const Control* focused = w.focused();
    if (focused && &focused->window() != &w)
        return w.name() + ": the focus is on a control of another window";
    if (focused && !w.canTakeFocus(*focused))
        return w.name() + ": " + test::describe(focused) + " has the focus but cannot take it";
    int highlighted = 0;
    for (const auto& owned : w.controls()) {
        const Control& c = *owned;
        if (!isButton(c.kind()))
            continue;
        const bool lit = c.backColor() == ColoreEvidenziato;
        if (lit)
            ++highlighted;
        if (lit != (&c == focused))
            return w.name() + ": " + test::describe(&c)
                + (lit ? " highlighted" : " not highlighted") + ", focus on "
                + test::describe(focused);
        if (c.value()) // no press selects an option button
            return w.name() + ": " + test::describe(&c) + " selected";
    }
    if (highlighted > 1)
        return w.name() + ": " + std::to_string(highlighted) + " buttons highlighted";
    return {};
}

std::string checkCurtains(Window& start)
{
    const Control* p1 = start.find("Picture1");
    const Control* p2 = start.find("Picture2");
    if (!p1 || !p2)
        return "start screen without its curtains";
    if (p1->width() < 0 || p2->width() < 0)
        return "negative curtain width";
    if (p1->width() != p2->width())
        return "curtains " + std::to_string(p1->width()) + " and " + std::to_string(p2->width())
            + " wide";
    return {};
}

std::string checkGame(Window& g, const Module1& s, const WatchedRandom& rng)
{
    std::array<const Control*, 8> cell {}, label2 {}, segno {}, uguale {};
    std::array<const Control*, NumeroTasti> key {};
    const Control *label1 = nullptr, *timer2 = nullptr, *timer3 = nullptr;
    for (const auto& owned : g.controls()) {
        const Control& c = *owned;
        const int i = c.index();
        const std::string& n = c.name();
        if (i >= 0 && i < 8) {
            if (n == "lblRisultato")
                cell[std::size_t(i)] = &c;
            else if (n == "Label2")
                label2[std::size_t(i)] = &c;
            else if (n == "lblSegno")
                segno[std::size_t(i)] = &c;
            else if (n == "lblUguale")
                uguale[std::size_t(i)] = &c;
        }
        if (n == "Option1" && i >= 0 && i < NumeroTasti)
            key[std::size_t(i)] = &c;
        else if (n == "Label1")
            label1 = &c;
        else if (n == "Timer2")
            timer2 = &c;
        else if (n == "Timer3")
            timer3 = &c;
    }
    for (int i = 0; i < 8; ++i)
        if (!cell[std::size_t(i)] || !label2[std::size_t(i)] || !segno[std::size_t(i)]
            || !uguale[std::size_t(i)])
            return "game screen without ray " + std::to_string(i);
    for (const Control* k : key)
        if (!k)
            return "game screen without its whole keypad";
    if (!label1 || !timer2 || !timer3)
        return "game screen without its centre or timers";

    const int r = s.RaggioCorrente;
    if (r < 0 || r > 8)
        return "RaggioCorrente " + std::to_string(r);
    for (int i = 0; i < 8; ++i) {
        const std::string& c = cell[std::size_t(i)]->caption();
        if (!wellFormedAnswer(c))
            return "cell " + std::to_string(i) + " holds \"" + c + "\"";
    }
    if (r < 8 && cell[std::size_t(r)]->caption().empty())
        return "the current cell " + std::to_string(r) + " is empty";
    if (s.FaseControllo == False) {
        // While the rays are being entered: rays up to the current one are open, the rest not.
        for (int i = 0; i < 8; ++i) {
            const bool open = i <= r;
            if (!open && !cell[std::size_t(i)]->caption().empty())
                return "cell " + std::to_string(i) + " after the current ray " + std::to_string(r)
                    + " holds \"" + cell[std::size_t(i)]->caption() + "\"";
            if (segno[std::size_t(i)]->visible() != open
                || uguale[std::size_t(i)]->visible() != open)
                return "signs of ray " + std::to_string(i) + " wrong with current ray "
                    + std::to_string(r);
        }
    } else if (s.FaseControllo != True) {
        return "FaseControllo " + std::to_string(s.FaseControllo);
    }

    // The tarvo: eight different subtrahends of 1..10, answers from the centre it was made for.
    const int n = rng.centreAtGeneration();
    if (n < MinimoCentrale || n > MassimoCentrale)
        return "a tarvo was made for the centre number " + std::to_string(n);
    if (label1->caption() != std::to_string(n))
        return "the centre shows \"" + label1->caption() + "\", the tarvo was made for "
            + std::to_string(n);
    std::array<bool, 11> seen {};
    for (int i = 0; i < 8; ++i) {
        const int k = s.Sottraendi[std::size_t(i)];
        if (k < 1 || k > 10)
            return "subtrahend " + std::to_string(k) + " on ray " + std::to_string(i);
        if (seen[std::size_t(k)])
            return "subtrahend " + std::to_string(k) + " drawn twice";
        seen[std::size_t(k)] = true;
        if (s.Risultati[std::size_t(i)] + k != n)
            return "ray " + std::to_string(i) + ": " + std::to_string(s.Risultati[std::size_t(i)])
                + " + " + std::to_string(k) + " is not " + std::to_string(n);
        if (label2[std::size_t(i)]->caption() != std::to_string(k))
            return "ray " + std::to_string(i) + " shows \"" + label2[std::size_t(i)]->caption()
                + "\" for the subtrahend " + std::to_string(k);
    }
    for (int v = 0; v < 12; ++v) {
        const bool marked = s.Estratti[std::size_t(v)] == Si;
        const bool drawn = v >= 1 && v <= 10 && seen[std::size_t(v)];
        if (marked != drawn)
            return "Estratti(" + std::to_string(v) + ") is \"" + s.Estratti[std::size_t(v)] + "\"";
    }

    // The celebration runs exactly while the tarvo stands fully right, both timers together;
    // before it nobody can leave or start again from the keypad.
    const bool celebrating = r == 8;
    if (timer3->enabled() != celebrating || timer2->enabled() != celebrating)
        return std::string("timers ") + (timer2->enabled() ? "on" : "off") + "/"
            + (timer3->enabled() ? "on" : "off") + " with current ray " + std::to_string(r);
    if (celebrating && s.FaseControllo != True)
        return "celebrating outside the checking phase";
    if (!celebrating && (key[TastoNuovoTarvo]->enabled() || key[TastoEsco]->enabled()))
        return "\"Nuovo tarvo\" or \"Esco\" enabled before the tarvo is right";

    // The letter tiles bounce inside their picture, at most one step beyond a bound.
    const Control* picture = g.find("Picture11");
    if (!picture)
        return "game screen without its celebration picture";
    for (int t = 0; t < 4; ++t) {
        const Control* tile = g.find("Frame2", t);
        if (!tile)
            return "game screen without letter tile " + std::to_string(t);
        const int step = s.VelocitaTessera[std::size_t(t)];
        const int reach = (step < 0 ? -step : step) + 1;
        if (tile->top() < -reach || tile->top() > picture->height() - tile->height() + reach)
            return "letter tile " + std::to_string(t) + " at " + std::to_string(tile->top())
                + " in a picture " + std::to_string(picture->height()) + " high";
    }
    return {};
}

} // namespace

std::string checkProgram(Program& p, const WatchedRandom& rng)
{
    if (p.finished())
        return {};
    if (Window* start = p.window(ScreenId::Inizio); start && p.isLoaded(ScreenId::Inizio)) {
        if (auto e = checkButtons(*start); !e.empty())
            return e;
        if (auto e = checkCurtains(*start); !e.empty())
            return e;
    }
    const Module1& s = p.state();
    if (s.RaggioCorrente < 0 || s.RaggioCorrente > 8)
        return "RaggioCorrente " + std::to_string(s.RaggioCorrente);
    if (Window* game = p.window(ScreenId::Operativo); game && p.isLoaded(ScreenId::Operativo)) {
        if (auto e = checkButtons(*game); !e.empty())
            return e;
        if (auto e = checkGame(*game, s, rng); !e.empty())
            return e;
    }
    return {};
}

} // namespace tarvo::soak

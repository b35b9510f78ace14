#pragma once
// The real game screen table with its behaviour, on the fake platform, with a clock, a random
// source and a set of screens that tests control.

#include "FakePlatform.h"
#include "LambdaEvents.h"
#include "game/GameScreen.h"
#include "screens/Screens.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tarvo::test {

// Tells the time it is set to and counts how often it was asked.
class FakeClock final : public Clock {
public:
    double now = 36000.125;
    int reads = 0;
    double secondsSinceMidnight() override
    {
        ++reads;
        return now;
    }
};

// Scripted values first; once the script is used up, a small linear congruential sequence that
// starts again from each seed. Records the seeds it was given.
class ScriptedRandom final : public RandomSource {
public:
    std::deque<double> script;
    std::vector<double> seeds;
    int draws = 0;

    void seed(double s) override
    {
        sinceSeed_ = 0;
        seeds.push_back(s);
        state_ = static_cast<std::uint64_t>(s * 1000.0) * 2654435761u + 12345u;
    }
    double next() override
    {
        ++draws;
        // A generation that can no longer find a free value would loop for ever: fail instead.
        if (++sinceSeed_ > 100000)
            throw std::runtime_error("the draw never ends");
        if (!script.empty()) {
            const double r = script.front();
            script.pop_front();
            return r;
        }
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state_ >> 11) * 0x1.0p-53;
    }

    // The draw that gives the value v (1..10).
    static double drawing(int v) { return (v - 1) / 10.0 + 0.05; }
    void queue(std::initializer_list<int> values)
    {
        for (int v : values)
            script.push_back(drawing(v));
    }

private:
    std::uint64_t state_ = 1;
    int sinceSeed_ = 0;
};

// The program's set of screens as the game screen sees it: records every request, and unloading
// the game screen runs its Unload once, as the program does. The start screen is open behind it.
class FakeHost final : public ScreenHost {
public:
    struct Call {
        char what; // 'S' show, 'U' unload
        ScreenId id;
        bool modal = false;
        friend bool operator==(const Call&, const Call&) = default;
    };
    std::vector<Call> calls;
    std::set<ScreenId> loaded { ScreenId::Inizio, ScreenId::Operativo };
    Window* game = nullptr;
    // Runs inside a modal show, while the shown screen is open.
    std::function<void()> duringModal;

    bool isLoaded(ScreenId id) const override { return loaded.count(id) > 0; }
    void show(ScreenId id, bool modal) override
    {
        calls.push_back({ 'S', id, modal });
        loaded.insert(id);
        if (modal) {
            if (duringModal)
                duringModal();
            loaded.erase(id);
        }
    }
    void unload(ScreenId id) override
    {
        calls.push_back({ 'U', id });
        if (!loaded.count(id) || closing_.count(id))
            return;
        closing_.insert(id);
        if (id == ScreenId::Operativo && game)
            game->raiseUnload();
        loaded.erase(id);
        closing_.erase(id);
    }
    std::vector<ScreenId> unloads() const
    {
        std::vector<ScreenId> ids;
        for (const Call& c : calls)
            if (c.what == 'U')
                ids.push_back(c.id);
        return ids;
    }

private:
    std::set<ScreenId> closing_;
};

// One game screen, loaded and shown with the focus on "0" as the platform leaves it.
struct GameRig {
    FakePlatform platform;
    FakeClock clock;
    ScriptedRandom rng;
    Module1 state;
    FakeHost host;
    std::unique_ptr<Window> window = screens::makeFrmOperativo();
    Window& w = *window;
    GameScreen game { w, state, host, clock, rng };

    // `first` scripts the subtrahends of the first tarvo. Without `open`, start() loads it once
    // whatever else the test installs on the window is in place.
    explicit GameRig(int centre = 15, std::initializer_list<int> first = {}, bool open = true)
    {
        state.NumeroCentrale = static_cast<std::int16_t>(centre);
        rng.queue(first);
        host.game = &w;
        platform.attach(w);
        if (open)
            start();
    }
    // Load, then the first focus the platform gives when the window is shown.
    void start()
    {
        w.raiseLoad();
        w.setFocus(key(0));
    }

    Control& key(int i) { return w.at("Option1", i); }
    Control& cell(int ray) { return w.at("lblRisultato", ray); }
    std::string caption(int ray) { return cell(ray).caption(); }
    int focusedKey() const
    {
        const Control* f = w.focused();
        return f ? f->index() : -1;
    }
    bool avanti() { return key(TastoAvanti).enabled(); }
    bool celebrating() { return w.at("Timer2").enabled() && w.at("Timer3").enabled(); }

    // The digits a pupil types for ray i: the expected answer, or "0" for an answer of 0
    // (which leaves "?", read as 0).
    std::string answer(int ray) const { return std::to_string(state.Risultati[ray]); }
    // Any answer that is wrong for ray i.
    std::string wrongAnswer(int ray) const
    {
        return std::to_string(state.Risultati[ray] == 19 ? 18 : state.Risultati[ray] + 1);
    }

    // Types an answer into the current cell through the engine.
    void type(const std::string& digits)
    {
        for (char d : digits)
            game.AggiungiCifra(d);
    }

    // Types and confirms every ray through the keypad actions, a wrong answer on the rays listed.
    void enterAll(std::set<int> wrong = {})
    {
        for (int i = 0; i < 8; ++i) {
            type(wrong.count(i) ? wrongAnswer(i) : answer(i));
            game.Premi(TastoAvanti);
        }
    }

    // Records every caption change of the window's labels, as "name(index)=caption".
    std::vector<std::string> changes;
    std::unique_ptr<LambdaEvents> recorder;
    void recordChanges()
    {
        recorder = std::make_unique<LambdaEvents>(w);
        recorder->on.change = [this](Control& c) {
            changes.push_back(c.name() + "(" + std::to_string(c.index()) + ")=" + c.caption());
            recorder->inner().change(c);
        };
    }
};

} // namespace tarvo::test

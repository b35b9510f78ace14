#pragma once
// The real game screen table with its behaviour, on the fake platform, with the shared clock,
// random source and set of screens.

#include "Describe.h"
#include "Doubles.h"
#include "FakePlatform.h"
#include "LambdaEvents.h"
#include "game/GameScreen.h"
#include "screens/Screens.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tarvo::test {

// One game screen, loaded and shown with the focus on "0" as the platform leaves it.
struct GameRig {
    FakePlatform platform;
    FixedClock clock { 36000.125 };
    ScriptedRandom rng;
    Module1 state;
    // The start screen is open behind the game.
    RecordingHost host { { ScreenId::Inizio, ScreenId::Operativo } };
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
            changes.push_back(describe(c) + "=" + c.caption());
            recorder->inner().change(c);
        };
    }
};

} // namespace tarvo::test

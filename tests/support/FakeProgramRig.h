#pragma once
// The whole program on the fake platform: the real Program and random generator, the shared
// clock and settings probe. The helpers act as a pupil does, with keys and ENTER.

#include "Doubles.h"
#include "FakePlatform.h"
#include "LambdaEvents.h"
#include "app/Program.h"
#include "game/GameScreen.h"
#include "model/Random.h"

#include <list>
#include <string>

namespace tarvo::test {

struct FakeProgramRig {
    explicit FakeProgramRig(double clockAt = 43200.5)
        : clock(clockAt)
    {
    }

    FakePlatform platform;
    FixedClock clock;
    SeededRandom rng;
    RecordingProbe probe;
    std::list<LambdaEvents> spies; // they outlive the program, whose windows may still call them
    Program program { platform, clock, rng, probe };

    Window& start() { return *program.window(ScreenId::Inizio); }
    Window& game() { return *program.window(ScreenId::Operativo); }

    // The start screen as shown by the toolkit: Load, then Resize and Activate.
    void begin()
    {
        program.start();
        start().raiseResize();
        start().raiseActivate();
    }
    // From the start: chooses a tarvo with the key `choice` and ENTER, then "Vai" with ENTER.
    void chooseAndOpen(int choice)
    {
        begin();
        tapKey(start(), choice);
        tapEnter(start());
        tapEnter(start());
    }
    // The toolkit focuses the first button in tab order when the game is first shown.
    void focusFirstKey() { game().setFocus(game().at("Option1", 0)); }
    // Answers every ray right with the keys: the digits, "A" for "Avanti", ENTER.
    void answerAll()
    {
        Window& g = game();
        for (int ray = 0; ray < 8; ++ray) {
            for (char d : std::to_string(program.state().Risultati[std::size_t(ray)]))
                tapKey(g, vk::Digit0 + (d - '0'));
            tapKey(g, vk::A);
            tapEnter(g);
        }
    }
    // Counts the Unload handler runs of a loaded screen.
    void countUnloads(ScreenId id, int& counter)
    {
        Window& w = *program.window(id);
        LambdaEvents& spy = spies.emplace_back(w);
        spy.on.unload = [&counter, &spy] {
            ++counter;
            spy.inner().unload();
        };
    }
};

} // namespace tarvo::test

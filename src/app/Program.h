#pragma once
// The program: the shared game state and the four screens. A screen is created and loaded on
// first show, and destroyed some time after it closes, never while one of its handlers may still
// be running. When the last screen has closed the platform is told to quit, once.

#include "game/GameState.h"
#include "game/Lettura.h"
#include "model/Platform.h"
#include "model/ScreenHost.h"
#include "model/Window.h"

#include <array>
#include <memory>
#include <vector>

namespace tarvo {

class Program final : public ScreenHost {
public:
    // Everything given must outlive the program.
    Program(Platform& platform, Clock& clock, RandomSource& rng, FileProbe& probe);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Loads and shows the start screen, not modally.
    void start();

    // Loaded and not closing.
    bool isLoaded(ScreenId id) const override;
    // Loads the screen if needed (attached to the platform, its Load run) and shows it; a screen
    // already shown is brought to the front; a closing screen, or any after the end, stays shut.
    void show(ScreenId id, bool modal) override;
    // Unload handler, then the platform closes the window; the objects are freed later, from
    // posted work, when no modal show is running.
    void unload(ScreenId id) override;

    Module1& state() { return state_; }
    // The window of a loaded screen, closing or not; null otherwise.
    Window* window(ScreenId id) const;
    // The platform has been told to quit.
    bool finished() const { return quit_; }
    // Screens closed but not freed yet.
    std::size_t closedPending() const { return graveyard_.size(); }

private:
    struct Screen;

    Screen* load(ScreenId id);
    void closeWindow(const Window* w);
    void scheduleFree();
    void freeClosed();

    Platform& platform_;
    Clock& clock_;
    RandomSource& rng_;
    FileProbe& probe_;
    Module1 state_;
    Lettura reader_; // what a screen reader hears, for the platform
    std::array<std::unique_ptr<Screen>, 4> screens_;
    std::vector<std::unique_ptr<Screen>> graveyard_;
    int modalDepth_ = 0;
    bool freePosted_ = false;
    bool quit_ = false;
    // Posted work may outlive the program: it checks this first.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace tarvo

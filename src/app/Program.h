#pragma once
// The program: the shared game state and the four screens. A screen is created and loaded on
// first show. When it closes it is handed to posted work, which frees it after the current event:
// events never nest (no modal loop), so no handler of it can be running then. When the last
// screen has closed the platform is told to quit, once.

#include "game/GameState.h"
#include "game/Lettura.h"
#include "model/Platform.h"
#include "model/Window.h"
#include "screens/ScreenHost.h"

#include <array>
#include <functional>
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
    // A modal screen is the platform's modal window until it closes; `then` runs after its
    // unload, unless another screen closed meanwhile (the program is then ending).
    void show(ScreenId id, bool modal, std::function<void()> then = {}) override;
    // Unload handler, then the platform closes the window; the objects are freed after the
    // current event, by posted work.
    void unload(ScreenId id) override;

    Module1& state() { return state_; }
    // The window of a loaded screen, closing or not; null otherwise.
    Window* window(ScreenId id) const;
    // The platform has been told to quit.
    bool finished() const { return quit_; }
    // Screens closed but not freed yet.
    std::size_t closedPending() const;

private:
    struct Screen;

    Screen* load(ScreenId id);
    void closeWindow(const Window* w);

    Platform& platform_;
    Clock& clock_;
    RandomSource& rng_;
    FileProbe& probe_;
    Module1 state_;
    Lettura reader_; // what a screen reader hears, for the platform
    std::array<std::unique_ptr<Screen>, 4> screens_;
    // Only watched, for closedPending: the posted work that frees a screen owns it.
    std::vector<std::weak_ptr<Screen>> closed_;
    bool quit_ = false;
};

} // namespace tarvo

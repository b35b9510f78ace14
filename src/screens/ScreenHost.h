#pragma once
// The program's set of screens, as the behaviour of one screen sees the others: load on first
// use, show (modal or not), close. Implemented by the program; tests use a fake.

#include <cstdint>
#include <functional>

namespace tarvo {

enum class ScreenId : std::uint8_t { Inizio, Operativo, Istruzioni, Autore };

class ScreenHost {
public:
    virtual ~ScreenHost() = default;
    virtual bool isLoaded(ScreenId id) const = 0;
    // Loads the screen if it is not loaded (its Load runs), then shows it, and returns at once.
    // Showing a screen already shown brings it to the front. Once a modal screen has been
    // unloaded, `then` runs: what its opener does next, when the screen closed by itself.
    virtual void show(ScreenId id, bool modal, std::function<void()> then = {}) = 0;
    // Runs the screen's Unload and closes it. No effect on a screen that is not loaded or is
    // already closing. When the last screen closes the program ends.
    virtual void unload(ScreenId id) = 0;
};

} // namespace tarvo

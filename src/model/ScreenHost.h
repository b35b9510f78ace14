#pragma once
// The program's set of screens, as the behaviour of one screen sees the others: load on first
// use, show (modal or not), close. Implemented by the program; tests use a fake.

#include <cstdint>

namespace tarvo {

enum class ScreenId : std::uint8_t { Inizio, Operativo, Istruzioni, Autore };

class ScreenHost {
public:
    virtual ~ScreenHost() = default;
    virtual bool isLoaded(ScreenId id) const = 0;
    // Loads the screen if it is not loaded (its Load runs), then shows it; a modal show returns
    // once the screen has been closed. Showing a screen already shown brings it to the front.
    virtual void show(ScreenId id, bool modal) = 0;
    // Runs the screen's Unload and closes it. No effect on a screen that is not loaded or is
    // already closing. When the last screen closes the program ends.
    virtual void unload(ScreenId id) = 0;
};

} // namespace tarvo

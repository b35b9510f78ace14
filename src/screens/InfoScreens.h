#pragma once
// The behaviour of the two small screens, instructions and author: the instructions text written
// at every Load, and the close button that unloads its own screen through the host.

#include "model/ScreenEvents.h"
#include "model/Window.h"
#include "screens/ScreenHost.h"

#include <string>

namespace tarvo {

// The instructions: fifteen lines separated by a single CR, no line feed.
std::string testoIstruzioni();

// The window's one events object while it is alive; w and host must outlive it.
class InfoScreen final : public ScreenEvents {
public:
    InfoScreen(Window& w, ScreenHost& host, ScreenId self);

    void load() override;
    void click(Control& c) override;

private:
    Window& w_;
    ScreenHost& host_;
    ScreenId self_;
};

} // namespace tarvo

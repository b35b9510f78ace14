#pragma once
// The behaviour of the two small screens, instructions and author: the instructions text written
// at every Load, and the close button that unloads its own screen through the host.

#include "model/ScreenHost.h"
#include "model/Window.h"

#include <string>

namespace tarvo {

// The instructions: fifteen lines separated by a single CR, no line feed.
std::string testoIstruzioni();

class InfoScreen {
public:
    // Installs the handlers on w. They keep no reference to this object, only to w and host,
    // which must outlive the window's handlers.
    InfoScreen(Window& w, ScreenHost& host, ScreenId self);
};

} // namespace tarvo

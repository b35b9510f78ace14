#pragma once
// How the page draws a control, from the model's look (model/Look.h) at 96 DPI: the element that
// stands for its kind (its tag, class and the parts drawn in it), its text, and the CSS of the
// element and of its parts.

#include "model/Control.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo::web {

struct Part {
    std::string_view tag;
    std::string_view cls; // "" for none
    bool unread = false; // hidden from readers: what it shows is said otherwise
};

struct Element {
    std::string_view tag;
    std::string_view cls;
    std::vector<Part> parts;
    int textPart = -1; // 0: the element holds the text, n: the nth part; -1: none
};

// Labels, buttons, frames, picture boxes and shapes; a timer or a menu entry has none.
Element elementOf(Kind k);
// What the element shows as text: a frame's caption stands a space in, after its line.
std::string textOf(const Control& c);
// The CSS of the element (0) and of its parts (1, 2: a frame's line and caption, a shape's
// figure), `z` its paint order among its container's controls.
std::array<std::string, 3> stylesOf(const Control& c, int z);
// A window's client area; a modal one's has the window's own size.
std::string clientStyle(const Window& w, bool modal);

} // namespace tarvo::web

#include "web/Buttons.h"

namespace tarvo::web {

namespace {

// PointerEvent.button, and the bits of PointerEvent.buttons.
constexpr int Left = 0;
constexpr int Middle = 1;
constexpr int Right = 2;
constexpr int LeftBit = 1;
constexpr int RightBit = 2;
constexpr int MiddleBit = 4;

} // namespace

std::optional<MouseButton> buttonOf(bool mouse, bool press, int button, int buttons)
{
    if (!mouse)
        return MouseButton::Left;
    if (press && button == Left && !(buttons & LeftBit))
        return std::nullopt;
    switch (button) {
    case Left:
        return MouseButton::Left;
    case Middle:
        return MouseButton::Middle;
    case Right:
        return MouseButton::Right;
    default:
        return std::nullopt;
    }
}

bool holds(int buttons, MouseButton b)
{
    switch (b) {
    case MouseButton::Left:
        return (buttons & LeftBit) != 0;
    case MouseButton::Right:
        return (buttons & RightBit) != 0;
    case MouseButton::Middle:
        break;
    }
    return (buttons & MiddleBit) != 0;
}

bool isSideButton(int button)
{
    return button > Right;
}

} // namespace tarvo::web

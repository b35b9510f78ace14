#pragma once
// Value types shared by the control model, the screen tables and the toolkit binding.
// Geometry is always in twips and colours are 0x00BBGGRR, exactly as the screen tables give them.

#include <cstdint>
#include <optional>
#include <string>

namespace tarvo {

// A rectangle relative to the client area of the control's container.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Twips&, const Twips&) = default;
};

// 0x00BBGGRR: blue in the high byte.
using Bgr = std::uint32_t;

constexpr int redOf(Bgr c)
{
    return static_cast<int>(c & 0xFFu);
}
constexpr int greenOf(Bgr c)
{
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int blueOf(Bgr c)
{
    return static_cast<int>((c >> 16) & 0xFFu);
}

enum class Kind : std::uint8_t {
    Label,
    OptionButton,
    CommandButton,
    Frame,
    PictureBox,
    Shape,
    Timer,
    Menu
};

// Buttons of every kind are the only controls that take the focus.
constexpr bool isButton(Kind k)
{
    return k == Kind::OptionButton || k == Kind::CommandButton;
}
// Frames and picture boxes are child windows: they stack in front of the labels and shapes of
// their container and may hold controls of their own.
constexpr bool isContainer(Kind k)
{
    return k == Kind::Frame || k == Kind::PictureBox;
}

enum class ShapeKind : std::uint8_t { Rectangle, RoundedRectangle, Circle };
enum class Align : std::uint8_t { Left, Center };
enum class Dock : std::uint8_t { None, Left, Right };

// The desktop's default font size, which a font that names none is drawn at (model/Look.h).
inline constexpr double DefaultFontPoints = 8.25;

struct Font {
    std::string face = "MS Sans Serif";
    double points = DefaultFontPoints;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// Which property of a control changed; the binding repaints from it.
enum class Prop : std::uint8_t {
    Caption,
    BackColor,
    ForeColor,
    Visible,
    Enabled,
    Rect,
    Value,
    Font
};

// Virtual-key codes, as the keypad tables give them.
namespace vk {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48; // main row 0..9: 48..57
constexpr int A = 65; // letters by key: 65..90
constexpr int C = 67;
constexpr int E = 69;
constexpr int N = 78;
constexpr int S = 83;
constexpr int V = 86;
constexpr int Numpad0 = 96; // numeric keypad 0..9: 96..105
constexpr int Multiply = 106;
constexpr int Add = 107;
constexpr int Subtract = 109;
constexpr int Decimal = 110;
constexpr int Divide = 111;
constexpr int F1 = 112; // F1..F12: 112..123
constexpr int F2 = 113;
// Keys the tables never name: reported as the desktop reports them, so that a table that swallows
// every unnamed key swallows these too.
constexpr int Clear = 12;
constexpr int Pause = 19;
constexpr int CapsLock = 20;
constexpr int Print = 44;
constexpr int NumLock = 144;
constexpr int ScrollLock = 145;
} // namespace vk

constexpr char CR = '\r';

} // namespace tarvo

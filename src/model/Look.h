#pragma once
// How the controls look beyond their own properties: what the desktop toolkit draws where a row
// names nothing (faces, inks, the default font), the lines of raised, sunken and etched edges,
// insets, the focus mark, the shading of a face, and the chrome a browser page draws around its
// windows as the desktop does. Both bindings paint from this; lengths are in bevel lines
// (Scale::bevel), colours 0x00BBGGRR, pixels the binding's business.

#include "model/Types.h"

#include <algorithm>

namespace tarvo::look {

// Where a control names no colour.
inline constexpr Bgr Face = 0x00EFEFEF; // buttons, frames, picture boxes, opaque labels
inline constexpr Bgr Ink = 0x00000000; // text, a shape's border, the focus mark
inline constexpr Bgr DisabledInk = 0x00BEBEBE; // a disabled label's text
// A disabled button's text is engraved: this grey over a copy in EngravedLight, EngraveOffset
// bevel lines down and to the right.
inline constexpr Bgr EngravedInk = 0x00808080;
inline constexpr Bgr EngravedLight = 0x00FFFFFF;
inline constexpr int EngraveOffset = 1;

// An edge of two lines, one bevel line each: the outer one along the top and left, then along the
// bottom and right, then the inner one inside it the same way. Bottom and right lie over top and
// left where they meet.
struct Edge {
    Bgr outerTopLeft;
    Bgr outerBottomRight;
    Bgr innerTopLeft;
    Bgr innerBottomRight;
    bool operator==(const Edge&) const = default;
};
// A button's raised edge: white and black, then its face lightened and darkened.
Edge raised(Bgr face);
// A picture box's sunken frame.
inline constexpr Edge Sunken { 0x00808080, 0x00FFFFFF, 0x00404040, 0x00C8D0D4 };
// A frame's etched line.
inline constexpr Edge Etched { 0x00808080, 0x00FFFFFF, 0x00FFFFFF, 0x00808080 };

// Insets from a control's outline, in bevel lines.
inline constexpr int TextInset = 3; // a button's text
inline constexpr int FocusInset = 4; // a button's focus mark: a dotted rectangle of Ink
inline constexpr int ClientInset = 2; // a framed picture box's controls, inside its two lines

// The corner radius of a rounded rectangle whose outline is `width` x `height`.
constexpr double cornerRadius(double width, double height)
{
    return std::min(width, height) / 8;
}

// The size a font is drawn at, in points: its own, or the desktop's default where it has none.
constexpr double points(const Font& f)
{
    return f.points > 0 ? f.points : DefaultFontPoints;
}

// The desktop toolkit's shading of a face, bit for bit: the HSV value times `factor` / 100, the
// saturation giving way where the value would pass the top (lighter), or the value divided by it
// (darker).
Bgr lighter(Bgr c, int factor);
Bgr darker(Bgr c, int factor);

// The chrome of a browser page, drawn as the desktop draws its own: the desk behind the windows,
// a modal window's frame line, shadow and title bar, the menu bar and its highlighted entry.
inline constexpr Bgr Desk = 0x00C0C0C0;
inline constexpr Bgr TitleBar = 0x008F4F2D;
inline constexpr Bgr TitleInk = 0x00FFFFFF;
inline constexpr Bgr MenuLine = 0x00D6D6D6; // under the menu bar, whose face is Face
inline constexpr Bgr Highlight = 0x00C68C30;
inline constexpr Bgr HighlightInk = 0x00FFFFFF;
inline constexpr Bgr Shadow = 0x00000000;
inline constexpr double ShadowOpacity = 0.5;

} // namespace tarvo::look

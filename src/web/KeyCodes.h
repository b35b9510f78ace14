#pragma once
// What a browser's KeyboardEvent says, in the model's terms: the virtual-key code of a key and
// the character it types, as the desktop binding reads them from its toolkit (the key's own
// symbol first, the digit row by position, the numeric keypad as keys of its own).

#include <string_view>

namespace tarvo::web {

// `code` is KeyboardEvent.code (the physical key, "Numpad7", "Digit7", "KeyA"), `key` is
// KeyboardEvent.key (what the layout makes of it, "7", "&", "a", "Enter"); 0 for a key the
// program has no code for.
int virtualKey(std::string_view code, std::string_view key);
// The character code KeyPress gets: SPACE, ENTER, BACKSPACE, ESC, any one printable character,
// CTRL with a letter its control character; 0 for the rest.
int keyAscii(std::string_view key, bool ctrl);
// A key press that stays the browser's (its reload, zoom, close and tools: with CTRL or META,
// F5, F11, F12), unless it is SPACE or ENTER, which are the program's whatever is held with them.
bool browsersOwn(std::string_view code, std::string_view key, bool ctrl, bool meta);
// SPACE or ENTER: never the browser's own press of the focused <button>, which would make a
// SPACE with CTRL an ENTER.
bool isSpaceOrEnter(std::string_view code, std::string_view key);
// The modifier keys as KeyStroke::shift has them.
int shiftState(bool shift, bool ctrl, bool alt);

} // namespace tarvo::web

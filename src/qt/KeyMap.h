#pragma once
// Qt key events as the behaviour sees them: the platform's virtual-key codes (letters by key,
// main-row digits 48-57 whatever SHIFT or the layout does to the character, keypad digits
// 96-105), the character code of KeyPress, and the SHIFT/CTRL/ALT bit mask (1, 2, 4).
//
// A digit is the digit of the key's own symbol first, so that any layout and any virtual
// keyboard (which uploads a keymap of its own, with digits on arbitrary keycodes) types what it
// shows. Only a key whose symbol means nothing to the program falls back on its position in the
// digit row: AZERTY's unshifted row, the shifted rows of Italian or US keyboards.

#include <QString>
#include <Qt>

#include <cstdint>

class QKeyEvent;

namespace tarvo::qt {

// How the native codes of a key event may be read.
enum class ScanCodes : std::uint8_t {
    None, // not reliable on this platform: map from the Qt key alone
    Xkb, // X11 and Wayland: scan code = keycode (evdev + 8, digit row 10..19), native virtual
         // key = keysym (keypad keys 0xff80..0xffbd, which Wayland sends without KeypadModifier)
};

ScanCodes scanCodesOfThisPlatform();

// The virtual-key code of a key, or 0 for a key the program has no code for.
int virtualKey(int qtKey, Qt::KeyboardModifiers mods, quint32 nativeScanCode,
    quint32 nativeVirtualKey, ScanCodes scan);
int virtualKey(const QKeyEvent& e, ScanCodes scan);
int virtualKey(const QKeyEvent& e); // with this platform's ScanCodes

// The character code a key press gives (SPACE 32, ENTER 13, BACKSPACE 8, ESC 27, printable
// text), or 0 when it gives none.
int keyAscii(int qtKey, Qt::KeyboardModifiers mods, const QString& text);
int keyAscii(const QKeyEvent& e);

int shiftState(Qt::KeyboardModifiers mods);

} // namespace tarvo::qt

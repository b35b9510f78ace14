#pragma once
// Qt key events as the behaviour sees them: the platform's virtual-key codes (letters by key,
// main-row digits 48-57 whatever SHIFT does to the character, keypad digits 96-105), the
// character code of KeyPress, and the SHIFT/CTRL/ALT bit mask (1, 2, 4).

#include <QString>
#include <Qt>

class QKeyEvent;

namespace tarvo::qt {

// How the native scan code of a key event may be read.
enum class ScanCodes {
    None, // not reliable on this platform: map from the Qt key alone
    Xkb, // X11 and Wayland keycodes (evdev + 8): the digit row is 10..19
};

ScanCodes scanCodesOfThisPlatform();

// The virtual-key code of a key, or 0 for a key the program has no code for.
int virtualKey(int qtKey, Qt::KeyboardModifiers mods, quint32 nativeScanCode, ScanCodes scan);
int virtualKey(const QKeyEvent& e);

// The character code a key press gives (SPACE 32, ENTER 13, BACKSPACE 8, ESC 27, printable
// text), or 0 when it gives none.
int keyAscii(int qtKey, Qt::KeyboardModifiers mods, const QString& text);
int keyAscii(const QKeyEvent& e);

int shiftState(Qt::KeyboardModifiers mods);

} // namespace tarvo::qt

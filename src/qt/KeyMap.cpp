#include "qt/KeyMap.h"

#include "model/KeyRoad.h"
#include "model/Types.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace tarvo::qt {

namespace {

// Keypad keysyms, XK_KP_Space .. XK_KP_Equal.
constexpr quint32 KeypadKeysymFirst = 0xff80;
constexpr quint32 KeypadKeysymLast = 0xffbd;

// Keycodes of the main digit row on XKB platforms: "1" .. "9", then "0".
constexpr quint32 DigitRowFirst = 10;
constexpr quint32 DigitRowLast = 19;

// The digit under a key of the main row, from the character that SHIFT gives it: a fallback
// for platforms without usable scan codes. Italian layout first (this is an Italian program),
// then the US characters that do not clash with it.
int digitOfShiftedSymbol(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Exclam:
        return 1;
    case Qt::Key_QuoteDbl:
    case Qt::Key_At:
        return 2;
    case Qt::Key_sterling:
    case Qt::Key_NumberSign:
        return 3;
    case Qt::Key_Dollar:
        return 4;
    case Qt::Key_Percent:
        return 5;
    case Qt::Key_Ampersand:
        return 6;
    case Qt::Key_Slash:
        return 7;
    case Qt::Key_ParenLeft:
        return 8;
    case Qt::Key_ParenRight:
        return 9;
    case Qt::Key_Equal:
        return 0;
    default:
        return -1;
    }
}

int keypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return vk::Numpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return vk::Multiply;
    case Qt::Key_Plus:
        return vk::Add;
    case Qt::Key_Minus:
        return vk::Subtract;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return vk::Decimal;
    case Qt::Key_Slash:
        return vk::Divide;
    default:
        return 0; // navigation keys of the keypad (NumLock off) map as the ordinary ones
    }
}

int otherKey(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return vk::A + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return vk::Digit0 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return vk::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vk::Tab;
    case Qt::Key_Clear:
        return vk::Clear;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Shift:
        return vk::Shift;
    case Qt::Key_Control:
        return vk::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return vk::Menu;
    case Qt::Key_Pause:
        return vk::Pause;
    case Qt::Key_CapsLock:
        return vk::CapsLock;
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_Space:
        return vk::Space;
    case Qt::Key_PageUp:
        return vk::PageUp;
    case Qt::Key_PageDown:
        return vk::PageDown;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Print:
        return vk::Print;
    case Qt::Key_Insert:
        return vk::Insert;
    case Qt::Key_Delete:
        return vk::Delete;
    case Qt::Key_NumLock:
        return vk::NumLock;
    case Qt::Key_ScrollLock:
        return vk::ScrollLock;
    default:
        return 0;
    }
}

} // namespace

ScanCodes scanCodesOfThisPlatform()
{
    const QString name = QGuiApplication::platformName();
    if (name == QLatin1String("xcb") || name.startsWith(QLatin1String("wayland")))
        return ScanCodes::Xkb;
    return ScanCodes::None;
}

int virtualKey(int qtKey, Qt::KeyboardModifiers mods, quint32 nativeScanCode,
    quint32 nativeVirtualKey, ScanCodes scan)
{
    const bool keypadSym = scan == ScanCodes::Xkb && nativeVirtualKey >= KeypadKeysymFirst
        && nativeVirtualKey <= KeypadKeysymLast;
    KeyFacts k;
    k.onKeypad = (mods & Qt::KeypadModifier) || keypadSym;
    k.keypadCode = keypadKey(qtKey);
    k.symbolCode = otherKey(qtKey);
    if (scan == ScanCodes::Xkb && nativeScanCode >= DigitRowFirst && nativeScanCode <= DigitRowLast)
        k.digitRowPlace = static_cast<int>((nativeScanCode - DigitRowFirst + 1) % 10);
    else if (scan == ScanCodes::None && (mods & Qt::ShiftModifier))
        k.digitRowPlace = digitOfShiftedSymbol(qtKey);
    return virtualKeyOf(k);
}

int virtualKey(const QKeyEvent& e, ScanCodes scan)
{
    return virtualKey(e.key(), e.modifiers(), e.nativeScanCode(), e.nativeVirtualKey(), scan);
}

int virtualKey(const QKeyEvent& e)
{
    static const ScanCodes scan = scanCodesOfThisPlatform();
    return virtualKey(e, scan);
}

int keyAscii(int qtKey, Qt::KeyboardModifiers mods, const QString& text)
{
    switch (qtKey) {
    case Qt::Key_Space:
        return ' ';
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Backspace:
        return '\b';
    case Qt::Key_Escape:
        return '\x1b';
    default:
        break;
    }
    if (text.size() != 1)
        return 0;
    const int ch = text.at(0).unicode();
    if (ch >= 32 && ch != 127)
        return ch;
    // CTRL with a letter gives its control character.
    if (ch >= 1 && ch <= 26 && (mods & Qt::ControlModifier))
        return ch;
    return 0;
}

int keyAscii(const QKeyEvent& e)
{
    return keyAscii(e.key(), e.modifiers(), e.text());
}

int shiftState(Qt::KeyboardModifiers mods)
{
    int s = 0;
    if (mods & Qt::ShiftModifier)
        s |= 1;
    if (mods & Qt::ControlModifier)
        s |= 2;
    if (mods & Qt::AltModifier)
        s |= 4;
    return s;
}

} // namespace tarvo::qt

#include "web/KeyCodes.h"

#include "model/KeyRoad.h"
#include "model/Types.h"

#include <array>
#include <cstdint>

namespace tarvo::web {

namespace {

struct Named {
    std::string_view key;
    int code;
};

// KeyboardEvent.key values of the named keys.
constexpr std::array<Named, 27> NamedKeys { {
    { "Backspace", vk::Back },
    { "Tab", vk::Tab },
    { "Clear", vk::Clear },
    { "Enter", vk::Return },
    { "Shift", vk::Shift },
    { "Control", vk::Control },
    { "Alt", vk::Menu },
    { "AltGraph", vk::Menu },
    { "Pause", vk::Pause },
    { "CapsLock", vk::CapsLock },
    { "Escape", vk::Escape },
    { " ", vk::Space },
    { "PageUp", vk::PageUp },
    { "PageDown", vk::PageDown },
    { "End", vk::End },
    { "Home", vk::Home },
    { "ArrowLeft", vk::Left },
    { "ArrowUp", vk::Up },
    { "ArrowRight", vk::Right },
    { "ArrowDown", vk::Down },
    { "PrintScreen", vk::Print },
    { "Insert", vk::Insert },
    { "Delete", vk::Delete },
    { "NumLock", vk::NumLock },
    { "ScrollLock", vk::ScrollLock },
    { "Spacebar", vk::Space },
    { "Esc", vk::Escape },
} };

// The keypad's own keys; its navigation keys (NumLock off) map as the ordinary ones.
constexpr std::array<Named, 6> KeypadSymbols { {
    { "*", vk::Multiply },
    { "+", vk::Add },
    { "-", vk::Subtract },
    { ".", vk::Decimal },
    { ",", vk::Decimal },
    { "/", vk::Divide },
} };

int lookup(std::string_view key, const auto& table)
{
    for (const Named& n : table)
        if (n.key == key)
            return n.code;
    return 0;
}

int digitOf(std::string_view s)
{
    return s.size() == 1 && s[0] >= '0' && s[0] <= '9' ? s[0] - '0' : -1;
}

int ordinaryKey(std::string_view key)
{
    if (key.size() == 1) {
        const char ch = key[0];
        if (ch >= 'a' && ch <= 'z')
            return vk::A + (ch - 'a');
        if (ch >= 'A' && ch <= 'Z')
            return vk::A + (ch - 'A');
        if (const int d = digitOf(key); d >= 0)
            return vk::Digit0 + d;
    }
    if (key.size() >= 2 && key.size() <= 3 && key[0] == 'F') {
        int n = 0;
        for (char ch : key.substr(1)) {
            if (ch < '0' || ch > '9')
                return lookup(key, NamedKeys);
            n = n * 10 + (ch - '0');
        }
        if (n >= 1 && n <= 24)
            return vk::F1 + n - 1;
    }
    return lookup(key, NamedKeys);
}

// One code point of a UTF-8 string holding exactly one; -1 otherwise.
std::int32_t onlyCodePoint(std::string_view s)
{
    if (s.empty())
        return -1;
    const auto b = static_cast<unsigned char>(s[0]);
    const std::size_t length = b < 0x80 ? 1
        : (b >> 5) == 0x6               ? 2
        : (b >> 4) == 0xE               ? 3
        : (b >> 3) == 0x1E              ? 4
                                        : 0;
    if (length == 0 || s.size() != length)
        return -1;
    std::int32_t cp = length == 1 ? b : b & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if ((c >> 6) != 0x2)
            return -1;
        cp = (cp << 6) | (c & 0x3F);
    }
    return cp;
}

} // namespace

int virtualKey(std::string_view code, std::string_view key)
{
    const int digit = digitOf(key);
    KeyFacts k;
    k.onKeypad = code.starts_with("Numpad");
    k.keypadCode = digit >= 0 ? vk::Numpad0 + digit : lookup(key, KeypadSymbols);
    k.symbolCode = ordinaryKey(key);
    k.digitRowPlace = code.starts_with("Digit") ? digitOf(code.substr(5)) : -1;
    return virtualKeyOf(k);
}

int keyAscii(std::string_view key, bool ctrl)
{
    if (key == " " || key == "Spacebar")
        return ' ';
    if (key == "Enter")
        return '\r';
    if (key == "Backspace")
        return '\b';
    if (key == "Escape" || key == "Esc")
        return '\x1b';
    const std::int32_t cp = onlyCodePoint(key);
    if (cp < 32 || cp == 127 || cp > 0xFFFF)
        return 0;
    // CTRL with a letter gives its control character.
    if (ctrl && ((cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z')))
        return cp & 0x1F;
    return static_cast<int>(cp);
}

bool isSpaceOrEnter(std::string_view code, std::string_view key)
{
    return key == " " || key == "Enter" || code == "Space";
}

bool browsersOwn(std::string_view code, std::string_view key, bool ctrl, bool meta)
{
    if (isSpaceOrEnter(code, key))
        return false;
    return ctrl || meta || key == "F5" || key == "F11" || key == "F12";
}

int shiftState(bool shift, bool ctrl, bool alt)
{
    return (shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0);
}

} // namespace tarvo::web

// The keys the browser tests press, by KeyboardEvent.code: the key's value, its text, its Windows
// virtual-key code (what Chromium's protocol wants), its location (3: the numeric keypad, the
// keypad of NumLock on) and its WebDriver code point (what WebDriver's key actions send).
'use strict';

const NAMED = {
    NumpadMultiply: { key: '*', text: '*', vk: 106, location: 3, wd: '\uE024' },
    Enter: { key: 'Enter', text: '\r', vk: 13, wd: '\uE007' },
    Space: { key: ' ', text: ' ', vk: 32, wd: '\uE00D' },
    Tab: { key: 'Tab', vk: 9, wd: '\uE004' },
    Backspace: { key: 'Backspace', vk: 8, wd: '\uE003' },
    Escape: { key: 'Escape', vk: 27, wd: '\uE00C' },
    ShiftLeft: { key: 'Shift', vk: 16, location: 1, wd: '\uE008', modifier: 8 },
    ControlLeft: { key: 'Control', vk: 17, location: 1, wd: '\uE009', modifier: 2 },
    AltLeft: { key: 'Alt', vk: 18, location: 1, wd: '\uE00A', modifier: 1 },
    MetaLeft: { key: 'Meta', vk: 91, location: 1, wd: '\uE03D', modifier: 4 },
};

function keyOf(code) {
    let m;
    if ((m = /^Digit(\d)$/.exec(code))) return { key: m[1], text: m[1], vk: 48 + +m[1], wd: m[1] };
    if ((m = /^Numpad(\d)$/.exec(code)))
        return { key: m[1], text: m[1], vk: 96 + +m[1], location: 3, wd: String.fromCharCode(0xe01a + +m[1]) };
    if ((m = /^Key([A-Z])$/.exec(code))) {
        const c = m[1].toLowerCase();
        return { key: c, text: c, vk: m[1].charCodeAt(0), wd: c };
    }
    if (!NAMED[code]) throw new Error(`no such key in the tests' table: ${code}`);
    return NAMED[code];
}

// WebDriver's key sources: a key pressed again while its source holds it down is a repeat there.
// A press whose release was never heard (the page lost the focus meanwhile) is a fresh press, on a
// keyboard of its own.
function keyboards() {
    let n = 0;
    const held = new Set();
    return {
        source(type, code, repeat) {
            if (type === 'down' && !repeat && held.has(code)) {
                n++;
                held.clear();
            }
            if (type === 'down') held.add(code);
            else held.delete(code);
            return `keyboard${n}`;
        },
    };
}

// Mouse buttons by name, as WebDriver and X number them, and their bit in PointerEvent.buttons.
const BUTTONS = { left: { wd: 0, x: 1, bit: 1 }, middle: { wd: 1, x: 2, bit: 4 }, right: { wd: 2, x: 3, bit: 2 },
    back: { wd: 3, x: 8, bit: 8, side: true }, forward: { wd: 4, x: 9, bit: 16, side: true } };

module.exports = { keyOf, keyboards, BUTTONS };

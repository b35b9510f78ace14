#pragma once
// The road of a key through the windows of one platform, the same whatever reports the key (the
// toolkit binding, or a test standing in for it). KeyDown goes to the button the key was given
// to; an arrow key that KeyDown left unchanged steps within the option group; KeyPress goes to
// the control focused after KeyDown; an ENTER that KeyPress left alone clicks a command button at
// once, a SPACE clicks it when it comes back up, if the focus is still on that button; KeyUp goes
// to whatever has the focus when the key comes up, also to no control at all.
//
// One physical press is one action. The road knows which keys are down and in which window each
// went down: a further press of a held key is its repeat, and reaches only that window (whose
// latches keep it silent, while an arrow keeps stepping), never clicks, and does nothing at all
// in a window that the press did not reach, such as a screen the press opened or uncovered.

#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace tarvo {

class Control;
class Window;

// One key event as the platform reports it.
struct KeyStroke {
    int key = 0; // the physical key: the same number in its press, its repeats and its release
    int code = 0; // virtual-key code for KeyDown; 0 for a key that has none
    int ascii = 0; // character code for KeyPress; 0 for a key that gives none
    int shift = 0; // SHIFT 1, CTRL 2, ALT 4
    bool repeat = false; // the platform says this press repeats a key held down
};

// What a binding reads of a key from its toolkit, and the one rule that makes the key's
// virtual-key code of it (virtualKeyOf): on the numeric keypad, the keypad's own code, else the
// ordinary key's; elsewhere the key's own symbol first (digits, letters and named keys wherever a
// layout puts them, as a virtual keyboard shows them), and only a symbol of no meaning here falls
// back on the key's place in the digit row, so that SHIFT (or a layout whose unshifted row is not
// digits) still gives the digit.
struct KeyFacts {
    bool onKeypad = false;
    int keypadCode = 0; // the keypad's code for the key's symbol (vk::Numpad0.., vk::Add..), or 0
    int symbolCode = 0; // the ordinary key the symbol names, or 0
    int digitRowPlace = -1; // the digit under the key in the main row; -1 when not known
};
int virtualKeyOf(const KeyFacts& k);

class KeyRoad {
public:
    // A key went down while `w` had the keyboard. `target` is the control the platform gives
    // it to, the focused button; null while no control has the focus (the key acts on nothing,
    // but it is down). Does nothing for a window that is not shown, or that a modal window
    // blocks (Platform::refuse).
    void press(Window& w, Control* target, const KeyStroke& k);
    // A key came up while `w` had the keyboard: KeyUp to the control focused now, or to none.
    void release(Window& w, const KeyStroke& k);
    // The focus of `w` moved: a SPACE held on a command button no longer pushes it.
    void focusMoved(const Window& w);
    // `w` is no longer shown: the keys held on it stay down, but belong to no window.
    void closed(const Window& w);
    // The keyboard came back to `w`, maybe from another program: a held key that `stillDown`
    // says is up was released there. Its release arrives now, to `w`, as the platform's would,
    // except that a SPACE pushes no button: its next press is then a press, not a repeat (also
    // when the platform flags it as one), and no latch stays shut.
    void settle(Window& w, const std::function<bool(int key)>& stillDown);

    bool isDown(int key) const { return down_.contains(key); }
    // A release of `key` is the road's to take: the key is down, or settle gave its release and
    // the platform's own has not come yet. A platform that must say whether a release is the
    // program's (a browser page) asks this.
    bool awaitsRelease(int key) const { return down_.contains(key) || settled_.contains(key); }

private:
    // Records a first press as down in `w`; false for a repeat that must not act in `w`.
    bool admit(const Window& w, const Control* target, const KeyStroke& k, bool& repeat);
    // The arrow step within an option group, which the platform makes after KeyDown.
    static void stepInGroup(Window& w, const Control& from, int arrow);
    // A command button pushed by ENTER at once, or armed for SPACE's release.
    void push(Window& w, Control& button, int ascii, int key);
    void disarm();

    // A held key: the window whose control its press reached (null: none), and its code and
    // modifiers for the KeyUp that settle gives in its stead.
    struct Held {
        const Window* in;
        int code;
        int shift;
    };
    std::unordered_map<int, Held> down_;
    // Keys that settle let go of, until their next press or release.
    std::unordered_set<int> settled_;
    // The command button SPACE went down on, its window and the key.
    Control* armed_ = nullptr;
    const Window* armedIn_ = nullptr;
    int armedKey_ = 0;
};

} // namespace tarvo

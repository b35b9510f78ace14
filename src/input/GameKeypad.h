#pragma once
// The game screen's keypad Option1(0..13) worked by keyboard, by manual scanning (SPACE moves the
// focus to the next enabled button, ENTER presses the focused one) and by mouse, all at once.
// The game screen (the window's one events object) hands it the focus, key and mouse events; the
// actions themselves are GameScreen's. One press of a key gives one action: a held key does
// nothing more until any key is released. The window and the game must outlive it.

#include "game/GameScreen.h"
#include "input/Latches.h"
#include "model/Window.h"

#include <array>

namespace tarvo {

class GameKeypad final : public WindowEvents {
public:
    // Resolves the keypad: throws std::out_of_range, naming it, for a button the table lacks.
    GameKeypad(Window& frmOperativo, GameScreen& game);
    GameKeypad(const GameKeypad&) = delete;
    GameKeypad& operator=(const GameKeypad&) = delete;

    void gotFocus(Control& c) override;
    void lostFocus(Control& c) override;
    void keyDown(Control& c, int& keyCode, int shift) override { KeyDown(c, keyCode, shift); }
    void keyPress(Control& c, int& keyAscii) override { KeyPress(c, keyAscii); }
    void keyUp(Control* c, int keyCode, int shift) override { KeyUp(c, keyCode, shift); }
    void mouseDown(Control& c, int button, int shift) override { MouseDown(c, button, shift); }
    void mouseUp(Control& c, int button, int shift) override { MouseUp(c, button, shift); }

    // The events, for a keypad button; keyCode and keyAscii are set to 0 for a swallowed key.
    void KeyDown(Control& button, int& keyCode, int shift);
    void KeyPress(Control& button, int& keyAscii);
    void KeyUp(Control* button, int keyCode, int shift); // button may be null: latches clear
    void MouseDown(Control& button, int mouseButton, int shift);
    void MouseUp(Control& button, int mouseButton, int shift);

    bool keyLatched() const { return latches_.key; }
    bool spaceLatched() const { return latches_.space; }

private:
    bool isKey(const Control& c) const;
    // Focus to keypad button `index` if it is enabled; false otherwise.
    bool focusIfEnabled(int index);

    Window& w_;
    GameScreen& game_;
    Latches latches_;
    std::array<Control*, NumeroTasti> Option1; // the keypad buttons, by the table's name
};

} // namespace tarvo

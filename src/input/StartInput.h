#pragma once
// Keyboard, scanning and mouse input of the start screen's two button groups: the choice group
// `Option1(0..10)` and the command group `Option2(0..2)`. A digit key only moves the focus; ENTER
// on the focused button or a press of any mouse button runs the group's routine. Each group has
// its own key and space latches, cleared only by a release that reaches one of its own buttons.

#include "input/Latches.h"
#include "model/Window.h"

#include <cstdint>

namespace tarvo {

// The two routines the buttons run, given the button's index.
class StartCommands {
public:
    virtual ~StartCommands() = default;
    virtual void ScegliTarvo(std::int16_t index) = 0;
    virtual void EseguiComando(std::int16_t index) = 0;
};

class StartInput {
public:
    // Installs GotFocus, LostFocus, KeyDown, KeyPress, KeyUp, MouseDown and MouseUp on the window.
    // The window and the commands must outlive it.
    StartInput(Window& frmInizio, StartCommands& commands);
    ~StartInput(); // removes the handlers it installed
    StartInput(const StartInput&) = delete;
    StartInput& operator=(const StartInput&) = delete;

    const Latches& choiceLatches() const { return choice_; }
    const Latches& commandLatches() const { return command_; }

private:
    enum class Group { None, Choice, Command };
    Group groupOf(const Control& c) const;
    Latches& latchesOf(Group g) { return g == Group::Choice ? choice_ : command_; }

    void keyDown(Control& c, int& keyCode);
    void choiceKeyDown(Control& c, int& keyCode);
    void commandKeyDown(Control& c, int& keyCode);
    void keyPress(Control& c, int& keyAscii);
    void keyUp(Control* c);
    void mouseDown(Control& c);
    void mouseUp(Control& c);
    void focusChoice(int index);
    void focusCommand(int index);

    Window& window_;
    StartCommands& commands_;
    int choiceCount_;
    int commandCount_;
    Latches choice_;
    Latches command_;
};

} // namespace tarvo

#pragma once
// Keyboard, scanning and mouse input of the start screen's two button groups: the choice group
// `Option1(0..10)` and the command group `Option2(0..2)`. A digit key only moves the focus; ENTER
// on the focused button or a press of any mouse button runs the group's routine. Each group has
// its own key and space latches, cleared only by a release that reaches one of its own buttons.

#include "input/Latches.h"
#include "model/Window.h"

#include <array>
#include <cstdint>

namespace tarvo {

// The two routines the buttons run, given the button's index.
class StartCommands {
public:
    virtual ~StartCommands() = default;
    virtual void ScegliTarvo(std::int16_t index) = 0;
    virtual void EseguiComando(std::int16_t index) = 0;
};

// The focus, key and mouse events of the window, handed on by the start screen (the window's one
// events object); the other events are not its own and stay empty. The window and the commands
// must outlive it.
class StartInput final : public WindowEvents {
public:
    // Resolves both groups: throws std::out_of_range, naming it, for a button the table lacks.
    StartInput(Window& frmInizio, StartCommands& commands);
    StartInput(const StartInput&) = delete;
    StartInput& operator=(const StartInput&) = delete;

    void gotFocus(Control& c) override;
    void lostFocus(Control& c) override;
    void keyDown(Control& c, int& keyCode, int shift) override;
    void keyPress(Control& c, int& keyAscii) override;
    void keyUp(Control* c, int keyCode, int shift) override;
    void mouseDown(Control& c, int button, int shift) override;
    void mouseUp(Control& c, int button, int shift) override;

    const Latches& choiceLatches() const { return choice_; }
    const Latches& commandLatches() const { return command_; }

private:
    enum class Group : std::uint8_t { None, Choice, Command };
    Group groupOf(const Control& c) const;
    Latches& latchesOf(Group g) { return g == Group::Choice ? choice_ : command_; }

    void choiceKeyDown(Control& c, int& keyCode);
    void commandKeyDown(Control& c, int& keyCode);
    void focusChoice(int index);
    void focusCommand(int index);

    Window& window_;
    StartCommands& commands_;
    std::array<Control*, 11> Option1; // the choice group, "10" .. "20"
    std::array<Control*, 3> Option2; // the command group, "Vai", "Ripristina", "Esci"
    Latches choice_;
    Latches command_;
};

} // namespace tarvo

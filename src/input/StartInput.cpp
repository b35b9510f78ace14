#include "input/StartInput.h"

#include "input/Highlight.h"
#include "input/Scanning.h"

#include <algorithm>

namespace tarvo {

namespace {
template <std::size_t N> bool holds(const std::array<Control*, N>& group, const Control& c)
{
    return std::find(group.begin(), group.end(), &c) != group.end();
}

bool isMainDigit(int k)
{
    return k >= vk::Digit0 && k <= vk::Digit0 + 9;
}
bool isPadDigit(int k)
{
    return k >= vk::Numpad0 && k <= vk::Numpad0 + 9;
}
} // namespace

StartInput::StartInput(Window& frmInizio, StartCommands& commands)
    : window_(frmInizio)
    , commands_(commands)
    , Option1(frmInizio.members<11>("Option1"))
    , Option2(frmInizio.members<3>("Option2"))
{
}

void StartInput::gotFocus(Control& c)
{
    if (groupOf(c) != Group::None)
        onGotFocus(c);
}

void StartInput::lostFocus(Control& c)
{
    if (groupOf(c) != Group::None)
        onLostFocus(c);
}

StartInput::Group StartInput::groupOf(const Control& c) const
{
    if (holds(Option1, c))
        return Group::Choice;
    if (holds(Option2, c))
        return Group::Command;
    return Group::None;
}

void StartInput::focusChoice(int index)
{
    if (index >= 0 && index < static_cast<int>(Option1.size()))
        window_.setFocus(*Option1[static_cast<std::size_t>(index)]);
}

void StartInput::focusCommand(int index)
{
    if (index >= 0 && index < static_cast<int>(Option2.size()))
        window_.setFocus(*Option2[static_cast<std::size_t>(index)]);
}

void StartInput::keyDown(Control& c, int& keyCode, int /*shift*/)
{
    switch (groupOf(c)) {
    case Group::Choice:
        choiceKeyDown(c, keyCode);
        break;
    case Group::Command:
        commandKeyDown(c, keyCode);
        break;
    case Group::None:
        break;
    }
}

void StartInput::choiceKeyDown(Control& c, int& keyCode)
{
    if (choice_.key)
        return;
    const int k = keyCode;
    if (isMainDigit(k))
        focusChoice(k - vk::Digit0);
    else if (isPadDigit(k) || k == vk::Multiply)
        focusChoice(k - vk::Numpad0);
    else if (k == vk::Return)
        commands_.ScegliTarvo(static_cast<std::int16_t>(c.index()));
    else if (k != vk::S && k != vk::N) {
        // Arrows included: the toolkit's own movement within the group must not happen here.
        keyCode = 0;
        return;
    }
    choice_.key = true;
}

void StartInput::commandKeyDown(Control& c, int& keyCode)
{
    if (command_.key)
        return;
    const int k = keyCode;
    const bool admitted = isMainDigit(k) || isPadDigit(k) || k == vk::C || k == vk::A || k == vk::N
        || k == vk::E || k == vk::V || k == vk::F2 || k == vk::Back || k == vk::Return;
    if (!admitted) {
        keyCode = 0;
        return;
    }
    if (k == vk::Digit0)
        focusCommand(0);
    else if (k == vk::Digit0 + 1)
        focusCommand(1);
    else if (k == vk::Return)
        commands_.EseguiComando(static_cast<std::int16_t>(c.index()));
    command_.key = true;
}

void StartInput::keyPress(Control& c, int& keyAscii)
{
    const Group g = groupOf(c);
    if (g == Group::None)
        return;
    Latches& l = latchesOf(g);
    if (l.space)
        return;
    if (keyAscii != ' ') {
        keyAscii = 0;
        return;
    }
    if (g == Group::Choice)
        scanStep(window_, Option1, c.index());
    else
        scanStep(window_, Option2, c.index());
    l.space = true;
}

void StartInput::keyUp(Control* c, int /*keyCode*/, int /*shift*/)
{
    const Group g = c ? groupOf(*c) : Group::None;
    if (g == Group::None) {
        // A release that reaches no button of either group (no focus at all) must not leave a
        // group deaf to keys: both groups are re-armed.
        choice_ = {};
        command_ = {};
        return;
    }
    latchesOf(g) = {};
    if (g == Group::Choice)
        c->setValue(false);
}

void StartInput::mouseDown(Control& c, int /*button*/, int /*shift*/)
{
    switch (groupOf(c)) {
    case Group::Choice:
        commands_.ScegliTarvo(static_cast<std::int16_t>(c.index()));
        break;
    case Group::Command:
        commands_.EseguiComando(static_cast<std::int16_t>(c.index()));
        break;
    case Group::None:
        break;
    }
}

void StartInput::mouseUp(Control& c, int /*button*/, int /*shift*/)
{
    const Group g = groupOf(c);
    if (g == Group::None)
        return;
    latchesOf(g) = {};
    c.setValue(false);
}

} // namespace tarvo

#include "LambdaEvents.h"

namespace tarvo::test {

LambdaEvents::LambdaEvents(Window& w)
    : inner_(w.events())
{
    w.setEvents(this);
}

void LambdaEvents::load()
{
    on.load ? on.load() : inner_.load();
}

void LambdaEvents::activate()
{
    on.activate ? on.activate() : inner_.activate();
}

void LambdaEvents::resize()
{
    on.resize ? on.resize() : inner_.resize();
}

void LambdaEvents::unload()
{
    on.unload ? on.unload() : inner_.unload();
}

void LambdaEvents::gotFocus(Control& c)
{
    on.gotFocus ? on.gotFocus(c) : inner_.gotFocus(c);
}

void LambdaEvents::lostFocus(Control& c)
{
    on.lostFocus ? on.lostFocus(c) : inner_.lostFocus(c);
}

void LambdaEvents::keyDown(Control& c, int& keyCode, int shift)
{
    on.keyDown ? on.keyDown(c, keyCode, shift) : inner_.keyDown(c, keyCode, shift);
}

void LambdaEvents::keyPress(Control& c, int& keyAscii)
{
    on.keyPress ? on.keyPress(c, keyAscii) : inner_.keyPress(c, keyAscii);
}

void LambdaEvents::keyUp(Control* c, int keyCode, int shift)
{
    on.keyUp ? on.keyUp(c, keyCode, shift) : inner_.keyUp(c, keyCode, shift);
}

void LambdaEvents::mouseDown(Control& c, int button, int shift)
{
    on.mouseDown ? on.mouseDown(c, button, shift) : inner_.mouseDown(c, button, shift);
}

void LambdaEvents::mouseUp(Control& c, int button, int shift)
{
    on.mouseUp ? on.mouseUp(c, button, shift) : inner_.mouseUp(c, button, shift);
}

void LambdaEvents::change(Control& c)
{
    on.change ? on.change(c) : inner_.change(c);
}

void LambdaEvents::timer(Control& c)
{
    on.timer ? on.timer(c) : inner_.timer(c);
}

void LambdaEvents::click(Control& c)
{
    on.click ? on.click(c) : inner_.click(c);
}

} // namespace tarvo::test

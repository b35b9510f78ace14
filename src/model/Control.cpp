#include "model/Control.h"

#include "model/Window.h"

#include <utility>

namespace tarvo {

Control::Control(Window& window, const ControlDef& def, Control* container)
    : window_(&window)
    , kind_(def.kind)
    , name_(def.name)
    , index_(def.index)
    , container_(container)
    , tabIndex_(def.tabIndex)
    , opaque_(def.opaque)
    , align_(def.align)
    , shape_(def.shape)
    , borderPx_(def.borderPx)
    , borderColor_(def.borderColor)
    , frameLine_(def.frameLine)
    , decorative_(def.decorative)
    , dock_(def.dock)
    , z_(def.z)
    , caption_(def.caption)
    , back_(def.back)
    , fore_(def.fore)
    , font_(def.font)
    , visible_(def.visible)
    , enabled_(def.enabled)
    , rect_(def.rect)
    , interval_(def.intervalMs)
{
}

void Control::changed(Prop p)
{
    window_->notify(*this, p);
}

void Control::setCaption(std::string text)
{
    if (text == caption_)
        return;
    caption_ = std::move(text);
    changed(Prop::Caption);
    if (kind_ == Kind::Label && window_->handlers.change)
        window_->handlers.change(*this);
}

void Control::setBackColor(Bgr c)
{
    if (back_ == c)
        return;
    back_ = c;
    changed(Prop::BackColor);
}

void Control::setForeColor(Bgr c)
{
    if (fore_ == c)
        return;
    fore_ = c;
    changed(Prop::ForeColor);
}

void Control::setFont(const Font& f)
{
    if (font_ == f)
        return;
    font_ = f;
    changed(Prop::Font);
}

void Control::setVisible(bool v)
{
    if (visible_ == v)
        return;
    visible_ = v;
    changed(Prop::Visible);
}

void Control::setEnabled(bool e)
{
    if (enabled_ == e)
        return;
    enabled_ = e;
    changed(Prop::Enabled);
}

bool Control::effectivelyVisible() const
{
    for (const Control* c = this; c; c = c->container_)
        if (!c->visible_)
            return false;
    return true;
}

bool Control::effectivelyEnabled() const
{
    for (const Control* c = this; c; c = c->container_)
        if (!c->enabled_)
            return false;
    return true;
}

void Control::setValue(bool v)
{
    if (value_ == v)
        return;
    value_ = v;
    changed(Prop::Value);
}

void Control::placeDocked(Twips& r) const
{
    if (dock_ == Dock::None || container_)
        return;
    r.top = 0;
    r.height = window_->innerHeight();
    r.left = dock_ == Dock::Left ? 0 : window_->innerWidth() - r.width;
}

bool Control::move(Twips r)
{
    if (r.width < 0 || r.height < 0)
        return false;
    placeDocked(r);
    if (r == rect_)
        return true;
    rect_ = r;
    changed(Prop::Rect);
    return true;
}

void Control::setInterval(int ms)
{
    if (ms < 0 || ms == interval_)
        return;
    interval_ = ms;
    changed(Prop::Interval);
}

} // namespace tarvo

#include "model/Control.h"

#include "model/Window.h"

#include <algorithm>
#include <utility>

namespace tarvo {

Control::Control(Window& window, const ControlDef& def, Control* container)
    : window_(&window)
    , container_(container)
    , name_(def.name)
    , containerName_(def.container)
    , def_(def)
    , now_ { .caption = std::string(def.caption),
        .back = def.back,
        .font = def.font,
        .visible = def.visible,
        .enabled = def.enabled,
        .rect = def.rect }
{
    def_.name = name_;
    def_.container = containerName_;
    def_.caption = {}; // the caption lives in the run-time state
}
void Control::changed(Prop p)
{
    window_->notify(*this, p);
}

std::string Control::shownCaption() const
{
    std::string text;
    text.reserve(now_.caption.size());
    for (std::size_t i = 0; i < now_.caption.size(); ++i) {
        if (now_.caption[i] == CR) {
            text += '\n';
            if (i + 1 < now_.caption.size() && now_.caption[i + 1] == '\n')
                ++i;
        } else {
            text += now_.caption[i];
        }
    }
    return text;
}

void Control::setCaption(std::string text)
{
    if (text == now_.caption)
        return;
    now_.caption = std::move(text);
    changed(Prop::Caption);
    if (def_.kind == Kind::Label)
        window_->events().change(*this);
}

void Control::setBackColor(Bgr c)
{
    if (now_.back == c)
        return;
    now_.back = c;
    changed(Prop::BackColor);
}

void Control::setFont(const Font& f)
{
    if (now_.font == f)
        return;
    now_.font = f;
    changed(Prop::Font);
}

void Control::setVisible(bool v)
{
    if (now_.visible == v)
        return;
    now_.visible = v;
    changed(Prop::Visible);
}

void Control::setEnabled(bool e)
{
    if (now_.enabled == e)
        return;
    now_.enabled = e;
    changed(Prop::Enabled);
}

bool Control::effectivelyVisible() const
{
    for (const Control* c = this; c; c = c->container_)
        if (!c->now_.visible)
            return false;
    return true;
}

bool Control::effectivelyEnabled() const
{
    for (const Control* c = this; c; c = c->container_)
        if (!c->now_.enabled)
            return false;
    return true;
}

void Control::setValue(bool v)
{
    if (now_.value == v)
        return;
    now_.value = v;
    changed(Prop::Value);
}

void Control::placeDocked(Twips& r) const
{
    if (def_.dock == Dock::None || container_)
        return;
    r.top = 0;
    r.height = window_->innerHeight();
    r.left = def_.dock == Dock::Left ? 0 : window_->innerWidth() - r.width;
}

bool Control::move(Twips r)
{
    if (r.width < 0 || r.height < 0)
        return false;
    placeDocked(r);
    if (r == now_.rect)
        return true;
    now_.rect = r;
    changed(Prop::Rect);
    return true;
}

void sortControls(std::vector<Control*>& list, ControlOrder before)
{
    std::stable_sort(list.begin(), list.end(), before);
}

void sortControls(std::vector<const Control*>& list, ControlOrder before)
{
    std::stable_sort(list.begin(), list.end(), before);
}

} // namespace tarvo

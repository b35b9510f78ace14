#include "model/Window.h"

#include "model/Platform.h"

#include <algorithm>
#include <stdexcept>

namespace tarvo {

namespace {

bool byIndex(const Control* a, const Control* b)
{
    return a->index() < b->index();
}

bool byTabIndex(const Control* a, const Control* b)
{
    return a->tabIndex() < b->tabIndex();
}

} // namespace

Window::Window(const WindowDef& def)
    : name_(def.name)
    , title_(def.title)
    , back_(def.back)
    , maximised_(def.maximised)
    , hasIcon_(def.hasIcon)
    , resizable_(def.resizable)
    , designWidth_(def.clientWidth)
    , designHeight_(def.clientHeight)
    , innerWidth_(def.clientWidth)
    , innerHeight_(def.clientHeight)
{
}

Window::~Window() = default;

Control& Window::add(const ControlDef& def)
{
    Control* container = nullptr;
    if (!def.container.empty()) {
        container = find(def.container, def.containerIndex);
        if (!container)
            throw std::logic_error(
                "container not defined before its controls: " + std::string(def.container));
    }
    if (find(def.name, def.index))
        throw std::logic_error("control defined twice: " + std::string(def.name));
    controls_.push_back(std::make_unique<Control>(*this, def, container));
    Control& c = *controls_.back();
    c.placeDocked(c.now_.rect);
    return c;
}

Control* Window::lookup(std::string_view name, int index) const
{
    for (const auto& c : controls_)
        if (c->is(name, index))
            return c.get();
    return nullptr;
}

Control* Window::find(std::string_view name, int index)
{
    return lookup(name, index);
}

const Control* Window::find(std::string_view name, int index) const
{
    return lookup(name, index);
}

Control& Window::lookupOrThrow(std::string_view name, int index) const
{
    if (Control* c = lookup(name, index))
        return *c;
    const std::string member = index >= 0 ? "(" + std::to_string(index) + ")" : "";
    throw std::out_of_range(name_ + " has no control " + std::string(name) + member);
}

Control& Window::at(std::string_view name, int index)
{
    return lookupOrThrow(name, index);
}

const Control& Window::at(std::string_view name, int index) const
{
    return lookupOrThrow(name, index);
}

std::vector<Control*> Window::membersOf(std::string_view name) const
{
    std::vector<Control*> members;
    for (const auto& c : controls_)
        if (c->name() == name && c->index() >= 0)
            members.push_back(c.get());
    sortControls(members, byIndex);
    return members;
}

std::vector<Control*> Window::array(std::string_view name)
{
    return membersOf(name);
}

std::vector<const Control*> Window::array(std::string_view name) const
{
    const std::vector<Control*> members = membersOf(name);
    return { members.begin(), members.end() };
}

void Window::setInnerSize(int width, int height)
{
    innerWidth_ = width < 0 ? 0 : width;
    innerHeight_ = height < 0 ? 0 : height;
    for (auto& c : controls_)
        if (c->dock() != Dock::None)
            c->move(c->rect());
}

bool Window::canTakeFocus(const Control& c) const
{
    return &c.window() == this && isButton(c.kind()) && c.effectivelyEnabled()
        && c.effectivelyVisible();
}

Control* Window::nextInGroup(const Control& from, int direction) const
{
    std::vector<Control*> group;
    for (const auto& c : controls_)
        if (c->is(Kind::OptionButton) && c->container() == from.container())
            group.push_back(c.get());
    sortControls(group, byIndex);
    const auto at = std::find(group.begin(), group.end(), &from);
    if (at == group.end())
        return nullptr;
    const long n = static_cast<long>(group.size());
    const long start = at - group.begin();
    for (long k = 1; k < n; ++k) {
        Control* candidate = group[static_cast<std::size_t>(((start + direction * k) % n + n) % n)];
        if (canTakeFocus(*candidate))
            return candidate;
    }
    return nullptr;
}

std::vector<Control*> Window::tabChain() const
{
    std::vector<Control*> chain;
    for (const auto& c : controls_)
        if (c->hasTabStop())
            chain.push_back(c.get());
    sortControls(chain, byTabIndex);
    return chain;
}

Control* Window::nextInTabOrder(const Control* from, int direction) const
{
    const std::vector<Control*> chain = tabChain();
    const long n = static_cast<long>(chain.size());
    const auto at = std::find(chain.begin(), chain.end(), from);
    const long start = at == chain.end() ? (direction > 0 ? -1 : n) : at - chain.begin();
    for (long k = 1; k <= n; ++k) {
        Control* candidate = chain[static_cast<std::size_t>(((start + direction * k) % n + n) % n)];
        if (candidate != from && canTakeFocus(*candidate))
            return candidate;
    }
    return nullptr;
}

void Window::takeFirstFocus()
{
    if (focused_)
        return;
    for (Control* c : tabChain())
        if (canTakeFocus(*c) && setFocus(*c))
            return;
}

void Window::attach(Platform* platform)
{
    // Keys and mouse buttons held on a closed window belong to it no more.
    if (platform_ && platform_ != platform) {
        platform_->keys().closed(*this);
        platform_->mouse().closed(*this);
    }
    platform_ = platform;
}

bool Window::setFocus(Control& c)
{
    if (!platform_ || !canTakeFocus(c))
        return false;
    return platform_->setFocus(*this, c);
}

void Window::notify(Control& c, Prop p)
{
    if (observer)
        observer(c, p);
}

WindowEvents& Window::events() const
{
    static WindowEvents none;
    return events_ ? *events_ : none;
}

void Window::raiseLoad()
{
    events().load();
}

void Window::raiseActivate()
{
    events().activate();
}

void Window::raiseResize()
{
    events().resize();
}

void Window::raiseUnload()
{
    events().unload();
}

void Window::focusMovedTo(Control* c)
{
    if (c == focused_)
        return;
    Control* old = focused_;
    focused_ = c;
    if (platform_)
        platform_->keys().focusMoved(*this);
    if (old)
        events().lostFocus(*old);
    // A handler of the lost control may have moved the focus on already.
    if (c && focused_ == c)
        events().gotFocus(*c);
}

void Window::raiseKeyDown(Control& c, int& keyCode, int shift)
{
    events().keyDown(c, keyCode, shift);
}

void Window::raiseKeyPress(Control& c, int& keyAscii)
{
    events().keyPress(c, keyAscii);
}

void Window::raiseKeyUp(Control* c, int keyCode, int shift)
{
    events().keyUp(c, keyCode, shift);
}

void Window::raiseMouseDown(Control& c, MouseButton b, int shift)
{
    events().mouseDown(c, static_cast<int>(b), shift);
}

void Window::raiseMouseUp(Control& c, MouseButton b, int shift)
{
    events().mouseUp(c, static_cast<int>(b), shift);
}

void Window::raiseTimer(Control& timer)
{
    if (timer.kind() == Kind::Timer && timer.enabled())
        events().timer(timer);
}

void Window::raiseClick(Control& c)
{
    if (c.effectivelyEnabled())
        events().click(c);
}

} // namespace tarvo

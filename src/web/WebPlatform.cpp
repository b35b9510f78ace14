// The windows on the page: each shown window's elements, made from its controls and kept in step
// with them, its place among the others, its focus and timers; posted work, what a reader hears,
// and the end.

#include "web/WebPlatform.h"

#include "model/Window.h"
#include "web/Page.h"
#include "web/Paint.h"
#include "web/Reading.h"
#include "web/Units.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvo::web {

namespace {

// The parts of an element, as a JSON array.
std::string partsOf(const Element& e)
{
    std::string parts = "[";
    for (const Part& p : e.parts) {
        parts += parts.size() > 1 ? "," : "";
        parts += "{\"tag\":" + quoted(p.tag) + ",\"class\":" + quoted(p.cls)
            + ",\"attrs\":" + (p.unread ? R"({"aria-hidden":"true"})" : "{}") + "}";
    }
    return parts + "]";
}

// Takes `now` as what the page has, when it is not that already.
bool replaced(std::string& had, std::string now)
{
    if (had == now)
        return false;
    had = std::move(now);
    return true;
}

const char* flag(bool on)
{
    return on ? "true" : "false";
}

} // namespace

WebPlatform* WebPlatform::current_ = nullptr;

WebPlatform::WebPlatform()
{
    current_ = this;
    int seen[3] = {};
    tarvo_page_start(seen, TextBytes);
    viewport(seen[0], seen[1], seen[2]);
}

WebPlatform::~WebPlatform()
{
    for (auto& [window, v] : views_)
        v->window->observer = nullptr;
    current_ = nullptr;
}

void WebPlatform::send(Record r)
{
    changes_.add(std::move(r));
}

void WebPlatform::flush()
{
    // The words of one control may hang on others (a ray's answer reads its numbers): they are
    // read again once the event that changed them is over.
    for (auto& [window, v] : views_)
        if (std::exchange(v->readingDue, false))
            updateReading(*v);
    if (changes_.empty())
        return;
    const std::string records = changes_.take();
    tarvo_page_apply(records.data(), static_cast<int>(records.size()));
}

WebPlatform::View* WebPlatform::view(const Window& w) const
{
    const auto it = views_.find(&w);
    return it == views_.end() ? nullptr : it->second.get();
}

WebPlatform::View* WebPlatform::viewOf(int win) const
{
    for (const auto& [window, v] : views_)
        if (v->id == win)
            return v.get();
    return nullptr;
}

WebPlatform::View* WebPlatform::front() const
{
    const Window* w = stack_.front();
    return w ? view(*w) : nullptr;
}

WebPlatform::Named WebPlatform::element(int id) const
{
    const auto it = elements_.find(id);
    return it == elements_.end() ? Named {} : it->second;
}

Control* WebPlatform::buttonAt(int id) const
{
    Control* c = element(id).control;
    return c && isButton(c->kind()) ? c : nullptr;
}

bool WebPlatform::setFocus(Window& w, Control& c)
{
    View* v = view(w);
    if (!v || !w.canTakeFocus(c) || !v->ids.count(&c))
        return false;
    focusElement(*v, &c);
    w.focusMovedTo(&c);
    return w.focused() == &c;
}

void WebPlatform::focusElement(View& v, Control* c)
{
    // Each window keeps its focused button; only the front window's holds the page's focus.
    v.mark = c;
    const int id = c ? v.ids.at(c) : 0;
    send(Record("mark").field("win", v.id).field("id", id));
    if (front() == &v)
        send(Record("focus").field("id", id));
}

void WebPlatform::show(Window& w, bool modal)
{
    if (ended_)
        return;
    if (shows(w)) {
        toFront(w);
        return;
    }
    w.attach(this);
    auto owned = std::make_unique<View>();
    View& v = *owned;
    v.window = &w;
    v.id = nextId_++;
    v.modal = modal;
    views_[&w] = std::move(owned);
    stack_.show(w, modal);
    build(v);
    showing(w);
    showFront();
    w.takeFirstFocus();
    if (view(w) && front() == view(w))
        w.raiseActivate();
}

void WebPlatform::build(View& v)
{
    Window& w = *v.window;
    Record rec("window");
    rec.field("win", v.id);
    rec.field("modal", v.modal);
    rec.field("title", w.title());
    rec.field("css", clientStyle(w, v.modal));
    send(std::move(rec));

    std::vector<Control*> drawn;
    for (const auto& owned : w.controls()) {
        Control& c = *owned;
        v.ids[&c] = nextId_;
        elements_[nextId_++] = { &v, &c };
        if (c.is(Kind::Menu))
            addEntry(v, c);
        else if (c.hasGeometry())
            drawn.push_back(&c);
    }
    // The window takes its size before its controls' elements exist, so that they are made
    // where they stay and the page lays them out once: a full-page one the page's, less its menu
    // bar.
    int width = cssPixels.px(w.designWidth());
    int height = cssPixels.px(w.designHeight());
    if (!v.modal) {
        width = static_cast<int>(std::lround(fit_.width));
        height = std::max(0, static_cast<int>(std::lround(fit_.height - (v.menubar ? bar_ : 0))));
    }
    resize(v, width, height);

    // The paint order is the elements' z-index, so that their order in the page can be the
    // reading order.
    sortControls(drawn, drawnBelow);
    std::unordered_map<const Control*, int> count;
    for (Control* c : drawn)
        v.z[c] = ++count[c->container()];
    addChildren(v, nullptr, drawn);
    for (const auto& owned : w.controls())
        if (owned->is(Kind::Timer))
            updateTimer(v, *owned);
    updateReading(v);

    w.observer = [this, &v](Control& c, Prop p) {
        onChange(v, c, p);
        v.readingDue = true;
    };
}

void WebPlatform::addChildren(View& v, const Control* container, const std::vector<Control*>& drawn)
{
    // In the page, what a reader reads comes first, in its reading order; the rest after it.
    std::vector<Control*> order;
    if (const Reader* r = reader())
        for (const Control* c : r->children(*v.window, container))
            if (c->hasGeometry())
                order.push_back(const_cast<Control*>(c));
    for (Control* c : drawn)
        if (c->container() == container && std::find(order.begin(), order.end(), c) == order.end())
            order.push_back(c);
    for (Control* c : order) {
        addElement(v, *c);
        if (isContainer(c->kind()))
            addChildren(v, c, drawn);
    }
}

ReaderRole WebPlatform::roleOf(const Control& c) const
{
    if (const Reader* r = reader())
        return r->role(c);
    // Without a reader from the program: every button, and no decoration.
    return isButton(c.kind()) ? ReaderRole::Button : ReaderRole::None;
}

void WebPlatform::addElement(View& v, Control& c)
{
    const Element e = elementOf(c.kind());
    Record rec("control");
    rec.field("id", v.ids.at(&c));
    rec.field("win", v.id);
    rec.field("in", c.container() ? v.ids.at(c.container()) : 0);
    rec.field("tag", e.tag);
    rec.field("class", e.cls);
    rec.json("attrs", roleAttributes(roleOf(c)));
    rec.json("parts", partsOf(e));
    rec.field("textPart", e.textPart);
    addLook(rec, v, c);
    send(std::move(rec));
}

void WebPlatform::addEntry(View& v, Control& c)
{
    send(Record("entry").field("id", v.ids.at(&c)).field("win", v.id));
    renderEntry(v, c);
}

void WebPlatform::renderEntry(View& v, Control& c)
{
    Record rec("set");
    rec.field("id", v.ids.at(&c));
    rec.field("text", c.shownCaption());
    rec.field("shown", c.visible());
    rec.field("enabled", c.enabled());
    send(std::move(rec));
    const auto& controls = v.window->controls();
    v.menubar = std::any_of(controls.begin(), controls.end(),
        [](const auto& o) { return o->is(Kind::Menu) && o->visible(); });
    send(Record("menubar").field("win", v.id).field("shown", v.menubar));
}

void WebPlatform::updateReading(View& v)
{
    const Reader* r = reader();
    if (!r)
        return;
    for (const auto& owned : v.window->controls()) {
        Control& c = *owned;
        if (!c.hasGeometry() || roleOf(c) == ReaderRole::None)
            continue;
        std::string name = r->name(c);
        std::string description = r->description(c);
        std::string& said = v.words[&c];
        std::string now = name + '\0' + description;
        if (now == said)
            continue;
        said = std::move(now);
        Record set("set");
        set.field("id", v.ids.at(&c));
        if (addReading(set, v, c))
            send(std::move(set));
    }
}

bool WebPlatform::put(
    Record& r, View& v, const Control& c, const std::string& name, std::string value)
{
    // A JSON value is never empty: an empty one is a field never sent.
    std::string& had = v.sent[&c][name];
    if (!replaced(had, std::move(value)))
        return false;
    r.json(name, had);
    return true;
}

bool WebPlatform::addReading(Record& r, View& v, const Control& c)
{
    const auto words = v.words.find(&c);
    if (words == v.words.end())
        return false; // not read yet
    const std::string& said = words->second;
    const std::size_t cut = said.find('\0');
    const ReaderRole role = roleOf(c);
    const Reading reading = readingOf(
        role, c.shownCaption(), c.is(Kind::Label), said.substr(0, cut), said.substr(cut + 1));
    bool any = false;
    switch (role) {
    case ReaderRole::Button:
    case ReaderRole::Group:
        any |= put(r, v, c, "label", quoted(reading.label));
        any |= put(r, v, c, "description", quoted(reading.description));
        break;
    case ReaderRole::Text:
        any |= put(r, v, c, "sr", quoted(reading.sr));
        if (c.is(Kind::Label))
            any |= put(r, v, c, "hideText", flag(reading.hideText));
        break;
    case ReaderRole::None:
        break;
    }
    return any;
}

bool WebPlatform::addLook(Record& r, View& v, const Control& c)
{
    // Only what the page does not show yet: a style unchanged is null, as is a part's that has
    // none.
    const auto styles = stylesOf(c, v.z.at(&c));
    std::string json = "[";
    bool any = false;
    for (std::size_t i = 0; i < styles.size(); ++i) {
        json += i ? "," : "";
        std::string& had = v.sent[&c]["style" + std::to_string(i)];
        if ((i && styles[i].empty()) || !replaced(had, quoted(styles[i]))) {
            json += "null";
            continue;
        }
        json += had;
        any = true;
    }
    if (any)
        r.json("styles", json + "]");
    if (elementOf(c.kind()).textPart >= 0)
        any |= put(r, v, c, "text", quoted(textOf(c)));
    any |= put(r, v, c, "shown", flag(c.visible()));
    if (isButton(c.kind())) {
        any |= put(r, v, c, "enabled", flag(c.effectivelyEnabled()));
        any |= put(r, v, c, "tab", flag(c.hasTabStop()));
    }
    return addReading(r, v, c) || any;
}

void WebPlatform::render(View& v, Control& c)
{
    if (!c.hasGeometry())
        return;
    Record set("set");
    set.field("id", v.ids.at(&c));
    if (addLook(set, v, c))
        send(std::move(set));
}

void WebPlatform::renderTree(View& v, Control& c)
{
    render(v, c);
    if (!isContainer(c.kind()))
        return;
    for (const auto& other : v.window->controls())
        for (const Control* p = other->container(); p; p = p->container())
            if (p == &c && other->hasGeometry()) {
                render(v, *other);
                break;
            }
}

void WebPlatform::onChange(View& v, Control& c, Prop p)
{
    if (c.is(Kind::Timer)) {
        if (p == Prop::Enabled)
            updateTimer(v, c);
        return;
    }
    if (c.is(Kind::Menu)) {
        renderEntry(v, c);
        return;
    }
    switch (p) {
    case Prop::Value: // never drawn: no button shows a selected state
        return;
    case Prop::Enabled:
        renderTree(v, c);
        repairFocus(v);
        return;
    case Prop::Visible:
        render(v, c);
        repairFocus(v);
        return;
    case Prop::Rect:
        if (isContainer(c.kind()) && c.frameLine())
            renderTree(v, c);
        else
            render(v, c);
        return;
    default:
        render(v, c);
        return;
    }
}

void WebPlatform::repairFocus(View& v)
{
    Window& w = *v.window;
    if (!w.focusNeedsRepair())
        return;
    // The browser may have dropped the focus already, by its own rule: the model's rule decides.
    Control* heir = w.focusHeir();
    focusElement(v, heir);
    w.focusMovedTo(heir);
}

void WebPlatform::updateTimer(View& v, Control& c)
{
    Record rec("timer");
    rec.field("id", v.ids.at(&c));
    rec.field("ms", c.enabled() && c.interval() > 0 ? c.interval() : 0);
    send(std::move(rec));
}

void WebPlatform::raise(Window& w)
{
    if (view(w))
        toFront(w);
}

void WebPlatform::toFront(Window& w)
{
    const Window* before = stack_.front();
    stack_.raise(w);
    showFront();
    if (Window* now = stack_.front(); now && now != before)
        now->raiseActivate();
}

void WebPlatform::restack()
{
    // The front full-page window fills the page; the others wait hidden and inert behind it.
    for (const WindowStack::Entry& e : stack_.backToFront()) {
        Record rec("stack");
        rec.field("win", view(*e.window)->id);
        rec.field("active", e.window == stack_.front());
        rec.field("hidden", !e.modal && e.window != stack_.frontPlain());
        send(std::move(rec));
    }
}

void WebPlatform::showFront()
{
    View* v = front();
    if (!v)
        return;
    restack();
    send(Record("focus").field("id", v->mark ? v->ids.at(v->mark) : 0));
    send(Record("title").field("text", v->window->title()));
}

void WebPlatform::unload(Window& w)
{
    closed(w);
    View* v = view(w);
    if (!v)
        return;
    const Window* before = stack_.front();
    for (const auto& c : w.controls())
        if (c->is(Kind::Timer))
            send(Record("timer").field("id", v->ids.at(c.get())).field("ms", 0));
    w.observer = nullptr;
    mouse().closed(w);
    send(Record("close").field("win", v->id));
    for (const auto& [c, id] : v->ids)
        elements_.erase(id);
    stack_.remove(w);
    views_.erase(&w);
    restack();
    if (ended_)
        return;
    showFront();
    if (Window* now = stack_.front(); now && now != before)
        now->raiseActivate();
}

void WebPlatform::post(std::function<void()> f)
{
    if (ended_)
        return;
    if (posted_.empty())
        send(Record("post"));
    posted_.push_back(std::move(f));
}

void WebPlatform::speak(Window& w, const std::string& words)
{
    if (view(w))
        send(Record("say").field("words", words));
}

void WebPlatform::quit()
{
    if (ended_)
        return;
    ended_ = true;
    posted_.clear();
    const Farewell& f = farewell();
    Record rec("end");
    rec.field("title", f.title);
    rec.field("heading", f.heading);
    rec.field("advice", f.advice);
    send(std::move(rec));
}

} // namespace tarvo::web

#include "web/WebPlatform.h"

#include "model/Look.h"
#include "model/Window.h"
#include "web/Dom.h"
#include "web/KeyCodes.h"
#include "web/Units.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>

namespace tarvo::web {

namespace {

WebPlatform* thePlatform = nullptr;

std::string font(const Font& f)
{
    return "font:" + std::string(f.bold ? "700 " : "400 ") + number(look::points(f))
        + "pt var(--tarvo-font);";
}

std::string box(const PxRect& r)
{
    return "left:" + std::to_string(r.x) + "px;top:" + std::to_string(r.y)
        + "px;width:" + std::to_string(r.w) + "px;height:" + std::to_string(r.h) + "px;";
}

// An edge as inset shadows, which take no room from the children (one bevel line is a CSS
// pixel).
std::string edges(const look::Edge& e)
{
    return "box-shadow:inset -1px -1px 0 " + css(e.outerBottomRight) + ",inset 1px 1px 0 "
        + css(e.outerTopLeft) + ",inset -2px -2px 0 " + css(e.innerBottomRight)
        + ",inset 2px 2px 0 " + css(e.innerTopLeft) + ";";
}

// The offset of a container's client area: a picture box's sunken frame takes its lines.
int clientOrigin(const Control* container)
{
    return container && container->is(Kind::PictureBox) && container->frameLine()
        ? look::ClientInset * cssPixels.bevel()
        : 0;
}

// Liberation Sans: ascent plus descent, and the average character width, in ems.
constexpr double LineEm = (1854.0 + 434.0) / 2048.0;
constexpr double AverageCharEm = 1176.0 / 2048.0;

double pixelsOf(const Font& f)
{
    return look::points(f) * 96.0 / 72.0;
}

// What the kind draws on the element itself: fill, ink, edges.
std::string ownStyle(const Control& c, bool enabled)
{
    switch (c.kind()) {
    case Kind::Label:
        return (c.opaque() ? "background:" + css(c.backColor().value_or(look::Face)) + ";" : "")
            + "color:" + css(enabled ? c.foreColor().value_or(look::Ink) : look::DisabledInk) + ";"
            + (c.align() == Align::Center ? "text-align:center;" : "text-align:left;");
    case Kind::CommandButton:
    case Kind::OptionButton: {
        const Bgr face = c.backColor().value_or(look::Face);
        const std::string engrave = number(look::EngraveOffset * cssPixels.bevel()) + "px ";
        return "background:" + css(face) + ";" + edges(look::raised(face))
            + (enabled ? "color:" + css(c.foreColor().value_or(look::Ink)) + ";"
                       : "color:" + css(look::EngravedInk) + ";text-shadow:" + engrave + engrave
                        + "0 " + css(look::EngravedLight) + ";");
    }
    case Kind::Frame:
        return "background:" + css(c.backColor().value_or(look::Face)) + ";";
    case Kind::PictureBox:
        return "background:" + css(c.backColor().value_or(look::Face)) + ";"
            + (c.frameLine() ? edges(look::Sunken) : "");
    case Kind::Shape:
    case Kind::Timer:
    case Kind::Menu:
        break;
    }
    return {};
}

// A frame's etched line, starting half a text line down when there is a caption.
std::string frameLineStyle(const Control& c)
{
    if (!c.frameLine())
        return "display:none;";
    const int top = c.caption().empty() ? 0 : static_cast<int>(pixelsOf(c.font()) * LineEm) / 2;
    return "top:" + std::to_string(top) + "px;" + edges(look::Etched);
}

// A frame's caption, on the frame's colour over the line, one average character in.
std::string frameCaptionStyle(const Control& c)
{
    if (c.caption().empty())
        return "display:none;";
    const int x = static_cast<int>(std::lround(pixelsOf(c.font()) * AverageCharEm));
    return "left:" + std::to_string(x) + "px;background:" + css(c.backColor().value_or(look::Face))
        + ";color:" + css(c.foreColor().value_or(look::Ink)) + ";" + font(c.font());
}

// A shape's figure in its rectangle r: the border lies inside it, and a circle is the largest
// one centred in it.
std::string figureStyle(const Control& c, const PxRect& r)
{
    const int pen = c.borderPx() > 0 ? std::max(1, c.borderPx()) : 0;
    double w = r.w, h = r.h, x = 0, y = 0;
    if (c.shape() == ShapeKind::Circle) {
        const double side = std::min(w, h);
        x = (w - side) / 2;
        y = (h - side) / 2;
        w = h = side;
    }
    std::string figure = "left:" + number(x) + "px;top:" + number(y) + "px;width:" + number(w)
        + "px;height:" + number(h) + "px;background:"
        + (c.backColor() ? css(*c.backColor()) : std::string("transparent")) + ";";
    if (pen > 0)
        figure += "border:" + std::to_string(pen) + "px solid "
            + css(c.borderColor().value_or(look::Ink)) + ";";
    if (c.shape() == ShapeKind::Circle)
        figure += "border-radius:50%;";
    else if (c.shape() == ShapeKind::RoundedRectangle)
        figure
            += "border-radius:" + number(look::cornerRadius(w - pen, h - pen) + pen / 2.0) + "px;";
    return figure;
}

} // namespace

struct WebPlatform::View {
    Window* window = nullptr;
    int id = 0;
    bool modal = false;
    std::unordered_map<const Control*, int> ids;
    std::unordered_map<const Control*, int> z; // paint order among its container's controls
    std::unordered_map<const Control*, std::string> words; // what the page reads of it now
    bool readingPosted = false;
    bool reported = false;
    int width = 0;
    int height = 0;
};

WebPlatform::WebPlatform()
{
    thePlatform = this;
    tarvo_dom_start();
    int seen[3] = {};
    tarvo_dom_viewport(seen);
    viewport(seen[0], seen[1], seen[2]);
}

WebPlatform::~WebPlatform()
{
    for (auto& v : views_)
        if (v->window)
            v->window->observer = nullptr;
    thePlatform = nullptr;
}

WebPlatform::View* WebPlatform::view(const Window& w) const
{
    for (const auto& v : views_)
        if (v->window == &w)
            return v.get();
    return nullptr;
}

WebPlatform::View* WebPlatform::viewOf(int win) const
{
    for (const auto& v : views_)
        if (v->id == win)
            return v.get();
    return nullptr;
}

WebPlatform::View* WebPlatform::front() const
{
    return views_.empty() ? nullptr : views_.back().get();
}

Control* WebPlatform::control(int id, View** found) const
{
    for (const auto& v : views_)
        for (const auto& [c, cid] : v->ids)
            if (cid == id) {
                if (found)
                    *found = v.get();
                return const_cast<Control*>(c);
            }
    return nullptr;
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
    tarvo_dom_focus(v.id, c ? v.ids.at(c) : -1);
}

void WebPlatform::show(Window& w, bool modal)
{
    if (ended_)
        return;
    if (View* shown = view(w)) {
        toFront(*shown);
        return;
    }
    w.attach(this);
    auto owned = std::make_unique<View>();
    View& v = *owned;
    v.window = &w;
    v.id = nextId_++;
    v.modal = modal;
    // A modal window stays in front of every other; others go in front of the other non-modal.
    auto at = views_.end();
    if (!modal)
        at = std::find_if(views_.begin(), views_.end(), [](const auto& o) { return o->modal; });
    views_.insert(at, std::move(owned));
    build(v);
    if (auto early = early_.extract(&w))
        for (const std::string& words : early.mapped())
            tarvo_dom_announce(words.c_str());
    showFront();
    // The first button in tab order takes the focus when the window first shows.
    if (!w.focused())
        if (Control* first = w.nextInTabOrder(nullptr, 1))
            setFocus(w, *first);
    if (view(w) && front() == view(w))
        w.raiseActivate();
}

void WebPlatform::build(View& v)
{
    Window& w = *v.window;
    const std::string title = std::string(w.title());
    const std::string root = "background:" + css(w.backColor()) + ";"
        + (v.modal ? "width:" + std::to_string(cssPixels.px(w.designWidth()))
                    + "px;height:" + std::to_string(cssPixels.px(w.designHeight())) + "px;"
                   : "");
    tarvo_dom_window(v.id, v.modal ? 1 : 0, title.c_str(), root.c_str());

    std::vector<Control*> drawn;
    for (const auto& owned : w.controls()) {
        Control& c = *owned;
        v.ids[&c] = nextId_++;
        if (c.is(Kind::Menu)) {
            tarvo_dom_menu(v.ids[&c], v.id, c.shownCaption().c_str());
            tarvo_dom_state(v.ids[&c], c.enabled(), c.visible(), 0);
        } else if (c.hasGeometry()) {
            drawn.push_back(&c);
        }
    }
    // The window takes its size before its controls' elements exist, so that they are made
    // where they stay and the page lays them out once.
    int size[2] = { cssPixels.px(w.designWidth()), cssPixels.px(w.designHeight()) };
    if (!v.modal)
        tarvo_dom_client_size(v.id, size);
    resized(v.id, size[0], size[1]);

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
        if (!v.readingPosted) {
            // The words of one control may hang on others (a ray's answer reads its numbers):
            // they are read again once the event that changed them is over.
            v.readingPosted = true;
            post([this, window = v.window] {
                if (View* now = view(*window)) {
                    now->readingPosted = false;
                    updateReading(*now);
                }
            });
        }
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
    const int parent = c.container() ? v.ids.at(c.container()) : -1;
    tarvo_dom_control(
        v.ids.at(&c), v.id, parent, static_cast<int>(c.kind()), static_cast<int>(roleOf(c)));
    render(v, c);
}

void WebPlatform::updateReading(View& v)
{
    const Reader* r = reader();
    if (!r)
        return;
    for (const auto& owned : v.window->controls()) {
        const Control& c = *owned;
        if (!c.hasGeometry() || roleOf(c) == ReaderRole::None)
            continue;
        std::string name = r->name(c);
        std::string description = r->description(c);
        std::string& said = v.words[&c];
        std::string now = name + '\0' + description;
        if (now == said)
            continue;
        said = std::move(now);
        tarvo_dom_reader(v.ids.at(&c), name.c_str(), description.c_str());
    }
}

void WebPlatform::render(View& v, Control& c)
{
    if (!c.hasGeometry())
        return;
    const int id = v.ids.at(&c);
    PxRect r = cssPixels.rect(c.rect());
    const int origin = clientOrigin(c.container());
    r.x += origin;
    r.y += origin;
    const bool enabled = c.effectivelyEnabled();
    if (c.is(Kind::Frame)) {
        tarvo_dom_style(id, 1, frameLineStyle(c).c_str());
        tarvo_dom_style(id, 2, frameCaptionStyle(c).c_str());
    } else if (c.is(Kind::Shape)) {
        tarvo_dom_style(id, 1, figureStyle(c, r).c_str());
    }
    const std::string style = box(r) + font(c.font()) + "z-index:" + std::to_string(v.z.at(&c))
        + ";" + ownStyle(c, enabled);
    tarvo_dom_style(id, 0, style.c_str());
    tarvo_dom_text(id, c.shownCaption().c_str());
    tarvo_dom_state(id, enabled, c.visible(), c.hasTabStop());
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
        tarvo_dom_menu(v.ids.at(&c), v.id, c.shownCaption().c_str());
        tarvo_dom_state(v.ids.at(&c), c.enabled(), c.visible(), 0);
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
    tarvo_dom_timer(v.ids.at(&c), c.enabled() && c.interval() > 0 ? c.interval() : 0);
}

void WebPlatform::raise(Window& w)
{
    if (View* v = view(w))
        toFront(*v);
}

void WebPlatform::toFront(View& v)
{
    View* before = front();
    auto it
        = std::find_if(views_.begin(), views_.end(), [&v](const auto& o) { return o.get() == &v; });
    auto owned = std::move(*it);
    views_.erase(it);
    auto at = views_.end();
    if (!v.modal)
        at = std::find_if(views_.begin(), views_.end(), [](const auto& o) { return o->modal; });
    views_.insert(at, std::move(owned));
    showFront();
    if (front() != before && front())
        front()->window->raiseActivate();
}

void WebPlatform::showFront()
{
    if (View* v = front()) {
        tarvo_dom_front(v->id, std::string(v->window->title()).c_str());
    }
}

void WebPlatform::unload(Window& w)
{
    early_.erase(&w);
    View* v = view(w);
    if (!v)
        return;
    View* before = front();
    for (const auto& c : w.controls())
        if (c->is(Kind::Timer))
            tarvo_dom_timer(v->ids.at(c.get()), 0);
    w.observer = nullptr;
    mouse().closed(w);
    tarvo_dom_close(v->id);
    std::erase_if(views_, [v](const auto& o) { return o.get() == v; });
    if (ended_)
        return;
    showFront();
    if (front() && front() != before)
        front()->window->raiseActivate();
}

void WebPlatform::post(std::function<void()> f)
{
    if (ended_)
        return;
    if (posted_.empty())
        tarvo_dom_post();
    posted_.push_back(std::move(f));
}

void WebPlatform::runPosted()
{
    auto work = std::move(posted_);
    posted_.clear();
    for (auto& f : work)
        if (!ended_)
            f();
}

void WebPlatform::announce(Window& w, const std::string& words)
{
    if (view(w))
        tarvo_dom_announce(words.c_str());
    else
        early_[&w].push_back(words); // said from its Load: heard once the window is shown
}

void WebPlatform::quit()
{
    if (ended_)
        return;
    ended_ = true;
    posted_.clear();
    tarvo_dom_end();
}

void WebPlatform::key(
    bool down, int physical, std::string_view code, std::string_view name, int shift, bool repeat)
{
    View* v = front();
    if (ended_ || !v)
        return;
    Window& w = *v->window;
    const int vkey = virtualKey(code, name);
    if (vkey == vk::Tab) {
        // TAB walks the buttons in the window's tab order, as the desktop toolkit does; it never
        // reaches the behaviour.
        if (down)
            if (Control* next = w.nextInTabOrder(w.focused(), (shift & 1) ? -1 : 1))
                w.setFocus(*next);
        return;
    }
    if (down)
        keys().press(w, w.focused(),
            { .key = physical,
                .code = vkey,
                .ascii = keyAscii(name, (shift & 2) != 0),
                .shift = shift,
                .repeat = repeat });
    else
        keys().release(w, { .key = physical, .code = vkey, .shift = shift });
}

void WebPlatform::lostKeyboard()
{
    // The page no longer hears the keys: each one still down comes up now, as the desktop's
    // settle does when its keyboard comes back.
    if (View* v = front(); v && !ended_)
        keys().settle(*v->window, [](int) { return false; });
}

void WebPlatform::pointer(bool down, int id, int button, int shift, bool over)
{
    View* v = nullptr;
    Control* c = control(id, &v);
    if (ended_ || !c || !isButton(c->kind()))
        return;
    // The mouse road holds every rule: what a press reaches, the focus, the click on release.
    const auto b = static_cast<MouseButton>(button);
    if (down)
        mouse().press(*v->window, *c, b, shift);
    else
        mouse().release(*v->window, b, shift, over);
}

void WebPlatform::focusIn(int id)
{
    // The page moved its focus by itself (a screen reader, a switch): the model follows where it
    // can, and the page then shows where the model's focus is.
    View* v = nullptr;
    Control* c = control(id, &v);
    if (ended_ || !c)
        return;
    Window& w = *v->window;
    if (v == front() && w.focused() != c && w.canTakeFocus(*c))
        w.focusMovedTo(c);
    if (View* now = view(w))
        focusElement(*now, w.focused());
}

void WebPlatform::resized(int win, int width, int height)
{
    View* v = viewOf(win);
    if (ended_ || !v || (v->reported && v->width == width && v->height == height))
        return;
    v->reported = true;
    v->width = width;
    v->height = height;
    Window& w = *v->window;
    w.setInnerSize(cssPixels.twips(width), cssPixels.twips(height));
    w.setFrameWidth(0); // a page has no frame of its own
    w.raiseResize();
}

void WebPlatform::viewport(int width, int height, int bar)
{
    if (ended_)
        return;
    // Told at every change of the viewport: a fitted window's size follows it.
    const ViewportFit f = cssPixels.fit(width, height, bar);
    tarvo_dom_fit(f.zoom, f.width, f.height, f.top);
}

void WebPlatform::timer(int id)
{
    View* v = nullptr;
    Control* c = control(id, &v);
    if (!ended_ && c)
        v->window->raiseTimer(*c);
}

void WebPlatform::menu(int id)
{
    View* v = nullptr;
    Control* c = control(id, &v);
    if (!ended_ && c && c->effectivelyEnabled() && c->visible())
        v->window->raiseClick(*c);
}

} // namespace tarvo::web

// The page's events, from dom.js. Texts come through two buffers of the module's memory.
namespace {
char textIn[2][64];
} // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE char* tarvo_text(int which)
{
    return textIn[which & 1];
}
EMSCRIPTEN_KEEPALIVE void tarvo_key(int down, int physical, int shift, int repeat)
{
    if (auto* p = tarvo::web::thePlatform)
        p->key(down != 0, physical, textIn[0], textIn[1], shift, repeat != 0);
}
EMSCRIPTEN_KEEPALIVE void tarvo_pointer(int down, int id, int button, int shift, int over)
{
    if (auto* p = tarvo::web::thePlatform)
        p->pointer(down != 0, id, button, shift, over != 0);
}
EMSCRIPTEN_KEEPALIVE void tarvo_focus(int id)
{
    if (auto* p = tarvo::web::thePlatform)
        p->focusIn(id);
}
EMSCRIPTEN_KEEPALIVE void tarvo_resized(int win, int width, int height)
{
    if (auto* p = tarvo::web::thePlatform)
        p->resized(win, width, height);
}
EMSCRIPTEN_KEEPALIVE void tarvo_viewport(int width, int height, int bar)
{
    if (auto* p = tarvo::web::thePlatform)
        p->viewport(width, height, bar);
}
EMSCRIPTEN_KEEPALIVE void tarvo_timer(int id)
{
    if (auto* p = tarvo::web::thePlatform)
        p->timer(id);
}
EMSCRIPTEN_KEEPALIVE void tarvo_menu(int id)
{
    if (auto* p = tarvo::web::thePlatform)
        p->menu(id);
}
EMSCRIPTEN_KEEPALIVE void tarvo_blur()
{
    if (auto* p = tarvo::web::thePlatform)
        p->lostKeyboard();
}
EMSCRIPTEN_KEEPALIVE void tarvo_posted()
{
    if (auto* p = tarvo::web::thePlatform)
        p->runPosted();
}
}

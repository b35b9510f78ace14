#include "app/Program.h"

#include "app/StartScreen.h"
#include "game/GameScreen.h"
#include "input/GameKeypad.h"
#include "input/StartInput.h"
#include "screens/InfoScreens.h"
#include "screens/Screens.h"

#include <algorithm>

namespace tarvo {

// One loaded screen: its window and the behaviour installed on it. Members are destroyed in
// reverse order, so the behaviour goes before the window it refers to.
struct Program::Screen {
    std::unique_ptr<Window> window;
    std::unique_ptr<StartScreen> start;
    std::unique_ptr<GameScreen> game;
    std::unique_ptr<InfoScreen> info;
    bool shown = false;
    bool closing = false;
    std::function<void()> then; // of a modal screen: what its opener does once it closes
};

namespace {
std::size_t slot(ScreenId id)
{
    return static_cast<std::size_t>(id);
}

std::unique_ptr<Window> create(ScreenId id)
{
    switch (id) {
    case ScreenId::Inizio:
        return screens::makeFrmInizio();
    case ScreenId::Operativo:
        return screens::makeFrmOperativo();
    case ScreenId::Istruzioni:
        return screens::makeFrmIstruzioni();
    case ScreenId::Autore:
        return screens::makeFrmAutore();
    }
    return nullptr;
}
} // namespace

Program::Program(Platform& platform, Clock& clock, RandomSource& rng, FileProbe& probe)
    : platform_(platform)
    , clock_(clock)
    , rng_(rng)
    , probe_(probe)
{
    platform_.setReader(&reader_);
    // Where the page stays once the program has ended (a browser's), it says so.
    platform_.setFarewell({ .title = "Tarvo: il programma è terminato",
        .heading = "Il programma è terminato.",
        .advice = "Per ricominciare, ricarica la pagina." });
}

Program::~Program()
{
    quit_ = true;
    platform_.setModal(nullptr);
    // Whatever is still open is taken off the platform without running any handler.
    for (auto& s : screens_) {
        if (s && !s->closing) {
            s->window->closeRequested = nullptr;
            platform_.unload(*s->window);
        }
    }
    if (platform_.reader() == &reader_)
        platform_.setReader(nullptr);
}

void Program::start()
{
    show(ScreenId::Inizio, false);
}

bool Program::isLoaded(ScreenId id) const
{
    const auto& s = screens_[slot(id)];
    return s && !s->closing;
}

Window* Program::window(ScreenId id) const
{
    const auto& s = screens_[slot(id)];
    return s ? s->window.get() : nullptr;
}

Program::Screen* Program::load(ScreenId id)
{
    auto screen = std::make_unique<Screen>();
    screen->window = create(id);
    Window& w = *screen->window;
    w.attach(&platform_);
    // By window, not by id: a late request from a closed window must not reach a new one.
    const Window* self = &w;
    w.closeRequested = [this, self] { closeWindow(self); };
    switch (id) {
    case ScreenId::Inizio:
        screen->start = std::make_unique<StartScreen>(w, state_, *this, probe_);
        screen->start->useInput(std::make_unique<StartInput>(w, *screen->start));
        break;
    case ScreenId::Operativo:
        screen->game = std::make_unique<GameScreen>(w, state_, *this, clock_, rng_);
        screen->game->useInput(std::make_unique<GameKeypad>(w, *screen->game));
        break;
    case ScreenId::Istruzioni:
    case ScreenId::Autore:
        screen->info = std::make_unique<InfoScreen>(w, *this, id);
        break;
    }
    Screen* s = screen.get();
    screens_[slot(id)] = std::move(screen);
    w.raiseLoad();
    return s;
}

void Program::show(ScreenId id, bool modal, std::function<void()> then)
{
    if (quit_)
        return;
    Screen* s = screens_[slot(id)].get();
    if (s && s->closing)
        return;
    if (s && s->shown) {
        platform_.raise(*s->window);
        return;
    }
    if (!s) {
        s = load(id);
        // Its own Load may have closed it.
        if (s->closing || quit_)
            return;
    }
    s->shown = true;
    if (modal) {
        s->then = std::move(then);
        platform_.setModal(s->window.get());
    }
    platform_.show(*s->window, modal);
}

void Program::unload(ScreenId id)
{
    Screen* s = screens_[slot(id)].get();
    if (!s || s->closing)
        return;
    s->closing = true;
    // A screen closing while a modal one is open takes the program down with it: what the
    // opener meant to do after the modal screen has nowhere to go.
    std::function<void()> then = std::move(s->then);
    s->then = nullptr;
    for (const auto& other : screens_)
        if (other && other.get() != s)
            other->then = nullptr;
    s->window->raiseUnload();
    if (platform_.modal() == s->window.get())
        platform_.setModal(nullptr);
    platform_.unload(*s->window);
    // The platform has forgotten the window: a handler still running on it asks nothing more.
    s->window->attach(nullptr);
    std::shared_ptr<Screen> closed = std::move(screens_[slot(id)]);
    std::erase_if(closed_, [](const std::weak_ptr<Screen>& c) { return c.expired(); });
    closed_.push_back(closed);
    platform_.post([closed]() mutable { closed.reset(); });
    const bool last = std::none_of(screens_.begin(), screens_.end(),
        [](const std::unique_ptr<Screen>& other) { return other != nullptr; });
    if (last && !quit_) {
        quit_ = true;
        platform_.quit();
    }
    if (then && !quit_)
        then();
}

std::size_t Program::closedPending() const
{
    std::size_t n = 0;
    for (const auto& c : closed_)
        n += c.expired() ? 0 : 1;
    return n;
}

void Program::closeWindow(const Window* w)
{
    for (std::size_t i = 0; i < screens_.size(); ++i)
        if (screens_[i] && screens_[i]->window.get() == w
            && !platform_.refuse(*screens_[i]->window))
            unload(static_cast<ScreenId>(i));
}

} // namespace tarvo

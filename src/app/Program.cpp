#include "app/Program.h"

#include "app/StartScreen.h"
#include "game/GameScreen.h"
#include "input/GameKeypad.h"
#include "input/StartInput.h"
#include "screens/InfoScreens.h"
#include "screens/Screens.h"

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
}

Program::~Program()
{
    quit_ = true;
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

void Program::show(ScreenId id, bool modal)
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
        // Its own Load may have closed it; it then stays in the graveyard, alive, until freed.
        if (s->closing || quit_)
            return;
    }
    s->shown = true;
    if (!modal) {
        platform_.show(*s->window, false);
        return;
    }
    // Screens closed during a modal show may have handlers below it on the stack: they are
    // freed only once the outermost modal show has returned.
    struct Depth {
        int& d;
        explicit Depth(int& depth)
            : d(depth)
        {
            ++d;
        }
        ~Depth() { --d; }
    };
    {
        Depth depth(modalDepth_);
        platform_.show(*s->window, true);
    }
    if (modalDepth_ == 0)
        scheduleFree();
}

void Program::unload(ScreenId id)
{
    Screen* s = screens_[slot(id)].get();
    if (!s || s->closing)
        return;
    s->closing = true;
    s->window->raiseUnload();
    platform_.unload(*s->window);
    // The platform has forgotten the window: a handler still running on it asks nothing more.
    s->window->attach(nullptr);
    graveyard_.push_back(std::move(screens_[slot(id)]));
    scheduleFree();
    for (const auto& other : screens_)
        if (other)
            return;
    if (!quit_) {
        quit_ = true;
        platform_.quit();
    }
}

void Program::closeWindow(const Window* w)
{
    for (std::size_t i = 0; i < screens_.size(); ++i)
        if (screens_[i] && screens_[i]->window.get() == w)
            unload(static_cast<ScreenId>(i));
}

void Program::scheduleFree()
{
    if (graveyard_.empty() || freePosted_)
        return;
    freePosted_ = true;
    platform_.post([this, alive = std::weak_ptr<int>(alive_)] {
        if (alive.expired())
            return;
        freePosted_ = false;
        freeClosed();
    });
}

void Program::freeClosed()
{
    if (modalDepth_ > 0)
        return; // the end of the outermost modal show schedules it again
    auto closed = std::move(graveyard_);
    graveyard_.clear();
    closed.clear();
}

} // namespace tarvo

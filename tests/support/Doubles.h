#pragma once
// The stand-ins every behaviour test shares for the program's collaborators: a clock, a random
// source, a settings probe and the program's set of screens. Plain C++, no Qt.

#include "model/Platform.h"
#include "model/Window.h"
#include "screens/ScreenHost.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvo::test {

// Tells the time it is set to and counts how often it was asked.
class FixedClock final : public Clock {
public:
    explicit FixedClock(double at = 43200.5)
        : now(at)
    {
    }
    double now;
    int reads = 0;
    double secondsSinceMidnight() override
    {
        ++reads;
        return now;
    }
};

// Draws a test plans. The scripted draws come first. After them, with a `cycle` of subtrahends,
// every seed starts the cycle again from its first value, so that each tarvo is known in advance;
// without one, a small linear congruential sequence starts again from each seed. Records the
// seeds it was given, and fails a draw that would never end rather than loop for ever.
class ScriptedRandom final : public RandomSource {
public:
    std::deque<double> script;
    std::vector<int> cycle;
    std::vector<double> seeds;
    int draws = 0;

    ScriptedRandom() = default;
    explicit ScriptedRandom(std::vector<int> subtrahends)
        : cycle(std::move(subtrahends))
    {
    }

    void seed(double s) override
    {
        sinceSeed_ = 0;
        cycleNext_ = 0;
        seeds.push_back(s);
        state_ = static_cast<std::uint64_t>(s * 1000.0) * 2654435761u + 12345u;
    }
    double next() override
    {
        ++draws;
        // A generation that can no longer find a free value would loop for ever: fail instead.
        if (++sinceSeed_ > 100000)
            throw std::runtime_error("the draw never ends");
        if (!script.empty()) {
            const double r = script.front();
            script.pop_front();
            return r;
        }
        if (!cycle.empty())
            return drawing(cycle.at(cycleNext_++ % cycle.size()));
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state_ >> 11) * 0x1.0p-53;
    }

    // The draw that gives the subtrahend v (1..10): the game takes int(r * 10) + 1.
    static double drawing(int v) { return (v - 1) / 10.0 + 0.05; }
    void queue(std::initializer_list<int> values)
    {
        for (int v : values)
            script.push_back(drawing(v));
    }

private:
    std::uint64_t state_ = 1;
    int sinceSeed_ = 0;
    std::size_t cycleNext_ = 0; // from the last seed
};

// Answers every probe the same way and records the names asked for.
class RecordingProbe final : public FileProbe {
public:
    explicit RecordingProbe(bool answer = false)
        : answer_(answer)
    {
    }
    bool probeReadable(const std::string& name) override
    {
        names.push_back(name);
        return answer_;
    }
    std::vector<std::string> names;

private:
    bool answer_;
};

// The program's set of screens as one screen sees it: records every request and keeps which
// screens are open. A modal show closes its screen again, and runs what follows, before it
// returns; unloading the game screen runs the Unload of `game` once, as the program does.
class RecordingHost final : public ScreenHost {
public:
    struct Call {
        char what; // 'S' show, 'U' unload
        ScreenId id;
        bool modal = false;
        friend bool operator==(const Call&, const Call&) = default;
    };

    explicit RecordingHost(std::set<ScreenId> open = { ScreenId::Inizio })
        : loaded(std::move(open))
    {
    }

    std::vector<Call> calls;
    std::set<ScreenId> loaded;
    Window* game = nullptr;
    // Runs inside a modal show, while the shown screen is open.
    std::function<void()> duringModal;

    bool isLoaded(ScreenId id) const override { return loaded.count(id) > 0; }
    void show(ScreenId id, bool modal, std::function<void()> then) override
    {
        calls.push_back({ 'S', id, modal });
        loaded.insert(id);
        if (modal) {
            if (duringModal)
                duringModal();
            loaded.erase(id);
            if (then)
                then();
        }
    }
    void unload(ScreenId id) override
    {
        calls.push_back({ 'U', id });
        if (!loaded.count(id) || closing_.count(id))
            return;
        closing_.insert(id);
        if (id == ScreenId::Operativo && game)
            game->raiseUnload();
        loaded.erase(id);
        closing_.erase(id);
    }

    // The screens asked for, in order, by one kind of request.
    std::vector<ScreenId> shows() const { return of('S'); }
    std::vector<ScreenId> unloads() const { return of('U'); }
    int count(char what, ScreenId id) const
    {
        int n = 0;
        for (const Call& c : calls)
            n += c.what == what && c.id == id;
        return n;
    }

private:
    std::vector<ScreenId> of(char what) const
    {
        std::vector<ScreenId> ids;
        for (const Call& c : calls)
            if (c.what == what)
                ids.push_back(c.id);
        return ids;
    }
    std::set<ScreenId> closing_;
};

} // namespace tarvo::test

#pragma once
// Small recording stand-ins for the start screen's collaborators.

#include "model/Platform.h"
#include "model/ScreenHost.h"

#include <string>
#include <vector>

namespace tarvo::test {

// Records every call; the start screen counts as loaded until it is unloaded.
class RecordingHost : public ScreenHost {
public:
    struct Call {
        std::string what; // "show" or "unload"
        ScreenId id;
        bool modal = false;
        friend bool operator==(const Call&, const Call&) = default;
    };
    bool isLoaded(ScreenId id) const override { return id == ScreenId::Inizio && startLoaded; }
    void show(ScreenId id, bool modal) override { calls.push_back({ "show", id, modal }); }
    void unload(ScreenId id) override
    {
        calls.push_back({ "unload", id, false });
        if (id == ScreenId::Inizio)
            startLoaded = false;
    }
    bool startLoaded = true;
    std::vector<Call> calls;
};

class RecordingProbe : public FileProbe {
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

} // namespace tarvo::test

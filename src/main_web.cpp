// Tarvo's web edition: the program on its start screen in the page, on the browser binding. It
// reads no URL parameter, storage or cookie, and finds no settings file: there are none.

#include "app/Program.h"
#include "model/Random.h"
#include "web/WebPlatform.h"

namespace {

class NoFiles final : public tarvo::FileProbe {
public:
    bool probeReadable(const std::string&) override { return false; }
};

} // namespace

int main()
{
    // They live as long as the page: the program runs on the page's events after main returns.
    static tarvo::web::WebPlatform platform;
    static tarvo::SystemClock clock;
    static tarvo::SeededRandom rng;
    static NoFiles probe;
    static tarvo::Program program(platform, clock, rng, probe);
    program.start();
    platform.flush(); // the start screen, sent to the page at once
    return 0;
}

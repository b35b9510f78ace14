#pragma once
// The real start screen table with its behaviour on the fake platform, with the shared screen
// host and settings probe. Shown as the program shows it: Load, Resize, Activate.

#include "Doubles.h"
#include "FakePlatform.h"
#include "app/StartScreen.h"
#include "screens/Screens.h"

#include <memory>
#include <string>

namespace tarvo::test {

struct StartRig {
    // With `fileThere` the settings file can be read. Without `open`, the caller calls show()
    // once whatever else it installs on the window is in place.
    explicit StartRig(bool fileThere = false, bool open = true)
        : probe(fileThere)
    {
        if (open)
            show();
    }
    // `resized` false leaves out the Resize (and so the curtains) before the Activate.
    void show(bool resized = true)
    {
        platform.attach(*w);
        w->raiseLoad();
        if (resized)
            w->raiseResize();
        w->raiseActivate();
    }

    std::unique_ptr<Window> w = screens::makeFrmInizio();
    FakePlatform platform;
    RecordingHost host;
    RecordingProbe probe;
    Module1 state;
    StartScreen start { *w, state, host, probe };

    Control& choice(int i) { return w->at("Option1", i); }
    Control& command(int i) { return w->at("Option2", i); }
    std::string label1() { return w->at("Label1").caption(); }
};

} // namespace tarvo::test

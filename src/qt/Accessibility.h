#pragma once
// Screen-reader exposure of the binding's widgets through Qt's accessibility (AT-SPI on Linux).
// Buttons read as push buttons named by their caption, whose press action acts as a left click;
// labels read as static text, an answer cell as its ray's sentence with the check's verdict as
// description; frames are groups; shapes, curtains and the other decorations are left out of the
// tree. What is read, and in which order, is the reader's the program hands to the platform
// (model/Reader.h); without one the widgets read as Qt reads them.

#include "model/Reader.h"
#include "model/Window.h"

#include <string>
#include <unordered_map>
#include <vector>

class QWidget;

namespace tarvo::qt {

class WindowView;

// Makes Qt use the interfaces above for the binding's widgets. Once the QApplication exists;
// calling it again does nothing.
void installAccessibility();

// Says `words` through a screen reader once `window` is the active window: a notification of the
// window appears, which readers present at once without moving the focus. Words given in one
// turn of the event loop are said together. Nothing happens while no reader listens.
void announce(QWidget* window, const std::string& words);

// Raises NameChanged and DescriptionChanged for the texts of one window whenever what a reader
// would hear of them changes: an answer cell's sentence changes with the centre number and its
// subtrahend as well as with its own caption, and its verdict only when a colour changes meaning
// (the blink between two yellows says nothing new).
class AccessibleUpdates {
public:
    // Records what the window's texts read now, as its platform's reader tells; no event.
    void watch(const Window& w);
    // After the view has applied a change of c.
    void changed(const WindowView& view, const Control& c, Prop p);

private:
    struct Told {
        std::string name;
        std::string description;
    };
    const Reader* reader_ = nullptr;
    std::vector<const Control*> texts_;
    std::unordered_map<const Control*, Told> told_;
};

} // namespace tarvo::qt

#pragma once
// The four screens as their definitions create them, before any Load handler runs: every control
// with its geometry in twips, captions, fonts, colours, stacking and initial state.

#include "model/Window.h"

#include <memory>

namespace tarvo::screens {

std::unique_ptr<Window> makeFrmInizio(); // start screen
std::unique_ptr<Window> makeFrmOperativo(); // game screen
std::unique_ptr<Window> makeFrmIstruzioni(); // instructions screen
std::unique_ptr<Window> makeFrmAutore(); // author screen

} // namespace tarvo::screens

#pragma once
// What the game says to a pupil who plays by ear: short Italian sentences about what an action has
// just changed on the game screen, built from what the screen shows. The game hands them to the
// platform (Platform::announce); how they reach a screen reader is the platform's business.

#include "model/Window.h"

#include <string>

namespace tarvo {

// Ray `ray` as the screen reads it: "15 meno 7 uguale 8"; "15 meno 7 uguale ?" while it waits for
// its answer; "15 meno 7 uguale, da fare" before it is reached. Without a centre number or a
// subtrahend only the cell's own caption is read.
std::string fraseRaggio(const Window& frmOperativo, int ray);

// The ray the pupil must answer now: "15 meno 7 uguale quanto?".
std::string annuncioRaggio(const Window& frmOperativo, int ray);

// What the current answer cell holds after an edit: "Risposta 12", or "Risposta vuota" for "?".
std::string annuncioCella(const std::string& caption);

// After a check that found ray `wrong` wrong, the rays before it being right: how far the check
// looked and the ray to correct, "Controllati i raggi dal primo al terzo: giusti fino al secondo,
// da correggere il terzo. 15 meno 4 uguale quanto?"; "Controllato il primo raggio: è da
// correggere. 15 meno 7 uguale quanto?" for the first.
std::string annuncioControllo(const Window& frmOperativo, int wrong);

// After a check that found every ray right.
std::string annuncioFesta();

} // namespace tarvo

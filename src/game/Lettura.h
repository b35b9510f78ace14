#pragma once
// What a screen reader is told about each control of the program's windows: whether it is in the
// reader's tree at all, as what, and the words it reads. Plain C++ on the control model (no Qt),
// so that the wording can be checked without a display; a binding reaches it only as the
// model's Reader (model/Reader.h), which the program hands to the platform.

#include "model/Reader.h"
#include "model/Window.h"

#include <string>
#include <vector>

namespace tarvo {

// Fixed for the life of a window: depends on kind, the table's decorative flag and containment
// only, never on captions, colours or visibility (a hidden control stays in the tree, marked
// invisible).
ReaderRole readerRole(const Control& c);

// The words read for a control: its caption with line breaks as '\n'; an answer cell reads its
// ray as a sentence; a picture box that reads as text reads the letters it holds, left to right.
std::string readerName(const Control& c);
// "giusto" or "sbagliato" for an answer cell a check has coloured, else empty.
std::string readerDescription(const Control& c);

// The verdict a check's colour carries: the right colours (blink colours included) "giusto", the
// wrong colour "sbagliato", any other colour nothing.
std::string verdictOf(Bgr colour);

// The controls held directly by `container` (null: the window itself) that are in the reader's
// tree, in reading order: top to bottom, left to right; the game's tarvo reads its centre number,
// then each ray's subtrahend and answer cell, ray by ray.
std::vector<const Control*> readerChildren(const Window& w, const Control* container);

// The functions above as the reader the program hands to the platform.
class Lettura final : public Reader {
public:
    ReaderRole role(const Control& c) const override { return readerRole(c); }
    std::string name(const Control& c) const override { return readerName(c); }
    std::string description(const Control& c) const override { return readerDescription(c); }
    std::vector<const Control*> children(const Window& w, const Control* container) const override
    {
        return readerChildren(w, container);
    }
};

} // namespace tarvo

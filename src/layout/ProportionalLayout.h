#pragma once
// Keeps every control of a screen in proportion to the window: the geometry captured at Load as
// single-precision fractions of the inner size, re-applied at every Resize. The fractions are
// never rewritten, so any number of resizes leaves no drift.

#include "model/Window.h"

#include <vector>

namespace tarvo {

// The stored proportions of one control, in this order.
struct ProporzioniControllo {
    float Width = 0.0f; // width / inner width
    float Height = 0.0f; // height / inner height
    float Top = 0.0f; // top / inner height
    float Left = 0.0f; // left / inner width
};

class ProportionalLayout {
public:
    // Sizes the table to the window's control collection and records each control's fractions.
    // A control without geometry (timer, menu entry) keeps zeros; so does every control while the
    // inner size is zero.
    void capture(const Window& w);
    // Moves every control but timers and menu entries to the same fractions of the current inner
    // size, in collection order, each with one move.
    void apply(Window& w) const;

    const std::vector<ProporzioniControllo>& Proporzioni() const { return proporzioni_; }

private:
    std::vector<ProporzioniControllo> proporzioni_;
};

} // namespace tarvo

#pragma once
// Conversions between the model's units and Qt's: twips to device-independent pixels at a
// screen's logical DPI, 0x00BBGGRR colours to QColor, and the model's fonts to QFont.

#include "model/Types.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

namespace tarvo::qt {

// Twips at one logical DPI (96 gives 15 twips to a pixel). Edges are rounded, not sizes, so
// that controls that touch in twips also touch on screen.
class Scale {
public:
    explicit Scale(double logicalDpi = 96.0)
        : dpi_(logicalDpi > 0 ? logicalDpi : 96.0)
    {
    }
    double dpi() const { return dpi_; }
    int px(int twips) const;
    int twips(int px) const;
    QRect rect(const Twips& r) const;
    // A length given in pixels at 96 DPI (border widths), at this DPI; never below 1 when n > 0.
    double lineWidth(int px96) const;
    int bevel() const; // one bevel line of a raised or sunken edge, in pixels

private:
    double dpi_;
};

QColor toQColor(Bgr c);
QColor toQColor(const std::optional<Bgr>& c, const QColor& fallback);
// Face, size in points and weight; a sans-serif fallback where the face is missing.
QFont toQFont(const Font& f);
// Makes "Arial" and "MS Sans Serif" resolve to Liberation Sans (metric-compatible), then to any
// sans-serif face. Safe to call more than once.
void installFontSubstitutes();

} // namespace tarvo::qt

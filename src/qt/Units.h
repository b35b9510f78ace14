#pragma once
// Conversions between the model's units and Qt's: pixels (the model's Scale, at a screen's
// logical DPI) to QRect, 0x00BBGGRR colours to QColor, and the model's fonts to QFont.

#include "model/Scale.h"
#include "model/Types.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

namespace tarvo::qt {

QRect toQRect(const PxRect& r);
QColor toQColor(Bgr c);
// Face, size in points and weight; a sans-serif fallback where the face is missing.
QFont toQFont(const Font& f);
// Makes "Arial" and "MS Sans Serif" resolve to Liberation Sans (metric-compatible), then to any
// sans-serif face. Safe to call more than once.
void installFontSubstitutes();

} // namespace tarvo::qt

#include "qt/Units.h"

#include <QStringList>

#include <cmath>

namespace tarvo::qt {

int Scale::px(int twips) const
{
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

int Scale::twips(int px) const
{
    return static_cast<int>(std::lround(px * 1440.0 / dpi_));
}

QRect Scale::rect(const Twips& r) const
{
    const int x = px(r.left);
    const int y = px(r.top);
    return QRect(x, y, px(r.left + r.width) - x, px(r.top + r.height) - y);
}

double Scale::lineWidth(int px96) const
{
    if (px96 <= 0)
        return 0.0;
    return std::max(1.0, px96 * dpi_ / 96.0);
}

int Scale::bevel() const
{
    return std::max(1, static_cast<int>(std::lround(dpi_ / 96.0)));
}

QColor toQColor(Bgr c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

QColor toQColor(const std::optional<Bgr>& c, const QColor& fallback)
{
    return c ? toQColor(*c) : fallback;
}

QFont toQFont(const Font& f)
{
    QFont font(QString::fromStdString(f.face));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(f.points > 0 ? f.points : 8.25);
    font.setWeight(f.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

void installFontSubstitutes()
{
    const QStringList sans { QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
        QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif") };
    for (const auto* face : { "Arial", "MS Sans Serif" }) {
        const QString name = QString::fromLatin1(face);
        QFont::removeSubstitutions(name);
        QFont::insertSubstitutions(name, sans);
    }
}

} // namespace tarvo::qt

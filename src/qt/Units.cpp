#include "qt/Units.h"

#include "model/Look.h"

#include <QStringList>

#include <cmath>

namespace tarvo::qt {

QRect toQRect(const PxRect& r)
{
    return QRect(r.x, r.y, r.w, r.h);
}

QColor toQColor(Bgr c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

QFont toQFont(const Font& f)
{
    QFont font(QString::fromStdString(f.face));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(look::points(f));
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

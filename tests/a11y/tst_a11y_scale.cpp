// The start and game windows at the QT_SCALE_FACTOR this run is given (CTest runs 1, 1.5 and 2),
// grabbed in device pixels: every button where its twips put it, the colours where they belong,
// text drawn at the device resolution, the circles round. The offscreen screen is given the same
// logical size at every factor, so the windows lay out alike and only the device pixels differ.
#include "A11yRig.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryFile>

#include <cmath>

using namespace tarvo;
using tarvo::test::A11yRig;

namespace {

double factor = 1.0;

// A screen colour as the grabbed image holds it.
constexpr QRgb pixel(Bgr c)
{
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

bool near(QRgb a, QRgb b, int tolerance = 3)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QString rgb(QRgb c)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

int px(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0)); // 96 logical dots per inch
}

// Where a control's twips put it in its window, in logical pixels.
QRect expected(const Control& c, QWidget* view)
{
    int left = c.left();
    int top = c.top();
    for (const Control* p = c.container(); p; p = p->container()) {
        left += p->left();
        top += p->top();
    }
    const QPoint client
        = view->findChild<QWidget*>(QStringLiteral("client"))->mapTo(view, QPoint());
    return QRect(client + QPoint(px(left), px(top)), QSize(px(c.width()), px(c.height())));
}

// A window's pixels, addressed in logical coordinates.
struct Shot {
    QImage image;
    QRgb at(QPointF logical) const
    {
        return image.pixel(
            static_cast<int>(logical.x() * factor), static_cast<int>(logical.y() * factor));
    }
};

// A point inside a rectangle, as fractions of its width and height.
QPointF inside(const QRect& r, double fx, double fy)
{
    return QPointF(r.left() + fx * r.width(), r.top() + fy * r.height());
}

} // namespace

class TestScale : public QObject {
    Q_OBJECT

private:
    // The raised edge of a button starts and ends where its twips say, to a device pixel or so:
    // white along the left, black along the right, scanned on the button's middle line.
    void checkPlaced(const Shot& shot, const Control& c, QWidget* view)
    {
        const QRect r = expected(c, view);
        const int y = static_cast<int>((r.top() + r.height() / 2.0) * factor);
        const double left = r.left() * factor;
        const double right = (r.right() + 1) * factor - 1;
        const int slack = static_cast<int>(std::ceil(factor)) + 1;
        int white = -1;
        for (int x = static_cast<int>(left) - 3 * slack; x <= left + 3 * slack; ++x)
            if (near(shot.image.pixel(x, y), qRgb(255, 255, 255), 8)) {
                white = x;
                break;
            }
        int black = -1;
        for (int x = static_cast<int>(right) + 3 * slack; x >= right - 3 * slack; --x)
            if (near(shot.image.pixel(x, y), qRgb(0, 0, 0), 8)) {
                black = x;
                break;
            }
        const QString name
            = QStringLiteral("%1(%2)").arg(QString::fromStdString(c.name())).arg(c.index());
        QVERIFY2(std::abs(white - left) <= slack,
            qPrintable(QStringLiteral("%1 starts at %2, not %3").arg(name).arg(white).arg(left)));
        QVERIFY2(std::abs(black - right) <= slack,
            qPrintable(QStringLiteral("%1 ends at %2, not %3").arg(name).arg(black).arg(right)));
    }

    // A grab of the whole window, drawn at the device resolution rather than scaled up from a
    // picture of its logical size.
    void shoot(QWidget* view, Shot& shot)
    {
        const QPixmap pixmap = view->grab();
        QCOMPARE(pixmap.devicePixelRatio(), factor);
        QCOMPARE(pixmap.size(),
            QSize(static_cast<int>(std::lround(view->width() * factor)),
                static_cast<int>(std::lround(view->height() * factor))));
        shot.image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    }

    void checkColour(const Shot& shot, QPointF where, QRgb colour, const char* what)
    {
        const QRgb seen = shot.at(where);
        QVERIFY2(near(seen, colour),
            qPrintable(QStringLiteral("%1: %2, not %3").arg(what, rgb(seen), rgb(colour))));
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(1280, 1024));
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), factor);
    }

    void startScreen()
    {
        A11yRig rig;
        rig.beginOnFirstChoice();
        if (QTest::currentTestFailed())
            return;
        Window& w = *rig.window(ScreenId::Inizio);
        // Draw the curtains back at once.
        for (int i = 0; i < 10000 && w.at("timerTendine").enabled(); ++i)
            w.raiseTimer(w.at("timerTendine"));
        QVERIFY(!w.at("timerTendine").enabled());
        QWidget* view = rig.view(ScreenId::Inizio);
        Shot shot;
        shoot(view, shot);
        if (QTest::currentTestFailed())
            return;

        // Between the two button frames lies the window's own background.
        const QRect choices = expected(w.at("frame1"), view);
        const QRect commands = expected(w.at("Frame2"), view);
        checkColour(shot, QPointF((choices.right() + commands.left()) / 2.0, choices.center().y()),
            pixel(ColoreNormale), "window background");
        // The focused "10" is highlighted, "14" is not; both sampled on the face, off the text.
        checkColour(shot, inside(expected(w.at("Option1", 0), view), 0.15, 0.5),
            pixel(ColoreEvidenziato), "highlighted button");
        checkColour(shot, inside(expected(w.at("Option1", 4), view), 0.15, 0.5),
            pixel(ColoreNormale), "normal button");
        for (int i = 0; i <= 10; ++i)
            checkPlaced(shot, w.at("Option1", i), view);
        for (int i = 0; i <= 2; ++i)
            checkPlaced(shot, w.at("Option2", i), view);

        // At whole factors above 1 the title's letters have detail at the device resolution: a
        // picture scaled up from one logical pixel per dot would repeat each dot factor times.
        if (factor >= 2 && factor == std::floor(factor)) {
            const QRect title = expected(w.at("Label4"), view);
            const int step = static_cast<int>(factor);
            const int left = static_cast<int>(title.left() * factor);
            const int right = static_cast<int>(title.right() * factor);
            const int top = static_cast<int>(title.top() * factor);
            const int bottom = static_cast<int>(title.bottom() * factor);
            int detail = 0;
            for (int y = top; y < bottom; y += step)
                for (int x = left; x + 1 < right; x += step)
                    if (shot.image.pixel(x, y) != shot.image.pixel(x + 1, y))
                        ++detail;
            QVERIFY2(detail > 100, qPrintable(QString::number(detail)));
        }
    }

    void gameScreen()
    {
        A11yRig rig;
        if (!rig.beginAndOpenGame(15))
            return;
        Window& w = *rig.window(ScreenId::Operativo);
        QWidget* view = rig.view(ScreenId::Operativo);
        Shot shot;
        shoot(view, shot);
        if (QTest::currentTestFailed())
            return;

        const QRect disc = expected(w.at("Shape2"), view);
        const QRect ring = expected(w.at("Shape1", 1), view);
        // The disc above the centre number; the ring between the first two rays.
        checkColour(shot, inside(disc, 0.5, 0.12), pixel(Giallo), "centre disc");
        const double a = 22.5 * M_PI / 180;
        const QPointF ringPoint(ring.center().x() + 0.3 * ring.height() * std::sin(a),
            ring.center().y() - 0.3 * ring.height() * std::cos(a));
        checkColour(shot, ringPoint, pixel(GialloChiaro), "ring");
        checkColour(shot, inside(expected(w.at("lblRisultato", 1), view), 0.5, 0.5),
            pixel(GialloChiaro), "answer cell");
        checkColour(shot, inside(expected(w.at("Option1", 0), view), 0.15, 0.5),
            pixel(ColoreEvidenziato), "highlighted button");
        checkColour(shot, inside(expected(w.at("Option1", 5), view), 0.15, 0.5),
            pixel(ColoreNormale), "normal button");
        // The celebration picture is hidden: the window's background shows where it stands.
        checkColour(shot, inside(expected(w.at("Picture11"), view), 0.5, 0.5), pixel(ColoreNormale),
            "window background");
        for (int i = 0; i < 14; ++i)
            checkPlaced(shot, w.at("Option1", i), view);

        // The disc is round: its yellow reaches as far across as down, as far as a circle of
        // its size inside its 4-pixel border does.
        const double inner = std::min(disc.width(), disc.height()) * factor - 2 * 4 * factor;
        const QRect area(
            QPoint(static_cast<int>(disc.left() * factor), static_cast<int>(disc.top() * factor)),
            QSize(
                static_cast<int>(disc.width() * factor), static_cast<int>(disc.height() * factor)));
        QRect yellow;
        for (int y = area.top() - 4; y <= area.bottom() + 4; ++y)
            for (int x = area.left() - 4; x <= area.right() + 4; ++x)
                if (near(shot.image.pixel(x, y), pixel(Giallo), 40))
                    yellow |= QRect(x, y, 1, 1);
        QVERIFY2(std::abs(yellow.width() - yellow.height()) <= 2,
            qPrintable(QStringLiteral("%1 x %2").arg(yellow.width()).arg(yellow.height())));
        QVERIFY2(std::abs(yellow.width() - inner) <= 2 + factor,
            qPrintable(QStringLiteral("%1, not %2").arg(yellow.width()).arg(inner)));
    }
};

// The offscreen screen gets the same logical size, 1280 x 1024 at 96 dots per inch, whatever the
// factor: its device size grows with the factor.
int main(int argc, char** argv)
{
    factor = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QTemporaryFile config;
    if (!config.open())
        return 2;
    const QString screens = QStringLiteral(R"({ "screens": [ { "name": "scaled", "x": 0, "y": 0,
        "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96 } ] })");
    config.write(screens.arg(std::lround(1280 * factor)).arg(std::lround(1024 * factor)).toUtf8());
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    TestScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_a11y_scale.moc"

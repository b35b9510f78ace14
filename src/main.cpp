// Tarvo: starts the toolkit, then the program on its start screen. The program reads no command
// line, environment or configuration of its own (Qt's platform variables aside).

#include "app/FileProbe.h"
#include "app/Program.h"
#include "model/Random.h"
#include "qt/QtPlatform.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.tarvo"));
    // The program ends when its screens say so, not when Qt sees no window left.
    QApplication::setQuitOnLastWindowClosed(false);

    tarvo::qt::QtPlatform platform;
    QIcon icon;
    for (int size : { 32, 48, 64, 128 })
        icon.addFile(QStringLiteral(":/icons/tarvo-%1.png").arg(size), QSize(size, size));
    platform.setIcon(icon);

    tarvo::SystemClock clock;
    tarvo::SeededRandom rng;
    tarvo::SystemFileProbe probe;
    int code = 0;
    {
        tarvo::Program program(platform, clock, rng, probe);
        program.start();
        code = QApplication::exec();
    }
    return code;
}

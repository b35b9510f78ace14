// Tarvo: starts the toolkit, then the program on its start screen. The program reads no command
// line, environment or configuration of its own (Qt's platform variables aside).

#include "app/FileProbe.h"
#include "app/Program.h"
#include "model/Random.h"
#include "qt/QtPlatform.h"
#include "qt/X11Desktop.h"

#include <QApplication>
#include <QIcon>

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

// A folder that may serve as the runtime directory: the user's own, 0700, already there.
bool privateFolder(const std::string& path)
{
    struct stat st = {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)
        && st.st_uid == geteuid() && (st.st_mode & 07777) == 0700;
}

// The program writes nothing, yet on a bare X session the libraries below Qt would: with no
// session bus named, libdbus launches one of its own (files under ~/.dbus, a daemon that
// outlives the program), and with no runtime directory named, Qt creates /tmp/runtime-<user>
// and warns. Where the session names them nothing changes (setenv never overwrites here);
// otherwise the toolkit is given the user's standard bus socket, which it only connects to (no
// bus there: accessibility stays off), and a private folder that already exists, which it only
// looks into. This is the least that works: Qt has no setting of its own for either.
void keepToolkitFromWriting()
{
    const std::string runtime = "/run/user/" + std::to_string(geteuid());
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + runtime + "/bus").c_str(), 0);
    std::string folder = runtime;
    if (!privateFolder(folder)) {
        const passwd* pw = getpwuid(geteuid());
        folder = pw && pw->pw_dir ? pw->pw_dir : "";
    }
    if (privateFolder(folder))
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 0);
}

} // namespace

int main(int argc, char** argv)
{
    keepToolkitFromWriting();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    QApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION)); // the project version
    QApplication::setDesktopFileName(QStringLiteral("org.example.tarvo"));
    // The program ends when its screens say so, not when Qt sees no window left.
    QApplication::setQuitOnLastWindowClosed(false);

    tarvo::qt::QtPlatform platform;
    QIcon icon;
    for (int size : { 32, 48, 64, 128 })
        icon.addFile(QStringLiteral(":/icons/tarvo-%1.png").arg(size), QSize(size, size));
    // Every window, the start screen's included, shows the program's icon in the task bar.
    QApplication::setWindowIcon(icon);
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
    // Qt 6.4's Wayland display, torn down with the application, can wait for ever for its event
    // thread, which waits inside libwayland for a read that never comes: the windows are gone
    // but the process stays. The screens are closed and nothing is left to write, so on Wayland
    // the process ends here.
    if (tarvo::qt::x11::onWayland()) {
        std::fflush(nullptr);
        _exit(code);
    }
    return code;
}

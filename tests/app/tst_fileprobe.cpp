#include "app/FileProbe.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <string>

using namespace tarvo;

namespace {

// Names and modification times of everything in a directory, and the open descriptors of the
// process: the probe must change neither.
std::set<std::string> snapshot(const std::string& dir)
{
    std::set<std::string> out;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            struct stat st = {};
            ::lstat((dir + "/" + name).c_str(), &st);
            out.insert(name + ":" + std::to_string(st.st_size) + ":"
                + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + ":"
                + std::to_string(st.st_mode));
        }
        ::closedir(d);
    }
    return out;
}

int openDescriptors()
{
    int n = 0;
    if (DIR* d = ::opendir("/proc/self/fd")) {
        while (::readdir(d))
            ++n;
        ::closedir(d);
    }
    return n;
}

} // namespace

class TestFileProbe : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }

    // Probes `name` in the scratch directory and checks that nothing there changed, that no
    // descriptor stayed open and that the answer came at once.
    bool probe(const std::string& name)
    {
        const auto before = snapshot(dir_.path().toStdString());
        const int fds = openDescriptors();
        QElapsedTimer t;
        t.start();
        const bool readable = SystemFileProbe().probeReadable(name);
        [&] {
            QVERIFY2(t.elapsed() < 1000, "the probe must never wait");
            QCOMPARE(snapshot(dir_.path().toStdString()), before);
            QCOMPARE(openDescriptors(), fds);
        }();
        return readable;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void regularFileIsReadableAndUnchanged()
    {
        const std::string p = path("ImpostazioniVa.dat");
        std::ofstream(p) << "contenuto";
        QVERIFY(probe(p));
        if (QTest::currentTestFailed())
            return;
        std::ifstream in(p);
        std::string content;
        std::getline(in, content);
        QCOMPARE(content, std::string("contenuto"));
    }

    void missingFileIsNotCreated()
    {
        QVERIFY(!probe(path("assente.dat")));
        QVERIFY(::access(path("assente.dat").c_str(), F_OK) != 0);
        QVERIFY(!probe(""));
    }

    void directoryIsNotAFile()
    {
        QVERIFY(::mkdir(path("cartella").c_str(), 0755) == 0);
        QVERIFY(!probe(path("cartella")));
    }

    void unreadableFileIsNotReadable()
    {
        if (::geteuid() == 0)
            QSKIP("running as root: permissions do not stop root from reading");
        const std::string p = path("chiuso.dat");
        std::ofstream(p) << "x";
        QVERIFY(::chmod(p.c_str(), 0) == 0);
        QVERIFY(!probe(p));
        ::chmod(p.c_str(), 0644);
    }

    void fifoWithoutWriterAnswersAtOnceAndStaysClosed()
    {
        const std::string p = path("coda.dat");
        QVERIFY(::mkfifo(p.c_str(), 0644) == 0);
        QVERIFY(!probe(p));
        // No reader was left behind: a writer that does not wait still finds none.
        QCOMPARE(::open(p.c_str(), O_WRONLY | O_NONBLOCK), -1);
        QCOMPARE(errno, ENXIO);
    }

    void deviceIsNotAFile()
    {
        QVERIFY(::access("/dev/null", F_OK) == 0);
        QVERIFY(!probe("/dev/null"));
        QVERIFY(::symlink("/dev/zero", path("dispositivo.dat").c_str()) == 0);
        QVERIFY(!probe(path("dispositivo.dat")));
    }

    void danglingAndLoopingLinksAreAbsent()
    {
        QVERIFY(::symlink(path("nessuno").c_str(), path("pendente.dat").c_str()) == 0);
        QVERIFY(!probe(path("pendente.dat")));
        QVERIFY(::symlink(path("anello2.dat").c_str(), path("anello1.dat").c_str()) == 0);
        QVERIFY(::symlink(path("anello1.dat").c_str(), path("anello2.dat").c_str()) == 0);
        QVERIFY(!probe(path("anello1.dat")));
        QVERIFY(::access(path("nessuno").c_str(), F_OK) != 0);
    }
};

QTEST_GUILESS_MAIN(TestFileProbe)
#include "tst_fileprobe.moc"

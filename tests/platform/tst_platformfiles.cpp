#include "platform/atomicfile.h"
#include "platform/winepaths.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace calvenor;
using calvenor::test::TestEnvironment;

namespace {
std::atomic<int> g_failingFsyncs {0};
}

// This executable's own fsync, which the library's calls reach (it is found before the C
// library's): it fails on demand, as a full or failing disk makes it fail.
extern "C" int fsync(int fd)
{
    if (g_failingFsyncs > 0) {
        --g_failingFsyncs;
        errno = EIO;
        return -1;
    }
    return int(::syscall(SYS_fsync, fd));
}

class TestPlatformFiles : public QObject
{
    Q_OBJECT
private slots:
    void atomicWriteKeepsModeAndFollowsLinks();
    void atomicWriteRefusals_data();
    void atomicWriteRefusals();
    void readWholeFileRefusesWhatIsNoPlainFile();
    void failedSyncKeepsTheOldFile();
    void staleTemporaryFilesAreRemoved();
    void drivePathsMapThroughThePrefix_data();
    void drivePathsMapThroughThePrefix();
    void nativePathsMapBackToWindows();
};

void TestPlatformFiles::atomicWriteKeepsModeAndFollowsLinks()
{
    TestEnvironment env;
    const QString file = env.writeFile("real.ini", "old");
    ::chmod(QFile::encodeName(file).constData(), 0640);
    const QString link = env.path("link.ini");
    QVERIFY(QFile::link(file, link));
    QCOMPARE(writeFileAtomically(link, "new"), errNone);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(env.readFile(file), QByteArray("new"));
    struct stat st {};
    ::stat(QFile::encodeName(file).constData(), &st);
    QCOMPARE(int(st.st_mode & 0777), 0640);
    // No temporary file is left behind.
    QCOMPARE(QDir(env.path("")).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestPlatformFiles::atomicWriteRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("read-only file") << "readonly" << int(errPermissionDenied);
    QTest::newRow("missing folder") << "nofolder" << int(errPathNotFound);
    QTest::newRow("folder") << "folder" << int(errPathFileAccess);
    QTest::newRow("device") << "device" << int(errPathFileAccess);
    QTest::newRow("named pipe") << "pipe" << int(errPathFileAccess);
    QTest::newRow("empty path") << "empty" << int(errPathNotFound);
}

void TestPlatformFiles::atomicWriteRefusals()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    TestEnvironment env;
    QString path;
    if (kind == u"readonly") {
        path = env.writeFile("ro.ini", "keep");
        ::chmod(QFile::encodeName(path).constData(), 0444);
    } else if (kind == u"nofolder") {
        path = env.path("none/x.ini");
    } else if (kind == u"folder") {
        path = env.path("");
    } else if (kind == u"device") {
        path = "/dev/null";
    } else if (kind == u"pipe") {
        path = env.path("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    QCOMPARE(isNonRegularFile(path), error == int(errPathFileAccess));
    QCOMPARE(int(writeFileAtomically(path, "new")), error);
    if (kind == u"readonly")
        QCOMPARE(env.readFile(path), QByteArray("keep"));
}

void TestPlatformFiles::readWholeFileRefusesWhatIsNoPlainFile()
{
    TestEnvironment env;
    QByteArray bytes;
    QCOMPARE(readWholeFile(env.path("missing"), 100, bytes), errFileNotFound);
    QCOMPARE(readWholeFile(env.path(""), 100, bytes), errPathFileAccess);
    QCOMPARE(readWholeFile("/dev/zero", 100, bytes), errPathFileAccess);
    const QString big = env.writeFile("big", QByteArray(101, 'x'));
    QCOMPARE(readWholeFile(big, 100, bytes), errPathFileAccess);
    QCOMPARE(readWholeFile(big, 101, bytes), errNone);
    QCOMPARE(bytes.size(), 101);
}

void TestPlatformFiles::failedSyncKeepsTheOldFile()
{
    TestEnvironment env;
    const QString file = env.writeFile("wincmd.ini", "old");
    g_failingFsyncs = 1;
    QCOMPARE(writeFileAtomically(file, "new"), errPathFileAccess);
    QCOMPARE(int(g_failingFsyncs), 0);   // the library's fsync was this one
    QCOMPARE(env.readFile(file), QByteArray("old"));
    QCOMPARE(QDir(env.path("")).entryList(QDir::Files | QDir::Hidden), QStringList({"wincmd.ini"}));
    QCOMPARE(writeFileAtomically(file, "new"), errNone);
    QCOMPARE(env.readFile(file), QByteArray("new"));
}

void TestPlatformFiles::staleTemporaryFilesAreRemoved()
{
    TestEnvironment env;
    const QString file = env.writeFile("tc/wincmd.ini", "old");
    // What killed writers left, however young: files in our temporary pattern for this
    // target that no writer holds locked.
    env.writeFile("tc/.wincmd.ini.a1B2c3", "half");
    env.writeFile("tc/.wincmd.ini.Young1", "half");
    // A live writer's file: locked by its writer.
    const QString locked = env.writeFile("tc/.wincmd.ini.Locked", "writing");
    QFile lockHolder(locked);
    QVERIFY(lockHolder.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(lockHolder.handle(), LOCK_EX | LOCK_NB), 0);
    // Not ours, or another file's.
    QStringList others = {"tc/.wincmd.ini.toolong7", "tc/.wincmd.ini.ab-cd1", "tc/.wcx_ftp.ini.a1B2c3", "tc/wincmd.ini.a1B2c3"};
    for (const QString &name : std::as_const(others))
        env.writeFile(name, "keep");

    QCOMPARE(writeFileAtomically(file, "new"), errNone);
    QStringList left = QDir(env.path("tc")).entryList(QDir::Files | QDir::Hidden);
    QStringList expected = {"wincmd.ini", ".wincmd.ini.Locked"};
    for (const QString &name : std::as_const(others))
        expected << QFileInfo(name).fileName();
    left.sort();
    expected.sort();
    QCOMPARE(left, expected);
}

void TestPlatformFiles::drivePathsMapThroughThePrefix_data()
{
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected");   // relative to drive_c; "<none>" for no file
    QTest::newRow("exact case") << "c:\\Total\\Wincmd.ini" << "Total/Wincmd.ini";
    QTest::newRow("other case") << "C:\\TOTAL\\wincmd.INI" << "Total/Wincmd.ini";
    QTest::newRow("forward slashes") << "c:/total/wincmd.ini" << "Total/Wincmd.ini";
    QTest::newRow("missing file keeps its spelling") << "c:\\total\\New.ini" << "Total/New.ini";
    QTest::newRow("dot and dot-dot") << "c:\\total\\.\\..\\Total\\wincmd.ini" << "Total/Wincmd.ini";
    QTest::newRow("unmapped drive") << "q:\\x.ini" << "<none>";
}

void TestPlatformFiles::drivePathsMapThroughThePrefix()
{
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    TestEnvironment env;
    env.writeFile("prefix/drive_c/Total/Wincmd.ini", "");
    const WinePrefix prefix(env.path("prefix"));
    const QString drive = QFileInfo(env.wineDrive()).canonicalFilePath();
    QCOMPARE(prefix.toNative(windowsPath), expected == u"<none>" ? QString() : drive + u'/' + expected);
    QCOMPARE(prefix.toNative("/native/path\\x"), QStringLiteral("/native/path/x"));
}

void TestPlatformFiles::nativePathsMapBackToWindows()
{
    TestEnvironment env;
    env.writeFile("prefix/drive_c/tc/wincmd.ini", "");
    QVERIFY(QFile::link("/", env.path("prefix/dosdevices/z:")));
    const WinePrefix prefix(env.path("prefix"));
    QCOMPARE(prefix.toWindows(env.wineDrive() + "/tc/wincmd.ini"), QStringLiteral("C:\\tc\\wincmd.ini"));
    QCOMPARE(prefix.toWindows("/etc/hosts"), QStringLiteral("Z:\\etc\\hosts"));
    QCOMPARE(WinePrefix(env.path("no-prefix")).toWindows("/etc/hosts"), QStringLiteral("Z:\\etc\\hosts"));
}

QTEST_GUILESS_MAIN(TestPlatformFiles)
#include "tst_platformfiles.moc"

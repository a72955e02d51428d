#include "platform/atomicfile.h"
#include "platform/winepaths.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>

using namespace calvenor;
using calvenor::test::TestEnvironment;

class TestPlatformFiles : public QObject
{
    Q_OBJECT
private slots:
    void atomicWriteKeepsModeAndFollowsLinks();
    void atomicWriteRefusals_data();
    void atomicWriteRefusals();
    void readWholeFileRefusesWhatIsNoPlainFile();
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
    }
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

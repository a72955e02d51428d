#include "settings/csettings.h"
#include "support/testenvironment.h"
#include "transfer/filemanagerrestarter.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

#include <csignal>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::TestEnvironment;

namespace {

// A file manager installed in a fake Wine prefix (c:\tc), played by a stand-in.
struct Fixture
{
    Fixture()
        : registry(kMarker, env.path("store.reg"), QString())
        , settings(env.profile(), env.paths(), registry)
        , restarter(env.paths(), settings, process)
    {
        env.paths().setTCInstallDir("C:\\tc\\");
        settings.setSettingsFile(env.writeFile("app/vantrel editors.ini", "[Common]\n"));
        wincmd = env.writeFile("prefix/drive_c/tc/wincmd.ini", "");
        wcxftp = env.writeFile("prefix/drive_c/tc/wcx_ftp.ini", "");
        restarter.setIniFiles(wincmd, wcxftp);
        restarter.setSleeper([this](std::chrono::milliseconds delay) { waits << int(delay.count()); });
        restarter.setReporter([this](const QString &text) { reports << text; });
    }
    QString tc(const QString &name) const { return env.path("prefix/drive_c/tc/" + name); }
    QString log(const QString &name) const { return QString::fromUtf8(env.readFile(tc(name))); }

    TestEnvironment env;
    cRegistry registry;
    cSettings settings;
    FileManagerProcess process;
    FileManagerRestarter restarter;
    QString wincmd;
    QString wcxftp;
    QList<int> waits;
    QStringList reports;
};

} // namespace

// Polls a condition for up to five seconds by the clock until it holds twice in a row
// 100 ms apart: a stand-in being started can show for a moment before it really runs.
template<typename Condition>
bool eventually(Condition condition)
{
    QElapsedTimer clock;
    clock.start();
    int held = 0;
    while (held < 2) {
        if (clock.hasExpired(5000))
            return false;
        held = condition() ? held + 1 : 0;
        QThread::msleep(held ? 100 : 20);
    }
    return true;
}

class TestRestart : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void waitsHalfTheDelay_data();
    void waitsHalfTheDelay();
    void nothingHappensWithoutAnInstallation();
    void nativeStandInIsStartedAndClosed();
    void windowsProgramGoesThroughWine();
    void theRunningOfTwoInstalledProgramsIsClosedAndRestarted();
    void aFileManagerThatWillNotCloseIsReported();
};

void TestRestart::cleanup()
{
    // Whatever a failed test left running (and nothing else of that name).
    for (const qint64 process : TestEnvironment::RunningStandIns())
        ::kill(pid_t(process), SIGKILL);
    // Gone before the next test looks for running file managers.
    QVERIFY(eventually([] { return TestEnvironment::RunningStandIns().isEmpty(); }));
}

void TestRestart::waitsHalfTheDelay_data()
{
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QList<int>>("waits");
    QTest::newRow("default") << QByteArray() << QList<int>({500});
    QTest::newRow("20 is kept to 10") << QByteArray("TCRestartDelay=20\n") << QList<int>({5000});
    QTest::newRow("negative waits not at all") << QByteArray("TCRestartDelay=-3\n") << QList<int>();
    QTest::newRow("decimals") << QByteArray("TCRestartDelay=2.5\n") << QList<int>({1250});
    QTest::newRow("not a number acts as the default") << QByteArray("TCRestartDelay=soon\n") << QList<int>({500});
}

void TestRestart::waitsHalfTheDelay()
{
    QFETCH(QByteArray, setting);
    QFETCH(QList<int>, waits);
    Fixture f;
    f.env.writeFile("app/vantrel editors.ini", "[Common]\n" + setting);
    f.restarter.WaitRestartDelay();
    QCOMPARE(f.waits, waits);
}

void TestRestart::nothingHappensWithoutAnInstallation()
{
    Fixture f;
    f.restarter.RestartFileManager(false, true, " /i=");   // no Totalcmd.exe in c:\tc
    f.env.paths().setTCInstallDir(kMarker);
    f.restarter.RestartFileManager(true, true, " /i=");
    QVERIFY(f.waits.isEmpty());
    QVERIFY(f.reports.isEmpty());
}

void TestRestart::nativeStandInIsStartedAndClosed()
{
    Fixture f;
    const QString standIn = f.env.writeFile("prefix/drive_c/tc/TOTALCMD.EXE",
        "#!/bin/sh\n"
        "log=\"$(dirname \"$0\")/standin.log\"\n"
        "trap 'echo closed >> \"$log\"; exit 0' TERM\n"
        "printf 'started %s\\n' \"$*\" >> \"$log\"\n"
        "while :; do sleep 0.05; done\n");
    QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    f.restarter.RestartFileManager(false, true, " /f=" + f.wcxftp + " /i=");
    QTRY_VERIFY(f.log("standin.log").contains("started"));
    QCOMPARE(f.log("standin.log"), QStringLiteral("started /f=C:\\tc\\wcx_ftp.ini /i=C:\\tc\\wincmd.ini\n"));
    QVERIFY(f.restarter.FindFileManagerWindow());

    f.restarter.RestartFileManager(true, true, " /i=");
    QVERIFY(f.log("standin.log").endsWith("closed\n"));
    QVERIFY(!f.restarter.FindFileManagerWindow());
    QCOMPARE(f.waits, QList<int>({500, 500}));
    QVERIFY(f.reports.isEmpty());

    // Started with only the /i= switch.
    f.restarter.RestartFileManager(false, true, " /i=");
    QTRY_VERIFY(f.log("standin.log").endsWith("started /i=C:\\tc\\wincmd.ini\n"));
    f.restarter.RestartFileManager(true, true, " /i=");
}

void TestRestart::windowsProgramGoesThroughWine()
{
    Fixture f;
    f.env.writeFile("prefix/drive_c/tc/Totalcmd64.exe", "MZ\x90\0 not really a program");
    const QString folder = f.tc("");
    const QString wine = f.env.writeFile("bin/wine",
        "#!/bin/bash\n"
        "dir='" + folder.toUtf8() + "'\n"
        "if [ \"$1\" = taskkill ]; then echo \"$*\" >> \"$dir/wine.log\"; touch \"$dir/close-request\"; exit 0; fi\n"
        "echo \"run $*\" >> \"$dir/wine.log\"\n"
        // The wait forks nothing: a forked child would briefly carry the same name.
        "exec -a \"$1\" perl -e 'select(undef, undef, undef, 0.05) until -e \"$ARGV[0]/close-request\"' \"$dir\"\n");
    QFile::setPermissions(wine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    f.process.setWineProgram(wine);

    f.restarter.RestartFileManager(false, true, " /i=");
    QVERIFY(eventually([&] { return f.restarter.FindFileManagerWindow(); }));
    QCOMPARE(f.log("wine.log"), "run " + f.tc("Totalcmd64.exe") + " /i=C:\\tc\\wincmd.ini\n");
    f.restarter.RestartFileManager(true, true, " /i=");
    QVERIFY(f.log("wine.log").endsWith("taskkill /im Totalcmd64.exe\n"));
    QVERIFY(!f.restarter.FindFileManagerWindow());
}

void TestRestart::theRunningOfTwoInstalledProgramsIsClosedAndRestarted()
{
    Fixture f;
    f.env.writeFile("prefix/drive_c/tc/Totalcmd.exe", "MZ 32-bit");
    f.env.writeFile("prefix/drive_c/tc/TOTALCMD64.EXE", "MZ 64-bit");
    const QString folder = f.tc("");
    // Wine's taskkill closes only the program of that name (in any case).
    const QString wine = f.env.writeFile("bin/wine",
        "#!/bin/bash\n"
        "dir='" + folder.toUtf8() + "'\n"
        "if [ \"$1\" = taskkill ]; then echo \"$*\" >> \"$dir/wine.log\"; touch \"$dir/close-${3,,}\"; exit 0; fi\n"
        "echo \"run $*\" >> \"$dir/wine.log\"\n"
        "name=$(basename \"$1\")\n"
        "exec -a \"$1\" perl -e 'my $f = \"$ARGV[0]/close-$ARGV[1]\"; select(undef, undef, undef, 0.05) until -e $f; unlink $f' \"$dir\" \"${name,,}\"\n");
    QFile::setPermissions(wine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    f.process.setWineProgram(wine);
    f.restarter.setCloseTimeout(std::chrono::milliseconds(3000));

    // The person started the 64-bit program.
    QVERIFY(f.process.start(f.tc("TOTALCMD64.EXE"), {}));
    QVERIFY(eventually([&] { return f.restarter.FindFileManagerWindow(); }));
    f.restarter.RestartFileManager(true, true, " /i=");
    QVERIFY2(f.log("wine.log").endsWith("taskkill /im TOTALCMD64.EXE\n"), qPrintable(f.log("wine.log")));
    QVERIFY(f.reports.isEmpty());
    QVERIFY(!f.restarter.FindFileManagerWindow());
    // And it is the one started again.
    f.restarter.RestartFileManager(false, true, " /i=");
    QVERIFY(eventually([&] { return f.restarter.FindFileManagerWindow(); }));
    QVERIFY(f.log("wine.log").endsWith("run " + f.tc("TOTALCMD64.EXE") + " /i=C:\\tc\\wincmd.ini\n"));
    f.restarter.RestartFileManager(true, true, " /i=");
    QVERIFY(!f.restarter.FindFileManagerWindow());
}

void TestRestart::aFileManagerThatWillNotCloseIsReported()
{
    Fixture f;
    const QString standIn = f.env.writeFile("prefix/drive_c/tc/Totalcmd.exe",
        "#!/bin/sh\ntrap '' TERM\ntouch \"$(dirname \"$0\")/ready\"\nwhile :; do sleep 0.05; done\n");
    QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    f.restarter.setCloseTimeout(std::chrono::milliseconds(300));
    f.restarter.RestartFileManager(false, true, " /i=");
    QTRY_VERIFY(QFile::exists(f.tc("ready")));   // it ignores the close request from here on
    f.restarter.RestartFileManager(true, true, " /i=");
    QCOMPARE(f.reports.size(), 1);
    QVERIFY(f.reports.first().contains("did not close"));
    QVERIFY(f.restarter.FindFileManagerWindow());   // asked, never killed
}

QTEST_GUILESS_MAIN(TestRestart)
#include "tst_restart.moc"

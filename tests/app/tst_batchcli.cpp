#include "support/testenvironment.h"

#include <QProcess>
#include <QtTest>

using calvenor::test::TestEnvironment;

// The program itself, started as a user would start it from a shell, cron or ssh: with
// arguments it runs the batch job and needs no display at all.
class TestBatchCli : public QObject
{
    Q_OBJECT
private slots:
    void runsWithoutADisplay();
    void reportsErrorsThroughItsExitStatus();
    void helpAndVersion();
    void theEditorWithoutADisplaySaysSo();

private:
    struct Result
    {
        int status;
        QByteArray out;
        QByteArray err;
    };
    Result run(TestEnvironment &env, const QStringList &arguments);
};

TestBatchCli::Result TestBatchCli::run(TestEnvironment &env, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert("XDG_CONFIG_HOME", env.path("config"));
    environment.insert("HOME", env.path("home"));
    environment.insert("TMPDIR", env.path(""));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CALVENOR_EXECUTABLE), arguments);
    if (!process.waitForFinished(60000))
        qFatal("calvenor did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void TestBatchCli::runsWithoutADisplay()
{
    TestEnvironment env;
    const QString wincmd = env.writeFile("My TC/wincmd.ini", "[Layout]\r\nx=1\r\n[LeftHistory]\r\n0=c:\\\r\n");
    const QString wcxftp = env.writeFile("My TC/wcx_ftp.ini", "[OldConnections]\r\n0=ftp.example.org\r\n");
    // Paths with blanks, split by the shell into several arguments.
    QStringList arguments = {"/i=" + wincmd, "/f=" + wcxftp, "/s=all", "/b=" + env.path("My TC/backup.txt")};
    arguments = arguments.join(u' ').split(u' ');
    const Result result = run(env, arguments);
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(env.readFile(wincmd), QByteArray("[Layout]\r\nx=1\r\n"));
    QCOMPARE(env.readFile(wcxftp), QByteArray());
    QVERIFY(env.readFile("My TC/backup.txt").contains("[LeftHistory]\r\n0=c:\\\r\n"));
}

void TestBatchCli::reportsErrorsThroughItsExitStatus()
{
    TestEnvironment env;
    const Result result = run(env, {"/i=" + env.path("missing.ini"), "/s=all"});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err, ("Cannot find this file: " + env.path("missing.ini") + "\n").toUtf8());
}

void TestBatchCli::helpAndVersion()
{
    TestEnvironment env;
    const Result help = run(env, {"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.startsWith("Usage: calvenor"));
    const Result version = run(env, {"--version"});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith("Calvenor "));
}

void TestBatchCli::theEditorWithoutADisplaySaysSo()
{
    TestEnvironment env;
    const Result result = run(env, {});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY(result.err.contains("needs a display") && result.err.contains("/s=all"));
}

QTEST_GUILESS_MAIN(TestBatchCli)
#include "tst_batchcli.moc"

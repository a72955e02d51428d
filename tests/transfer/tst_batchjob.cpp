#include "platform/filemanagerprocess.h"
#include "settings/ccommondialog.h"
#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "settings/filemanagerlocator.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"
#include "transfer/batchjob.h"
#include "transfer/filemanagerrestarter.h"

#include <QtTest>

#include <sys/stat.h>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

namespace {

const QByteArray kWincmd = "[Configuration]\r\nInstallDir=C:\\tc\r\n"
                           "[LeftHistory]\r\n0=c:\\\r\n1=d:\\work\\\r\n"
                           "[Layout]\r\nButtonBar=1\r\n"
                           "[MkDirHistory]\r\n0=new folder\r\n"
                           "[Searches]\r\nImages_SearchFor=*.png\r\n";
const QByteArray kWcxftp = "[General]\r\n[OldConnections]\r\n0=ftp.example.org\r\n";

// A batch run on files in a private folder, with the person's answers recorded.
struct Fixture
{
    Fixture()
        : registry(kMarker, env.path("store.reg"), env.path("prefix"))
        , settings(env.profile(), env.paths(), registry)
        , language(env.profile(), settings)
        , dialog(person, language, &registry)
        , locator(env.paths(), registry, settings, env.profile(), person, language, dialog)
        , restarter(env.paths(), settings, process)
        , job(env.profile(), env.paths(), settings, locator, restarter, person, language)
    {
        wincmd = env.writeFile("tc/wincmd.ini", kWincmd);
        wcxftp = env.writeFile("tc/wcx_ftp.ini", kWcxftp);
        settings.setSettingsFile(env.writeFile("app/vantrel editors.ini", "[Calvenor]\r\nSplitPosition=3000\r\n"));
        settings.LoadSettings();
        restarter.setSleeper([](std::chrono::milliseconds) {});
    }
    int run(QStringList arguments)
    {
        arguments.prepend("/f=" + wcxftp);
        arguments.prepend("/i=" + wincmd);
        return job.RunCommandLineBatch(arguments);
    }

    TestEnvironment env;
    ScriptedPerson person;
    cRegistry registry;
    cSettings settings;
    cLanguage language;
    cCommonDialog dialog;
    FileManagerLocator locator;
    FileManagerProcess process;
    FileManagerRestarter restarter;
    BatchJob job;
    QString wincmd;
    QString wcxftp;
};

ino_t inode(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

} // namespace

class TestBatchJob : public QObject
{
    Q_OBJECT
private slots:
    void noArgumentsOpensTheWindow();
    void clearsAndBacksUp();
    void clearsEverything();
    void nothingToClear_data();
    void nothingToClear();
    void missingIniFileStopsBeforeAnything_data();
    void missingIniFileStopsBeforeAnything();
    void missingBackupFolderClearsNothing();
    void notARegularFileIsRefused_data();
    void notARegularFileIsRefused();
    void readOnlyBackupClearsNothing();
    void redirectionTargets_data();
    void redirectionTargets();
    void bareBackupNameIsInTheWorkingFolder();
    void aJobThatStopsAfterClosingStartsTheFileManagerAgain();
    void unwritableIniFileIsReported();
    void backupLimitAndOverwrite();
    void helpAndVersion();
    void dryRunChangesNothingAndCountsWhatARunClears();
    void keepRules_data();
    void keepRules();
};

void TestBatchJob::noArgumentsOpensTheWindow()
{
    Fixture f;
    QCOMPARE(f.job.RunCommandLineBatch({}), 0);
    QVERIFY(!f.job.mblnCommandLineHandled);
    QCOMPARE(f.job.RunCommandLineBatch({"hello"}), 0);   // a word that matches nothing still runs the job
    QVERIFY(f.job.mblnCommandLineHandled);
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
}

void TestBatchJob::clearsAndBacksUp()
{
    Fixture f;
    const QString backup = f.env.path("backups/history.txt");
    QDir().mkpath(f.env.path("backups"));
    const ino_t before = inode(f.wincmd);
    QCOMPARE(f.run({"/s=19;13;13;15", "/b=" + backup}), 0);
    QVERIFY(f.person.asked.isEmpty());
    QCOMPARE(f.env.readFile(f.wincmd), QByteArray("[Configuration]\r\nInstallDir=C:\\tc\r\n[Layout]\r\nButtonBar=1\r\n"
                                                  "[Searches]\r\nImages_SearchFor=*.png\r\n"));
    QCOMPARE(f.env.readFile(f.wcxftp), QByteArray("[General]\r\n"));
    QVERIFY(inode(f.wincmd) != before);   // replaced in one step
    const QByteArray text = f.env.readFile(backup);
    // Visited order, each section once, names in the catalogue's spelling.
    const qsizetype ftp = text.indexOf("[OldConnections]\r\n0=ftp.example.org\r\n\r\n");
    const qsizetype left = text.indexOf("[LeftHistory]\r\n0=c:\\\r\n1=d:\\work\\\r\n\r\n");
    const qsizetype mkdir = text.indexOf("[MkDirHistory]\r\n0=new folder\r\n\r\n\r\n; ||||");
    QVERIFY(ftp > 0 && left > ftp && mkdir > left);
    QCOMPARE(text.count("[LeftHistory]"), 1);
    // The layout keys of the window are written for batch runs too, and the backup's
    // name, where restoring in the window starts.
    QVERIFY(f.env.readFile(f.settings.SettingsFile()).contains("SplitPosition=3000"));
    QCOMPARE(f.settings.Read("Calvenor", "LastBackupFile", "-"), backup);
}

void TestBatchJob::clearsEverything()
{
    Fixture f;
    QCOMPARE(f.run({"/s=ALL"}), 0);
    QCOMPARE(f.env.readFile(f.wincmd), QByteArray("[Configuration]\r\nInstallDir=C:\\tc\r\n[Layout]\r\nButtonBar=1\r\n"));
    QCOMPARE(f.env.readFile(f.wcxftp), QByteArray("[General]\r\n"));
}

void TestBatchJob::nothingToClear_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no /s=") << QStringList({"/b=<backup>"});
    QTest::newRow("empty /s=") << QStringList({"/s=", "/b=<backup>"});
    QTest::newRow("only invalid numbers") << QStringList({"/s=0;20;x", "/b=<backup>"});
    QTest::newRow("only empty sections") << QStringList({"/s=2;3", "/b=<backup>"});
}

void TestBatchJob::nothingToClear()
{
    QFETCH(QStringList, arguments);
    Fixture f;
    const QString backup = f.env.path("h.txt");
    arguments.replaceInStrings("<backup>", backup);
    QCOMPARE(f.run(arguments), 0);
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
    QVERIFY(!QFile::exists(backup));
}

void TestBatchJob::missingIniFileStopsBeforeAnything_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("missing wincmd.ini") << "/i=";
    QTest::newRow("missing wcx_ftp.ini") << "/f=";
    QTest::newRow("quoted path keeps its quotes") << "/i=\"";
}

void TestBatchJob::missingIniFileStopsBeforeAnything()
{
    QFETCH(QString, option);
    Fixture f;
    const QString missing = option.endsWith(u'"') ? '"' + f.wincmd + '"' : f.env.path("nowhere.ini");
    QStringList arguments {"/i=" + f.wincmd, "/f=" + f.wcxftp, "/s=all"};
    arguments << option.left(3) + missing;
    QCOMPARE(f.job.RunCommandLineBatch(arguments), 1);
    QCOMPARE(f.person.messages(), QStringList({"Cannot find this file: " + missing}));
    QCOMPARE(f.person.asked.first().icon, MessageIcon::Error);
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
}

void TestBatchJob::missingBackupFolderClearsNothing()
{
    Fixture f;
    const QString backup = f.env.path("no folder/h.txt");
    QCOMPARE(f.run({"/s=all", "/b=" + backup}), 1);
    QCOMPARE(f.person.messages(), QStringList({"Cannot find this file: " + backup}));
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
    QCOMPARE(f.env.readFile(f.wcxftp), kWcxftp);
}

void TestBatchJob::notARegularFileIsRefused_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("kind");
    for (const char *option : {"/b=", "/i=", "/f="}) {
        for (const char *kind : {"pipe", "folder", "device"})
            QTest::addRow("%s %s", option, kind) << QString::fromLatin1(option) << QString::fromLatin1(kind);
    }
}

void TestBatchJob::notARegularFileIsRefused()
{
    QFETCH(QString, option);
    QFETCH(QString, kind);
    Fixture f;
    QString path = kind == u"device" ? QStringLiteral("/dev/null") : f.env.path("odd");
    if (kind == u"pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == u"folder")
        QVERIFY(QDir().mkpath(path));
    // Refused at once: a pipe must not block the job.
    QStringList arguments {"/i=" + f.wincmd, "/f=" + f.wcxftp, "/s=all", "/b=" + f.env.path("h.txt")};
    arguments << option + path;
    QCOMPARE(f.job.RunCommandLineBatch(arguments), 1);
    QCOMPARE(f.person.messages(), QStringList({"Not a regular file: " + path}));
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
    QCOMPARE(f.env.readFile(f.wcxftp), kWcxftp);
}

void TestBatchJob::readOnlyBackupClearsNothing()
{
    Fixture f;
    const QString backup = f.env.writeFile("h.txt", "old");
    QFile::setPermissions(backup, QFile::ReadOwner | QFile::ReadGroup);
    QCOMPARE(f.run({"/s=all", "/b=" + backup}), 1);
    QCOMPARE(f.person.messages().size(), 1);
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
    QCOMPARE(f.env.readFile(f.wcxftp), kWcxftp);
    QCOMPARE(f.env.readFile(backup), QByteArray("old"));
}

void TestBatchJob::redirectionTargets_data()
{
    QTest::addColumn<QByteArray>("target");   // %DIR% is the test's folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    // Redirect targets that do not exist yet are common: clearing them has nothing to
    // do and makes nothing.
    QTest::newRow("file and folder not made yet") << QByteArray("%DIR%/user/history.ini") << 0 << QString();
    QTest::newRow("file not made yet") << QByteArray("%DIR%/history.ini") << 0 << QString();
    // A target nobody can name here is reported as written, so the person sees what is missing.
    QTest::newRow("variable nobody set") << QByteArray("%NOBODY_SET_THIS%\\history.ini") << 1
                                         << "%NOBODY_SET_THIS%\\history.ini";
}

void TestBatchJob::redirectionTargets()
{
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    QFETCH(QString, message);
    Fixture f;
    target.replace("%DIR%", f.env.path("").toUtf8());
    const QByteArray text = "[LeftHistory]\r\nRedirectSection=" + target + "\r\n[MkDirHistory]\r\n0=x\r\n";
    f.env.writeFile("tc/wincmd.ini", text);
    QCOMPARE(f.run({"/s=13;15"}), status);
    QVERIFY(!QFileInfo::exists(f.env.path("user")) && !QFileInfo::exists(f.env.path("history.ini")));
    if (status == 0) {
        QVERIFY(f.person.asked.isEmpty());
        QCOMPARE(f.env.readFile(f.wincmd), "[LeftHistory]\r\nRedirectSection=" + target + "\r\n");
    } else {
        QCOMPARE(f.person.messages().size(), 1);
        QVERIFY2(f.person.messages().first().contains(message), qPrintable(f.person.messages().first()));
    }
}

void TestBatchJob::bareBackupNameIsInTheWorkingFolder()
{
    Fixture f;
    const QString before = QDir::currentPath();
    QDir::setCurrent(f.env.path(""));
    const int status = f.run({"/s=13", "/b=history.txt"});
    QDir::setCurrent(before);
    QCOMPARE(status, 0);
    QVERIFY(f.env.readFile(f.env.path("history.txt")).contains("[LeftHistory]"));
}

void TestBatchJob::aJobThatStopsAfterClosingStartsTheFileManagerAgain()
{
    Fixture f;
    // A native stand-in that only notes that it was started.
    const QString standIn = f.env.writeFile("prefix/drive_c/tcstub/TOTALCMD.EXE",
        "#!/bin/sh\necho started >> \"$(dirname \"$0\")/started.log\"\n");
    QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    f.env.paths().setTCInstallDir("C:\\tcstub\\");
    // The backup's folder is missing: nothing is cleared, and Total Commander, closed
    // for the job, is started again.
    QCOMPARE(f.run({"/s=13", "/b=" + f.env.path("missing/h.txt"), "/r"}), 1);
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
    QTRY_VERIFY(f.env.readFile(f.env.path("prefix/drive_c/tcstub/started.log")).contains("started"));
    // The stand-in has ended before the next test looks for running file managers.
    QTRY_VERIFY(TestEnvironment::RunningStandIns().isEmpty());
}

void TestBatchJob::unwritableIniFileIsReported()
{
    Fixture f;
    QFile::setPermissions(f.wcxftp, QFile::ReadOwner);
    const QString backup = f.env.path("h.txt");
    QCOMPARE(f.run({"/s=13;19", "/b=" + backup}), 1);
    QCOMPARE(f.person.messages().size(), 1);
    QVERIFY(f.person.messages().first().contains("wcx_ftp.ini"));
    QCOMPARE(f.env.readFile(f.wcxftp), kWcxftp);               // untouched
    QVERIFY(!f.env.readFile(f.wincmd).contains("LeftHistory")); // the other file was cleared
    QVERIFY(f.env.readFile(backup).contains("[OldConnections]"));   // and nothing is lost
}

void TestBatchJob::backupLimitAndOverwrite()
{
    Fixture f;
    const QString backup = f.env.path("h.txt");
    QCOMPARE(f.run({"/s=13", "/b=" + backup}), 0);
    f.env.writeFile("tc/wincmd.ini", kWincmd);
    QCOMPARE(f.run({"/s=13", "/b=" + backup, "/m=1000"}), 0);   // limit raised to 65536: appended
    QCOMPARE(f.env.readFile(backup).count("Total Commander history"), 2);
    // A file at the limit starts afresh with a single block.
    f.env.writeFile("h.txt", QByteArray(65536, 'x'));
    f.env.writeFile("tc/wincmd.ini", kWincmd);
    QCOMPARE(f.run({"/s=13", "/b=" + backup, "/m=1000"}), 0);
    QVERIFY(f.env.readFile(backup).startsWith("; ===\r\n"));
    QCOMPARE(f.env.readFile(backup).count("Total Commander history"), 1);
    f.env.writeFile("tc/wincmd.ini", kWincmd);
    QCOMPARE(f.run({"/s=15", "/b=" + backup}), 0);
    f.env.writeFile("tc/wincmd.ini", kWincmd);
    QCOMPARE(f.run({"/s=15", "/b=" + backup, "/O"}), 0);
    QCOMPARE(f.env.readFile(backup).count("Total Commander history"), 1);
    QVERIFY(f.env.readFile(backup).contains("[MkDirHistory]"));
}

void TestBatchJob::helpAndVersion()
{
    Fixture f;
    QTemporaryFile output;
    QVERIFY(output.open());
    FILE *stream = fdopen(dup(output.handle()), "w");
    f.job.setOutput(stream);
    QCOMPARE(f.job.RunCommandLineBatch({"--help"}), 0);
    std::fclose(stream);
    QVERIFY(output.seek(0));
    const QByteArray help = output.readAll();
    QVERIFY(help.contains("/s=all") && help.contains("/k=pattern"));
    QCOMPARE(f.env.readFile(f.wincmd), kWincmd);
}

void TestBatchJob::dryRunChangesNothingAndCountsWhatARunClears()
{
    Fixture f;
    f.env.writeFile("tc/wincmd.ini", kWincmd + "[LeftTabs]\r\n0_path=C:\\\r\n1_path=D:\\\r\n1_options=1|0|0|0|0|1|0\r\n"
                                                "1_caption=\xef\xbb\xbf\xd0\x96\r\nActiveTab=0\r\n[Left]\r\npath=C:\\\r\n");
    const QString backup = f.env.writeFile("h.txt", "");
    const QString settingsFile = f.settings.SettingsFile();
    auto stamp = [](const QString &path) {
        const QFileInfo info(path);
        return QPair<QByteArray, QDateTime>(info.exists() ? QByteArray::number(info.size()) : QByteArray(), info.lastModified());
    };
    const QList<QString> files {f.wincmd, f.wcxftp, backup, settingsFile};
    QList<QPair<QByteArray, QDateTime>> before;
    for (const QString &file : files)
        before << stamp(file);
    QTest::qWait(20);   // a later modification time, were anything written
    QTemporaryFile output;
    QVERIFY(output.open());
    FILE *stream = fdopen(dup(output.handle()), "w");
    f.job.setOutput(stream);
    f.restarter.setSleeper([](std::chrono::milliseconds) { QFAIL("nothing is closed or started"); });
    for (const char *dryRun : {"/n", "--dry-run"})
        QCOMPARE(f.run({"/s=13;19;11;15;6", "/b=" + backup, "/r", dryRun}), 0);
    std::fclose(stream);
    QVERIFY(output.seek(0));
    const QString printed = QString::fromLocal8Bit(output.readAll());
    for (const char *line : {"  LeftHistory: 2 entries", "  OldConnections: 1 entry", "  LeftTabs: 2 entries",
                             "  MkDirHistory: 1 entry", "  Searches: 1 entry"})
        QVERIFY2(printed.contains(QLatin1String(line)), qPrintable(printed));
    QVERIFY(printed.contains("This block would be appended to the backup file: " + backup));
    QVERIFY(printed.contains("[LeftHistory]\n"));
    QVERIFY2(printed.contains("1_caption=Ж\n") && !printed.contains(u'\r'), qPrintable(printed));   // text, not bytes
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(stamp(files[i]), before[i]);   // every byte and time as it was
    QVERIFY(f.person.asked.isEmpty());
    // The real run then clears what was counted.
    f.restarter.setSleeper([](std::chrono::milliseconds) {});
    QCOMPARE(f.run({"/s=13;19;11;15;6", "/b=" + backup}), 0);
    QVERIFY(!f.env.readFile(f.wincmd).contains("LeftHistory"));
    // A run that would fail on a read-only file: the dry run ends as it would.
    f.env.writeFile("tc/wincmd.ini", kWincmd);
    QFile::setPermissions(f.wincmd, QFile::ReadOwner);
    f.job.setOutput(stdout);
    QCOMPARE(f.run({"/s=13", "/n"}), 1);
    QVERIFY(f.person.messages().last().contains(f.wincmd));
}

// The sections of a file for the keep rules, one piece each, so that a row names only
// the pieces a run changes.
const QList<QByteArray> kKeepPieces {
    "[Command line history]\r\n0=ssh host\r\n1=make\r\n",
    "[LeftHistory]\r\n0=c:\\x\\\r\n1=C:\\Projects\\y\\\r\n2=z\r\n3=d:\\projects\\w\\\r\n7=beyond a gap\r\n",
    "[LeftTabs]\r\n0_path=C:\\Projects\\a\\\r\n0_caption=A\r\n1_path=D:\\tmp\\\r\n1_options=1|0|0|0|0|1|0\r\n"
    "2_path=E:\\projects\\b\\\r\nActiveTab=1\r\nActiveCaption=Act\r\n",
    "[Left]\r\npath=F:\\active\\\r\n",   // without the view keys the editor's writer would add
    "[Searches]\r\nImages_SearchFor=*.png\r\nImages_SearchIn=c:\\\r\nDocs_SearchFor=*.md\r\n",
};

void TestBatchJob::keepRules_data()
{
    QTest::addColumn<QByteArray>("stored");        // KeepRule lines of the settings file
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<QByteArray>>("pieces"); // the file after the run
    QTest::addColumn<QString>("preview");          // a line of the dry run
    const QList<QByteArray> &p = kKeepPieces;
    QTest::newRow("no rules: the section goes, as ever") << QByteArray() << QStringList {"/s=13"}
        << QList<QByteArray> {p[0], p[2], p[3], p[4]} << "  LeftHistory: 4 entries\n";
    QTest::newRow("kept entries renumbered from 0") << QByteArray() << QStringList {"/s=13", "/k=*\\PROJECTS\\*"}
        << QList<QByteArray> {p[0], "[LeftHistory]\r\n0=C:\\Projects\\y\\\r\n1=d:\\projects\\w\\\r\n", p[2], p[3], p[4]}
        << "  LeftHistory: 2 entries, 2 entries kept by the keep rules\n";
    QTest::newRow("stored rules and /k= together") << QByteArray("KeepRule1=ssh *\r\n")
        << QStringList {"/s=1;13", "/k=z"}
        << QList<QByteArray> {"[Command line history]\r\n0=ssh host\r\n", "[LeftHistory]\r\n0=z\r\n", p[2], p[3], p[4]}
        << "  Command line history: 1 entry, 1 entry kept by the keep rules\n";
    QTest::newRow("stored rules alone") << QByteArray("KeepRule1=make\r\n") << QStringList {"/s=1"}
        << QList<QByteArray> {"[Command line history]\r\n0=make\r\n", p[1], p[2], p[3], p[4]}
        << "  Command line history: 1 entry, 1 entry kept by the keep rules\n";
    QTest::newRow("nothing kept: the section goes") << QByteArray() << QStringList {"/s=1", "/k=nothing"}
        << QList<QByteArray> {p[1], p[2], p[3], p[4]} << "  Command line history: 2 entries, 0 entries kept by the keep rules\n";
    QTest::newRow("all kept: the section keeps its bytes") << QByteArray() << QStringList {"/s=13", "/k=*"} << p
        << "  LeftHistory: 0 entries, 4 entries kept by the keep rules\n";
    // The active tab is the panel's folder, never cleared: it stays active between the
    // kept tabs, and the panel's section stays as it is.
    QTest::newRow("tabs") << QByteArray() << QStringList {"/s=11", "/k=*\\projects\\*"}
        << QList<QByteArray> {p[0], p[1],
                              "[LeftTabs]\r\n0_path=C:\\Projects\\a\\\r\n0_caption=A\r\n1_path=E:\\projects\\b\\\r\n"
                              "ActiveLocked=0\r\nActiveTab=1\r\nActiveCaption=Act\r\n",
                              p[3], p[4]}
        << "  LeftTabs: 1 entry, 2 entries kept by the keep rules\n";
    QTest::newRow("templates by name or by value") << QByteArray() << QStringList {"/s=6", "/k=docs"}
        << QList<QByteArray> {p[0], p[1], p[2], p[3], "[Searches]\r\nDocs_SearchFor=*.md\r\n"}
        << "  Searches: 1 entry, 1 entry kept by the keep rules\n";
    QTest::newRow("templates by value") << QByteArray() << QStringList {"/s=6", "/k=C:\\"}
        << QList<QByteArray> {p[0], p[1], p[2], p[3], "[Searches]\r\nImages_SearchFor=*.png\r\nImages_SearchIn=c:\\\r\n"}
        << "  Searches: 1 entry, 1 entry kept by the keep rules\n";
}

void TestBatchJob::keepRules()
{
    QFETCH(QByteArray, stored);
    QFETCH(QStringList, arguments);
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QString, preview);
    Fixture f;
    const QByteArray before = kKeepPieces.join();
    f.env.writeFile("tc/wincmd.ini", before);
    f.env.writeFile("app/vantrel editors.ini", "[Calvenor]\r\n" + stored);
    f.settings.LoadSettings();
    const QString backup = f.env.path("h.txt");
    arguments << "/b=" + backup;

    QTemporaryFile output;
    QVERIFY(output.open());
    FILE *stream = fdopen(dup(output.handle()), "w");
    f.job.setOutput(stream);
    QCOMPARE(f.run(arguments + QStringList {"/n"}), 0);
    std::fclose(stream);
    QVERIFY(output.seek(0));
    const QString printed = QString::fromLocal8Bit(output.readAll());
    QVERIFY2(printed.contains(preview), qPrintable(printed));
    QCOMPARE(f.env.readFile(f.wincmd), before);

    QCOMPARE(f.run(arguments), 0);
    QCOMPARE(f.env.readFile(f.wincmd), pieces.join());
    // The backup holds every cleared section whole, kept entries and all.
    const QByteArray copy = f.env.readFile(backup);
    for (const QByteArray &piece : kKeepPieces) {
        if (!pieces.contains(piece))
            QVERIFY2(copy.contains(piece), piece.constData());
    }
}

QTEST_GUILESS_MAIN(TestBatchJob)
#include "tst_batchjob.moc"

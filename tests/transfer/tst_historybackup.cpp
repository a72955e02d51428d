#include "transfer/backupblocks.h"
#include "transfer/historybackup.h"
#include "support/testenvironment.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace calvenor;
using calvenor::test::TestEnvironment;

class TestHistoryBackup : public QObject
{
    Q_OBJECT
private slots:
    void sectionText();
    void blockLayout();
    void appendsAndStartsAfresh();
    void keepsEveryCharacterInOneEncoding();
    void failedWriteLeavesTheFile();
    void ansiFileStaysAnsi();
    void tornTailIsCutBeforeAppending_data();
    void tornTailIsCutBeforeAppending();
    void runKilledWhileAppending();
    void failedAppendIsCutBack();
    void pipeIsRefusedAtOnce();
    void readsBlocksBack_data();
    void readsBlocksBack();
    void restoredRowsAreTheWrittenOnes();
};

namespace {

const QByteArray kOld = QByteArray("; ===\r\n; === Total Commander history [1.1.26 10:00:00]\r\n; ===\r\n[A]\r\n0=old\r\n\r\n\r\n; "
                        + QByteArray(90, '|') + "\r\n\r\n");

// A backup file holds whole blocks only: each begins with the header and ends with the
// separator line and an empty line.
bool holdsWholeBlocks(QByteArray bytes, int blocks)
{
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes.remove(0, 3);
    const QByteArray end = QByteArray("\r\n; " + QByteArray(90, '|') + "\r\n\r\n");
    const QList<QByteArray> pieces = bytes.split('\0');
    if (pieces.size() != 1 || bytes.count(end) != blocks || !bytes.endsWith(end))
        return false;
    qsizetype from = 0;
    for (int i = 0; i < blocks; ++i) {
        if (bytes.indexOf("; ===\r\n; === Total Commander history [", from) != from)
            return false;
        from = bytes.indexOf(end, from) + end.size();
    }
    return true;
}

QByteArray block(const QByteArray &stamp, const QByteArray &body)
{
    return "; ===\r\n; === Total Commander history [" + stamp + "]\r\n; ===\r\n" + body + "\r\n; " + QByteArray(90, '|')
        + "\r\n\r\n";
}

// The block list in a few words: newest first, each block's sections and entry counts.
QString listed(const BackupBlocks &backup)
{
    QStringList blocks;
    for (const BackupBlocks::Block &b : backup.blocks()) {
        QStringList sections;
        for (const BackupBlocks::Section &section : b.sections)
            sections.append(section.name + u'=' + QString::number(section.entries));
        blocks.append(b.stamp + QStringLiteral(": ") + sections.join(u',') + (b.torn ? QStringLiteral(" torn") : QString()));
    }
    return blocks.join(QStringLiteral(" | "));
}

} // namespace

static const QDateTime kWhen(QDate(2026, 12, 7), QTime(22, 17, 38));

void TestHistoryBackup::sectionText()
{
    TestEnvironment env;
    const QString wincmd = env.writeFile("wincmd.ini", "[lefthistory]\r\n0=c:\\\r\n1=a=b;c\r\n[MkDirHistory]\r\n[Selection]\r\n;x\r\n");
    const QString wcxftp = env.writeFile("wcx_ftp.ini", "[OldConnections]\r\n0=ftp.example.org\r\n");
    cProfile &profile = env.profile();
    QCOMPARE(BuildSectionBackupText(profile, "LeftHistory", wincmd, wcxftp), QStringLiteral("[LeftHistory]\r\n0=c:\\\r\n1=a=b;c\r\n\r\n"));
    QCOMPARE(BuildSectionBackupText(profile, "OldConnections", wincmd, wcxftp),
             QStringLiteral("[OldConnections]\r\n0=ftp.example.org\r\n\r\n"));
    QCOMPARE(BuildSectionBackupText(profile, "MkDirHistory", wincmd, wcxftp), QString());
    QCOMPARE(BuildSectionBackupText(profile, "Selection", wincmd, wcxftp), QString());
    QCOMPARE(BuildSectionBackupText(profile, "RightHistory", wincmd, wcxftp), QString());
}

void TestHistoryBackup::blockLayout()
{
    const QString block = HistoryBackupBlock("[A]\r\n0=x\r\n\r\n", kWhen);
    const QStringList lines = block.split("\r\n");
    QCOMPARE(lines[0], QStringLiteral("; ==="));
    QVERIFY(lines[1].startsWith("; === Total Commander history ["));
    QVERIFY(lines[1].contains("22:17:38]"));
    QCOMPARE(lines[2], QStringLiteral("; ==="));
    QCOMPARE(lines.mid(3, 4), QStringList({"[A]", "0=x", "", ""}));
    QCOMPARE(lines[7], "; " + QString(90, u'|'));
    QCOMPARE(lines[7].size(), 92);
    QCOMPARE(lines[8], QString());
    QCOMPARE(lines.size(), 10);   // the empty line ends with CR LF too
    QVERIFY(!block.contains(QRegularExpression("[^\\r]\\n")));
}

void TestHistoryBackup::appendsAndStartsAfresh()
{
    TestEnvironment env;
    const QString file = env.path("backup.txt");
    for (int run = 0; run < 3; ++run) {
        QCOMPARE(WriteHistoryBackup(file, "[A]\r\n0=x\r\n\r\n", false, kWhen, AnsiCodePage::get(1252)), 0);
        if (run == 0)
            env.writeFile(".backup.txt.k1lLed", "what a killed rewrite left");
    }
    QVERIFY(!QFile::exists(env.path(".backup.txt.k1lLed")));   // an append clears it away too
    const QByteArray three = env.readFile(file);
    QCOMPARE(three.count("; ===\r\n; === Total Commander history"), 3);
    QVERIFY(three.endsWith("|||\r\n\r\n"));
    QCOMPARE(WriteHistoryBackup(file, "[B]\r\n0=y\r\n\r\n", true, kWhen, AnsiCodePage::get(1252)), 0);
    QCOMPARE(env.readFile(file).count("Total Commander history"), 1);
    QVERIFY(env.readFile(file).contains("[B]"));
}

void TestHistoryBackup::keepsEveryCharacterInOneEncoding()
{
    TestEnvironment env;
    const QString file = env.path("backup.txt");
    const AnsiCodePage &cp1252 = AnsiCodePage::get(1252);
    QCOMPARE(WriteHistoryBackup(file, QString::fromUtf8("[A]\r\n0=café\r\n\r\n"), false, kWhen, cp1252), 0);
    QVERIFY(env.readFile(file).contains("0=caf\xe9\r\n"));   // ANSI while the code page holds it
    // A block with characters the code page lacks turns the whole file into UTF-8.
    QCOMPARE(WriteHistoryBackup(file, QString::fromUtf8("[B]\r\n0=日本\r\n\r\n"), false, kWhen, cp1252), 0);
    QByteArray bytes = env.readFile(file);
    QVERIFY(bytes.startsWith("\xef\xbb\xbf; ==="));
    QVERIFY(bytes.contains("0=caf\xc3\xa9\r\n"));
    QVERIFY(bytes.contains("0=\xe6\x97\xa5\xe6\x9c\xac\r\n"));
    // Later blocks follow the file's encoding, even when ANSI would do.
    QCOMPARE(WriteHistoryBackup(file, QString::fromUtf8("[C]\r\n0=é\r\n\r\n"), false, kWhen, cp1252), 0);
    bytes = env.readFile(file);
    QCOMPARE(bytes.count("\xef\xbb\xbf"), 1);
    QVERIFY(bytes.contains("[C]\r\n0=\xc3\xa9\r\n"));
    // A new file that needs more than the code page starts as UTF-8.
    const QString fresh = env.path("fresh.txt");
    QCOMPARE(WriteHistoryBackup(fresh, QString::fromUtf8("[D]\r\n0=Ωmega\r\n\r\n"), true, kWhen, cp1252), 0);
    QVERIFY(env.readFile(fresh).startsWith("\xef\xbb\xbf"));
}

void TestHistoryBackup::failedWriteLeavesTheFile()
{
    TestEnvironment env;
    QCOMPARE(WriteHistoryBackup(env.path("missing/backup.txt"), "[A]\r\n", false, kWhen, AnsiCodePage::get(1252)),
             int(errPathNotFound));
    const QString file = env.writeFile("ro.txt", "old");
    QFile::setPermissions(file, QFile::ReadOwner);
    QVERIFY(WriteHistoryBackup(file, "[A]\r\n", false, kWhen, AnsiCodePage::get(1252)) != 0);
    QCOMPARE(env.readFile(file), QByteArray("old"));
}

void TestHistoryBackup::ansiFileStaysAnsi()
{
    TestEnvironment env;
    const QString file = env.writeFile("backup.txt", QByteArray(kOld + "; caf\xe9\r\n"));
    QCOMPARE(WriteHistoryBackup(file, QString::fromUtf8("[B]\r\n0=café\r\n\r\n"), false, kWhen, AnsiCodePage::get(1252)), 0);
    const QByteArray bytes = env.readFile(file);
    QVERIFY(bytes.startsWith(QByteArray(kOld + "; caf\xe9\r\n; ===\r\n")));
    QVERIFY(bytes.contains("[B]\r\n0=caf\xe9\r\n"));
    QVERIFY(!bytes.contains("\xc3"));
}

void TestHistoryBackup::tornTailIsCutBeforeAppending_data()
{
    // What a run killed while appending leaves after the old blocks, and what of it stays.
    const QByteArray block = HistoryBackupBlock("[LeftHistory]\r\n339_path=C:\\Documents74\\Program Files\r\n\r\n", kWhen)
                                 .toLatin1();
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("complete") << kOld << kOld;
    QTest::newRow("cut in the first line") << QByteArray(kOld + "; =") << kOld;
    QTest::newRow("cut in the header") << QByteArray(kOld + block.left(20)) << kOld;
    QTest::newRow("cut in a value") << QByteArray(kOld + block.left(block.indexOf("Program") + 3)) << kOld;
    QTest::newRow("cut before the last empty line") << QByteArray(kOld + block.chopped(2)) << kOld;
    QTest::newRow("zeros of a lost write") << QByteArray(kOld + QByteArray(300, '\0')) << kOld;
    QTest::newRow("first block cut") << block.left(100) << QByteArray();
    QTest::newRow("first block cut after a BOM") << QByteArray("\xef\xbb\xbf" + block.left(100)) << QByteArray("\xef\xbb\xbf");
    // Someone's own text is no torn block: it stays, and its last line stays its own.
    QTest::newRow("notes of the person") << QByteArray(kOld + "my notes") << QByteArray(kOld + "my notes\r\n");
}

void TestHistoryBackup::tornTailIsCutBeforeAppending()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, kept);
    TestEnvironment env;
    const QString file = env.writeFile("backup.txt", before);
    QCOMPARE(WriteHistoryBackup(file, "[B]\r\n0=new\r\n\r\n", false, kWhen, AnsiCodePage::get(1252)), 0);
    const QByteArray after = env.readFile(file);
    QCOMPARE(after.left(kept.size()), kept);
    QCOMPARE(after.mid(kept.size()), HistoryBackupBlock("[B]\r\n0=new\r\n\r\n", kWhen).toLatin1());
}

void TestHistoryBackup::runKilledWhileAppending()
{
    TestEnvironment env;
    const QString file = env.writeFile("backup.txt", kOld);
    QString big = "[LeftHistory]\r\n";
    for (int i = 0; i < 400000; ++i)
        big += QStringLiteral("%1=C:\\Documents%1\\Program Files\r\n").arg(i);
    big += "\r\n";
    for (int round = 0; round < 3; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            WriteHistoryBackup(file, big, false, kWhen, AnsiCodePage::get(1252));
            ::_exit(0);
        }
        QVERIFY(child > 0);
        // Killed once its block has begun to arrive (or, at worst, after it is done).
        const qint64 oldSize = QFileInfo(file).size();
        QElapsedTimer waited;
        waited.start();
        while (QFileInfo(file).size() <= oldSize && waited.elapsed() < 10000)
            QThread::usleep(50);
        ::kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(WriteHistoryBackup(file, "[B]\r\n0=new\r\n\r\n", false, kWhen, AnsiCodePage::get(1252)), 0);
        const QByteArray bytes = env.readFile(file);
        const int blocks = int(bytes.count("; === Total Commander history ["));
        QVERIFY2(holdsWholeBlocks(bytes, blocks), qPrintable(QString::number(bytes.size())));
        QVERIFY(bytes.startsWith(kOld));
        QVERIFY(bytes.endsWith(HistoryBackupBlock("[B]\r\n0=new\r\n\r\n", kWhen).toLatin1()));
        env.writeFile("backup.txt", kOld);
    }
}

void TestHistoryBackup::failedAppendIsCutBack()
{
    TestEnvironment env;
    const QString file = env.writeFile("backup.txt", kOld);
    // A file-size limit the block cannot fit in, as a full disk or quota would.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {rlim_t(kOld.size() + 100), rlim_t(kOld.size() + 100)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const int error = WriteHistoryBackup(file, "[B]\r\n0=" + QString(5000, u'x') + "\r\n\r\n", false, kWhen,
                                             AnsiCodePage::get(1252));
        ::_exit(error == 0 ? 1 : 0);
    }
    int status = -1;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);   // the append failed
    QCOMPARE(env.readFile(file), kOld);
}

void TestHistoryBackup::pipeIsRefusedAtOnce()
{
    TestEnvironment env;
    const QString pipe = env.path("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const bool afresh : {false, true})
        QCOMPARE(WriteHistoryBackup(pipe, "[A]\r\n0=x\r\n\r\n", afresh, kWhen, AnsiCodePage::get(1252)), int(errPathFileAccess));
}

void TestHistoryBackup::readsBlocksBack_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("unknown");
    const QByteArray first = block("1.1.26 10:00:00", "[Command line history]\r\n0=make\r\n1=ls -l\r\n\r\n"
                                                     "[LeftTabs]\r\n0_path=c:\\\r\n0_options=1|0|0|0|0|0|0\r\n"
                                                     "1_path=d:\\\r\nActiveTab=1\r\n\r\n");
    const QByteArray second = block("2.1.26 11:30:00", "[Rename]\r\nA_name=*\r\nA_ext=txt\r\nb_name=x\r\n\r\n"
                                                      "[AttrPlugin]\r\nsize=1\r\nname=2\r\n\r\n");
    QTest::newRow("newest first, each family counted") << first + second
        << "2.1.26 11:30:00: Rename=2,AttrPlugin=2 | 1.1.26 10:00:00: Command line history=2,LeftTabs=2" << QStringList {};
    QTest::newRow("someone's text around the blocks") << "my notes\r\n" + first + "more notes\r\n[LeftHistory]\r\n0=x\r\n"
        << "1.1.26 10:00:00: Command line history=2,LeftTabs=2" << QStringList {};
    QTest::newRow("UTF-8 with its mark") << "\xef\xbb\xbf" + block("3.1.26 09:00:00", "[MkDirHistory]\r\n0=\xd0\x96\r\n\r\n")
        << "3.1.26 09:00:00: MkDirHistory=1" << QStringList {};
    const QString wide = QString::fromUtf8(block("3.1.26 09:30:00", "[SearchText]\r\n0=\xd0\x96\r\n1=b\r\n\r\n"));
    QTest::newRow("UTF-16, as a text editor may save it")
        << "\xff\xfe" + QByteArray(reinterpret_cast<const char *>(wide.utf16()), wide.size() * 2)
        << "3.1.26 09:30:00: SearchText=2" << QStringList {};
    QTest::newRow("a section named twice, another case") << block("4.1.26 08:00:00", "[lefthistory]\r\n0=a\r\n\r\n[LEFTHISTORY]\r\n1=b\r\n")
        << "4.1.26 08:00:00: LeftHistory=2" << QStringList {};
    QTest::newRow("unknown sections skipped") << block("5.1.26 07:00:00", "[NewHistory]\r\n0=a\r\n[RootNode]\r\n0=b\r\n"
                                                                          "[SearchIn]\r\n; a comment\r\n0=c:\\\r\n")
        << "5.1.26 07:00:00: SearchIn=1" << QStringList {"NewHistory", "RootNode"};
    QTest::newRow("torn in a line: the cut line goes") << first + "; ===\r\n; === Total Commander history [6.1.26 06:00:00]\r\n"
                                                                  "; ===\r\n[LeftHistory]\r\n0=c:\\\r\n1=d:\\wo"
        << "6.1.26 06:00:00: LeftHistory=1 torn | 1.1.26 10:00:00: Command line history=2,LeftTabs=2" << QStringList {};
    QTest::newRow("torn to zeros") << first + "; ===\r\n; === Total Commander history [7.1.26 05:00:00]\r\n; ===\r\n"
                                              "[SearchText]\r\n0=a\r\n" + QByteArray(64, '\0')
        << "7.1.26 05:00:00: SearchText=1 torn | 1.1.26 10:00:00: Command line history=2,LeftTabs=2" << QStringList {};
    QTest::newRow("torn before its separator") << block("8.1.26 04:00:00", "[Selection]\r\n0=*.txt\r\n").chopped(96)
        << "8.1.26 04:00:00: Selection=1 torn" << QStringList {};
}

void TestHistoryBackup::readsBlocksBack()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QFETCH(QStringList, unknown);
    TestEnvironment env;
    BackupBlocks backup;
    QCOMPARE(backup.Read(env.writeFile("backup.txt", file)), 0);
    QCOMPARE(listed(backup), expected);
    QCOMPARE(backup.unknownSections(), unknown);
    QCOMPARE(backup.hasTornBlock(), expected.contains(" torn"));
    QCOMPARE(backup.Read(env.path("missing.txt")), int(errFileNotFound));
    QVERIFY(backup.blocks().isEmpty());
}

void TestHistoryBackup::restoredRowsAreTheWrittenOnes()
{
    // A block the code page cannot hold is written as UTF-8; its rows read back as they
    // were, by each family's reader.
    TestEnvironment env;
    const QString file = env.path("backup.txt");
    const QString text = QStringLiteral("[LeftTabs]\r\n0_path=c:\\Проекты\\\r\n0_options=1|0|0|0|0|1|0\r\n0_caption=Код\r\n"
                                        "1_path=d:\\\r\nActiveTab=1\r\nActiveCaption=here\r\n\r\n"
                                        "[Searches]\r\nbig_SearchFor=*.iso\r\nbig_SearchFlags=0|1\r\n\r\n");
    QCOMPARE(WriteHistoryBackup(file, text, true, kWhen, AnsiCodePage::get(1252)), 0);
    QVERIFY(env.readFile(file).startsWith("\xef\xbb\xbf"));
    BackupBlocks backup;
    QCOMPARE(backup.Read(file), 0);
    QCOMPARE(backup.blocks().size(), 1);
    std::vector<HistoryRow> rows;
    QCOMPARE(backup.blocks()[0].sections.size(), 2);
    QCOMPARE(backup.ReadRows(backup.blocks()[0], "lefttabs", env.profile(), rows, 255), 0);
    QCOMPARE(rows.size(), size_t(3));   // two tabs and the active one
    QCOMPARE(rows[0].col(2), QStringLiteral("c:\\Проекты\\"));
    QCOMPARE(rows[0].col(4), QStringLiteral("Код"));
    QCOMPARE(rows[0].ForeColor, std::optional<qint32>(255));   // locked
    QCOMPARE(rows[1].col(4), QStringLiteral("here"));   // the active tab stood second
    QCOMPARE(backup.ReadRows(backup.blocks()[0], "Searches", env.profile(), rows, 255), 0);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].Text, QStringLiteral("big"));
    QCOMPARE(rows[0].col(2), QStringLiteral("*.iso"));
    QCOMPARE(backup.ReadRows(backup.blocks()[0], "LeftHistory", env.profile(), rows, 255), 0);
    QVERIFY(rows.empty());
}

QTEST_GUILESS_MAIN(TestHistoryBackup)
#include "tst_historybackup.moc"

#include "transfer/historybackup.h"
#include "support/testenvironment.h"

#include <QtTest>

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
};

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
    for (int run = 0; run < 3; ++run)
        QCOMPARE(WriteHistoryBackup(file, "[A]\r\n0=x\r\n\r\n", false, kWhen, AnsiCodePage::get(1252)), 0);
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

QTEST_GUILESS_MAIN(TestHistoryBackup)
#include "tst_historybackup.moc"

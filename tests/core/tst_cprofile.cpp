#include "core/cprofile.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::TestEnvironment;

// The INI engine through its public operations, on real files.
class TestProfile : public QObject
{
    Q_OBJECT
private slots:
    void writeQuotesWhatAReadWouldStrip_data();
    void writeQuotesWhatAReadWouldStrip();
    void writingTheMarkerWritesNothing();
    void redirection_data();
    void redirection();
    void redirectionKeysThemselvesAreNeverRedirected();
    void notRedirectedListComesFromTheSettingsFile();
    void listReads();
    void listReadsAreCutAtTheBuffer();
    void valuesAreCutAtTheBuffer();
    void readValue2FindsCommentedKeys();
    void sortKeysNameOnlyList();
    void readsSeeChangesMadeByOthers();
    void batchWritesEachFileOnceAndKeepsOtherWritesOfOthers();
    void charactersTheCodePageLacksAreWrittenAsMarkedUtf8();
    void markedValuesReadBackUnchangedKeepTheirBytes();
    void failedWritesAreReported_data();
    void failedWritesAreReported();
    void rollbackUndoesLaterEdits();
    void folderOrDeviceReadsAsEmptyAndIsNeverWritten();
    void rewrittenSectionKeepsItsRedirection();
    void unchangedFilesAreNotWritten();
    void namesTheFileCannotHoldAreRefused();
    void bareFileNamesLiveInTheWindowsFolder();
    void hugeAndBrokenInputStaysFast();
};

void TestProfile::writeQuotesWhatAReadWouldStrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << "c:\\work\\" << QByteArray("k=c:\\work\\");
    QTest::newRow("leading blank") << " x" << QByteArray("k=\" x\"");
    QTest::newRow("trailing blank") << "x " << QByteArray("k=\"x \"");
    QTest::newRow("leading quote") << "\"abc" << QByteArray("k=\"\"abc\"");
    QTest::newRow("two leading quotes") << "\"\"abc" << QByteArray("k=\"\"\"abc\"");
    QTest::newRow("enclosed in two pairs of double quotes") << "\"\"x\"\"" << QByteArray("k=\"\"\"x\"\"\"");
    QTest::newRow("enclosed in single quotes") << "'single quoted'" << QByteArray("k=\"'single quoted'\"");
    QTest::newRow("two single quotes") << "''" << QByteArray("k=\"''\"");
    QTest::newRow("single quotes that enclose nothing") << "'a" << QByteArray("k='a");
    QTest::newRow("trailing Ctrl+Z") << "a\x1a" << QByteArray("k=\"a\x1a\"");
    QTest::newRow("begins with the UTF-8 marker's characters")
        << "\u00ef\u00bb\u00bf x" << QByteArray("k=\xef\xbb\xbf\xc3\xaf\xc2\xbb\xc2\xbf x");
    QTest::newRow("empty") << "" << QByteArray("k=");
    QTest::newRow("line breaks cannot split the line") << "a\r\nb" << QByteArray("k=a  b");
}

void TestProfile::writeQuotesWhatAReadWouldStrip()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    TestEnvironment env;
    const QString file = env.path("w.ini");
    QCOMPARE(env.profile().WriteValue("S", "k", value, file), 0);
    QCOMPARE(env.readFile(file), QByteArray("[S]\r\n" + line + "\r\n"));
    if (!value.contains(u'\r'))
        QCOMPARE(env.profile().ReadValue("S", "k", kMarker, file), value);
}

void TestProfile::writingTheMarkerWritesNothing()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[S]\nk=1\n");
    QCOMPARE(env.profile().WriteValue("S", "k", kMarker.toLower(), file), 0);
    QCOMPARE(env.profile().WriteValue("S", "new", kMarker, file), 0);
    QCOMPARE(env.readFile(file), QByteArray("[S]\nk=1\n"));
}

void TestProfile::redirection_data()
{
    QTest::addColumn<QByteArray>("main");       // wincmd.ini in c:\tc
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("expectedFile");  // relative to drive c:

    const QByteArray alt = "[Configuration]\r\nAlternateUserIni=c:\\alt.ini\r\n";
    QTest::newRow("nothing set") << QByteArray() << "LeftHistory" << "tc/wincmd.ini";
    QTest::newRow("alternate ini") << alt << "LeftHistory" << "alt.ini";
    QTest::newRow("alternate ini, RedirectSection=0") << QByteArray(alt + "[LeftHistory]\r\nRedirectSection=0\r\n")
                                                      << "LeftHistory" << "tc/wincmd.ini";
    QTest::newRow("alternate ini, RedirectSection=1") << QByteArray(alt + "[LeftHistory]\r\nRedirectSection=1\r\n")
                                                      << "LeftHistory" << "alt.ini";
    QTest::newRow("alternate ini, not-redirected section") << alt << "Layout" << "tc/wincmd.ini";
    QTest::newRow("not-redirected list ignores case") << alt << "LAYOUT" << "tc/wincmd.ini";
    QTest::newRow("RedirectSection=1 without alternate") << QByteArray("[LeftHistory]\r\nRedirectSection=1\r\n")
                                                         << "LeftHistory" << "tc/wincmd.ini";
    QTest::newRow("bare name beside the file") << QByteArray("[LeftHistory]\r\nRedirectSection=history.ini\r\n")
                                               << "LeftHistory" << "tc/history.ini";
    QTest::newRow("bare name wins over alternate") << QByteArray(alt + "[LeftHistory]\r\nRedirectSection=h.ini \r\n")
                                                   << "LeftHistory" << "tc/h.ini";
    QTest::newRow("absolute target") << QByteArray("[LeftHistory]\r\nRedirectSection=c:\\other\\h.ini\r\n")
                                     << "LeftHistory" << "other/h.ini";
    QTest::newRow("forward slashes") << QByteArray("[LeftHistory]\r\nRedirectSection=c:/other/h.ini\r\n")
                                     << "LeftHistory" << "other/h.ini";
    QTest::newRow("relative folder beside the file") << QByteArray("[LeftHistory]\r\nRedirectSection=sub\\h.ini\r\n")
                                                     << "LeftHistory" << "tc/sub/h.ini";
    QTest::newRow("Commander_Path reference") << QByteArray("[LeftHistory]\r\nRedirectSection=%COMMANDER_PATH%\\hist.ini\r\n")
                                              << "LeftHistory" << "tc/hist.ini";
    QTest::newRow("empty alternate counts as absent") << QByteArray("[Configuration]\r\nAlternateUserIni=\r\n")
                                                      << "LeftHistory" << "tc/wincmd.ini";
    QTest::newRow("empty redirect counts as absent") << QByteArray("[LeftHistory]\r\nRedirectSection=\r\n")
                                                     << "LeftHistory" << "tc/wincmd.ini";
}

void TestProfile::redirection()
{
    QFETCH(QByteArray, main);
    QFETCH(QString, section);
    QFETCH(QString, expectedFile);
    TestEnvironment env;
    env.paths().setFallbackVariable("Commander_Path", "c:\\TC");
    env.writeFile("prefix/drive_c/tc/wincmd.ini", main);
    env.writeFile("prefix/drive_c/other/.keep", "");
    env.writeFile("prefix/drive_c/tc/sub/.keep", "");
    const QString wincmd = "c:\\tc\\wincmd.ini";
    cProfile &profile = env.profile();

    QCOMPARE(profile.WriteValue(section, "0", "written", wincmd), 0);
    const QString target = env.wineDrive() + u'/' + expectedFile;
    QVERIFY2(env.readFile(target).contains("0=written"), qPrintable(env.readFile(target)));
    QCOMPARE(profile.ReadValue(section, "0", kMarker, wincmd), QStringLiteral("written"));
    QCOMPARE(profile.DeleteValue(section, "0", wincmd), 0);
    QCOMPARE(profile.ReadValue(section, "0", kMarker, wincmd), kMarker);
}

void TestProfile::redirectionKeysThemselvesAreNeverRedirected()
{
    TestEnvironment env;
    const QString main = env.writeFile("wincmd.ini", "[Configuration]\nAlternateUserIni=" + env.path("alt.ini").toUtf8() + "\n");
    cProfile &profile = env.profile();
    QCOMPARE(profile.WriteValue("LeftHistory", "RedirectSection", "0", main), 0);
    QVERIFY(env.readFile(main).contains("RedirectSection=0"));
    QCOMPARE(profile.ReadValue("Configuration", "AlternateUserIni", kMarker, main), env.path("alt.ini"));
    QVERIFY(!QFile::exists(env.path("alt.ini")));
}

void TestProfile::notRedirectedListComesFromTheSettingsFile()
{
    TestEnvironment env;
    const QString settings = env.writeFile("settings.ini", "[Common]\nTCSectionsNotRedirectedByDefault=LeftHistory;Foo\n");
    const QString empty = env.writeFile("empty.ini", "[Common]\nTCSectionsNotRedirectedByDefault=\n");
    QCOMPARE(cProfile(env.paths(), settings).NotRedirectedSections(), QStringList({"LeftHistory", "Foo"}));
    QVERIFY(cProfile(env.paths(), empty).NotRedirectedSections().isEmpty());
    QCOMPARE(cProfile(env.paths(), env.path("missing.ini")).NotRedirectedSections().size(), 12);
}

void TestProfile::listReads()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\n;c\nb_L=1\n\nA_R=\"2\"\nplain\n[Empty]\n[A]\nz=1\n");
    cProfile &profile = env.profile();
    profile.ReadFileSectionsName(file);
    QCOMPARE(profile.FileSectionsNameCount, 2);
    QCOMPARE(profile.FileSectionsNameList(1), QStringLiteral("Empty"));
    profile.ReadSectionKeysNameAndValue("a", file);
    QCOMPARE(profile.SectionKeysNameAndValueCount, 2);
    QCOMPARE(profile.SectionKeysNameAndValueList(1), QStringLiteral("A_R=\"2\""));
    QCOMPARE(profile.SectionKeysNameAndValueList(2), QStringLiteral("plain"));
    // The key list skips the line without '=' (the section text above lists it).
    profile.ReadSectionKeysNameOnly("A", file);
    QCOMPARE(profile.SectionKeysNameOnlyCount, 1);
    QCOMPARE(profile.SectionKeysNameOnlyList(1), QStringLiteral("A_R"));
    profile.ReadSectionKeysNameOnly("Empty", file);
    QCOMPARE(profile.SectionKeysNameOnlyCount, -1);
    profile.ReadSectionKeysNameAndValue("Missing", file);
    QCOMPARE(profile.SectionKeysNameAndValueCount, -1);
    int error = 0;
    QCOMPARE(profile.SectionKeysNameAndValueList(5, &error), QString());
    QCOMPARE(error, 9);
    profile.ReadFileSectionsName(env.path("nothing.ini"));
    QCOMPARE(profile.FileSectionsNameCount, -1);
}

void TestProfile::listReadsAreCutAtTheBuffer()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\n0=aaaa\n1=bbbb\n2=cccc\n");
    cProfile &profile = env.profile();
    // "0=aaaa" and its NUL take 7 of the 10 - 2 characters; "1=b" is what fits of the next.
    profile.ReadSectionKeysNameAndValue("A", file, 10);
    QCOMPARE(profile.SectionKeysNameAndValueCount, 1);
    QCOMPARE(profile.SectionKeysNameAndValueList(1), QStringLiteral("1"));
    profile.ReadSectionKeysNameAndValue("A", file, cProfile::kWholeList);
    QCOMPARE(profile.SectionKeysNameAndValueCount, 2);
}

void TestProfile::valuesAreCutAtTheBuffer()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\nk=" + QByteArray(5000, 'x') + "\n");
    QCOMPARE(env.profile().ReadValue("A", "k", kMarker, file).size(), 4095);
    QCOMPARE(env.profile().ReadValue("A", "k", kMarker, file, 3), QStringLiteral("xx"));
}

void TestProfile::readValue2FindsCommentedKeys()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\n;5=commented\n6=plain\n");
    cProfile &profile = env.profile();
    QCOMPARE(profile.ReadValue2("A", "6", kMarker, file, ";"), QStringLiteral("plain"));
    QVERIFY(!profile.LastReadedKeyIsCommented);
    // Wine finds a ';' line by its name, though it never lists it.
    QCOMPARE(profile.ReadValue2("A", "5", kMarker, file, ";"), QStringLiteral("commented"));
    QVERIFY(profile.LastReadedKeyIsCommented);
    QCOMPARE(profile.ReadValue2("A", "7", kMarker, file, ";"), kMarker);
    QVERIFY(!profile.LastReadedKeyIsCommented);
    const QString other = env.writeFile("x.ini", "[A]\nx5=other comment style\n");
    QCOMPARE(profile.ReadValue2("A", "5", kMarker, other, "x"), QStringLiteral("other comment style"));
    QVERIFY(profile.LastReadedKeyIsCommented);
}

void TestProfile::sortKeysNameOnlyList()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\nb_L=1\nA_R=2\na_L=3\n");
    cProfile &profile = env.profile();
    profile.ReadSectionKeysNameOnly("A", file);
    profile.SortKeysNameOnlyList();
    QCOMPARE(profile.SectionKeysNameOnlyList(0), QStringLiteral("a_L"));
    QCOMPARE(profile.SectionKeysNameOnlyList(1), QStringLiteral("A_R"));
    QCOMPARE(profile.SectionKeysNameOnlyList(2), QStringLiteral("b_L"));
}

void TestProfile::readsSeeChangesMadeByOthers()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\nk=1\n");
    cProfile &profile = env.profile();
    QCOMPARE(profile.ReadValue("A", "k", kMarker, file), QStringLiteral("1"));
    env.writeFile("w.ini", "[A]\nk=22\n");   // same moment, different size
    QCOMPARE(profile.ReadValue("A", "k", kMarker, file), QStringLiteral("22"));
    QFile::remove(file);
    QCOMPARE(profile.ReadValue("A", "k", kMarker, file), kMarker);
}

void TestProfile::batchWritesEachFileOnceAndKeepsOtherWritesOfOthers()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[Other]\no=1\n[A]\nk=1\n");
    cProfile &profile = env.profile();
    struct stat before {};
    ::stat(QFile::encodeName(file).constData(), &before);
    profile.BeginBatch();
    profile.DeleteSection("A", file);
    for (int i = 0; i < 100; ++i)
        profile.WriteValue("A", QString::number(i), "v", file);
    QCOMPARE(profile.ReadValue("A", "99", kMarker, file), QStringLiteral("v"));   // reads see pending writes
    QCOMPARE(env.readFile(file), QByteArray("[Other]\no=1\n[A]\nk=1\n"));          // nothing on disk yet
    // Another program changes the file in the middle of the operation.
    env.writeFile("w.ini", "[Other]\no=changed\n[A]\nk=1\n");
    QCOMPARE(profile.EndBatch(), 0);
    const QByteArray after = env.readFile(file);
    QVERIFY(after.startsWith("[Other]\no=changed\n[A]\n0=v\n1=v\n"));
    QVERIFY(!after.contains("k=1"));
    struct stat written {};
    ::stat(QFile::encodeName(file).constData(), &written);
    QVERIFY(written.st_ino != before.st_ino);   // replaced by rename, not rewritten in place
}

void TestProfile::charactersTheCodePageLacksAreWrittenAsMarkedUtf8()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\n0=\xe4\n");
    cProfile &profile = env.profile();
    QCOMPARE(profile.ReadValue("A", "0", kMarker, file), QStringLiteral("ä"));
    QCOMPARE(profile.WriteValue("A", "1", QStringLiteral("ä"), file), 0);
    QCOMPARE(profile.WriteValue("A", "2", QStringLiteral("日本 "), file), 0);
    QCOMPARE(env.readFile(file), QByteArray("[A]\n0=\xe4\n1=\xe4\n2=\"\xef\xbb\xbf\xe6\x97\xa5\xe6\x9c\xac \"\n"));
    QCOMPARE(profile.ReadValue("A", "2", kMarker, file), QStringLiteral("日本 "));
}

void TestProfile::markedValuesReadBackUnchangedKeepTheirBytes()
{
    TestEnvironment env;
    // A marked value whose text the code page could hold as well.
    const QString file = env.writeFile("w.ini", "[A]\n0=\xef\xbb\xbf\xc3\xa4\n");
    cProfile &profile = env.profile();
    const QString value = profile.ReadValue("A", "0", kMarker, file);
    QCOMPARE(value, QStringLiteral("ä"));
    profile.DeleteSection("A", file);
    profile.WriteValue("A", "0", value, file);
    QCOMPARE(env.readFile(file), QByteArray("[A]\n0=\xef\xbb\xbf\xc3\xa4\n"));
}

void TestProfile::failedWritesAreReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("read-only file") << "readonly" << int(errPermissionDenied);
    QTest::newRow("missing folder") << "nofolder" << int(errPathNotFound);
    QTest::newRow("unmapped drive") << "drive" << int(errPathNotFound);
    QTest::newRow("unexpanded variable") << "variable" << int(errPathNotFound);
}

void TestProfile::failedWritesAreReported()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    TestEnvironment env;
    QString file;
    if (kind == u"readonly") {
        file = env.writeFile("ro.ini", "[A]\nk=1\n");
        QFile::setPermissions(file, QFile::ReadOwner);
    } else if (kind == u"nofolder") {
        file = env.path("missing/w.ini");
    } else if (kind == u"drive") {
        file = "q:\\w.ini";
    } else {
        file = "%NOBODY_SET_THIS%\\w.ini";
    }
    cProfile &profile = env.profile();
    QCOMPARE(profile.WriteValue("A", "k", "2", file), error);
    profile.BeginBatch();
    profile.WriteValue("A", "k", "2", file);
    QCOMPARE(profile.EndBatch(), error);
    QCOMPARE(profile.ReadValue("A", "k", kMarker, file), kind == u"readonly" ? QStringLiteral("1") : kMarker);
    // The failure names the file, as written where it names no file here.
    QVERIFY2(profile.FailedFiles().contains(file), qPrintable(profile.FailedFiles().values().join(u',')));
}

void TestProfile::unchangedFilesAreNotWritten()
{
    TestEnvironment env;
    const QByteArray text = "[Left]\r\n  path = C:\\ \r\n[LeftHistory]\r\n0=a\r\n";
    const QString file = env.writeFile("w.ini", text);
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), old, 0), 0);
    cProfile &profile = env.profile();
    QCOMPARE(profile.WriteValue("Left", "PATH", "C:\\", file), 0);
    QCOMPARE(profile.DeleteValue("Left", "absent", file), 0);
    QCOMPARE(profile.DeleteSection("Absent", file), 0);
    QCOMPARE(profile.ReplaceSection("LeftHistory", {{"0", "a"}}, file), 0);
    QCOMPARE(env.readFile(file), text);
    QCOMPARE(QFileInfo(file).lastModified().toSecsSinceEpoch(), 1000000000);

    // Deleting from a file that does not exist, even in a folder that does not exist,
    // succeeds and makes nothing; writing something does make the file.
    const QString missing = env.path("user/history.ini");
    QCOMPARE(profile.DeleteSection("LeftHistory", missing), 0);
    QCOMPARE(profile.DeleteValue("LeftHistory", "0", missing), 0);
    profile.BeginBatch();
    profile.ReplaceSection("LeftHistory", {}, missing);
    profile.ReplaceSection("RightHistory", {}, env.path("absent.ini"));
    QCOMPARE(profile.EndBatch(), 0);
    QVERIFY(!QFileInfo::exists(env.path("user")));
    QVERIFY(!QFileInfo::exists(env.path("absent.ini")));
    QCOMPARE(profile.WriteValue("LeftHistory", "0", "x", env.path("absent.ini")), 0);
    QCOMPARE(env.readFile(env.path("absent.ini")), QByteArray("[LeftHistory]\r\n0=x\r\n"));
}

void TestProfile::namesTheFileCannotHoldAreRefused()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[Rename]\n");
    cProfile &profile = env.profile();
    QCOMPARE(profile.WriteValue("Rename", "a=b_name", "x", file), int(errInvalidCall));
    QCOMPARE(profile.ReplaceSection("Rename", {{"ok_name", "1"}, {"[t_name", "]"}}, file), int(errInvalidCall));
    // A name the ANSI code page lacks would come back as '?' (values have a marked form).
    QCOMPARE(profile.WriteValue("Rename", "\u4e2d_name", "x", file), int(errInvalidCall));
    QCOMPARE(env.readFile(file), QByteArray("[Rename]\n"));
    // Blanks the reader trims, at either end of a value, are kept by quoting.
    QCOMPARE(profile.WriteValue("Rename", "t_name", "x\t", file), 0);
    QCOMPARE(profile.ReadValue("Rename", "t_name", kMarker, file), QStringLiteral("x\t"));
}

void TestProfile::bareFileNamesLiveInTheWindowsFolder()
{
    TestEnvironment env;
    const QString windows = env.wineDrive() + "/windows";
    QDir().mkpath(windows);
    QFile::copy(env.writeFile("w.ini", "[A]\nk=in windows\n"), windows + "/w.ini");
    QCOMPARE(env.profile().ReadValue("A", "k", kMarker, "w.ini"), QStringLiteral("in windows"));
    QCOMPARE(env.paths().nativePath("w.ini"), env.paths().nativePath("C:\\windows\\w.ini"));
}

void TestProfile::rollbackUndoesLaterEdits()
{
    TestEnvironment env;
    const QString file = env.writeFile("w.ini", "[A]\nk=1\n");
    cProfile &profile = env.profile();
    profile.BeginBatch();
    profile.WriteValue("A", "k", "2", file);
    const cProfile::Checkpoint checkpoint = profile.MakeCheckpoint();
    profile.DeleteSection("A", file);
    profile.WriteValue("B", "x", "y", file);
    profile.Rollback(checkpoint);
    QCOMPARE(profile.EndBatch(), 0);
    QCOMPARE(env.readFile(file), QByteArray("[A]\nk=2\n"));
}

void TestProfile::folderOrDeviceReadsAsEmptyAndIsNeverWritten()
{
    TestEnvironment env;
    cProfile &profile = env.profile();
    QCOMPARE(profile.ReadValue("A", "k", kMarker, env.path("")), kMarker);
    QCOMPARE(profile.ReadValue("A", "k", kMarker, "/dev/zero"), kMarker);
    QCOMPARE(profile.WriteValue("A", "k", "v", env.path("")), int(errPathFileAccess));
    QCOMPARE(profile.WriteValue("A", "k", "v", "/dev/null"), int(errPathFileAccess));
}

void TestProfile::rewrittenSectionKeepsItsRedirection()
{
    TestEnvironment env;
    const QString alt = env.writeFile("alt.ini", "[LeftHistory]\n0=from alt\n");
    const QString main = env.writeFile("wincmd.ini", "[Configuration]\nAlternateUserIni=" + alt.toUtf8()
                                       + "\n[LeftHistory]\nRedirectSection=0\n0=old\n");
    cProfile &profile = env.profile();
    profile.BeginBatch();
    QCOMPARE(profile.ReplaceSection("LeftHistory", {{"0", "new"}, {"1", "second"}}, main), 0);
    QCOMPARE(profile.EndBatch(), 0);
    QCOMPARE(env.readFile(main), QByteArray("[Configuration]\nAlternateUserIni=" + alt.toUtf8()
                                            + "\n[LeftHistory]\nRedirectSection=0\n0=new\n1=second\n"));
    QCOMPARE(env.readFile(alt), QByteArray("[LeftHistory]\n0=from alt\n"));
    // Emptied, the section still says where it lives.
    QCOMPARE(profile.DeleteSection("LeftHistory", main), 0);
    QVERIFY(env.readFile(main).endsWith("[LeftHistory]\nRedirectSection=0\n"));
}

void TestProfile::hugeAndBrokenInputStaysFast()
{
    TestEnvironment env;
    QByteArray text;
    for (int i = 0; i < 100000; ++i)
        text += "[s" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
    text += "[long]\r\nk=" + QByteArray(1 << 20, 'x') + "\r\n" + QByteArray("\0\xff\xfe[\x81]=\r\r\n", 10);
    const QString file = env.writeFile("huge.ini", text);
    cProfile &profile = env.profile();
    // A quadratic step anywhere here would run into the test's time limit.
    profile.BeginBatch();
    for (int i = 0; i < 100000; i += 7)
        profile.WriteValue("s" + QString::number(i), "k", "w", file);
    for (int i = 1; i < 100000; i += 7)
        profile.DeleteSection("s" + QString::number(i), file);
    QCOMPARE(profile.ReadValue("s50000", "k", kMarker, file), QStringLiteral("50000"));
    QCOMPARE(profile.ReadValue("long", "k", kMarker, file, 0).size(), 1 << 20);
    QCOMPARE(profile.EndBatch(), 0);
    profile.ReadFileSectionsName(file, cProfile::kWholeList);
    QCOMPARE(profile.FileSectionsNameCount, 100000 + 1 - 14286 - 1);   // a count is the last index

    // Repeated large writes: the engine lets go of edit text it no longer needs.
    const QString small = env.writeFile("small.ini", "[a]\nk=1\n");
    for (int round = 0; round < 3; ++round) {
        const QString big(1 << 20, QChar(u'a' + round));
        QCOMPARE(profile.WriteValue("a", "k", big, small), 0);
        QCOMPARE(profile.ReadValue("a", "k", kMarker, small, 0), big);
    }
    QCOMPARE(env.readFile(small), "[a]\nk=" + QByteArray(1 << 20, 'c') + "\n");
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_cprofile.moc"

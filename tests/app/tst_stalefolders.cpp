#include "app/stalefolders.h"
#include "core/pathmacros.h"
#include "core/csectionsdata.h"
#include "editor/historylist.h"
#include "windowfixture.h"

#include <QStatusBar>
#include <QThread>
#include <QtTest>

using namespace calvenor;
using calvenor::test::Fixture;
using State = StaleFolders::State;

class TestStaleFolders : public QObject
{
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void aLookupThatHangsIsNotCalledMissing();
    void removeEntriesOfMissingFolders();
};

void TestStaleFolders::entries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("state");
    QTest::newRow("existing folder") << "C:\\Work\\" << int(State::Exists);
    QTest::newRow("other letter case") << "c:\\WORK" << int(State::Exists);
    QTest::newRow("missing folder") << "C:\\Work\\gone\\" << int(State::Missing);
    QTest::newRow("macro") << "%CALVENOR_TEST_WORK%\\gone" << int(State::Missing);
    QTest::newRow("inside an archive") << "C:\\Work\\backup.zip\\2019\\" << int(State::Exists);
    QTest::newRow("unmapped drive") << "Q:\\anything\\" << int(State::Unknown);
    QTest::newRow("network share") << "\\\\server\\share\\" << int(State::Unknown);
    QTest::newRow("plug-in path") << "\\\\\\Registry\\HKEY_CURRENT_USER\\" << int(State::Unknown);
    QTest::newRow("ftp") << "ftp://example.org/pub/" << int(State::Unknown);
    QTest::newRow("several folders") << "C:\\Work;C:\\gone" << int(State::Unknown);
    QTest::newRow("a macro nobody set") << "%NOBODY_SET_THIS%\\x" << int(State::Unknown);
}

void TestStaleFolders::entries()
{
    QFETCH(QString, entry);
    QFETCH(int, state);
    Fixture f;
    f.env.writeFile("prefix/drive_c/Work/backup.zip", "PK");
    qputenv("CALVENOR_TEST_WORK", "C:\\Work");
    const QString folder = StaleFolders::FolderOf(f.context.paths, entry);
    QCOMPARE(int(StaleFolders::Check(folder)), state);
}

void TestStaleFolders::aLookupThatHangsIsNotCalledMissing()
{
    Fixture f;
    StaleFolders folders(f.context.paths);
    folders.setTimeLimit(200);
    folders.setLookup([](const QString &folder) {
        if (folder.contains(QStringLiteral("hangs")))
            QThread::msleep(600);
        return State::Missing;
    });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(folders.StateOf("C:\\hangs\\"), State::Pending);
    QCOMPARE(folders.StateOf("C:\\quick\\"), State::Pending);
    QTRY_COMPARE(folders.StateOf("C:\\quick\\"), State::Missing);
    QTRY_COMPARE(folders.StateOf("C:\\hangs\\"), State::Unknown);
    QVERIFY(clock.elapsed() < 500);   // answered without waiting for the hung lookup
}

void TestStaleFolders::removeEntriesOfMissingFolders()
{
    Fixture f;
    QDir().mkpath(f.env.path("prefix/drive_c/Work"));
    f.env.writeFile("tc/wincmd.ini", "[LeftHistory]\r\n0=C:\\Work\\\r\n1=C:\\Gone\\\r\n2=\\\\server\\share\\\r\n"
                                     "[Command line history]\r\n0=C:\\Gone\\\r\n");
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    f.select("RootNode");
    f.item("mnuEditRemoveMissingFolders")->trigger();
    QTRY_COMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("Entries of missing folders removed: 1"));
    HistoryList &list = f.window.historyList();
    const auto &left = list.store().SectionRows(cSectionsData::GetSectionIndex("LeftHistory"));
    QCOMPARE(left.size(), size_t(2));
    QCOMPARE(left[1].col(2), QStringLiteral("\\\\server\\share\\"));   // not checkable: kept
    QCOMPARE(list.store().SectionRows(0).size(), size_t(1));           // no folder list
    QVERIFY(f.window.savePending());
    f.item("mnuEditUndo")->trigger();
    QCOMPARE(list.store().SectionRows(cSectionsData::GetSectionIndex("LeftHistory")).size(), size_t(3));
}

QTEST_MAIN(TestStaleFolders)
#include "tst_stalefolders.moc"

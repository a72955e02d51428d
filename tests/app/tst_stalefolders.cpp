#include "editor/stalefolders.h"
#include "core/pathmacros.h"
#include "core/csectionsdata.h"
#include "editor/historylist.h"
#include "windowfixture.h"

#include <QListView>
#include <QStatusBar>
#include <QMutex>
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
    // Folder histories carry the file manager's suffix after the path.
    QTest::newRow("name after a tab") << "c:\\work\\\t#03,Work" << int(State::Exists);
    QTest::newRow("two blanks and a mark") << "C:\\Work\\  #0" << int(State::Exists);
    QTest::newRow("missing, name after a tab") << "C:\\Gone\\\t#03,Gone" << int(State::Missing);
    // New Directory holds names relative to wherever the panel was.
    QTest::newRow("relative name") << "projects" << int(State::Unknown);
    QTest::newRow("relative path") << "src\\gone" << int(State::Unknown);
    QTest::newRow("drive without a separator") << "c:gone" << int(State::Unknown);
}

void TestStaleFolders::entries()
{
    QFETCH(QString, entry);
    QFETCH(int, state);
    Fixture f;
    f.env.writeFile("prefix/drive_c/Work/backup.zip", "PK");
    qputenv("CALVENOR_TEST_WORK", "C:\\Work");
    const QString folder = StaleFolders::FolderOf(f.context.paths, entry);
    QCOMPARE(int(StaleFolders::Check(f.context.paths.winePrefix(), folder)), state);
}

void TestStaleFolders::aLookupThatHangsIsNotCalledMissing()
{
    Fixture f;
    // The window has its files open and the overview drawn before any lookup answers:
    // the whole lookup, drive mapping and name matching included, hangs here, and it
    // is given the entry's path as stored, so none of it ran on the window's thread.
    StaleFolders &folders = f.window.folderCheck();
    folders.setTimeLimit(200);
    // Shared with a lookup that may still sleep when the test ends.
    struct Seen
    {
        QMutex lock;
        QStringList asked;
        bool onWindowThread = false;
    };
    auto seen = std::make_shared<Seen>();
    folders.setLookup([seen](const QString &folder) {
        {
            QMutexLocker locker(&seen->lock);
            seen->asked.append(folder);
            seen->onWindowThread = seen->onWindowThread || QThread::currentThread() == qApp->thread();
        }
        if (folder.contains(QStringLiteral("hangs"), Qt::CaseInsensitive))
            QThread::msleep(600);
        return State::Missing;
    });
    f.env.writeFile("tc/wincmd.ini", "[LeftHistory]\r\n0=C:\\hangs\\\r\n1=c:\\Quick\\\t#03,Quick\r\n");
    QElapsedTimer clock;
    clock.start();
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    f.window.show();
    f.select("RootNode");
    f.window.findChild<QWidget *>(QStringLiteral("ListView1"))->grab();   // paints the rows
    QCOMPARE(folders.StateOf("C:\\hangs\\"), State::Pending);
    QTRY_COMPARE(folders.StateOf("c:\\Quick\\\t#03,Quick"), State::Missing);
    QTRY_COMPARE(folders.StateOf("C:\\hangs\\"), State::Unknown);
    QVERIFY(clock.elapsed() < 500);   // answered without waiting for the hung lookup
    QMutexLocker locker(&seen->lock);
    QVERIFY(seen->asked.contains(QStringLiteral("c:\\Quick\\")));
    QVERIFY(!seen->onWindowThread);
}

void TestStaleFolders::removeEntriesOfMissingFolders()
{
    Fixture f;
    QDir().mkpath(f.env.path("prefix/drive_c/Work"));
    f.env.writeFile("tc/wincmd.ini", "[LeftHistory]\r\n0=C:\\Work\\\r\n1=C:\\Gone\\\r\n2=\\\\server\\share\\\r\n"
                                     "[Command line history]\r\n0=C:\\Gone\\\r\n");
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    // A missing folder's entry is drawn dimmed: its darkest pixel is lighter.
    f.select("LeftHistory");
    auto *view = f.window.findChild<QListView *>(QStringLiteral("ListView1"));
    view->resize(400, 200);
    view->grab();
    QTRY_COMPARE(f.window.folderCheck().StateOf("C:\\Gone\\"), State::Missing);
    const QImage shot = view->grab().toImage();
    auto darkest = [&](int row) {
        const QRect rect = view->visualRect(view->model()->index(row, 0)).translated(view->viewport()->pos());
        int least = 255;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                least = qMin(least, qGray(shot.pixel(x, y)));
        }
        return least;
    };
    QVERIFY2(darkest(1) > darkest(2) + 60, qPrintable(QStringLiteral("%1 %2").arg(darkest(2)).arg(darkest(1))));
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

#include "editor/historylist.h"
#include "windowfixture.h"

#include <QFrame>
#include <QPushButton>
#include <QTreeWidget>
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace calvenor;
using calvenor::test::Fixture;

namespace {

// What Total Commander writes on exit: newer history in another section, and its own
// take on the section edited here.
const QByteArray kWrittenOnExit = "[Command line history]\r\n0=newer command\r\n"
                                  "[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n2=c:\\from tc\\\r\n";

void deleteFirstCommand(Fixture &f)
{
    f.select("Command line history");
    f.window.historyList().ClickRow(0);
    f.item("mnuEditDelete")->trigger();
}

} // namespace

class TestDiskChange : public QObject
{
    Q_OBJECT
private slots:
    void saveAfterAnotherProgramWrote_data();
    void saveAfterAnotherProgramWrote();
    void noticedWhileIdle();
    void ourOwnSaveIsNoChange();
    void runningFileManagerBar();
};

void TestDiskChange::saveAfterAnotherProgramWrote_data()
{
    QTest::addColumn<int>("answer");   // to the question
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::addColumn<bool>("stillPending");
    QTest::addColumn<QString>("review");   // reviewed before every save: the button pressed there
    const QByteArray kept = "[Command line history]\r\n0=git status\r\n"
                            "[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n2=c:\\from tc\\\r\n";
    QTest::newRow("cancel writes nothing") << int(MessageAnswer::Cancel) << kWrittenOnExit << true << "";
    QTest::newRow("keep: the edited section goes into the file as it is now")
        << int(MessageAnswer::No) << kept << false << "";
    QTest::newRow("load again: the edits go, nothing is written") << int(MessageAnswer::Yes) << kWrittenOnExit << false << "";
    QTest::newRow("reviewed: the other program's entry shows, and the question still comes")
        << int(MessageAnswer::No) << kept << false << "cmdSave";
    QTest::newRow("review closed: nothing asked, nothing written")
        << int(MessageAnswer::No) << kWrittenOnExit << true << "cmdClose";
    QTest::newRow("File > Review Changes, then Save there") << int(MessageAnswer::No) << kept << false << "menu";
}

void TestDiskChange::saveAfterAnotherProgramWrote()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, fileAfter);
    QFETCH(bool, stillPending);
    QFETCH(QString, review);
    Fixture f;
    // "menu": the review opened from the File menu, without the option.
    const bool fromMenu = review == u"menu";
    f.context.settings.ReviewBeforeSave = !review.isEmpty() && !fromMenu;
    deleteFirstCommand(f);
    QTest::qWait(20);   // a later modification time
    f.env.writeFile("tc/wincmd.ini", kWrittenOnExit);
    f.person.answerMessage(MessageAnswer(answer));
    f.person.answerMessage(MessageAnswer::Yes);   // "Are you sure?" when loading again
    QStringList reviewed;
    if (!review.isEmpty()) {
        calvenor::test::WhenDialogOpens<QDialog>("frmSaveReview", [&](QDialog *dialog) {
            for (QTreeWidgetItemIterator it(dialog->findChild<QTreeWidget *>("tvwReview")); *it; ++it)
                reviewed << (*it)->text(0);
            dialog->findChild<QPushButton *>(fromMenu ? QStringLiteral("cmdSave") : review)->click();
        });
    }
    f.item(fromMenu ? "mnuFileReviewChanges" : "mnuFileSave")->trigger();
    if (!review.isEmpty()) {
        QCOMPARE(reviewed, QStringList({f.wincmd, "Command Line: 1 removed, 1 added", "Removed: newer command",
                                        "Added: git status"}));
    }
    if (review == u"cmdClose") {
        QVERIFY(f.person.messages().isEmpty());
        QCOMPARE(f.env.readFile("tc/wincmd.ini"), fileAfter);
        QVERIFY(f.window.savePending());
        return;
    }
    QVERIFY(!f.person.messages().isEmpty());
    QVERIFY(f.person.messages().first().contains(f.wincmd));
    // The buttons say what they do.
    const ButtonTexts &buttons = f.person.asked.first().buttonTexts;
    QCOMPARE(QStringList({buttons.yes, buttons.no, buttons.cancel}),
             QStringList({"&Load again", "&Keep my changes", "&Decide later"}));
    QCOMPARE(f.env.readFile("tc/wincmd.ini"), fileAfter);
    QCOMPARE(f.window.savePending(), stillPending);
    if (answer == int(MessageAnswer::Yes))
        QCOMPARE(f.window.historyList().store().SectionRows(0).front().col(2), QStringLiteral("newer command"));
}

void TestDiskChange::noticedWhileIdle()
{
    // Nothing pending: the files are simply read again.
    {
        Fixture f;
        f.env.writeFile("tc/wincmd.ini", kWrittenOnExit);
        QTRY_VERIFY(f.window.statusBar()->currentMessage().contains(f.wincmd));
        QCOMPARE(f.window.historyList().store().SectionRows(0).front().col(2), QStringLiteral("newer command"));
        QVERIFY(f.person.messages().isEmpty());
    }
    // With pending edits the person is asked at once; Cancel keeps everything.
    {
        Fixture f;
        deleteFirstCommand(f);
        f.person.answerMessage(MessageAnswer::Cancel);
        f.env.writeFile("tc/wincmd.ini", kWrittenOnExit);
        QTRY_COMPARE(f.person.messages().size(), 1);
        QVERIFY(f.window.savePending());
        QCOMPARE(f.env.readFile("tc/wincmd.ini"), kWrittenOnExit);
    }
}

void TestDiskChange::ourOwnSaveIsNoChange()
{
    Fixture f;
    deleteFirstCommand(f);
    f.item("mnuFileSave")->trigger();
    deleteFirstCommand(f);
    QTest::qWait(500);   // the watcher has seen our own write
    f.item("mnuFileSave")->trigger();
    QVERIFY(f.person.messages().isEmpty());
    QVERIFY(!f.window.savePending());

    // A save that wrote wincmd.ini but failed on wcx_ftp.ini (past the file-size limit
    // here): the file it wrote is ours, so the next save asks nothing and writes the rest.
    Fixture g;
    g.env.writeFile("tc/wcx_ftp.ini", "[OldConnections]\r\n0=ftp://" + QByteArray(8000, 'f') + "\r\n1=ftp\r\n");
    g.window.OpenIniFiles(g.wincmd, g.wcxftp);
    deleteFirstCommand(g);
    g.select("OldConnections");
    g.window.historyList().ClickRow(1);
    g.item("mnuEditDelete")->trigger();
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small {4096, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    g.item("mnuFileSave")->trigger();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(g.person.messages().size(), 1);   // the failure
    QVERIFY(g.person.messages().first().contains(QStringLiteral("wcx_ftp.ini")));
    QVERIFY(g.window.savePending());
    QVERIFY(!g.env.readFile("tc/wincmd.ini").contains("0=cmd"));
    QTest::qWait(500);   // the watcher has seen our own write
    QCOMPARE(g.person.messages().size(), 1);
    g.item("mnuFileSave")->trigger();
    QCOMPARE(g.person.messages().size(), 1);
    QVERIFY(!g.window.savePending());
    QVERIFY(!g.env.readFile("tc/wcx_ftp.ini").contains("1=ftp"));
}

void TestDiskChange::runningFileManagerBar()
{
    Fixture f;
    auto *bar = f.window.findChild<QFrame *>("picRunningBar");
    QVERIFY(bar && bar->isHidden());
    f.window.ShowFileManagerRunning(true);
    QVERIFY(!bar->isHidden());
    QVERIFY(bar->findChild<QLabel *>("lblRunning")->text().startsWith(QStringLiteral("Total Commander is running")));
    f.window.ShowFileManagerRunning(false);
    QVERIFY(bar->isHidden());
}

QTEST_MAIN(TestDiskChange)
#include "tst_diskchange.moc"

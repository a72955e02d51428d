#include "app/sectionchecktree.h"
#include "core/historyrowstore.h"
#include "core/csectionsdata.h"
#include "editor/edithistory.h"
#include "editor/historylist.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <QtTest>

using namespace calvenor;
using calvenor::test::Fixture;
using calvenor::test::WhenDialogOpens;

namespace {

// Tabs with a locked one above the active one, as the file manager writes them.
const QByteArray kTabs = "[LeftTabs]\r\n0_path=C:\\\r\n1_path=D:\\\r\n1_options=1|0|0|0|0|1|0\r\n2_path=E:\\\r\n"
                         "3_path=F:\\\r\nActiveTab=3\r\n[Left]\r\npath=F:\\\r\n"
                         "[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n2=c:\\c\\\r\n3=C:\\A\r\n"
                         "[RightHistory]\r\n0=d:\\\r\n1=D:\\\r\n";

// Every row of every section with its save flag: what undo must give back exactly.
struct State
{
    std::vector<std::vector<HistoryRow>> rows;
    std::vector<bool> flags;
    bool operator==(const State &) const = default;
};

State stateOf(HistoryList &list)
{
    State state;
    for (int section = 0; section < cSectionsData::SectionsCount; ++section) {
        state.rows.push_back(list.store().SectionRows(section));
        state.flags.push_back(list.store().SaveFlag(cSectionsData::SectionsList(section)));
    }
    return state;
}

void selectRow(Fixture &f, int row)
{
    f.window.historyList().ClickRow(row);
}

using Edit = void (*)(Fixture &);

void addItem(Fixture &f)
{
    f.select("LeftHistory");
    f.item("mnuEditAddItem")->trigger();
    f.window.historyList().FinishEdit(QStringLiteral("c:\\new\\"));
}
void renameItem(Fixture &f)
{
    f.select("LeftHistory");
    selectRow(f, 1);
    f.window.historyList().RenameSelectedItem();
    f.window.historyList().FinishEdit(QStringLiteral("c:\\renamed\\"));
}
void deleteItem(Fixture &f)
{
    f.select("LeftHistory");
    selectRow(f, 0);
    f.item("mnuEditDelete")->trigger();
}
void deleteTabAboveTheActiveOne(Fixture &f)
{
    f.select("LeftTabs");
    selectRow(f, 1);   // C:\ (row 0 is the panel's own folder)
    f.item("mnuEditDelete")->trigger();
}
void moveItem(Fixture &f)
{
    f.select("LeftHistory");
    selectRow(f, 2);
    f.item("mnuEditMoveUp")->trigger();
}
void dropItem(Fixture &f)
{
    f.select("LeftHistory");
    HistoryList &list = f.window.historyList();
    selectRow(f, 2);
    QVERIFY(list.StartDrag());
    QVERIFY(list.DragOver(0));
    list.Drop();
}
void captionAndLocks(Fixture &f)
{
    f.select("LeftTabs");
    selectRow(f, 2);
    HistoryList &list = f.window.historyList();
    list.CaptionEdited(QStringLiteral("Work"));
    list.LockTabClicked(true);
    list.LockButTabClicked(true);
}
void deleteAllKeepingLockedTabs(Fixture &f)
{
    f.select("RootNode");
    WhenDialogOpens<QDialog>("frmDeleteAll", [](QDialog *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
    f.item("mnuEditDeleteAll")->trigger();
}
void importSections(Fixture &f)
{
    const QString other = f.env.writeFile("other/wincmd.ini", "[LeftHistory]\r\n0=x:\\\r\n[LeftTabs]\r\n0_path=X:\\\r\n");
    f.select("LeftHistory");
    f.person.answerFile(other);
    f.item("mnuTreeImport")->trigger();
}

void removeDuplicatesEverywhere(Fixture &f)
{
    f.select("RootNode");
    f.item("mnuEditRemoveDuplicates")->trigger();
    QCOMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("Duplicate entries removed: 3"));
}

void restoreFromBackup(Fixture &f)
{
    const QString backup = f.env.writeFile("tc-history.txt",
                                           "; ===\r\n; === Total Commander history [1.12.26]\r\n; ===\r\n[LeftHistory]\r\n"
                                           "0=x:\\\r\n\r\n[LeftTabs]\r\n0_path=Y:\\\r\n\r\n\r\n; " + QByteArray(90, '|') + "\r\n\r\n");
    f.person.answerFile(backup);
    WhenDialogOpens<QDialog>("frmRestoreBackup", [](QDialog *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("cmdRestore"))->click();
    });
    f.item("mnuFileRestoreBackup")->trigger();
}

const Edit kEdits[] = {addItem, renameItem, deleteItem, deleteTabAboveTheActiveOne, moveItem, dropItem,
                       captionAndLocks, deleteAllKeepingLockedTabs, importSections, removeDuplicatesEverywhere,
                       restoreFromBackup};

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT
private slots:
    void undoAndRedoRestoreRowsAndFlags_data();
    void undoAndRedoRestoreRowsAndFlags();
    void pendingChangesFollowTheStack();
    void ctrlZInTheCaptionBoxUndoesTheStep();
    void undoAfterSaveStillSavesTheUndoneState();
    void openingOtherFilesForgetsTheStack();
    void keepsOnlyWhatChanged();
};

void TestUndo::undoAndRedoRestoreRowsAndFlags_data()
{
    QTest::addColumn<int>("edit");
    const char *names[] = {"add", "rename", "delete", "delete a tab above the active one", "move", "drop",
                           "tab caption and locks", "delete all, locked tabs kept", "import", "remove duplicates",
                           "restore from a backup"};
    for (int i = 0; i < int(std::size(kEdits)); ++i)
        QTest::newRow(names[i]) << i;
}

void TestUndo::undoAndRedoRestoreRowsAndFlags()
{
    QFETCH(int, edit);
    Fixture f;
    f.env.writeFile("tc/wincmd.ini", kTabs);
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    // Showing a tab section settles its active row once; that is no edit.
    f.select("LeftTabs");
    f.select("RootNode");
    HistoryList &list = f.window.historyList();
    const State before = stateOf(list);
    kEdits[edit](f);
    const State after = stateOf(list);
    QVERIFY(!(after == before));
    QCOMPARE(f.window.editHistory().stack()->count(), 1);   // one step, however many rows it took
    QVERIFY(f.item("mnuEditUndo")->isEnabled());

    f.item("mnuEditUndo")->trigger();
    QVERIFY(stateOf(list) == before);
    QVERIFY(!f.window.savePending());   // back at the loaded state
    QVERIFY(f.item("mnuEditRedo")->isEnabled());
    f.item("mnuEditRedo")->trigger();
    QVERIFY(stateOf(list) == after);
    QVERIFY(f.window.savePending());
    // The list shows the restored rows, not stale ones.
    QCOMPARE(int(list.visibleRows().size()), list.mlngListCount);
}

void TestUndo::pendingChangesFollowTheStack()
{
    Fixture f;
    deleteItem(f);
    deleteItem(f);
    QUndoStack *stack = f.window.editHistory().stack();
    QCOMPARE(stack->count(), 2);
    f.item("mnuEditUndo")->trigger();
    QVERIFY(f.window.savePending());
    f.item("mnuEditUndo")->trigger();
    QVERIFY(!f.window.savePending() && !f.item("mnuFileSave")->isEnabled());
    // Closing now asks nothing: there is nothing to save.
    f.window.close();
    QVERIFY(f.person.messages().isEmpty());
}

void TestUndo::ctrlZInTheCaptionBoxUndoesTheStep()
{
    // Ctrl+Z in the caption box right after typing takes the step back, not only the
    // box's text.
    Fixture f;
    f.select("LeftTabs");
    f.window.show();
    QApplication::setActiveWindow(&f.window);   // offscreen windows are not activated
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    auto *caption = f.window.findChild<QLineEdit *>(QStringLiteral("txtTabCaption"));
    const QString before = caption->text();
    caption->setFocus();
    QTest::keyClicks(caption, "Work");
    QVERIFY(f.window.savePending());
    QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(caption->text(), before);
    QVERIFY(!f.window.savePending());
    QVERIFY(!f.window.editHistory().stack()->canUndo());
    QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(caption->text(), before + QStringLiteral("Work"));
    QVERIFY(f.window.savePending());
}

void TestUndo::undoAfterSaveStillSavesTheUndoneState()
{
    Fixture f;
    deleteItem(f);
    f.item("mnuFileSave")->trigger();
    QVERIFY(!f.env.readFile("tc/wincmd.ini").contains("c:\\a\\"));
    f.item("mnuEditUndo")->trigger();
    // The files hold the edit; undoing it is a change to save.
    QVERIFY(f.window.savePending());
    QVERIFY(f.window.historyList().store().SaveFlag("LeftHistory"));
    f.item("mnuFileSave")->trigger();
    QVERIFY(f.env.readFile("tc/wincmd.ini").contains("[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n"));
    // Redo goes back to the state saved first, which the files no longer hold.
    f.item("mnuEditRedo")->trigger();
    QVERIFY(f.window.savePending());
}

void TestUndo::openingOtherFilesForgetsTheStack()
{
    Fixture f;
    deleteItem(f);
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    QCOMPARE(f.window.editHistory().stack()->count(), 0);
    QVERIFY(!f.item("mnuEditUndo")->isEnabled());
}

void TestUndo::keepsOnlyWhatChanged()
{
    // A move in a long section keeps the two rows that changed, not the section.
    Fixture f;
    QByteArray big = "[LeftHistory]\r\n";
    for (int i = 0; i < 5000; ++i)
        big += QByteArray::number(i) + "=c:\\folder" + QByteArray::number(i) + "\\\r\n";
    f.env.writeFile("tc/wincmd.ini", big);
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    HistoryList &list = f.window.historyList();
    const State before = stateOf(list);
    f.select("LeftHistory");
    selectRow(f, 2500);
    f.item("mnuEditMoveUp")->trigger();
    const auto *command = f.window.editHistory().stack()->command(0);
    QVERIFY(command);
    QCOMPARE(list.currentRow(), 2499);
    f.item("mnuEditUndo")->trigger();
    QVERIFY(stateOf(list) == before);
    QCOMPARE(list.currentRow(), 2500);   // the current row comes back too
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"

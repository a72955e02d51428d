#include "app/frmabout.h"
#include "app/frmimportexport.h"
#include "app/frmsearchfor.h"
#include "app/frmselectinifile.h"
#include "app/sectionchecktree.h"
#include "core/historyrowstore.h"
#include "editor/historylist.h"
#include "editor/historylistmodel.h"
#include "editor/sectionselection.h"
#include "editor/sectiontransfer.h"
#include "app/sectiontree.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace calvenor;
using calvenor::test::Fixture;
using calvenor::test::WhenDialogOpens;

namespace {

const QByteArray kOtherWincmd = "[LeftHistory]\r\n0=x:\\imported\\\r\n"
                                "[LeftTabs]\r\n0_path=X:\\\r\nActiveTab=0\r\n";

template<typename T = QPushButton>
T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QString::fromLatin1(name));
}

QStringList rowsOf(HistoryList &list, const QString &section)
{
    QStringList rows;
    const HistoryRowStore::StartEnd range = list.store().GetStartEnd(section);
    for (int position = range.start; range.start >= 0 && position <= range.end; ++position)
        rows.append(list.store().Row(position).col(2));
    return rows;
}

// Ticks exactly the given sections of an open checkable tree.
void tickOnly(SectionCheckTree *tree, const QStringList &sections)
{
    tree->SetCheckedPositions({});
    for (const QString &section : sections)
        tree->SetChecked(section, true);
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void selectIniFileOffersRecentPairs();
    void openCommandOpensTheChosenPair();
    void exportWritesTheTickedSectionsAndChangesNothing();
    void exportToAnUnwritableFileSaysSo();
    void importReplacesSectionsAndMarksThemForSaving();
    void importFromAMissingFileChangesNothing();
    void cancelInTheFileChoiceKeepsTheTicks();
    void checkTreeRules();
    void deleteAllFromTheMenu_data();
    void deleteAllFromTheMenu();
    void deleteAllKeepsLockedTabsUnlessTicked();
    void deleteAllAgainRestoresTheSavedTicks();
    void findDialogDrivesFindNext();
    void optionsShowTheStoredSettings();
    void optionsApplyStoresAndShows();
    void optionsLanguageChangeRelabelsTheWindow();
    void keepRulesFromTheOptionsGuardTheBulkRemovals();
    void aboutBox();
    void treeMenuTransfersOneSection();
    void restoreFromBackup_data();
    void restoreFromBackup();
};

void TestDialogs::selectIniFileOffersRecentPairs()
{
    Fixture f;
    f.window.recentFiles().AddFile(QStringLiteral("/b/wincmd.ini <> /b/wcx_ftp.ini"));
    frmSelectIniFile dialog(f.context, f.person, f.window.recentFiles());
    auto *wincmd = child<QComboBox>(&dialog, "cboWincmd");
    auto *wcxftp = child<QComboBox>(&dialog, "cboWcxftp");
    // Newest first, and equal positions belong to one pair.
    QCOMPARE(wincmd->count(), 2);
    QCOMPARE(wincmd->itemText(0), QStringLiteral("/b/wincmd.ini"));
    QCOMPARE(wcxftp->itemText(0), QStringLiteral("/b/wcx_ftp.ini"));
    QCOMPARE(wcxftp->itemText(1), f.wcxftp);
    wincmd->setCurrentIndex(1);
    QCOMPARE(wcxftp->currentText(), QString());   // the lists only share positions

    dialog.SetPaths(QString(), QString());
    QVERIFY(!child(&dialog, "cmdOK")->isEnabled());
    wcxftp->setEditText(QStringLiteral("x"));
    QVERIFY(child(&dialog, "cmdOK")->isEnabled());

    // Browsing: an open pair must exist, an export target need not.
    f.person.answerFile(QStringLiteral("/chosen/wincmd.ini"));
    child(&dialog, "cmdBrowseForWincmdFile")->click();
    QVERIFY(f.person.asked.last().file.fileMustExist);
    QCOMPARE(wincmd->currentText(), QStringLiteral("/chosen/wincmd.ini"));
    dialog.mblnExport = true;
    child(&dialog, "cmdBrowseForWcxftpFile")->click();   // cancelled: the field stays
    QVERIFY(!f.person.asked.last().file.fileMustExist);
    QCOMPARE(wcxftp->currentText(), QStringLiteral("x"));

    wcxftp->setEditText(QStringLiteral("  /padded/wcx_ftp.ini  "));
    child(&dialog, "cmdOK")->click();
    QVERIFY(dialog.mblnOKPressed);
    QCOMPARE(dialog.Wcxftp(), QStringLiteral("/padded/wcx_ftp.ini"));
}

void TestDialogs::openCommandOpensTheChosenPair()
{
    Fixture f;
    const QString other = f.env.writeFile("other/wincmd.ini", kOtherWincmd);
    WhenDialogOpens<frmSelectIniFile>("frmSelectIniFile", [&](frmSelectIniFile *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open"));
        child<QComboBox>(dialog, "cboWincmd")->setEditText(other);
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuFileOpen")->trigger();
    QCOMPARE(rowsOf(f.window.historyList(), "LeftHistory"), QStringList {"x:\\imported\\"});
    QVERIFY(f.window.recentFiles().ListItems(1).startsWith(other));

    // Cancel opens nothing.
    WhenDialogOpens<QDialog>("frmSelectIniFile", [](QDialog *dialog) { child(dialog, "cmdCancel")->click(); });
    f.item("mnuFileOpen")->trigger();
    QCOMPARE(rowsOf(f.window.historyList(), "LeftHistory"), QStringList {"x:\\imported\\"});

    // With changes pending, Yes to the save question and a save that fails: no dialog,
    // the changes stay pending.
    f.select("LeftHistory");
    f.item("mnuEditDelete")->trigger();
    QFile::setPermissions(other, QFile::ReadOwner);
    f.person.answerMessage(MessageAnswer::Yes);
    bool opened = false;
    QTimer::singleShot(300, [&opened] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            opened = true;
            dialog->close();
        }
    });
    f.item("mnuFileOpen")->trigger();
    QTest::qWait(400);
    QVERIFY(!opened);
    QVERIFY(f.window.savePending());
    QVERIFY(f.person.messages().last().contains(other));
    // No: the question comes before the file selection.
    const qsizetype asked = f.person.messages().size();
    f.person.answerMessage(MessageAnswer::No);
    WhenDialogOpens<QDialog>("frmSelectIniFile", [&](QDialog *dialog) {
        QCOMPARE(f.person.messages().size(), asked + 1);
        child(dialog, "cmdCancel")->click();
    });
    f.item("mnuFileOpen")->trigger();
    QCOMPARE(f.person.messages().size(), asked + 1);
    QVERIFY(f.person.messages().last().startsWith(QStringLiteral("Save changes to")));
}

void TestDialogs::exportWritesTheTickedSectionsAndChangesNothing()
{
    Fixture f;
    const QString target = f.env.path("export/wincmd.ini");
    const QString ftpTarget = f.env.path("export/wcx_ftp.ini");
    QDir().mkpath(f.env.path("export"));
    WhenDialogOpens<QDialog>("frmImportExport", [&](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Export"));
        auto *tree = dialog->findChild<SectionCheckTree *>();
        QCOMPARE(tree->accessibleName(), QStringLiteral("Check section(s) to export."));
        QVERIFY(!child(dialog, "cmdOK")->isEnabled());   // nothing saved, nothing ticked
        // Empty sections are shown grey, yet can be ticked.
        QTreeWidgetItem *empty = FindSectionNode(*tree, "MkDirHistory");
        QCOMPARE(empty->foreground(0).color(), tree->palette().color(QPalette::Disabled, QPalette::Text));
        tickOnly(tree, {"LeftHistory", "OldConnections", "MkDirHistory"});
        WhenDialogOpens<frmSelectIniFile>("frmSelectIniFile", [&](frmSelectIniFile *select) {
            QVERIFY(select->mblnExport);
            select->SetPaths(target, ftpTarget);
            child(select, "cmdOK")->click();
        });
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuFileExport")->trigger();
    QVERIFY(f.env.readFile("export/wincmd.ini").contains("[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n"));
    QVERIFY(f.env.readFile("export/wcx_ftp.ini").contains("0=ftp"));
    QVERIFY(!f.window.savePending());
    QCOMPARE(f.context.settings.Read("Calvenor", "ExportSelection", "-"), QStringLiteral("13,15,19"));
    // The next export starts from these ticks and this pair; import keeps its own.
    QCOMPARE(frmImportExport::RememberedWincmd(), target);
    QCOMPARE(f.context.settings.Read("Calvenor", "ImportSelection", "-"), QStringLiteral("-"));
    // A single ticked section is remembered too (unlike Delete All's).
    WhenDialogOpens<QDialog>("frmImportExport", [&](QDialog *dialog) {
        auto *tree = dialog->findChild<SectionCheckTree *>();
        QCOMPARE(tree->CheckedSections().size(), 3);
        tickOnly(tree, {"Command line history"});
        WhenDialogOpens<frmSelectIniFile>("frmSelectIniFile", [&](frmSelectIniFile *select) {
            QCOMPARE(select->Wincmd(), target);
            child(select, "cmdOK")->click();
        });
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuFileExport")->trigger();
    QCOMPARE(f.context.settings.Read("Calvenor", "ExportSelection", "-"), QStringLiteral("1"));
    QVERIFY(f.env.readFile("export/wincmd.ini").contains("[Command line history]\r\n0=cmd\r\n"));
}

void TestDialogs::exportToAnUnwritableFileSaysSo()
{
    Fixture f;
    SectionTransfer transfer(f.window.historyList(), f.context.profile, f.person, f.context.language);
    QVERIFY(!transfer.Export({"LeftHistory"}, f.env.path("no/such/folder/wincmd.ini"), QString()));
    QCOMPARE(f.person.messages().size(), 1);
    // What is wrong in plain words, the number only as a detail.
    QCOMPARE(f.person.messages().first(),
             "The folder " + f.env.path("no/such/folder") + " does not exist.\n(error 76)");
    // A file left empty is not skipped as if exported.
    QVERIFY(!transfer.Export({"OldConnections"}, f.env.path("x.ini"), QString()));
    QCOMPARE(f.person.messages().last(), QStringLiteral("No wcx_ftp.ini was named for FTP Old Connections."));
    QCOMPARE(rowsOf(f.window.historyList(), "LeftHistory").size(), 2);
}

void TestDialogs::importReplacesSectionsAndMarksThemForSaving()
{
    Fixture f;
    const QString other = f.env.writeFile("other/wincmd.ini", kOtherWincmd);
    // Import the locked-tab-holding section and one the source lacks.
    f.env.writeFile("tc/wincmd.ini", QByteArray(calvenor::test::kWincmd).replace("1_path=D:\\\r\n", "1_path=D:\\\r\n1_options=1|0|0|0|0|1|0\r\n"));
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    f.select("LeftHistory");
    WhenDialogOpens<QDialog>("frmImportExport", [&](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Import"));
        tickOnly(dialog->findChild<SectionCheckTree *>(), {"LeftHistory", "LeftTabs", "Command line history"});
        WhenDialogOpens<frmSelectIniFile>("frmSelectIniFile", [&](frmSelectIniFile *select) {
            QVERIFY(!select->mblnExport);
            select->SetPaths(other, QString());
            child(select, "cmdOK")->click();
        });
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuFileImport")->trigger();
    HistoryList &list = f.window.historyList();
    QCOMPARE(rowsOf(list, "LeftHistory"), QStringList {"x:\\imported\\"});
    // The locked tab went too; the first row stands for the panel's own folder.
    QVERIFY(!rowsOf(list, "LeftTabs").contains("D:\\"));
    QCOMPARE(rowsOf(list, "LeftTabs").last(), QStringLiteral("X:\\"));
    QVERIFY(rowsOf(list, "Command line history").isEmpty());  // replaced, not merged
    QVERIFY(f.window.savePending());
    QCOMPARE(list.visibleRows().size(), size_t(1));           // the shown section is shown anew
    f.item("mnuFileSave")->trigger();
    QVERIFY(f.env.readFile("tc/wincmd.ini").contains("[LeftHistory]\r\n0=x:\\imported\\\r\n"));
}

void TestDialogs::importFromAMissingFileChangesNothing()
{
    Fixture f;
    const QString other = f.env.writeFile("other/wincmd.ini", kOtherWincmd);
    SectionTransfer transfer(f.window.historyList(), f.context.profile, f.person, f.context.language);
    // The wcx_ftp.ini of the pair is missing: neither section changes.
    QVERIFY(!transfer.Import({"LeftHistory", "OldConnections"}, other, f.env.path("other/wcx_ftp.ini")));
    QVERIFY(f.person.messages().last().startsWith(QStringLiteral("Cannot find this file")));
    QCOMPARE(rowsOf(f.window.historyList(), "LeftHistory").size(), 2);
    QCOMPARE(rowsOf(f.window.historyList(), "OldConnections"), QStringList {"ftp"});
    // A folder where the file should be cannot be read either.
    QDir().mkpath(f.env.path("folder.ini"));
    QVERIFY(!transfer.Import({"LeftHistory"}, f.env.path("folder.ini"), QString()));
    QCOMPARE(rowsOf(f.window.historyList(), "LeftHistory").size(), 2);
    QVERIFY(!f.window.savePending());
}

void TestDialogs::cancelInTheFileChoiceKeepsTheTicks()
{
    Fixture f;
    f.context.settings.Write("Calvenor", "ImportSelection", "0,1,2");
    bool stillOpen = false;
    WhenDialogOpens<QDialog>("frmImportExport", [&](QDialog *dialog) {
        auto *tree = dialog->findChild<SectionCheckTree *>();
        // The root's stored tick does not spread to the other sections.
        QCOMPARE(tree->CheckedPositions().count(true), 3);
        WhenDialogOpens<QDialog>("frmSelectIniFile", [](QDialog *select) { child(select, "cmdCancel")->click(); });
        child(dialog, "cmdOK")->click();
        stillOpen = dialog->isVisible() && tree->CheckedPositions().count(true) == 3;
        child(dialog, "cmdCancel")->click();
    });
    f.item("mnuFileImport")->trigger();
    QVERIFY(stillOpen);
    QCOMPARE(rowsOf(f.window.historyList(), "Command line history").size(), 2);
}

void TestDialogs::checkTreeRules()
{
    Fixture f;
    SectionCheckTree tree;
    tree.Build(f.context.language, f.context.settings, "LeftTabs");
    QCOMPARE(tree.currentItem()->data(0, Qt::UserRole).toString(), QStringLiteral("LeftTabs"));
    QCOMPARE(tree.NodeCount(), 20);
    tree.SetChecked("RootNode", true);
    QCOMPARE(tree.CheckedSections().size(), 19);
    tree.SetChecked("Selection", false);
    QVERIFY(!tree.IsChecked("RootNode"));
    QCOMPARE(SectionSelection::ToValue(tree.CheckedPositions()).split(u',').size(), 18);
    tree.topLevelItem(0)->setExpanded(false);
    QVERIFY(tree.topLevelItem(0)->isExpanded());   // the root never closes
}

void TestDialogs::deleteAllFromTheMenu_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("ticked");
    QTest::addColumn<bool>("lockedBoxEnabled");
    QTest::newRow("a folder history") << "LeftHistory" << 1 << false;
    QTest::newRow("a tab section") << "LeftTabs" << 1 << true;
    QTest::newRow("the overview") << "RootNode" << 19 << true;
}

void TestDialogs::deleteAllFromTheMenu()
{
    QFETCH(QString, shown);
    QFETCH(int, ticked);
    QFETCH(bool, lockedBoxEnabled);
    Fixture f;
    f.context.settings.Write("Calvenor", "DelAllSelection", "3,4");
    f.select(shown);
    WhenDialogOpens<QDialog>("frmDeleteAll", [&](QDialog *dialog) {
        QCOMPARE(dialog->findChild<SectionCheckTree *>()->CheckedSections().size(), ticked);
        QCOMPARE(child<QCheckBox>(dialog, "Check1")->isEnabled(), lockedBoxEnabled);
        QVERIFY(child(dialog, "cmdOK")->isEnabled());
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuEditDeleteAll")->trigger();
    if (shown != u"RootNode")
        QVERIFY(rowsOf(f.window.historyList(), shown).isEmpty());
    QVERIFY(rowsOf(f.window.historyList(), "Command line history").isEmpty() == (shown == u"RootNode"));
    QVERIFY(f.window.savePending());
    // One ticked section is not remembered; the whole tree is.
    QCOMPARE(f.context.settings.Read("Calvenor", "DelAllSelection", "-") == u"3,4", ticked == 1);
    QVERIFY(!f.env.readFile("tc/wincmd.ini").isEmpty());   // nothing written before Save
    QCOMPARE(f.env.readFile("tc/wincmd.ini"), calvenor::test::kWincmd);
}

void TestDialogs::deleteAllKeepsLockedTabsUnlessTicked()
{
    for (const QString section : {"LeftTabs", "RightTabs"}) {
        const QString other = section == u"LeftTabs" ? QStringLiteral("RightTabs") : QStringLiteral("LeftTabs");
        for (const bool tick : {false, true}) {
            Fixture f;
            f.env.writeFile("tc/wincmd.ini", "[LeftTabs]\r\n0_path=C:\\\r\n1_path=D:\\\r\n1_options=1|0|0|0|0|1|0\r\n"
                                             "ActiveTab=0\r\n[RightTabs]\r\n0_path=E:\\\r\n1_path=F:\\\r\n"
                                             "1_options=1|0|0|0|0|2|0\r\nActiveTab=0\r\n");
            f.window.OpenIniFiles(f.wincmd, f.wcxftp);
            f.select(section);
            WhenDialogOpens<QDialog>("frmDeleteAll", [&](QDialog *dialog) {
                auto *tree = dialog->findChild<SectionCheckTree *>();
                auto *box = child<QCheckBox>(dialog, "Check1");
                box->setChecked(true);
                tree->SetChecked(section, false);   // no tab section: the tick goes
                QVERIFY(!box->isEnabled() && !box->isChecked());
                QVERIFY(!child(dialog, "cmdOK")->isEnabled());
                tree->SetChecked(section, true);
                box->setChecked(tick);
                child(dialog, "cmdOK")->click();
            });
            f.item("mnuEditDeleteAll")->trigger();
            QCOMPARE(rowsOf(f.window.historyList(), section).size(), tick ? 0 : 1);
            QCOMPARE(rowsOf(f.window.historyList(), other).size(), 3);   // untouched, the panel's own tab too
        }
    }
}

void TestDialogs::deleteAllAgainRestoresTheSavedTicks()
{
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    // The key works wherever the focus is in the window: here, in the list.
    auto *list = f.window.findChild<QWidget *>("ListView1");
    list->setFocus();
    QStringList opened;
    auto look = [&](QDialog *dialog) {
        opened.append(dialog->findChild<SectionCheckTree *>()->CheckedSections().join(u'+'));
        QVERIFY(child(dialog, "cmdOK")->isEnabled() == !opened.last().isEmpty());
        child(dialog, "cmdCancel")->click();
    };
    WhenDialogOpens<QDialog>("frmDeleteAll", look);
    QTest::keyClick(list, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(opened.size(), 1);
    f.context.settings.Write("Calvenor", "DelAllSelection", "2,99,3");   // 99 ends the list
    WhenDialogOpens<QDialog>("frmDeleteAll", look);
    QTest::keyClick(list, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(opened.size(), 2);
    QCOMPARE(opened, (QStringList {QString(), "Selection"}));
    QCOMPARE(rowsOf(f.window.historyList(), "Command line history").size(), 2);
}

void TestDialogs::findDialogDrivesFindNext()
{
    Fixture f;
    QAction *findNext = f.item("mnuSearchFindNext");
    QVERIFY(!findNext->isEnabled());   // nothing to find yet
    f.item("mnuSearchFind")->trigger();
    frmSearchFor *find = f.window.findDialog();
    QVERIFY(find && find->isVisible() && !find->isModal());
    auto *text = child<QComboBox>(find, "cboFindWhat");
    QVERIFY(!child(find, "cmdFindNext")->isEnabled());
    text->setEditText(QStringLiteral("C:\\"));
    QVERIFY(findNext->isEnabled() && child(find, "cmdFindNext")->isEnabled());
    child(find, "cmdFindNext")->click();
    HistoryList &list = f.window.historyList();
    const int first = list.currentRow();
    QVERIFY(first >= 0);
    QVERIFY(list.model()->index(first).data().toString().contains(QStringLiteral("c:\\"), Qt::CaseInsensitive));
    QCOMPARE(text->count(), 1);   // the text joined the history
    findNext->trigger();          // F3 goes on from there
    QVERIFY(list.currentRow() > first);

    // Clearing the history asks first.
    f.person.answerMessage(MessageAnswer::Yes);
    child(find, "cmdClearList")->click();
    QCOMPARE(text->count(), 0);
    QVERIFY(!findNext->isEnabled() && !child(find, "cmdClearList")->isEnabled());
    QCOMPARE(f.context.settings.Read("Calvenor", "Find1", "-"), QStringLiteral("-"));
    // Closed and opened again, the dialog is the same one.
    child(find, "cmdCancel")->click();
    f.item("mnuSearchFind")->trigger();
    QCOMPARE(f.window.findDialog(), find);
}

void TestDialogs::optionsShowTheStoredSettings()
{
    Fixture f("FixedBorders=0\r\nForegroundColor=255\r\nAlwaysRestartTC=1\r\nReviewBeforeSave=1\r\n");
    // Changed in memory only: the dialog shows what the file holds.
    f.context.settings.FixedBorders = true;
    f.context.settings.VerticalPanels = 2;   // the window's own state stays
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        // Centred at the size it is shown with.
        const QPoint middle = dialog->screen()->availableGeometry().center();
        QVERIFY2((dialog->frameGeometry().center() - middle).manhattanLength() <= 2, "centred on the screen");
        QVERIFY(!child<QCheckBox>(dialog, "chkFixedBorders")->isChecked());
        // The font in use is named beside Change... and drawn in itself.
        auto *fontName = child<QLabel>(dialog, "lblFontName");
        QCOMPARE(fontName->text(), QStringLiteral("%1, 10 pt").arg(QFontInfo(fontName->font()).family()));
        QCOMPARE(fontName->font().pointSize(), 10);
        // The three colour buttons say which colour each one is.
        QCOMPARE(child<QToolButton>(dialog, "lblColorChange_0")->accessibleName(), QStringLiteral("Text colour"));
        QCOMPARE(child<QToolButton>(dialog, "lblColorChange_1")->accessibleName(), QStringLiteral("Background colour"));
        QCOMPARE(child<QToolButton>(dialog, "lblColorChange_2")->accessibleName(), QStringLiteral("Locked tab colour"));
        QVERIFY(child<QCheckBox>(dialog, "chkAlwaysRestartTC")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "chkReviewBeforeSave")->isChecked());
        QCOMPARE(child(dialog, "cmdBrowseForLangFile")->accessibleName(), QStringLiteral("Choose a language file"));
        QVERIFY(!child(dialog, "cmdApply")->isEnabled());
        QVERIFY(child<QRadioButton>(dialog, "optUseDefaultLanguage")->isChecked());
        QVERIFY(!child<QLineEdit>(dialog, "txtLanguageFilePath")->isEnabled());
        // Ctrl+Tab goes round the pages; the page is remembered.
        auto *tabs = child<QTabWidget>(dialog, "tbsOptions");
        tabs->setCurrentIndex(tabs->count() - 1);
        QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        tabs->setCurrentIndex(1);
        // A font chosen and then cancelled stays in memory, unwritten.
        FontChoice font;
        font.name = QStringLiteral("DejaVu Sans");
        font.sizeTenths = 120;
        font.weight = 600;   // semibold is not bold
        f.person.answerFont(font);
        child(dialog, "cmdChangeFont")->click();
        QVERIFY(child(dialog, "cmdApply")->isEnabled());
        QCOMPARE(fontName->text(), QStringLiteral("DejaVu Sans, 12 pt"));
        child(dialog, "cmdCancel")->click();
    });
    f.item("mnuViewOptions")->trigger();
    QCOMPARE(f.context.settings.FontName, QStringLiteral("DejaVu Sans"));
    QCOMPARE(f.context.settings.FontSize, 12);
    QCOMPARE(f.context.settings.FontStyle, 0);
    QCOMPARE(f.context.settings.Read("Calvenor", "FontName", "-"), QStringLiteral("-"));
    QCOMPARE(f.context.settings.VerticalPanels, 2);
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        QCOMPARE(child<QTabWidget>(dialog, "tbsOptions")->currentIndex(), 1);
        child(dialog, "cmdCancel")->click();
    });
    f.item("mnuViewOptions")->trigger();
}

void TestDialogs::optionsApplyStoresAndShows()
{
    Fixture f;
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        child<QCheckBox>(dialog, "chkShowgridlines")->click();
        child<QCheckBox>(dialog, "chkReviewBeforeSave")->click();
        f.person.answerColor(0x0000FF);
        child<QToolButton>(dialog, "lblColorChange_1")->click();
        QVERIFY(child(dialog, "cmdApply")->isEnabled());
        child(dialog, "cmdApply")->click();
        QVERIFY(!child(dialog, "cmdApply")->isEnabled());
        // The path is kept even when the built-in texts are chosen.
        child<QRadioButton>(dialog, "optUseOtherLanguage")->setChecked(true);
        QTest::keyClicks(child<QLineEdit>(dialog, "txtLanguageFilePath"), "/nowhere/Deutsch.lng");
        child<QRadioButton>(dialog, "optUseDefaultLanguage")->setChecked(true);
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuViewOptions")->trigger();
    QCOMPARE(f.context.settings.Read("Calvenor", "CommandListShowLines", "-"), QStringLiteral("1"));
    QCOMPARE(f.context.settings.Read("Calvenor", "ReviewBeforeSave", "-"), QStringLiteral("1"));
    QVERIFY(f.context.settings.ReviewBeforeSave);
    QCOMPARE(f.context.settings.Read("Calvenor", "BackgroundColor", "-"), QString::number(0xFF));
    QCOMPARE(f.context.settings.Read("Calvenor", "UseDefaultLanguage", "-"), QStringLiteral("1"));
    QCOMPARE(f.context.settings.Read("Common", "LanguageFile", "-"), QStringLiteral("/nowhere/Deutsch.lng"));
    // An emptied path box keeps the stored language file, through Apply and OK.
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        auto *path = child<QLineEdit>(dialog, "txtLanguageFilePath");
        path->selectAll();
        QTest::keyClick(path, Qt::Key_Delete);
        child<QCheckBox>(dialog, "chkShowgridlines")->click();
        child(dialog, "cmdApply")->click();
        QCOMPARE(f.context.settings.Read("Common", "LanguageFile", "-"), QStringLiteral("/nowhere/Deutsch.lng"));
        child<QCheckBox>(dialog, "chkShowgridlines")->click();
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuViewOptions")->trigger();
    QCOMPARE(f.context.settings.Read("Common", "LanguageFile", "-"), QStringLiteral("/nowhere/Deutsch.lng"));
    // The list shows the new background at once.
    auto *list = f.window.findChild<QWidget *>("ListView1");
    QCOMPARE(list->palette().color(QPalette::Base), QColor(Qt::red));
    QVERIFY(f.person.messages().isEmpty());
}

void TestDialogs::optionsLanguageChangeRelabelsTheWindow()
{
    Fixture f;
    const QString german = QFINDTESTDATA("../../Languages/Deutsch.lng");
    f.item("mnuSearchFind")->trigger();   // a used find dialog follows the language too
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        child<QRadioButton>(dialog, "optUseOtherLanguage")->setChecked(true);
        f.person.answerFile(german);
        child(dialog, "cmdBrowseForLangFile")->click();
        QVERIFY(f.person.asked.last().file.folder.endsWith(QStringLiteral("Languages/")));
        QCOMPARE(child<QLineEdit>(dialog, "txtLanguageFilePath")->text(), german);
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuViewOptions")->trigger();
    QCOMPARE(f.window.findChild<QMenu *>("mnuFile")->title(), QStringLiteral("&Datei"));
    QCOMPARE(f.window.findDialog()->windowTitle(), QStringLiteral("Suchen"));
}

void TestDialogs::keepRulesFromTheOptionsGuardTheBulkRemovals()
{
    Fixture f;
    QDir().mkpath(f.env.path("prefix/drive_c/here"));
    f.env.writeFile("tc/wincmd.ini", "[Command line history]\r\n0=git status\r\n1=GIT STATUS\r\n2=make\r\n3=make\r\n"
                                     "[LeftHistory]\r\n0=C:\\gone\\\r\n1=C:\\Kept\\gone\\\r\n2=C:\\here\\\r\n");
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    const QString settingsFile = f.context.settings.SettingsFile();
    const QByteArray settingsBefore = f.env.readFile(settingsFile);
    auto typeRules = [&](QDialog *dialog, const QString &text) {
        auto *tabs = child<QTabWidget>(dialog, "tbsOptions");
        auto *rules = child<QPlainTextEdit>(dialog, "txtKeepRules");
        tabs->setCurrentWidget(child<QWidget>(dialog, "picOptions_3"));
        QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Keep"));
        QCOMPARE(rules->accessibleName(), QStringLiteral("Keep rules, one pattern per line"));
        rules->setPlainText(text);
        QVERIFY(child(dialog, "cmdApply")->isEnabled());
    };
    // Cancel takes nothing.
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        typeRules(dialog, "*");
        child(dialog, "cmdCancel")->click();
    });
    f.item("mnuViewOptions")->trigger();
    QVERIFY(f.context.settings.KeepPatterns.isEmpty());
    QCOMPARE(f.env.readFile(settingsFile), settingsBefore);
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        typeRules(dialog, "git *\n\n  *\\kept\\*  \n");
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuViewOptions")->trigger();
    QCOMPARE(f.context.settings.Read("Calvenor", "KeepRule1", "-"), QStringLiteral("git *"));
    QCOMPARE(f.context.settings.Read("Calvenor", "KeepRule2", "-"), QStringLiteral("*\\kept\\*"));
    QCOMPARE(f.context.settings.Read("Calvenor", "KeepRule3", "-"), QStringLiteral("-"));
    WhenDialogOpens<QDialog>("frmOptions", [&](QDialog *dialog) {
        QCOMPARE(child<QPlainTextEdit>(dialog, "txtKeepRules")->toPlainText(), QStringLiteral("git *\n*\\kept\\*"));
        child(dialog, "cmdCancel")->click();
    });
    f.item("mnuViewOptions")->trigger();

    // The clean-ups pass kept entries over: a kept repeat, a kept missing folder.
    HistoryList &list = f.window.historyList();
    f.select("RootNode");
    f.item("mnuEditRemoveDuplicates")->trigger();
    QCOMPARE(rowsOf(list, "Command line history"), QStringList({"git status", "GIT STATUS", "make"}));
    f.item("mnuEditRemoveMissingFolders")->trigger();
    QTRY_COMPARE(f.window.statusBar()->currentMessage(), QStringLiteral("Entries of missing folders removed: 1"));
    QCOMPARE(rowsOf(list, "LeftHistory"), QStringList({"C:\\Kept\\gone\\", "C:\\here\\"}));
    // Delete All says so, and keeps them too.
    WhenDialogOpens<QDialog>("frmDeleteAll", [&](QDialog *dialog) {
        QVERIFY(child<QLabel>(dialog, "lblKeepRules")->isVisibleTo(dialog));
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuEditDeleteAll")->trigger();
    QCOMPARE(rowsOf(list, "Command line history"), QStringList({"git status", "GIT STATUS"}));
    QCOMPARE(rowsOf(list, "LeftHistory"), QStringList({"C:\\Kept\\gone\\"}));
    // Deleting one entry by hand is not bound by the rules.
    f.select("Command line history");
    list.ClickRow(0);
    f.item("mnuEditDelete")->trigger();
    QCOMPARE(rowsOf(list, "Command line history"), QStringList({"GIT STATUS"}));
}

void TestDialogs::aboutBox()
{
    Fixture f;
    bool iniButtonShown = true;
    WhenDialogOpens<QDialog>("frmAbout", [&](QDialog *dialog) {
        QVERIFY(dialog->windowTitle().endsWith(QStringLiteral("Calvenor")));
        iniButtonShown = !child(dialog, "cmdIniFile")->isHidden();
        child(dialog, "cmdIniFile")->click();
        child(dialog, "cmdOK")->click();
    });
    f.item("mnuHelpAbout")->trigger();
    QVERIFY(!iniButtonShown);   // the usual file in the program's folder
    QVERIFY(frmAbout::SettingsFileIsUnusual("/elsewhere/vantrel editors.ini", f.appFolder));
    QVERIFY(frmAbout::SettingsFileIsUnusual(f.appFolder + "calvenor.ini", f.appFolder));
    QVERIFY(!frmAbout::SettingsFileIsUnusual(f.appFolder + "VANTREL EDITORS.INI", f.appFolder));
}

void TestDialogs::treeMenuTransfersOneSection()
{
    Fixture f;
    const QString other = f.env.writeFile("other/wincmd.ini", kOtherWincmd);
    f.select("LeftHistory");
    f.person.answerFile(f.env.path("other/exported.ini"));
    f.item("mnuTreeExport")->trigger();
    QCOMPARE(f.person.asked.last().text, QStringLiteral("Export Left history"));
    QVERIFY(!f.person.asked.last().file.fileMustExist);
    QVERIFY(f.env.readFile("other/exported.ini").contains("[LeftHistory]"));
    QVERIFY(!f.window.savePending());

    f.person.answerFile(other);
    f.item("mnuTreeImport")->trigger();
    QVERIFY(f.person.asked.last().file.fileMustExist);
    QCOMPARE(f.person.asked.last().file.folder, f.env.path("other/"));   // the last file's folder
    QCOMPARE(rowsOf(f.window.historyList(), "LeftHistory"), QStringList {"x:\\imported\\"});
    QCOMPARE(f.window.historyList().visibleRows().size(), size_t(1));
    QVERIFY(f.window.savePending());
}


namespace {

QByteArray backupBlock(const QByteArray &stamp, const QByteArray &body)
{
    return "; ===\r\n; === Total Commander history [" + stamp + "]\r\n; ===\r\n" + body + "\r\n; " + QByteArray(90, '|')
        + "\r\n\r\n";
}

} // namespace

void TestDialogs::restoreFromBackup_data()
{
    QTest::addColumn<QByteArray>("backup");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("untick");
    QTest::addColumn<QStringList>("commands");   // Command line history afterwards
    QTest::addColumn<QStringList>("folders");    // LeftHistory afterwards
    QTest::addColumn<QString>("told");           // a message that names what was skipped
    const QByteArray older = backupBlock("1.12.26 10:00:00", "[LeftHistory]\r\n0=c:\\older\\\r\n\r\n");
    const QByteArray run = backupBlock("2.12.26 11:00:00", "[Command line history]\r\n0=make\r\n1=CMD\r\n\r\n"
                                                           "[LeftHistory]\r\n0=c:\\old\\\r\n1=C:\\A\r\n\r\n"
                                                           "[MkDirHistory]\r\n0=new folder\r\n\r\n");
    const QStringList loadedCommands {"cmd", "git status"};
    const QStringList loadedFolders {"c:\\a\\", "c:\\b\\"};
    QTest::newRow("added after the entries there, repeats left out")
        << older + run << false << QString() << QStringList {"cmd", "git status", "make"}
        << QStringList {"c:\\a\\", "c:\\b\\", "c:\\old\\"} << QString();
    QTest::newRow("replacing only the ticked sections")
        << older + run << true << "LeftHistory" << QStringList {"make", "CMD"} << loadedFolders << QString();
    QTest::newRow("a UTF-8 backup") << "\xef\xbb\xbf" + backupBlock("3.12.26", "[Command line history]\r\n0=echo \xd0\x96\r\n")
                                    << false << QString() << QStringList {"cmd", "git status", "echo Ж"} << loadedFolders
                                    << QString();
    QTest::newRow("a torn newest run, shown to its last whole line")
        << older + run.left(run.indexOf("1=C:")) + "1=C:" << true << QString() << QStringList {"make", "CMD"}
        << QStringList {"c:\\old\\"} << "cut off";
    QTest::newRow("sections of no history named and left out")
        << backupBlock("4.12.26", "[NewerHistory]\r\n0=x\r\n[Command line history]\r\n0=top\r\n") << false << QString()
        << QStringList {"cmd", "git status", "top"} << loadedFolders << "NewerHistory";
}

void TestDialogs::restoreFromBackup()
{
    QFETCH(QByteArray, backup);
    QFETCH(bool, replace);
    QFETCH(QString, untick);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, folders);
    QFETCH(QString, told);
    Fixture f;
    const QString file = f.env.writeFile("backup/tc-history.txt", backup);
    HistoryList &list = f.window.historyList();
    f.select("LeftTabs");   // a section the backup does not hold gives way to the first restored
    f.person.answerFile(file);
    WhenDialogOpens<QDialog>("frmRestoreBackup", [&](QDialog *dialog) {
        auto *runs = child<QTreeWidget>(dialog, "lstRuns");
        QCOMPARE(runs->currentIndex().row(), 0);   // the newest run
        QVERIFY(runs->topLevelItem(0)->text(0).contains("2.12.26") || !backup.contains("2.12.26"));
        auto *sections = child<QTreeWidget>(dialog, "lstSections");
        for (int i = 0; i < sections->topLevelItemCount(); ++i) {
            if (sections->topLevelItem(i)->data(0, Qt::UserRole).toString() == untick)
                sections->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
        }
        child<QRadioButton>(dialog, replace ? "optReplace" : "optAdd")->setChecked(true);
        child(dialog, "cmdRestore")->click();
    });
    f.item("mnuFileRestoreBackup")->trigger();
    QCOMPARE(rowsOf(list, "Command line history"), commands);
    QCOMPARE(rowsOf(list, "LeftHistory"), folders);
    // An emptied section gets its entries back.
    QCOMPARE(rowsOf(list, "MkDirHistory"), backup.contains("new folder") ? QStringList {"new folder"} : QStringList {});
    QCOMPARE(f.window.selectedSection(), QStringLiteral("Command line history"));
    QCOMPARE(f.person.messages().join(u' ').contains(told), true);
    QCOMPARE(f.person.messages().isEmpty(), told.isEmpty());
    QVERIFY(f.window.savePending());
    QCOMPARE(f.env.readFile("tc/wincmd.ini"), calvenor::test::kWincmd);   // nothing written before Save

    // Saved, the files hold what the list shows; the backup opens again without asking.
    f.item("mnuFileSave")->trigger();
    const QByteArray saved = f.env.readFile("tc/wincmd.ini");
    for (int i = 0; i < commands.size(); ++i)
        QVERIFY(saved.contains(QString("%1=%2\r\n").arg(i).arg(commands[i]).toUtf8()) || commands[i].contains(u'Ж'));
    WhenDialogOpens<QDialog>("frmRestoreBackup", [](QDialog *dialog) { dialog->reject(); });
    f.item("mnuFileRestoreBackup")->trigger();
    const auto fileQuestions = std::count_if(f.person.asked.cbegin(), f.person.asked.cend(),
                                             [](const auto &asked) { return asked.kind == u"file"; });
    QCOMPARE(fileQuestions, 1);
    QVERIFY(!f.window.savePending());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

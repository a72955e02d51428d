#pragma once

#include "commandtable.h"
#include "crecentfiles.h"

#include "core/progresshost.h"
#include "editor/csplitter.h"
#include "editor/historylisthost.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QFrame;
class QMenu;
class QProgressDialog;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace calvenor {

class FileManagerRestarter;
class HistoryList;
class HistoryListWidget;
class PersonInterface;
class ProgramContext;
class frmSearchFor;
class DiskWatch;
class StaleFolders;
class EditHistory;

// The editor's main window: menus and toolbar made from the command table, the section
// tree and the history list side by side (or stacked), and the command layer between
// them. It composes: the engine (HistoryList) does every edit, the widgets show it.
class frmMain : public QMainWindow, public HistoryListHost, public ProgressHost
{
    Q_OBJECT
public:
    frmMain(ProgramContext &context, PersonInterface &person, FileManagerRestarter &restarter,
            QWidget *parent = nullptr);
    ~frmMain() override;

    // Loads a pair of INI files into the editor and shows the overview; with
    // addToRecent the pair goes first in the recent-files list.
    int OpenIniFiles(const QString &wincmd, const QString &wcxftp, bool addToRecent = true);
    // At start without a file named: the pair the locator finds, not added to the
    // recent files.
    int OpenLocatedFiles();
    cRecentFiles &recentFiles() { return m_mru; }
    // A recent-files item chosen in the menu or the Open button's drop-down.
    void RecentFileChosen(int index);
    HistoryList &historyList() { return *m_list; }
    QAction *action(Command command) const { return m_actions.value(int(command)); }
    bool savePending() const { return mblnSavePending; }
    QString selectedSection() const;

    void run(Command command);

    // HistoryListHost
    void SetUpDownButtonsState(bool enabled) override;
    void SetButtonsState(const QString &section) override;
    void SelectTreeNode(const QString &key) override;
    QList<SectionTreeNode> RootChildren() const override;
    // ProgressHost
    void ShowProgressBar(const QString &caption, int maximum) override;
    void IncreaseProgress() override;
    void HideProgressBar() override;

    void SetSaveButtonState(bool blnState);
    bool IsOverviewSelected(bool blnShowMessage);
    void SetTitleBar();
    // Runs the language over every text of the window again.
    void ApplyLanguage();
    // Borders, flat look, colours and fonts from the settings.
    void ApplyLook();
    // The delete-all dialog, with last time's ticks when blnRestore.
    void ShowDeleteAllDialog(bool blnRestore);
    // Export or import of the section selected in the tree, to or from one file.
    void TransferSelectedSection(bool blnExport);
    frmSearchFor *findDialog() const { return m_find; }
    EditHistory &editHistory() { return *m_edits; }
    // Removes later repeats of an entry from the shown section (every section from the
    // overview); the number removed shows in the status bar.
    void RemoveDuplicates();
    // Removes the entries of folders that do not exist from the shown folder section
    // (every folder section from the overview), once the lookups are in.
    void RemoveMissingFolders();
    StaleFolders &folderCheck() { return *m_folders; }
    // The bar above the list that says the running file manager will write its history
    // over the files when it exits.
    void ShowFileManagerRunning(bool running);
    // Another program wrote the loaded files: with nothing pending they are read again;
    // else the person chooses to load them again (edits lost), keep the edits for the
    // next save, or wait. Before a save, true means go on and save.
    bool FilesChangedOnDisk(bool beforeSave);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void showRecentFiles();
    void nodeClicked(QTreeWidgetItem *item);
    // A save; when the options ask for it, first the review of what it changes, unless
    // the person saves from that review already.
    void saveCommand(bool restart, bool reviewed = false);
    // Shows what the next save changes in the files on disk; true when the person
    // chose to save.
    bool ReviewChanges();
    bool QuerySaveChanges();
    void setVerticalPanels(int direction);
    void placeSplitter();   // puts the splitter widget's bar where the rules say
    bool eventFilter(QObject *watched, QEvent *event) override;
    void UpdateRestartCommandState();
    // Opens the user guide (the one of the language in use, when it has one) in the
    // desktop's browser.
    void ShowHelpFile();
    void openWithDialog();
    void showImportExport(bool isExport);
    void showRestoreBackup();
    void showFind();
    void showOptions();
    void showAbout();
    // Shows the selected section again from the store, with its button states.
    void refreshSelectedSection();
    // Sections were changed outside the list (a dialog, a clean-up): pending, shown
    // anew, one undo step.
    void sectionsChanged(const QString &undoText);
    // The same files loaded again, the same section shown.
    void reloadFiles();
    void connectEditHistory();
    QWidget *buildListPane();
    void pollFileManager();
    QStringList sectionsToClean(bool (*applies)(const QString &)) const;
    // After a clean-up: the section shown anew, one undo step, the count reported.
    void finishCleanUp(int removed, int commandId, int reportId);

    ProgramContext &m_context;
    PersonInterface &m_person;
    FileManagerRestarter &m_restarter;
    HistoryList *m_list;
    QTreeWidget *m_tree;
    HistoryListWidget *m_listWidget;
    QSplitter *m_splitter;
    QToolBar *m_toolbar;
    cSplitter m_splitRules;   // where the bar between tree and list stands, in twips
    QMenu *m_editMenu = nullptr;   // also the list's context menu
    QMenu *m_treeMenu = nullptr;   // mnuTree
    QMenu *m_recentMenu = nullptr;     // mnuFileRecentGroup
    QMenu *m_openDropDown = nullptr;   // the Open button's list of the same items
    cRecentFiles m_mru;
    EditHistory *m_edits;   // undo and redo of every change of the history
    DiskWatch *m_disk;      // the loaded files as another program may write them
    StaleFolders *m_folders;   // which folder entries name folders that are gone
    bool m_checkingFolders = false;
    QFrame *m_runningBar = nullptr;
    bool m_saving = false;
    QHash<int, QAction *> m_actions;   // by Command
    QProgressDialog *m_progress = nullptr;
    QElapsedTimer m_progressShown;   // since the bar last moved
    QPointer<QWidget> m_focusBeforeProgress;   // had the focus when the progress window came
    frmSearchFor *m_find = nullptr;      // made on first use, then only hidden
    QString mstrLastSectionFile;         // the file of the tree menu's last transfer
    int mlngProgress = 0;
    bool mblnSavePending = false;
    QString m_wincmd;
    QString m_wcxftp;
};

} // namespace calvenor

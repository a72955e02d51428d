#include "frmmain.h"

#include "centerform.h"
#include "diskwatch.h"
#include "formlanguage.h"
#include "frmsearchfor.h"
#include "historylistwidget.h"
#include "programcontext.h"
#include "editor/filefailure.h"
#include "sectiontree.h"
#include "editor/stalefolders.h"
#include "titlebar.h"
#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "editor/edithistory.h"
#include "editor/historylist.h"
#include "settings/datafolder.h"
#include "settings/helpfile.h"
#include "transfer/filemanagerrestarter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

namespace calvenor {
namespace {

bool isName(const QString &a, const QString &b)
{
    return FoldedKey::equalIgnoringCase(a, b);
}

QStyle::StandardPixmap standardFallback(Command command)
{
    switch (command) {
    case Command::Open: return QStyle::SP_DialogOpenButton;
    case Command::Save: return QStyle::SP_DialogSaveButton;
    case Command::AddItem: return QStyle::SP_FileDialogNewFolder;
    case Command::MoveUp: return QStyle::SP_ArrowUp;
    case Command::MoveDown: return QStyle::SP_ArrowDown;
    case Command::Rename: return QStyle::SP_FileDialogDetailedView;
    case Command::Delete: return QStyle::SP_DialogDiscardButton;
    case Command::DeleteAll: return QStyle::SP_TrashIcon;
    default: return QStyle::SP_CustomBase;
    }
}

// Where the desktop's theme has no picture: our own where the style's would look like
// another command's (its arrows are the tabs' and the moves'), else the style's own.
QIcon fallbackIcon(Command command, const QStyle &style)
{
    switch (command) {
    case Command::Options: return QIcon(QStringLiteral(":/pictures/options.svg"));
    case Command::Undo: return QIcon(QStringLiteral(":/pictures/undo.svg"));
    case Command::Redo: return QIcon(QStringLiteral(":/pictures/redo.svg"));
    default: return style.standardIcon(standardFallback(command));
    }
}

} // namespace

frmMain::frmMain(ProgramContext &context, PersonInterface &person, FileManagerRestarter &restarter, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_person(person)
    , m_restarter(restarter)
    , m_list(new HistoryList(context.profile, context.settings, context.language, person, *this, this))
    , m_tree(new QTreeWidget)
    , m_listWidget(new HistoryListWidget(*m_list))
    , m_splitter(new QSplitter)
    , m_toolbar(new QToolBar)
    , m_mru(context.paths, context.profile, person)
    , m_edits(new EditHistory(*m_list, this))
    , m_disk(new DiskWatch(context.paths, this))
    , m_folders(new StaleFolders(context.paths, this))
{
    setObjectName(QStringLiteral("frmMain"));
    m_list->setProgressHost(this);
    m_tree->setObjectName(QStringLiteral("TreeView1"));
    m_tree->setHeaderHidden(true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_splitter->setObjectName(QStringLiteral("picSpliterContainer"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(buildListPane());
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    addToolBar(m_toolbar);

    buildMenus();
    buildToolbar();
    BuildSectionTree(*m_tree, context.language);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            nodeClicked(item);
    });
    // The root stays open: the sections are always in reach.
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem *item) {
        if (!item->parent())
            item->setExpanded(true);
    });
    connect(m_list, &HistoryList::ListChange, this, [this] {
        SetSaveButtonState(true);
        m_list->SetSaveFlag(selectedSection());
        m_edits->Record();
    });
    connectEditHistory();
    connect(m_disk, &DiskWatch::Changed, this, [this] {
        if (!m_saving)
            FilesChangedOnDisk(false);
    });
    // Whether the file manager runs is looked up off the window's thread, now and then.
    auto *poll = new QTimer(this);
    poll->setInterval(4000);
    connect(poll, &QTimer::timeout, this, &frmMain::pollFileManager);
    poll->start();
    // The list's context menu is the Edit menu, on every section but the overview;
    // the context-menu key acts like the right button.
    auto showEditMenu = [this] {
        if (!isName(selectedSection(), cSectionsData::RootNode()))
            m_editMenu->popup(QCursor::pos());
    };
    connect(m_list, &HistoryList::MouseUp, this, [showEditMenu](int button, int, int, int) {
        if (button == 2)
            showEditMenu();
    });
    connect(m_list, &HistoryList::KeyUp, this, [this, showEditMenu](int keyCode, int) {
        if (keyCode == 93)
            showEditMenu();
        else if (keyCode == 13)
            m_list->SwitchToSectionWindow();
    });
    // The tree's menu acts on the selected node, not on the one under the pointer.
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this] {
        if (!isName(selectedSection(), cSectionsData::RootNode()))
            m_treeMenu->popup(QCursor::pos());
    });

    m_splitter->installEventFilter(this);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this](int position) {
        if (!m_splitRules.DragTo(position * cSplitter::kTwipsPerPixel))
            placeSplitter();   // refused: the bar goes back
        m_context.settings.SplitPosition = qMax(cSplitter::kTwipsPerPixel, m_splitRules.SplitPosition());
    });
    setVerticalPanels(context.settings.VerticalPanels);
    m_mru.setItemsChanged([this] { showRecentFiles(); });
    m_mru.Setup(context.settings.NumberOfRecentFiles, context.language.GetLanguageString(108),
                context.language.GetLanguageString(109), context.language.GetLanguageString(3009),
                context.settings.RecentFilesSeparator);
    m_mru.ReadList(context.settings.SettingsFile(), QStringLiteral("Calvenor"), QStringLiteral("RecentFiles"));
    showRecentFiles();
    m_toolbar->setVisible(context.settings.ToolbarVisible);
    action(Command::ViewToolbar)->setChecked(context.settings.ToolbarVisible);
    SetSaveButtonState(false);
    ApplyLanguage();
    ApplyLook();
    m_listWidget->SetFolderCheck(m_folders);
    action(Command::FindNext)->setEnabled(false);   // until the find dialog has a text
    // The window sees its keys before the focused control does (Ctrl+Shift+Del).
    qApp->installEventFilter(this);
    // The stored placement (twips) is the normal one; a maximised exit opens maximised.
    const WindowPlacement &place = context.settings.MainWindowPosition;
    constexpr int twips = cSplitter::kTwipsPerPixel;
    setGeometry(place.left / twips, place.top / twips, place.width / twips, place.height / twips);
    if (context.settings.MainWindowMaxmized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

frmMain::~frmMain()
{
    // An edit still open would be finished by its editor's destruction, when the
    // window is half torn down: it is finished now, and nothing reaches the window
    // afterwards. The stack empties as it goes; the window must not hear of that either.
    m_listWidget->FinishOpenEdit();
    m_list->disconnect(this);
    m_edits->stack()->disconnect(this);
    m_edits->disconnect(this);
}

void frmMain::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const MenuEntry &entry : MenuTable()) {
        const QString name = QString::fromLatin1(entry.objectName);
        if (*entry.menu == '\0') {
            QMenu *menu = menuBar()->addMenu(QString());
            menu->setObjectName(name);
            menus.insert(name, menu);
            SetLanguageId(menu->menuAction(), entry.languageId);
            continue;
        }
        QMenu *parentMenu = menus.value(QString::fromLatin1(entry.menu));
        if (name == u"mnuFileRecentGroup") {
            m_recentMenu = parentMenu->addMenu(QString());
            m_recentMenu->setObjectName(name);
            SetLanguageId(m_recentMenu->menuAction(), entry.languageId);
            continue;
        }
        QAction *item = entry.languageId == 0 ? parentMenu->addSeparator() : parentMenu->addAction(QString());
        item->setObjectName(name);
        if (entry.languageId == 0)
            continue;
        SetLanguageId(item, entry.languageId);
        if (*entry.shortcut != '\0')
            item->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        if (entry.command == Command::None)
            continue;
        m_actions.insert(int(entry.command), item);
        const Command command = entry.command;
        connect(item, &QAction::triggered, this, [this, command] { run(command); });
    }
    m_editMenu = menus.value(QStringLiteral("mnuEdit"));
    // The tree's menu: export or import the selected section alone.
    m_treeMenu = new QMenu(this);
    m_treeMenu->setObjectName(QStringLiteral("mnuTree"));
    const struct
    {
        const char *name;
        int languageId;
        Command command;
    } treeItems[] = {{"mnuTreeExport", 112, Command::TreeExport}, {"mnuTreeImport", 113, Command::TreeImport}};
    for (const auto &entry : treeItems) {
        QAction *item = m_treeMenu->addAction(QString());
        item->setObjectName(QString::fromLatin1(entry.name));
        SetLanguageId(item, entry.languageId);
        m_actions.insert(int(entry.command), item);
        const Command command = entry.command;
        connect(item, &QAction::triggered, this, [this, command] { run(command); });
        if (entry.command == Command::TreeExport)
            m_treeMenu->addSeparator()->setObjectName(QStringLiteral("mnuTreeSep1"));
    }
    action(Command::ViewToolbar)->setCheckable(true);
    action(Command::ViewVerticalPanels)->setCheckable(true);
    if (QMenu *file = menus.value(QStringLiteral("mnuFile")))
        connect(file, &QMenu::aboutToShow, this, &frmMain::UpdateRestartCommandState);
}

void frmMain::buildToolbar()
{
    for (const ToolbarEntry &entry : ToolbarTable()) {
        if (*entry.key == '\0') {
            m_toolbar->addSeparator();
            continue;
        }
        // The button shares the menu item's action: one enabled state for both.
        QAction *item = action(entry.command);
        auto *button = new QToolButton(m_toolbar);
        button->setObjectName(QString::fromLatin1(entry.key));
        button->setDefaultAction(item);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        item->setIcon(QIcon::fromTheme(QString::fromLatin1(entry.themeIcon), fallbackIcon(entry.command, *style())));
        if (entry.command == Command::Open) {
            m_openDropDown = new QMenu(button);
            m_openDropDown->setObjectName(QStringLiteral("OpenDropDown"));
            button->setMenu(m_openDropDown);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (entry.command == Command::Save) {
            auto *dropDown = new QMenu(button);
            dropDown->addAction(action(Command::SaveAndRestart));
            connect(dropDown, &QMenu::aboutToShow, this, &frmMain::UpdateRestartCommandState);
            button->setMenu(dropDown);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        m_toolbar->addWidget(button);
    }
}

void frmMain::ApplyLanguage()
{
    const cLanguage &language = m_context.language;
    ApplyQtLanguage(*this, language, m_context.qtTranslations);
    ApplyFormLanguage(*this, m_context.language, m_person);   // menus and toolbar included
    const QString selected = selectedSection();
    m_tree->blockSignals(true);
    m_tree->clear();
    BuildSectionTree(*m_tree, language);
    m_tree->setAccessibleName(language.GetLanguageString(3322));
    m_tree->blockSignals(false);
    m_listWidget->ChangeLanguage();
    m_mru.ChangeLanguage(language.GetLanguageString(108), language.GetLanguageString(109),
                         language.GetLanguageString(3009));
    SelectTreeNode(selected.isEmpty() ? cSectionsData::RootNode() : selected);
}

void frmMain::showRecentFiles()
{
    // The menu and the Open button's drop-down hold the same items at the same indexes.
    for (QMenu *menu : {m_recentMenu, m_openDropDown}) {
        if (!menu)
            continue;
        menu->clear();
        const QList<RecentFilesItem> &items = m_mru.MenuItems();
        for (int index = 1; index < items.size(); ++index) {
            const RecentFilesItem &entry = items[index];
            if (entry.caption == u"-") {
                menu->addSeparator();
                continue;
            }
            QAction *item = menu->addAction(entry.caption);
            item->setObjectName(QStringLiteral("mnuFileRecentFiles_%1").arg(index));
            item->setVisible(entry.visible);
            item->setEnabled(entry.enabled);
            connect(item, &QAction::triggered, this, [this, index] { RecentFileChosen(index); });
        }
    }
}

void frmMain::RecentFileChosen(int index)
{
    const QString settingsFile = m_context.settings.SettingsFile();
    if (index == m_mru.Max() + 2) {
        if (m_mru.Clear())
            m_mru.SaveList(settingsFile, QStringLiteral("Calvenor"), QStringLiteral("RecentFiles"));
        return;
    }
    const QStringList pair = m_mru.ListItems(index).split(m_context.settings.RecentFilesSeparator);
    const QString wincmd = m_context.paths.ExpandPath(pair.value(0));
    const QString wcxftp = m_context.paths.ExpandPath(pair.value(1));
    for (const QString &file : {wincmd, wcxftp}) {
        if (m_context.paths.FileExists(file))
            continue;
        m_person.ShowMessage(m_context.language.GetLanguageString(3021) + u' ' + file + QStringLiteral("\n\n")
                                 + m_context.language.GetLanguageString(3022),
                             MessageIcon::Warning);
        m_mru.RemoveFile(index, true);
        m_mru.SaveList(settingsFile, QStringLiteral("Calvenor"), QStringLiteral("RecentFiles"));
        return;
    }
    if (QuerySaveChanges())
        OpenIniFiles(wincmd, wcxftp);
}

int frmMain::OpenLocatedFiles()
{
    // The pair found on its own is not one the person chose: it stays out of the list.
    return OpenIniFiles(m_context.locator.FindWincmdIni(), m_context.locator.FindWcxftpIni(), false);
}

int frmMain::OpenIniFiles(const QString &wincmd, const QString &wcxftp, bool addToRecent)
{
    m_wincmd = wincmd;
    m_wcxftp = wcxftp;
    m_restarter.setIniFiles(wincmd, wcxftp);
    const int error = m_list->ReadAllHistorySections(wincmd, wcxftp);
    m_edits->Reset();   // nothing of the other files can be undone here
    m_disk->Watch({wincmd, wcxftp});
    m_folders->Clear();
    pollFileManager();
    SetSaveButtonState(false);
    if (addToRecent && !wincmd.isEmpty()) {
        m_mru.AddFile(wincmd + m_context.settings.RecentFilesSeparator + wcxftp);
        m_mru.SaveList(m_context.settings.SettingsFile(), QStringLiteral("Calvenor"), QStringLiteral("RecentFiles"));
    }
    SetTitleBar();
    SelectTreeNode(cSectionsData::RootNode());
    if (QTreeWidgetItem *root = FindSectionNode(*m_tree, cSectionsData::RootNode()))
        nodeClicked(root);
    return error;
}

QString frmMain::selectedSection() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item ? item->data(0, kSectionKeyRole).toString() : QString();
}

void frmMain::nodeClicked(QTreeWidgetItem *item)
{
    const QString key = item->data(0, kSectionKeyRole).toString();
    m_listWidget->SetShownSection(cSectionsData::Title(key, m_context.language));
    m_list->ShowSelectedSection(key, false);
    SetButtonsState(key);
}

void frmMain::SetTitleBar()
{
    const QStringList version = QCoreApplication::applicationVersion().split(u'.');
    const cSettings &settings = m_context.settings;
    setWindowTitle(TitleBarCaption(m_wincmd + settings.RecentFilesSeparator + m_wcxftp, QString(),
                                   QCoreApplication::applicationName(),
                                   VersionText(version.value(0).toInt(), version.value(1).toInt(), version.value(2).toInt()),
                                   settings.FullPathInTitleBar, settings.RecentFilesSeparator));
}

void frmMain::SetButtonsState(const QString &section)
{
    bool canMove = false;
    bool canAdd = false;
    const bool fixed = isName(section, cSectionsData::RootNode()) || isName(section, cSectionsData::AttrPlugin())
        || isName(section, cSectionsData::SyncOptions()) || isName(section, cSectionsData::Searches())
        || isName(section, cSectionsData::Rename());
    if (!fixed) {
        canMove = true;
        canAdd = !isName(section, cSectionsData::LeftTabs()) && !isName(section, cSectionsData::RightTabs());
    }
    action(Command::AddItem)->setEnabled(canAdd);
    SetUpDownButtonsState(canMove && m_list->mlngListCount != 0);
}

void frmMain::SetUpDownButtonsState(bool enabled)
{
    action(Command::MoveUp)->setEnabled(enabled);
    action(Command::MoveDown)->setEnabled(enabled);
}

void frmMain::SetSaveButtonState(bool blnState)
{
    mblnSavePending = blnState;
    action(Command::Save)->setEnabled(blnState);
    action(Command::ReviewChanges)->setEnabled(blnState);   // it tells what a save would do
    // Whether the file manager runs is asked when a menu or drop-down opens, not on
    // every edit (it walks the process list).
    if (!blnState)
        action(Command::SaveAndRestart)->setEnabled(false);
}

void frmMain::UpdateRestartCommandState()
{
    action(Command::SaveAndRestart)->setEnabled(action(Command::Save)->isEnabled() && m_restarter.FindFileManagerWindow());
}

void frmMain::SelectTreeNode(const QString &key)
{
    if (QTreeWidgetItem *item = FindSectionNode(*m_tree, key)) {
        const QSignalBlocker blocker(m_tree);
        m_tree->setCurrentItem(item);
    }
}

QList<SectionTreeNode> frmMain::RootChildren() const
{
    QList<SectionTreeNode> nodes;
    const QTreeWidgetItem *root = m_tree->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) {
        const QTreeWidgetItem *child = root->child(i);
        nodes.append({child->data(0, kSectionKeyRole).toString(), child->text(0),
                      child->data(0, kSectionImageRole).toString()});
    }
    return nodes;
}

bool frmMain::IsOverviewSelected(bool blnShowMessage)
{
    if (!isName(selectedSection(), cSectionsData::RootNode()))
        return false;
    if (blnShowMessage)
        m_person.ShowMessage(m_context.language.GetLanguageString(3092), MessageIcon::Information);
    return true;
}

void frmMain::run(Command command)
{
    switch (command) {
    case Command::Save: saveCommand(false); break;
    case Command::SaveAndRestart: saveCommand(true); break;
    case Command::ReviewChanges:
        if (ReviewChanges())
            saveCommand(false, true);
        break;
    case Command::Exit: close(); break;
    case Command::AddItem: m_list->AddNewItem(selectedSection()); break;
    case Command::Delete:
        if (!IsOverviewSelected(true))
            m_list->DeleteSelectedItem();
        break;
    case Command::Rename:
        if (!IsOverviewSelected(true))
            m_list->RenameSelectedItem();
        break;
    case Command::MoveUp: m_list->MoveSelectedItemUp(); break;
    case Command::MoveDown: m_list->MoveSelectedItemDown(); break;
    case Command::ViewToolbar: {
        m_context.settings.ToolbarVisible = !m_context.settings.ToolbarVisible;
        m_toolbar->setVisible(m_context.settings.ToolbarVisible);
        action(Command::ViewToolbar)->setChecked(m_context.settings.ToolbarVisible);
        break;
    }
    case Command::ViewVerticalPanels:
        setVerticalPanels(m_context.settings.VerticalPanels == 1 ? 2 : 1);
        break;
    case Command::HelpTopics: ShowHelpFile(); break;
    case Command::Open: openWithDialog(); break;
    case Command::Export: showImportExport(true); break;
    case Command::Import: showImportExport(false); break;
    case Command::RestoreBackup: showRestoreBackup(); break;
    case Command::DeleteAll: ShowDeleteAllDialog(false); break;
    case Command::Find: showFind(); break;
    case Command::FindNext:
        if (m_find)
            m_find->FindNextString();
        break;
    case Command::Options: showOptions(); break;
    case Command::About: showAbout(); break;
    case Command::TreeExport: TransferSelectedSection(true); break;
    case Command::TreeImport: TransferSelectedSection(false); break;
    case Command::RemoveDuplicates: RemoveDuplicates(); break;
    case Command::RemoveMissingFolders: RemoveMissingFolders(); break;
    case Command::Undo: m_edits->stack()->undo(); break;
    case Command::Redo: m_edits->stack()->redo(); break;
    case Command::None: break;
    }
}

void frmMain::setVerticalPanels(int direction)
{
    m_context.settings.VerticalPanels = direction == 2 ? 2 : 1;
    m_splitter->setOrientation(direction == 2 ? Qt::Vertical : Qt::Horizontal);
    action(Command::ViewVerticalPanels)->setChecked(direction != 2);
    // Created anew in the other direction: a position beyond the new extent goes to
    // the middle.
    m_splitRules.Resize(m_splitter->height() * cSplitter::kTwipsPerPixel, m_splitter->width() * cSplitter::kTwipsPerPixel);
    m_splitRules.CreateSplitter(m_context.settings.VerticalPanels, m_context.settings.SplitPosition,
                                3 * cSplitter::kTwipsPerPixel);
    placeSplitter();
}

void frmMain::placeSplitter()
{
    const int bar = m_splitRules.barPosition() / cSplitter::kTwipsPerPixel;
    const int extent = m_splitter->orientation() == Qt::Horizontal ? m_splitter->width() : m_splitter->height();
    const QSignalBlocker blocker(m_splitter);
    m_splitter->setSizes({bar, qMax(1, extent - bar - m_splitter->handleWidth())});
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Reopens Delete All with last time's ticks, wherever the focus is.
        if (key->key() == Qt::Key_Delete && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
            ShowDeleteAllDialog(true);
            return true;
        }
    }
    if (watched == m_splitter && event->type() == QEvent::Resize) {
        m_splitRules.Resize(m_splitter->height() * cSplitter::kTwipsPerPixel,
                            m_splitter->width() * cSplitter::kTwipsPerPixel);
        placeSplitter();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::saveCommand(bool restart, bool reviewed)
{
    m_listWidget->FinishOpenEdit();   // what is typed in the list is part of the save
    if (!reviewed && m_context.settings.ReviewBeforeSave && !ReviewChanges())
        return;
    // Another program wrote the files since they were loaded: the person decides.
    if (!m_disk->ChangedFiles().isEmpty() && !FilesChangedOnDisk(true))
        return;
    m_saving = true;
    const QScopeGuard saved([this] { m_saving = false; });
    const bool restarting = restart || m_context.settings.AlwaysRestartTC;
    // While the file manager is closed and started, the window takes no input but
    // keeps painting (the restarter's waits let events run).
    const bool wasEnabled = isEnabled();
    if (restarting) {
        setEnabled(false);
        m_restarter.RestartFileManager(true, true, QStringLiteral(" /i="));
    }
    const int error = m_list->SaveAllHistorySections(m_wincmd, m_wcxftp);
    if (error != 0) {
        // The files that were written are ours now, whatever became of the other one.
        m_disk->Accept(m_context.profile.FailedFiles());
        // What could not be written stays pending, and the person hears why.
        QStringList failed = m_context.profile.FailedFiles().values();
        failed.sort();
        m_person.ShowMessage(FileFailureText(true, error, failed.join(QStringLiteral(", ")), m_context.language),
                             MessageIcon::Error);
    } else {
        m_edits->MarkSaved();
        m_disk->Accept();
        SetSaveButtonState(false);
    }
    if (restarting) {
        m_restarter.RestartFileManager(false, true, m_wcxftp.isEmpty() ? QStringLiteral(" /i=")
                                                                       : QStringLiteral(" /f=") + m_wcxftp + QStringLiteral(" /i="));
        setEnabled(wasEnabled);
    }
}

void frmMain::ShowHelpFile()
{
    const cSettings &settings = m_context.settings;
    const QString guide = HelpFilePath(DataFolder(m_context.paths.AppFolder()), settings.UseDefaultLanguage,
                                       m_context.paths.ExpandPath(settings.LanguageFile));
    if (guide.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(guide)))
        m_person.ShowMessage(m_context.language.GetLanguageString(3056), MessageIcon::Error);
}

bool frmMain::QuerySaveChanges()
{
    m_listWidget->FinishOpenEdit();
    if (!mblnSavePending)
        return true;
    // Both files: a change of FTP Old Connections goes into wcx_ftp.ini.
    const MessageAnswer answer =
        m_person.ShowMessage(m_context.language.GetLanguageString(3020) + u'\n' + m_wincmd + u'\n' + m_wcxftp,
                             MessageIcon::Warning, MessageButtons::YesNoCancel, MessageAnswer::Yes);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::Yes) {
        saveCommand(false);
        return !mblnSavePending;   // a failed save keeps the window open
    }
    return true;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!QuerySaveChanges()) {
        event->ignore();
        return;
    }
    // Kept for the next start (written with the other layout keys); never below a pixel.
    m_context.settings.SplitPosition = qMax(cSplitter::kTwipsPerPixel, m_splitRules.SplitPosition());
    m_context.settings.MainWindowMaxmized = isMaximized();
    if (!isMaximized()) {
        constexpr int twips = cSplitter::kTwipsPerPixel;
        const QRect normal = normalGeometry();
        m_context.settings.MainWindowPosition = {normal.top() * twips, normal.left() * twips, normal.height() * twips,
                                                 normal.width() * twips};
    }
    if (m_find)
        m_find->Unload();
    event->accept();
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2) {
        run(Command::Rename);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmMain::ShowProgressBar(const QString &caption, int maximum)
{
    if (!m_progress) {
        m_progress = new QProgressDialog(this);
        m_progress->setObjectName(QStringLiteral("frmProgress"));
        m_progress->setCancelButton(nullptr);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setWindowModality(Qt::NonModal);
    }
    // The focus comes back where it was when the progress window goes (disabling the
    // tree would otherwise move it on for good).
    if (!m_progress->isVisible())
        m_focusBeforeProgress = QApplication::focusWidget();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mlngProgress = 1;
    m_progress->setWindowTitle(caption + QStringLiteral("  "));
    m_progress->setLabelText(caption);
    m_progress->setRange(0, qMax(10, maximum));
    m_progress->setValue(1);
    m_progressShown.start();
    m_progress->show();
    CenterForm(*m_progress);
    m_tree->setEnabled(false);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmMain::IncreaseProgress()
{
    if (!m_progress)
        return;
    ++mlngProgress;
    if (m_progress->maximum() < mlngProgress)
        m_progress->setMaximum(m_progress->maximum() + 300);
    // The bar repaints at once whenever it moves: it is moved, and the window given a
    // chance to repaint, a few times a second rather than on every step of long work.
    if (m_progressShown.isValid() && m_progressShown.elapsed() < 40)
        return;
    m_progressShown.start();
    m_progress->setValue(mlngProgress);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmMain::HideProgressBar()
{
    if (m_progress) {
        m_progress->setValue(m_progress->maximum());
        m_progress->hide();
    }
    QApplication::restoreOverrideCursor();
    m_tree->setEnabled(true);
    if (m_focusBeforeProgress && m_focusBeforeProgress->isEnabled() && m_focusBeforeProgress->isVisible())
        m_focusBeforeProgress->setFocus(Qt::OtherFocusReason);
    m_focusBeforeProgress = nullptr;
}

QWidget *frmMain::buildListPane()
{
    auto *pane = new QWidget;
    pane->setObjectName(QStringLiteral("picListPane"));
    m_runningBar = new QFrame;
    m_runningBar->setObjectName(QStringLiteral("picRunningBar"));
    m_runningBar->setFrameShape(QFrame::StyledPanel);
    m_runningBar->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);   // never widens the pane
    auto *text = new QLabel;
    text->setObjectName(QStringLiteral("lblRunning"));
    SetLanguageId(text, 3313);
    text->setWordWrap(true);
    auto *restart = new QPushButton;
    restart->setObjectName(QStringLiteral("cmdRunningSaveAndRestart"));
    SetLanguageId(restart, 116);
    connect(restart, &QPushButton::clicked, this, [this] { saveCommand(true); });
    auto *bar = new QHBoxLayout(m_runningBar);
    bar->setContentsMargins(6, 2, 6, 2);
    bar->addWidget(text, 1);
    bar->addWidget(restart);
    m_runningBar->hide();
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_runningBar);
    layout->addWidget(m_listWidget, 1);
    return pane;
}

void frmMain::connectEditHistory()
{
    QUndoStack *stack = m_edits->stack();
    // Pending changes follow the stack: undoing back to the saved state clears them.
    connect(stack, &QUndoStack::cleanChanged, this, [this](bool clean) { SetSaveButtonState(!clean); });
    connect(stack, &QUndoStack::canUndoChanged, action(Command::Undo), &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, action(Command::Redo), &QAction::setEnabled);
    action(Command::Undo)->setEnabled(false);
    action(Command::Redo)->setEnabled(false);
    connect(m_edits, &EditHistory::Restored, this, [this](const QString &section, const QString &currentKey) {
        // The change is shown where it was made, with its row current.
        if (cSectionsData::GetSectionIndex(section) >= 0 && !isName(section, selectedSection()))
            SelectTreeNode(section);
        refreshSelectedSection();
        m_list->ClickKey(currentKey);
    });
}

void frmMain::ApplyLook()
{
    const cSettings &settings = m_context.settings;
    m_tree->setFrameShape(settings.FixedBorders ? QFrame::StyledPanel : QFrame::NoFrame);
    m_tree->setFrameShadow(settings.FlatUserInterface ? QFrame::Plain : QFrame::Sunken);
    m_listWidget->SetNewSettings(settings);
    // The tree keeps the configured face at a fixed size, without style.
    m_tree->setFont(QFont(settings.FontName, 10));
}

void frmMain::sectionsChanged(const QString &undoText)
{
    SetSaveButtonState(true);
    refreshSelectedSection();
    m_edits->Record(undoText);
}

void frmMain::refreshSelectedSection()
{
    const QString section = selectedSection();
    m_list->ShowSelectedSection(section, true);
    SetButtonsState(section);
}

} // namespace calvenor

// The main window's commands that open a dialog, and the tree menu's transfer of one
// section.
#include "frmmain.h"

#include "frmabout.h"
#include "frmdeleteall.h"
#include "frmimportexport.h"
#include "frmoptions.h"
#include "frmrestorebackup.h"
#include "frmsavereview.h"
#include "frmsearchfor.h"
#include "frmselectinifile.h"
#include "historylistwidget.h"
#include "programcontext.h"
#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "editor/historylist.h"
#include "editor/savereview.h"
#include "editor/sectiontransfer.h"

#include <algorithm>

#include <QAction>
#include <QCoreApplication>
#include <QTreeWidget>

namespace calvenor {

void frmMain::openWithDialog()
{
    // Pending changes are offered for saving before other files are chosen.
    if (!QuerySaveChanges())
        return;
    frmSelectIniFile select(m_context, m_person, m_mru, this);
    select.SetPaths(m_wincmd, m_wcxftp);
    select.setWindowTitle(m_context.language.GetLanguageString(1605));
    select.exec();
    if (!select.mblnOKPressed || select.Wincmd().isEmpty())
        return;
    OpenIniFiles(select.Wincmd(), select.Wcxftp());
}

void frmMain::showImportExport(bool isExport)
{
    frmImportExport dialog(isExport, m_context, m_person, *m_list, m_mru, *this, selectedSection(), this);
    dialog.exec();
    if (dialog.Imported())
        sectionsChanged(m_context.language.GetLanguageString(1603));
}

void frmMain::showRestoreBackup()
{
    frmRestoreBackup dialog(m_context, m_person, *m_list, this);
    if (!dialog.OpenStartingBackup() || dialog.exec() != QDialog::Accepted)
        return;
    // What came back is shown: the overview shows it anyway, another section gives way.
    const QStringList restored = dialog.RestoredSections();
    const QString shown = selectedSection();
    if (!restored.isEmpty() && !FoldedKey::equalIgnoringCase(shown, cSectionsData::RootNode())
        && std::none_of(restored.cbegin(), restored.cend(), [&](const QString &s) { return FoldedKey::equalIgnoringCase(s, shown); }))
        SelectTreeNode(restored.first());
    sectionsChanged(m_context.language.GetLanguageString(3345));
}

void frmMain::ShowDeleteAllDialog(bool blnRestore)
{
    frmDeleteAll dialog(m_context, m_person, *m_list, this);
    dialog.RestoreSelection(blnRestore, selectedSection());
    dialog.exec();
    if (dialog.Cleared())
        sectionsChanged(m_context.language.GetLanguageString(1650));
    else
        refreshSelectedSection();
}

void frmMain::showFind()
{
    if (!m_find) {
        m_find = new frmSearchFor(m_context, m_person, *m_list, this);
        connect(m_find, &frmSearchFor::FindNextEnabledChanged, this,
                [this](bool enabled) { action(Command::FindNext)->setEnabled(enabled); });
        action(Command::FindNext)->setEnabled(m_find->find().findNextEnabled());
    }
    m_find->setSearchStartPosition(1);
    m_find->PreSelectText();
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

void frmMain::showOptions()
{
    const QString languageFile = m_context.settings.LanguageFile;
    const bool useDefault = m_context.settings.UseDefaultLanguage;
    frmOptions dialog(m_context, m_person, [this] { ApplyLook(); }, this);
    dialog.exec();
    if (useDefault == m_context.settings.UseDefaultLanguage
        && languageFile.compare(m_context.settings.LanguageFile, Qt::CaseInsensitive) == 0)
        return;
    ApplyLanguage();
    ApplyLook();
    SelectTreeNode(cSectionsData::RootNode());
    if (m_find)
        m_find->ApplyLanguage();
}

bool frmMain::ReviewChanges()
{
    m_listWidget->FinishOpenEdit();   // what is typed is part of the save
    const std::vector<SectionReview> review = SaveReview(m_context.profile).Review(m_list->store(), m_wincmd, m_wcxftp);
    frmSaveReview dialog(review, m_context, m_person, this);
    return dialog.exec() == QDialog::Accepted;
}

void frmMain::showAbout()
{
    frmAbout about(m_context, m_person, QCoreApplication::applicationVersion(), [this] { ShowHelpFile(); }, this);
    about.exec();
}

void frmMain::TransferSelectedSection(bool blnExport)
{
    QTreeWidgetItem *node = m_tree->currentItem();
    const QString section = selectedSection();
    if (!node || section.isEmpty() || FoldedKey::equalIgnoringCase(section, cSectionsData::RootNode()))
        return;
    const QString folder = mstrLastSectionFile.isEmpty() ? m_context.paths.variable(QStringLiteral("Commander_Path"))
                                                         : folderOf(mstrLastSectionFile);
    const QString title = m_context.language.GetLanguageString(blnExport ? 1604 : 1603) + u' ' + node->text(0);
    const bool ftp = FoldedKey::equalIgnoringCase(section, cSectionsData::OldConnections());
    cCommonDialog &dialog = m_context.dialog;
    dialog.ShowOpenDialog(folder, ftp ? QStringLiteral("Wcx_ftp.ini") : QStringLiteral("Wincmd.ini"), ftp ? 2 : 1,
                          title, !blnExport);
    if (!dialog.Success)
        return;
    mstrLastSectionFile = dialog.FileName;
    SectionTransfer transfer(*m_list, m_context.profile, m_person, m_context.language);
    if (blnExport) {
        transfer.Export({section}, mstrLastSectionFile, mstrLastSectionFile);
        return;
    }
    if (transfer.Import({section}, mstrLastSectionFile, mstrLastSectionFile))
        sectionsChanged(m_context.language.GetLanguageString(1603));
}

} // namespace calvenor

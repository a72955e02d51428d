#include "frmimportexport.h"

#include "centerform.h"
#include "formlanguage.h"
#include "frmselectinifile.h"
#include "programcontext.h"
#include "sectionchecktree.h"
#include "core/progresshost.h"
#include "editor/historylist.h"
#include "editor/sectionselection.h"
#include "editor/sectiontransfer.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace calvenor {

frmImportExport::frmImportExport(bool isExport, ProgramContext &context, PersonInterface &person, HistoryList &list,
                                 const cRecentFiles &recent, ProgressHost &progress, const QString &selectedKey,
                                 QWidget *parent)
    : QDialog(parent)
    , mblnFormIsExport(isExport)
    , m_context(context)
    , m_person(person)
    , m_list(list)
    , m_recent(recent)
    , m_progress(progress)
    , m_tree(new SectionCheckTree)
{
    setObjectName(QStringLiteral("frmImportExport"));
    SetLanguageId(this, isExport ? 1604 : 1603);
    QLabel *label = AddLanguageLabel("Label1", isExport ? 1602 : 1601);
    auto *buttons = new QDialogButtonBox;
    m_ok = AddDialogButton(*buttons, QDialogButtonBox::AcceptRole, "cmdOK", isExport ? 112 : 113);
    AddDialogButton(*buttons, QDialogButtonBox::RejectRole, "cmdCancel", 1009);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);

    m_tree->Build(context.language, context.settings, selectedKey);
    ApplyFormLanguage(*this, context.language, person);
    // The tree is named by the line above it ("Check section(s) to export.").
    m_tree->setAccessibleName(findChild<QLabel *>(QStringLiteral("Label1"))->text());
    m_tree->SetCheckedPositions(SectionSelection::Restore(context.settings, selectionKey(), m_tree->NodeCount()));
    connect(m_tree, &SectionCheckTree::ChecksChanged, this, &frmImportExport::UpdateImportExportButtons);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmImportExport::okClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateImportExportButtons();
    resize(360, 480);
    CenterForm(*this);
}

frmImportExport::~frmImportExport() = default;

QString &frmImportExport::RememberedWincmd()
{
    static QString path;
    return path;
}

QString &frmImportExport::RememberedWcxftp()
{
    static QString path;
    return path;
}

QString frmImportExport::selectionKey() const
{
    return mblnFormIsExport ? QStringLiteral("ExportSelection") : QStringLiteral("ImportSelection");
}

void frmImportExport::UpdateImportExportButtons()
{
    m_ok->setEnabled(!m_tree->CheckedSections().isEmpty());
}

void frmImportExport::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_tree->setFocus();
    greyEmptySections();
}

void frmImportExport::greyEmptySections()
{
    // Sections without entries are shown grey on export; they can still be ticked.
    if (!mblnFormIsExport)
        return;
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) {
        const QString key = root->child(i)->data(0, Qt::UserRole).toString();
        m_tree->SetGreyed(key, m_list.store().GetStartEnd(key).start < 0);
    }
}

void frmImportExport::okClicked()
{
    frmSelectIniFile select(m_context, m_person, m_recent, this);
    select.SetPaths(RememberedWincmd(), RememberedWcxftp());
    select.mblnExport = mblnFormIsExport;
    select.setWindowTitle(m_context.language.GetLanguageString(mblnFormIsExport ? 1604 : 1603));
    select.exec();
    // Cancel there comes back here with the ticks as they were.
    if (!select.mblnOKPressed)
        return;
    RememberedWincmd() = select.Wincmd();
    RememberedWcxftp() = select.Wcxftp();
    hide();
    SectionTransfer transfer(m_list, m_context.profile, m_person, m_context.language);
    const QStringList sections = m_tree->CheckedSections();
    m_progress.ShowProgressBar(m_context.language.GetLanguageString(mblnFormIsExport ? 3253 : 3252), 500);
    SectionSelection::Save(m_context.settings, selectionKey(), m_tree->CheckedPositions());
    if (mblnFormIsExport)
        transfer.Export(sections, RememberedWincmd(), RememberedWcxftp());
    else
        m_imported = transfer.Import(sections, RememberedWincmd(), RememberedWcxftp());
    m_progress.HideProgressBar();
    accept();
}

} // namespace calvenor

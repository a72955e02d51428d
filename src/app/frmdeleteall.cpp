#include "frmdeleteall.h"

#include "centerform.h"
#include "formlanguage.h"
#include "programcontext.h"
#include "sectionchecktree.h"
#include "core/csectionsdata.h"
#include "editor/historylist.h"
#include "editor/sectionselection.h"
#include "editor/sectiontransfer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace calvenor {
namespace {

const QString kSelectionKey = QStringLiteral("DelAllSelection");

} // namespace

frmDeleteAll::frmDeleteAll(ProgramContext &context, PersonInterface &person, HistoryList &list, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_person(person)
    , m_list(list)
    , m_tree(new SectionCheckTree)
    , m_lockedToo(new QCheckBox)
{
    setObjectName(QStringLiteral("frmDeleteAll"));
    SetLanguageId(this, 1650);
    QLabel *label = AddLanguageLabel("Label1", 1651);
    m_lockedToo->setObjectName(QStringLiteral("Check1"));
    SetLanguageId(m_lockedToo, 1652);
    // Said only where rules exist, so that entries staying behind are no surprise.
    QLabel *keepNote = AddLanguageLabel("lblKeepRules", 3373);
    keepNote->setWordWrap(true);
    keepNote->setVisible(!context.settings.keepRules().isEmpty());
    auto *buttons = new QDialogButtonBox;
    m_ok = AddDialogButton(*buttons, QDialogButtonBox::AcceptRole, "cmdOK", 1008);
    AddDialogButton(*buttons, QDialogButtonBox::RejectRole, "cmdCancel", 1009);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_lockedToo);
    layout->addWidget(keepNote);
    layout->addWidget(buttons);

    connect(m_tree, &SectionCheckTree::ChecksChanged, this, &frmDeleteAll::UpdateDeleteAllControls);
    // The middle button brings last time's choice back.
    connect(m_tree, &SectionCheckTree::MiddleButtonReleased, this, &frmDeleteAll::restoreSaved);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmDeleteAll::okClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(360, 500);
}

void frmDeleteAll::RestoreSelection(bool blnRestore, const QString &selectedKey)
{
    m_tree->Build(m_context.language, m_context.settings, selectedKey);
    ApplyFormLanguage(*this, m_context.language, m_person);
    // The tree is named by the line above it ("Check section(s) to export.").
    m_tree->setAccessibleName(findChild<QLabel *>(QStringLiteral("Label1"))->text());
    if (blnRestore) {
        restoreSaved();
    } else {
        m_tree->SetChecked(selectedKey, true);   // the overview's root ticks every section
    }
    UpdateDeleteAllControls();
    CenterForm(*this);
}

void frmDeleteAll::restoreSaved()
{
    m_tree->SetCheckedPositions(SectionSelection::Restore(m_context.settings, kSelectionKey, m_tree->NodeCount()));
    UpdateDeleteAllControls();
}

void frmDeleteAll::UpdateDeleteAllControls()
{
    const bool tabs = m_tree->IsChecked(cSectionsData::LeftTabs()) || m_tree->IsChecked(cSectionsData::RightTabs());
    m_lockedToo->setEnabled(tabs);
    if (!tabs)
        m_lockedToo->setChecked(false);
    m_ok->setEnabled(!m_tree->CheckedSections().isEmpty());
}

void frmDeleteAll::okClicked()
{
    SectionTransfer(m_list, m_context.profile, m_person, m_context.language)
        .Clear(m_tree->CheckedSections(), m_lockedToo->isChecked(), m_context.settings.keepRules());
    // A single ticked node is not remembered: the last choice of several stays.
    const QList<bool> checked = m_tree->CheckedPositions();
    if (std::count(checked.cbegin(), checked.cend(), true) > 1)
        SectionSelection::Save(m_context.settings, kSelectionKey, checked);
    m_cleared = true;
    accept();
}

} // namespace calvenor

#include "frmsavereview.h"

#include "centerform.h"
#include "formlanguage.h"
#include "programcontext.h"
#include "editor/filefailure.h"
#include "editor/savereviewtext.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace calvenor {
namespace {

// Up to this many changes every section is open; beyond, the sections show their
// counts and open on request.
constexpr size_t kOpenSectionsUpTo = 200;

} // namespace

frmSaveReview::frmSaveReview(const std::vector<SectionReview> &review, ProgramContext &context,
                             PersonInterface &person, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_tree(new QTreeWidget)
{
    setObjectName(QStringLiteral("frmSaveReview"));
    SetLanguageId(this, 3392);
    QLabel *label = AddLanguageLabel("lblReview", review.empty() ? 3394 : 3393);
    label->setWordWrap(true);
    m_tree->setObjectName(QStringLiteral("tvwReview"));
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);   // long lists lay out without measuring each row
    m_tree->setVisible(!review.empty());
    auto *buttons = new QDialogButtonBox;
    QPushButton *save = AddDialogButton(*buttons, QDialogButtonBox::AcceptRole, "cmdSave", 104);
    AddDialogButton(*buttons, QDialogButtonBox::RejectRole, "cmdClose", 3395);
    save->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const bool rightToLeft = ApplyFormLanguage(*this, context.language, person);
    // The tree is named by the line above it.
    m_tree->setAccessibleName(label->text());
    fill(review, rightToLeft);
    if (review.empty())
        save->setFocus();
    else
        m_tree->setFocus();
    resize(review.empty() ? QSize(420, 120) : QSize(640, 460));
    CenterForm(*this);
}

void frmSaveReview::fill(const std::vector<SectionReview> &review, bool rightToLeft)
{
    const LanguageSource &language = m_context.language;
    const SaveReviewText::EntryWrap wrap = rightToLeft ? &IsolatedDirection : nullptr;
    size_t total = 0;
    for (const SectionReview &section : review)
        total += section.changes.size();
    // Per file, in the order the sections come; the items are made before the tree
    // sees them, so a long list is one insertion.
    QList<QTreeWidgetItem *> files;
    for (const SectionReview &section : review) {
        QTreeWidgetItem *file = nullptr;
        for (QTreeWidgetItem *known : std::as_const(files)) {
            if (known->data(0, Qt::UserRole).toString() == section.file)
                file = known;
        }
        if (!file) {
            file = new QTreeWidgetItem({wrap ? wrap(section.file) : section.file});
            file->setData(0, Qt::UserRole, section.file);
            file->setToolTip(0, section.file);
            files << file;
            if (section.readError != 0)
                file->addChild(new QTreeWidgetItem({FileFailureText(false, section.readError, section.file, language)}));
        }
        auto *heading = new QTreeWidgetItem(file, {SaveReviewText::Section(section, language)});
        QList<QTreeWidgetItem *> changes;
        changes.reserve(qsizetype(section.changes.size()));
        for (const ReviewChange &change : section.changes)
            changes << new QTreeWidgetItem({SaveReviewText::Change(change, language, wrap)});
        heading->addChildren(changes);
    }
    m_tree->addTopLevelItems(files);
    for (QTreeWidgetItem *file : std::as_const(files)) {
        file->setExpanded(true);
        for (int i = 0; total <= kOpenSectionsUpTo && i < file->childCount(); ++i)
            file->child(i)->setExpanded(true);
    }
    if (!files.isEmpty())
        m_tree->setCurrentItem(files.first());
}

} // namespace calvenor

#include "frmrestorebackup.h"

#include "centerform.h"
#include "formlanguage.h"
#include "programcontext.h"
#include "core/csectionsdata.h"
#include "editor/filefailure.h"
#include "editor/historylist.h"
#include "editor/historyrestore.h"
#include "settings/csettings.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace calvenor {
namespace {

const QString kOwnSection = QString::fromUtf16(cSettings::kOwnSection);
const QString kLastBackupKey = QString::fromUtf16(kLastBackupFileKey);
constexpr int kSectionRole = Qt::UserRole;

} // namespace

frmRestoreBackup::frmRestoreBackup(ProgramContext &context, PersonInterface &person, HistoryList &list,
                                   QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_person(person)
    , m_list(list)
    , m_file(new QLineEdit)
    , m_blocks(new QTreeWidget)
    , m_sections(new QTreeWidget)
    , m_add(new QRadioButton)
    , m_replace(new QRadioButton)
{
    setObjectName(QStringLiteral("frmRestoreBackup"));
    SetLanguageId(this, 3345);
    m_file->setObjectName(QStringLiteral("txtBackupFile"));
    m_file->setReadOnly(true);
    auto *browse = new QPushButton;
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    SetLanguageId(browse, 3347);
    m_blocks->setObjectName(QStringLiteral("lstRuns"));
    m_blocks->setRootIsDecorated(false);
    m_blocks->setUniformRowHeights(true);
    m_blocks->setColumnCount(3);
    m_sections->setObjectName(QStringLiteral("lstSections"));
    m_sections->setRootIsDecorated(false);
    m_sections->setColumnCount(2);
    m_add->setObjectName(QStringLiteral("optAdd"));
    SetLanguageId(m_add, 3353);
    m_add->setChecked(true);   // nothing in the list is lost unless the person asks
    m_replace->setObjectName(QStringLiteral("optReplace"));
    SetLanguageId(m_replace, 3354);
    auto *buttons = new QDialogButtonBox;
    m_restore = AddDialogButton(*buttons, QDialogButtonBox::AcceptRole, "cmdRestore", 3355);
    AddDialogButton(*buttons, QDialogButtonBox::RejectRole, "cmdCancel", 1009);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(AddLanguageLabel("lblBackupFile", 3346, m_file));
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(AddLanguageLabel("lblRuns", 3348, m_blocks));
    layout->addWidget(m_blocks, 3);
    layout->addWidget(AddLanguageLabel("lblSections", 3352, m_sections));
    layout->addWidget(m_sections, 2);
    layout->addWidget(m_add);
    layout->addWidget(m_replace);
    layout->addWidget(buttons);

    ApplyFormLanguage(*this, m_context.language, m_person);
    // The sections' names take what room is left; the numbers need little.
    m_blocks->setHeaderLabels({text(3349), text(3351), text(3350)});
    m_blocks->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_blocks->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_sections->setHeaderLabels({text(3350), text(3351)});
    m_sections->header()->setStretchLastSection(false);
    m_sections->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_sections->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_file->setAccessibleName(text(3361));
    m_blocks->setAccessibleName(findChild<QLabel *>(QStringLiteral("lblRuns"))->text().remove(u'&'));
    m_sections->setAccessibleName(findChild<QLabel *>(QStringLiteral("lblSections"))->text().remove(u'&'));

    connect(browse, &QPushButton::clicked, this, &frmRestoreBackup::chooseBackup);
    connect(m_blocks, &QTreeWidget::currentItemChanged, this, &frmRestoreBackup::showSections);
    connect(m_sections, &QTreeWidget::itemChanged, this, &frmRestoreBackup::updateRestoreButton);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmRestoreBackup::restoreClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 520);
    updateRestoreButton();
    m_blocks->setFocus();   // the runs are what the person picks from first
    CenterForm(*this);
}

QString frmRestoreBackup::text(int id) const
{
    return m_context.language.GetLanguageString(id);
}

bool frmRestoreBackup::OpenStartingBackup()
{
    const QString last = m_context.settings.Read(kOwnSection, kLastBackupKey, m_context.settings.MissingValueMarker());
    if (last != m_context.settings.MissingValueMarker() && QFileInfo::exists(last) && OpenBackup(last))
        return true;
    return chooseBackup();
}

bool frmRestoreBackup::chooseBackup()
{
    cCommonDialog &dialog = m_context.dialog;
    const QString folder = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    dialog.ShowOpenDialog(folder, m_path.isEmpty() ? QString() : QFileInfo(m_path).fileName(), 0, text(3360), true);
    return dialog.Success && OpenBackup(dialog.FileName);
}

bool frmRestoreBackup::OpenBackup(const QString &nativePath)
{
    BackupBlocks backup;
    if (const int error = backup.Read(nativePath)) {
        m_person.ShowMessage(FileFailureText(false, error, nativePath, m_context.language), MessageIcon::Error);
        return false;
    }
    if (backup.blocks().isEmpty()) {
        m_person.ShowMessage(text(3359).replace(QStringLiteral("%1"), nativePath), MessageIcon::Warning);
        return false;
    }
    m_backup = std::move(backup);
    m_path = nativePath;
    m_file->setText(IsolatedDirection(nativePath));
    m_file->setToolTip(nativePath);
    m_context.settings.Write(kOwnSection, kLastBackupKey, nativePath);
    showBlocks();
    QStringList skipped;
    if (!m_backup.unknownSections().isEmpty())
        skipped.append(text(3357).replace(QStringLiteral("%1"), m_backup.unknownSections().join(QStringLiteral(", "))));
    if (m_backup.hasTornBlock())
        skipped.append(text(3358));
    if (!skipped.isEmpty())
        m_person.ShowMessage(skipped.join(QStringLiteral("\n\n")), MessageIcon::Warning);
    return true;
}

void frmRestoreBackup::showBlocks()
{
    m_blocks->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(m_backup.blocks().size());
    for (const BackupBlocks::Block &block : m_backup.blocks()) {
        QStringList titles;
        for (const BackupBlocks::Section &section : block.sections)
            titles.append(cSectionsData::Title(section.name, m_context.language));
        const QString when = IsolatedDirection(block.torn ? block.stamp + u' ' + text(3356) : block.stamp);
        auto *item = new QTreeWidgetItem({when, QString::number(block.totalEntries()), titles.join(QStringLiteral(", "))});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(2, titles.join(u'\n'));
        items.append(item);
    }
    m_blocks->addTopLevelItems(items);
    m_blocks->setCurrentItem(items.value(0));
}

void frmRestoreBackup::showSections()
{
    const QSignalBlocker quiet(m_sections);
    m_sections->clear();
    const int index = m_blocks->currentIndex().row();
    if (index >= 0 && index < m_backup.blocks().size()) {
        for (const BackupBlocks::Section &section : m_backup.blocks()[index].sections) {
            auto *item = new QTreeWidgetItem(
                {cSectionsData::Title(section.name, m_context.language), QString::number(section.entries)});
            item->setData(0, kSectionRole, section.name);
            item->setCheckState(0, Qt::Checked);
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            m_sections->addTopLevelItem(item);
        }
    }
    updateRestoreButton();
}

void frmRestoreBackup::updateRestoreButton()
{
    bool any = false;
    for (int i = 0; i < m_sections->topLevelItemCount() && !any; ++i)
        any = m_sections->topLevelItem(i)->checkState(0) == Qt::Checked;
    m_restore->setEnabled(any);
}

void frmRestoreBackup::restoreClicked()
{
    const int index = m_blocks->currentIndex().row();
    if (index < 0 || index >= m_backup.blocks().size())
        return;
    const BackupBlocks::Block &block = m_backup.blocks()[index];
    const HistoryRestore::Mode mode = m_replace->isChecked() ? HistoryRestore::Mode::Replace : HistoryRestore::Mode::Add;
    // Every section is read before any is changed, so a failure changes nothing.
    QList<QPair<QString, std::vector<HistoryRow>>> read;
    for (int i = 0; i < m_sections->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_sections->topLevelItem(i);
        if (item->checkState(0) != Qt::Checked)
            continue;
        const QString section = item->data(0, kSectionRole).toString();
        std::vector<HistoryRow> rows;
        if (const int error = m_backup.ReadRows(block, section, m_context.profile, rows,
                                                m_context.settings.LockedTabForeColor)) {
            m_person.ShowMessage(FileFailureText(false, error, m_path, m_context.language), MessageIcon::Error);
            return;
        }
        read.append({section, std::move(rows)});
    }
    m_restored.clear();
    for (const auto &[section, rows] : read) {
        HistoryRestore::Restore(m_list.store(), section, rows, mode);
        m_restored.append(section);
    }
    accept();
}

} // namespace calvenor

// The main window's clean-ups: duplicate entries and entries of missing folders.
#include "frmmain.h"

#include "programcontext.h"
#include "editor/stalefolders.h"
#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "editor/historycleanup.h"
#include "editor/historylist.h"

#include <QHash>
#include <QStatusBar>
#include <QTimer>

namespace calvenor {

QStringList frmMain::sectionsToClean(bool (*applies)(const QString &)) const
{
    // The shown section, or from the overview every section the clean-up applies to.
    const QString shown = selectedSection();
    QStringList sections;
    if (!FoldedKey::equalIgnoringCase(shown, cSectionsData::RootNode()))
        return applies(shown) ? QStringList {shown} : sections;
    for (int index = 0; index < cSectionsData::SectionsCount; ++index) {
        const QString section = cSectionsData::SectionsList(index);
        if (applies(section))
            sections.append(section);
    }
    return sections;
}

void frmMain::RemoveDuplicates()
{
    int removed = 0;
    const KeepRules keep = m_context.settings.keepRules();
    for (const QString &section : sectionsToClean(HistoryCleanup::HasPlainEntries)) {
        const QStringList keys = HistoryCleanup::DuplicateKeys(
            section, m_list->store().SectionRows(cSectionsData::GetSectionIndex(section)), keep);
        if (const int count = m_list->RemoveRows(section, keys)) {
            m_list->SetSaveFlag(section);
            removed += count;
        }
    }
    finishCleanUp(removed, 3309, 3310);
}

void frmMain::RemoveMissingFolders()
{
    if (m_checkingFolders)
        return;
    // The entries of the folders asked about, by section; the active tab and the entries
    // the keep rules match stay.
    QHash<QString, QList<QPair<QString, QString>>> entries;   // section -> (key, entry)
    const KeepRules keep = m_context.settings.keepRules();
    for (const QString &section : sectionsToClean(HistoryCleanup::IsFolderSection)) {
        entries[section] = HistoryCleanup::FolderEntries(
            section, m_list->store().SectionRows(cSectionsData::GetSectionIndex(section)), keep);
        for (const auto &entry : std::as_const(entries[section]))
            m_folders->StateOf(entry.second);
    }
    // The lookups run off this thread; the window stays live until they are in.
    m_checkingFolders = true;
    statusBar()->showMessage(m_context.language.GetLanguageString(3321));
    // Every lookup answers within the checker's time limit.
    auto *wait = new QTimer(this);
    connect(wait, &QTimer::timeout, this, [this, wait, entries] {
        bool pending = false;
        for (const auto &list : entries) {
            for (const auto &entry : list)
                pending = pending || m_folders->StateOf(entry.second) == StaleFolders::State::Pending;
        }
        if (pending)
            return;
        wait->deleteLater();
        m_checkingFolders = false;
        int removed = 0;
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
            QStringList keys;
            for (const auto &entry : it.value()) {
                if (m_folders->StateOf(entry.second) == StaleFolders::State::Missing)
                    keys.append(entry.first);
            }
            if (const int count = m_list->RemoveRows(it.key(), keys)) {
                m_list->SetSaveFlag(it.key());
                removed += count;
            }
        }
        finishCleanUp(removed, 3319, 3320);
    });
    wait->start(20);
}

void frmMain::finishCleanUp(int removed, int commandId, int reportId)
{
    if (removed > 0)
        sectionsChanged(QString(m_context.language.GetLanguageString(commandId)).remove(u'&'));
    statusBar()->showMessage(m_context.language.GetLanguageString(reportId) + u' ' + QString::number(removed));
}

} // namespace calvenor

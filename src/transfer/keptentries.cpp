#include "keptentries.h"

#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/historysections.h"
#include "core/sectionclear.h"
#include "core/tabssection.h"

namespace calvenor {

KeptEntries::KeptEntries(cProfile &profile, const KeepRules &rules)
    : m_profile(profile)
    , m_rules(rules)
{
    m_store.BuildFrame();
}

int KeptEntries::Read(const QStringList &sections, const QString &wincmd, const QString &wcxftp)
{
    HistorySections reader(m_profile, m_store);
    ProfileBatch reading(m_profile);
    int error = 0;
    for (const QString &section : sections) {
        if (m_read.contains(section, Qt::CaseInsensitive))
            continue;
        m_read.append(section);
        const int result = reader.ReadHistorySection(section, wincmd, wcxftp);
        if (error == 0)
            error = result;
    }
    reading.finish();
    return error;
}

bool KeptEntries::keeps(const QString &section, const HistoryRow &row) const
{
    return m_rules.Keeps(section, row, m_profile.paths().MissingValueMarker());
}

KeptEntries::Count KeptEntries::CountOf(const QString &section) const
{
    Count count;
    const int index = cSectionsData::GetSectionIndex(section);
    if (index < 0 || index >= cSectionsData::SectionsCount)
        return count;
    for (const HistoryRow &row : m_store.SectionRows(index)) {
        if (IsActiveTabRow(section, row))
            continue;
        ++(keeps(section, row) ? count.kept : count.cleared);
    }
    return count;
}

int KeptEntries::Clear(const QString &section, const QString &wincmd, const QString &wcxftp)
{
    const QString &file = HistorySections::FileOf(section, wincmd, wcxftp);
    const Count count = m_read.contains(section, Qt::CaseInsensitive) ? CountOf(section) : Count();
    if (count.kept == 0)
        return m_profile.DeleteSection(section, file);
    if (count.cleared == 0)
        return 0;   // nothing to take away: the section keeps its bytes
    ClearSectionExcept(m_store, section, [&](const HistoryRow &row) { return IsActiveTabRow(section, row) || keeps(section, row); });
    // The active tab stays as it was: the panel's own section is not the job's.
    HistorySections writer(m_profile, m_store);
    writer.setWritesPanel(false);
    return writer.SaveHistorySection(section, wincmd, wcxftp);
}

} // namespace calvenor

#include "historysections.h"

#include "csectionsdata.h"
#include "keyedsection.h"
#include "numberedsection.h"
#include "tabssection.h"

#include <QSet>

#include <vector>

namespace calvenor {

HistorySections::HistorySections(cProfile &profile, HistoryRowStore &store)
    : m_profile(profile)
    , m_store(store)
{
}

QString HistorySections::text(int id, const QString &defaultText) const
{
    return m_language ? m_language->GetLanguageString(id) : defaultText;
}

const QString &HistorySections::FileOf(const QString &strSectionName, const QString &strWincmdFileName,
                                       const QString &strWcxftpFileName)
{
    return cSectionsData::fileOf(strSectionName) == SectionFile::Wcxftp ? strWcxftpFileName : strWincmdFileName;
}

int HistorySections::ReadAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName)
{
    m_store.BuildFrame();
    if (m_progress)
        m_progress->ShowProgressBar(text(3250, QStringLiteral("Reading... Please wait.")), 500);
    // One batch: each file is checked against the disk once, not once per value.
    ProfileBatch batch(m_profile);
    int error = 0;
    for (int i = 0; i <= cSectionsData::SectionsCount && error == 0; ++i)
        error = ReadHistorySection(cSectionsData::SectionsList(i), strWincmdFileName, strWcxftpFileName);
    batch.finish();
    if (m_progress)
        m_progress->HideProgressBar();
    return error;
}

int HistorySections::ReadHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                                        const QString &strWcxftpFileName)
{
    const SectionIo io {m_profile, m_store, m_progress, m_lockedTabForeColor};
    const QString &file = FileOf(strSectionName, strWincmdFileName, strWcxftpFileName);
    switch (cSectionsData::familyOf(strSectionName)) {
    case SectionFamily::Numbered:
        return ReadNumberedSection(io, strSectionName, file);
    case SectionFamily::Keyed:
        return ReadKeyedSection(io, strSectionName, file);
    case SectionFamily::Tabs:
        return ReadTabsSection(io, strSectionName, file);
    case SectionFamily::None:
        break;
    }
    return 0;
}

int HistorySections::SaveHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                                        const QString &strWcxftpFileName)
{
    const SectionIo io {m_profile, m_store, m_progress, m_lockedTabForeColor, m_writesPanel};
    const QString &file = FileOf(strSectionName, strWincmdFileName, strWcxftpFileName);
    ProfileBatch batch(m_profile);
    const cProfile::Checkpoint checkpoint = m_profile.MakeCheckpoint();
    int error = 0;
    switch (cSectionsData::familyOf(strSectionName)) {
    case SectionFamily::Numbered:
        error = SaveNumberedSection(io, strSectionName, file);
        break;
    case SectionFamily::Keyed:
        error = SaveKeyedSection(io, strSectionName, file);
        break;
    case SectionFamily::Tabs:
        error = SaveTabsSection(io, strSectionName, file);
        break;
    case SectionFamily::None:
        break;
    }
    if (error != 0)
        m_profile.Rollback(checkpoint);
    const int flushError = batch.finish();
    return error != 0 ? error : flushError;
}

int HistorySections::SaveAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName)
{
    if (m_progress)
        m_progress->ShowProgressBar(text(3251, QStringLiteral("Saving... Please wait.")), m_store.Count() + 10);
    struct Written
    {
        QString section;
        QSet<QString> files;
    };
    std::vector<Written> written;
    int error = 0;
    {
        ProfileBatch batch(m_profile);
        for (int i = 0; i <= cSectionsData::SectionsCount; ++i) {
            const QString section = cSectionsData::SectionsList(i);
            if (!m_store.SaveFlag(section))
                continue;
            m_profile.ClearTouchedFiles();
            error = SaveHistorySection(section, strWincmdFileName, strWcxftpFileName);
            if (error != 0)
                break;
            written.push_back({section, m_profile.TouchedFiles()});
        }
        const int flushError = batch.finish();
        if (error == 0)
            error = flushError;
    }
    const QSet<QString> failed = m_profile.FailedFiles();
    for (const Written &entry : written) {
        if (!entry.files.intersects(failed))
            m_store.ClearSaveFlag(entry.section);
    }
    if (m_progress)
        m_progress->HideProgressBar();
    return error;
}

} // namespace calvenor

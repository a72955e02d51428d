#pragma once

#include "core/cprofile.h"
#include "core/historyrowstore.h"
#include "core/keeprules.h"

#include <QString>
#include <QStringList>

namespace calvenor {

// What a batch run leaves of the sections it clears: the entries the keep rules match.
// The sections are read as the editor reads them. A folder tab section's active tab is
// the panel's own folder, which the job never clears: it is no entry to count, and it
// stays the active tab of a section that keeps tabs.
class KeptEntries
{
public:
    KeptEntries(cProfile &profile, const KeepRules &rules);

    // Reads the sections from their files (each file checked against the disk once).
    int Read(const QStringList &sections, const QString &wincmd, const QString &wcxftp);

    struct Count
    {
        qsizetype cleared = 0;   // entries a run takes away
        qsizetype kept = 0;      // entries the rules keep
    };
    // Of a section read.
    Count CountOf(const QString &section) const;

    // Clears a section in its file: deleted whole when the rules keep none of its
    // entries (or the section was not read), left as it is when they keep all, else
    // written anew in the file manager's key layout holding only the kept entries.
    int Clear(const QString &section, const QString &wincmd, const QString &wcxftp);

private:
    bool keeps(const QString &section, const HistoryRow &row) const;

    cProfile &m_profile;
    KeepRules m_rules;
    HistoryRowStore m_store;
    QStringList m_read;
};

} // namespace calvenor

#pragma once

#include "cprofile.h"
#include "historyrowstore.h"
#include "progresshost.h"

namespace calvenor {

// The file manager's own redirection key may stand among a section's entries (a section
// kept in its file by RedirectSection=0); it is never an item of the list.
inline bool isRedirectionKey(QStringView key)
{
    return FoldedKey::equalIgnoringCase(key, u"RedirectSection");
}

// What the readers and writers of the three section families work with.
struct SectionIo
{
    cProfile &profile;
    HistoryRowStore &store;
    ProgressHost *progress = nullptr;
    qint32 lockedTabForeColor = 255;   // LockedTabForeColor
    bool writesPanel = true;           // a tab section's writer also writes its active tab's panel

    const QString &marker() const { return profile.paths().MissingValueMarker(); }
    void step() const
    {
        if (progress)
            progress->IncreaseProgress();
    }
};

} // namespace calvenor

#pragma once

#include "cprofile.h"
#include "historyrowstore.h"
#include "progresshost.h"

namespace calvenor {

// What the readers and writers of the three section families work with.
struct SectionIo
{
    cProfile &profile;
    HistoryRowStore &store;
    ProgressHost *progress = nullptr;
    qint32 lockedTabForeColor = 255;   // LockedTabForeColor

    const QString &marker() const { return profile.paths().MissingValueMarker(); }
    void step() const
    {
        if (progress)
            progress->IncreaseProgress();
    }
};

} // namespace calvenor

#pragma once

#include <QString>

namespace calvenor {

// Where long operations (loading, saving, import, export) report their progress: the
// main window's progress bar, or nothing at all in tests and batch runs.
class ProgressHost
{
public:
    virtual ~ProgressHost() = default;
    virtual void ShowProgressBar(const QString &caption, int maximum) = 0;
    // One step; the host raises its maximum when the steps outrun it.
    virtual void IncreaseProgress() = 0;
    virtual void HideProgressBar() = 0;
};

} // namespace calvenor

#pragma once

#include "core/historyrow.h"

#include <QString>

#include <vector>

namespace calvenor {

class HistoryRowStore;

// Puts entries read back from a backup into a section of the loaded history.
namespace HistoryRestore {

enum class Mode {
    Replace,   // the section holds the backup's entries instead of its own
    Add,       // the backup's entries follow the section's own, repeats left out
};

// Puts rows (as the section's reader gives them) into the section and flags it for
// saving; returns how many entries went in. Adding leaves out every entry that repeats
// one already there or an earlier one of the backup (by the duplicate rule of the
// clean-up), and for the keyed templates every one whose name is taken. The active tab
// stays as it is in both modes: its folder is the panel's, which no backup holds.
int Restore(HistoryRowStore &store, const QString &section, const std::vector<HistoryRow> &rows, Mode mode);

} // namespace HistoryRestore
} // namespace calvenor

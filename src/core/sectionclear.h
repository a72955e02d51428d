#pragma once

#include "historyrowstore.h"

#include <QString>

#include <functional>

namespace calvenor {

// Empties a section of the store but for the rows keeps accepts, in their order. In a
// folder tab section the active tab stays active when it is kept; when it went, the
// first remaining tab takes its place, and the active tab's number is set anew.
// Returns how many rows went.
int ClearSectionExcept(HistoryRowStore &store, const QString &section,
                       const std::function<bool(const HistoryRow &)> &keeps);

} // namespace calvenor

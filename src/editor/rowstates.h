#pragma once

#include <QString>

namespace calvenor {

class HistoryList;
class LanguageSource;
class StaleFolders;

// What a row of the list is beyond its text: a heading of the overview, the active
// tab, a locked tab, an entry of a folder that no longer exists. The list shows these
// by colour; they are also told in words (tooltip, screen reader) and by an emblem,
// for people who do not see colours.
namespace RowState {
enum : int {
    Heading = 1,
    ActiveTab = 2,
    Locked = 4,                 // lock value 1
    LockedChangeable = 8,       // lock value 2: directory changes allowed
    MissingFolder = 16,
};
} // namespace RowState

// The states of the visible row; folders may be null (no folder check).
int RowStatesOf(const HistoryList &list, int row, StaleFolders *folders);
// The states in words, joined by ", "; empty for none.
QString RowStatesText(int states, const LanguageSource &language);

} // namespace calvenor

#pragma once

#include <QString>

namespace calvenor {

class HistoryRowStore;

// Rules for a folder tab's options string: fields separated by "|", counted from 0;
// field 5 is the lock state (0 unlocked, 1 locked, 2 locked with folder changes allowed).

// The number field n begins with, rounded; 0 when the field is missing or not a number.
qint32 GetOptionField(const QString &options, int n);
// The options with field 5 replaced by value; a string of fewer than six fields is
// returned unchanged.
QString SetOptionField(const QString &options, const QString &value);
// The last folder name of a path that ends with a separator.
QString LastFolderName(const QString &path);
// Gives every locked tab row of a tab section the locked colour; other rows keep theirs.
void ColourLockedTabs(HistoryRowStore &store, const QString &section, qint32 lockedTabForeColor);

} // namespace calvenor

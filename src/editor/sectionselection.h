#pragma once

#include <QList>
#include <QString>

namespace calvenor {

class cSettings;

// Which nodes of a checkable section tree are ticked, remembered between uses in the
// settings file ([Calvenor] ExportSelection, ImportSelection, DelAllSelection) as the
// zero-based positions of the ticked nodes in tree order, the root at 0: "1,3,14".
namespace SectionSelection {

// The stored form of the ticks; empty when nothing is ticked.
QString ToValue(const QList<bool> &checked);
// The ticks a stored value gives a tree of nodeCount nodes. An element that is no
// number counts as 0 (the root); a position beyond the tree ends the list there,
// keeping the ticks before it.
QList<bool> FromValue(const QString &value, int nodeCount);

// Writes the ticks to the key; with nothing ticked the previous value stays.
int Save(cSettings &settings, const QString &key, const QList<bool> &checked);
// The ticks stored under the key (nothing ticked when there is no such key).
QList<bool> Restore(const cSettings &settings, const QString &key, int nodeCount);

} // namespace SectionSelection
} // namespace calvenor

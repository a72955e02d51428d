#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace calvenor {

// How the entries of an ordered list on disk become the entries of the same list in
// the editor, entry by entry. Entries are compared by their text, exactly.
namespace EntryDiff {

enum class Step { Kept, Removed, Added, Renamed, Moved };

struct Pairing
{
    Step step;
    int disk = -1;     // index in the list on disk; -1 for an added entry
    int editor = -1;   // index in the editor's list; -1 for a removed entry
};

// Every entry of both lists once, in the editor's order, a removed entry where it
// stood. Kept: the longest run of entries both lists hold in the same order. Moved: an
// entry both hold, out of that order. In a stretch between two kept entries, entries
// changed one for one (as many on each side) pair up in order as renamed where the
// texts look alike (LooksRenamed); every other entry there is removed or added.
// Linear in the entries, but for the n log n of the longest run.
std::vector<Pairing> Compare(const QStringList &disk, const QStringList &editor);

// For each editor entry the index of the disk entry of the same text, -1 for none:
// equal texts pair up in order, the first on disk with the first in the editor.
std::vector<int> PairEqual(const QStringList &disk, const QStringList &editor);

// An entry edited rather than replaced: what the texts share at their start and end
// makes up at least half of the longer one ("c:\work\" and "c:\work2\" do; "cmd" and
// "git status" do not).
bool LooksRenamed(const QString &before, const QString &after);

} // namespace EntryDiff
} // namespace calvenor

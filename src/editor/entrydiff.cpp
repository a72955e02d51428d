#include "entrydiff.h"

#include <QHash>

#include <algorithm>

namespace calvenor::EntryDiff {

bool LooksRenamed(const QString &before, const QString &after)
{
    const qsizetype longer = qMax(before.size(), after.size());
    const qsizetype shorter = qMin(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return longer > 0 && 2 * (prefix + suffix) >= longer;
}

std::vector<int> PairEqual(const QStringList &disk, const QStringList &editor)
{
    // The disk entries of one text, linked first to last.
    std::vector<int> nextSame(size_t(disk.size()), -1);
    QHash<QString, int> firstSame;
    firstSame.reserve(disk.size());
    for (int i = int(disk.size()) - 1; i >= 0; --i) {
        const auto it = firstSame.find(disk[i]);
        if (it == firstSame.end()) {
            firstSame.insert(disk[i], i);
        } else {
            nextSame[size_t(i)] = *it;
            *it = i;
        }
    }
    std::vector<int> diskOf(size_t(editor.size()), -1);
    for (int j = 0; j < int(editor.size()); ++j) {
        const auto it = firstSame.find(editor[j]);
        if (it == firstSame.end() || *it < 0)
            continue;
        diskOf[size_t(j)] = *it;
        *it = nextSame[size_t(*it)];
    }
    return diskOf;
}

std::vector<Pairing> Compare(const QStringList &disk, const QStringList &editor)
{
    const int diskCount = int(disk.size());
    const int editorCount = int(editor.size());

    const std::vector<int> diskOf = PairEqual(disk, editor);
    std::vector<int> editorOf(size_t(diskCount), -1);
    for (int j = 0; j < editorCount; ++j) {
        if (diskOf[size_t(j)] >= 0)
            editorOf[size_t(diskOf[size_t(j)])] = j;
    }

    // The kept entries: the longest run of paired entries whose places rise on both
    // sides (patience sorting over the disk places, in the editor's order).
    std::vector<int> tails;   // per run length, the editor index ending the best run
    std::vector<int> previous(size_t(editorCount), -1);
    for (int j = 0; j < editorCount; ++j) {
        const int place = diskOf[size_t(j)];
        if (place < 0)
            continue;
        const auto at = std::lower_bound(tails.begin(), tails.end(), place,
                                         [&](int tail, int value) { return diskOf[size_t(tail)] < value; });
        if (at != tails.begin())
            previous[size_t(j)] = *(at - 1);
        if (at == tails.end())
            tails.push_back(j);
        else
            *at = j;
    }
    std::vector<char> kept(size_t(editorCount), 0);
    for (int j = tails.empty() ? -1 : tails.back(); j >= 0; j = previous[size_t(j)])
        kept[size_t(j)] = 1;

    std::vector<Pairing> result;
    result.reserve(size_t(qMax(diskCount, editorCount)));
    int d = 0;
    int e = 0;
    std::vector<int> removed;
    // The entries between the last kept pair and (diskEnd, editorEnd).
    auto stretch = [&](int diskEnd, int editorEnd) {
        removed.clear();
        for (; d < diskEnd; ++d) {
            if (editorOf[size_t(d)] < 0)
                removed.push_back(d);
        }
        int added = 0;
        for (int j = e; j < editorEnd; ++j)
            added += diskOf[size_t(j)] < 0 ? 1 : 0;
        const bool oneForOne = added == int(removed.size());
        if (!oneForOne) {
            for (int r : removed)
                result.push_back({Step::Removed, r, -1});
        }
        size_t nextRemoved = 0;
        for (; e < editorEnd; ++e) {
            if (diskOf[size_t(e)] >= 0) {
                result.push_back({Step::Moved, diskOf[size_t(e)], e});
                continue;
            }
            if (oneForOne) {
                const int r = removed[nextRemoved++];
                if (LooksRenamed(disk[r], editor[e])) {
                    result.push_back({Step::Renamed, r, e});
                    continue;
                }
                result.push_back({Step::Removed, r, -1});
            }
            result.push_back({Step::Added, -1, e});
        }
    };
    for (int j = 0; j < editorCount; ++j) {
        if (!kept[size_t(j)])
            continue;
        stretch(diskOf[size_t(j)], j);
        result.push_back({Step::Kept, diskOf[size_t(j)], j});
        d = diskOf[size_t(j)] + 1;
        e = j + 1;
    }
    stretch(diskCount, editorCount);
    return result;
}

} // namespace calvenor::EntryDiff

#pragma once

#include "core/historyrow.h"

#include <QString>

#include <vector>

namespace calvenor {

class cProfile;
class HistoryRowStore;

// One difference the next save makes to a section on disk, in the terms the list
// shows: entries (a value, a template's name, a tab's folder), not key lines.
struct ReviewChange
{
    enum class Kind {
        Removed,       // entry: as on disk
        Added,         // entry: as in the editor
        Renamed,       // before: the entry on disk, after: in the editor
        Moved,         // from, to: its place in the list on disk and after the save
        Changed,       // a template's values: before and after, the values that differ
        Caption,       // a tab's caption (empty: none)
        Lock,          // a tab's lock state, "0", "1" or "2"
        TabSettings,   // the rest of a tab's options (view, sort order)
        ActiveTab,     // the active tab's folder
    };
    Kind kind;
    QString entry;   // the entry the change is about, as the list shows it
    QString before;
    QString after;
    int from = 0;
    int to = 0;

    friend bool operator==(const ReviewChange &, const ReviewChange &) = default;
};

struct SectionReview
{
    QString section;
    QString file;        // the file the save writes the section to, redirection followed
    int readError = 0;   // that file exists but cannot be read now (the save may fail too)
    std::vector<ReviewChange> changes;
};

// What the next save would change in the files on disk: each section it would write
// (save flag set) is read as it is on disk now, whoever wrote it last, and compared with
// the editor's rows. Nothing is written.
class SaveReview
{
public:
    explicit SaveReview(cProfile &profile) : m_profile(profile) {}

    // The sections, in catalogue order, whose save would change what the list shows
    // (or whose file cannot be read); empty when the save would change nothing.
    std::vector<SectionReview> Review(const HistoryRowStore &editor, const QString &strWincmdFileName,
                                      const QString &strWcxftpFileName);

    // The comparison of one section's rows alone. Numbered lists and tabs are ordered
    // lists (EntryDiff); templates are found by name, and the list sorts them, so their
    // order counts for nothing. A value the file lacks (the marker) counts as empty.
    static std::vector<ReviewChange> Compare(const QString &section, const std::vector<HistoryRow> &disk,
                                             const std::vector<HistoryRow> &editor, const QString &marker);

private:
    cProfile &m_profile;
};

} // namespace calvenor

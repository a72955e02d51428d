#pragma once

#include "historyrow.h"

#include <QHash>
#include <QString>

#include <array>
#include <vector>

namespace calvenor {

// The ordered table of all rows of all loaded history sections: for each catalogue
// entry one section start row (carrying the section's save flag in col2) followed by
// that section's item rows. Rows are addressed by their 1-based position or by Key.
//
// Rows are kept per section, so inserting or removing a row moves only the rows of
// its own section, and a section's rows can be read in place without copying.
class HistoryRowStore
{
public:
    static constexpr int kSections = 20;   // catalogue entries, RootNode included

    struct StartEnd
    {
        int start = -1;   // first item row, or -1 when the section has none
        int end = 0;      // last item row (start row - 1 ... when empty: the start row itself)
    };

    // Removes every row, sets the key counter to 0 and appends the 20 start rows with
    // save flag "0".
    void BuildFrame();
    void Clear();
    bool hasFrame() const { return m_framed; }

    int Count() const { return m_count; }
    const HistoryRow &Row(int position) const;
    HistoryRow &Row(int position);
    // The position of the row with that key, 0 when there is none.
    int FindKey(const QString &key) const;

    // Fails with errSubscriptOutOfRange for RootNode and names outside the catalogue.
    int GetStartEnd(const QString &section, StartEnd &result) const;
    StartEnd GetStartEnd(const QString &section) const;
    int SetSaveFlag(const QString &section);
    int ClearSaveFlag(const QString &section);
    bool SaveFlag(const QString &section) const;
    static QString SectionFromTag(const QString &tag);

    // Inserts an item row at a position between its section's start row + 1 and the
    // next section's start row (both included). The row's Tag must name that section.
    int InsertRow(int position, HistoryRow row);
    int RemoveRow(int position);
    // Moves an item row to just before the row at destination (positions as they are
    // before the move; one past the section's last row puts it last). Both must lie in
    // the same section.
    int MoveRow(int from, int destination);
    // Makes room for that many more item rows in a section, so a reader that knows its
    // count does not grow the section step by step.
    void ReserveRows(const QString &section, int count);
    // Removes every item row of a section.
    int ClearSection(const QString &section);
    // Replaces count item rows of a section, from its item index first on, by rows (in
    // one step, whatever the sizes): what undoing and redoing an edit puts back.
    int ReplaceRows(int sectionIndex, int first, int count, const std::vector<HistoryRow> &rows);

    // A section's item rows, in order, for reading in place.
    const std::vector<HistoryRow> &SectionRows(int sectionIndex) const;
    int StartRowPosition(int sectionIndex) const;

    long mlngKeyCounter = 0;
    // The key of a new row: "Key_" and the next counter value.
    QString NextKey();

private:
    struct Block
    {
        HistoryRow start;
        std::vector<HistoryRow> items;
    };
    int setSaveFlagText(const QString &section, const QString &flag);
    // The section index and index within it of an item position; -1 for a start row.
    bool locate(int position, int &section, int &index) const;

    std::array<Block, kSections> m_blocks;
    // The section of each item key: keys are "Key_" and a counter value, so a vector
    // indexed by that number serves; any other key goes to the hash.
    int sectionOfKey(const QString &key) const;
    void setSectionOfKey(const QString &key, int section);
    std::vector<qint8> m_sectionOfNumber;   // -1 = no such row
    QHash<QString, int> m_sectionOfOtherKey;
    int m_count = 0;
    bool m_framed = false;
};

} // namespace calvenor

#pragma once

#include <QString>

#include <array>
#include <optional>

namespace calvenor {

// One row of the history row store: a section start row, an item row or a folder
// tab section's active-tab row.
struct HistoryRow
{
    QString Key;
    QString Text;
    QString Tag;
    // col2 .. col6; a null string is a sub-item the row's family does not have.
    std::array<QString, 5> SubItems;
    bool Bold = false;
    bool Ghosted = false;
    std::optional<qint32> ForeColor;   // a colour number; none = the list's own colour

    QString &col(int n) { return SubItems[size_t(n - 2)]; }
    const QString &col(int n) const { return SubItems[size_t(n - 2)]; }

    friend bool operator==(const HistoryRow &, const HistoryRow &) = default;
};

} // namespace calvenor

#pragma once

#include <QString>

#include <optional>

namespace calvenor {

// A row of the visible list: a view of one store row (matched by key) with the text the
// section's family shows for it.
struct VisibleRow
{
    QString key;
    QString text;
    QString iconKey;            // empty: no icon
    QString tag;
    std::optional<qint32> foreColor;   // a colour number; none: the list's colour
    bool ghosted = false;
    bool bold = false;
};

// The data roles of the history list model beyond Qt's own.
namespace HistoryRoles {
enum : int {
    KeyRole = 0x0100,     // Qt::UserRole
    TagRole,
    IconKeyRole,          // the image-list key of the row's small icon
    GhostedRole,          // drawn dimmed
    ColorNumberRole,      // the row's colour number, when it has one
    StatesRole,           // RowState flags: heading, active tab, locks, missing folder
};
} // namespace HistoryRoles

} // namespace calvenor

#pragma once

#include "core/historyrow.h"
#include "core/keeprules.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <vector>

namespace calvenor {

// Which entries a clean-up takes away, decided on a section's rows alone.
namespace HistoryCleanup {

// The sections whose entries name folders: both panels' histories and tabs, the
// "Search in" list and the new-directory list.
bool IsFolderSection(const QString &section);
// The sections whose entries can repeat: the numbered lists and the folder tabs.
bool HasPlainEntries(const QString &section);

// What tells one entry of the section from another: its text ignoring case, and for
// folders without a trailing backslash. Entries with the same repeat each other.
QString RepeatText(const QString &section, const QString &text);

// The keys of the entries that repeat an earlier one of the section (ignoring case, and
// for folders a trailing backslash): the first, most recent occurrence stays. The
// active tab's row is never among them, so the active tab stays what it is, and neither
// is an entry the keep rules match.
QStringList DuplicateKeys(const QString &section, const std::vector<HistoryRow> &rows, const KeepRules &keep = {});

// The entries of a folder section whose folders a clean-up looks up, as (key, entry
// text): every entry but the active tab and those the keep rules match.
QList<QPair<QString, QString>> FolderEntries(const QString &section, const std::vector<HistoryRow> &rows,
                                             const KeepRules &keep = {});

} // namespace HistoryCleanup
} // namespace calvenor

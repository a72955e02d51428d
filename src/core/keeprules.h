#pragma once

#include "historyrow.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace calvenor {

// The person's keep rules: wildcard patterns naming history entries that survive the
// bulk removals (the batch job, Delete All, the clean-ups); deleting one entry by hand
// is not bound by them. A pattern matches an entry's whole text: "*" stands for any
// run of characters ("\" included), "?" for one character, and letter case is ignored
// as the rest of the program ignores it in entries (Unicode case folding). Patterns are
// trimmed of blanks; empty ones are dropped.
class KeepRules
{
public:
    KeepRules() = default;
    explicit KeepRules(const QStringList &patterns);

    // The patterns of a "/k=" value: separated by ";".
    static QStringList SplitList(const QString &text);

    // The patterns in use, trimmed, in their order.
    const QStringList &Patterns() const { return m_patterns; }
    bool isEmpty() const { return m_patterns.isEmpty(); }
    // These rules and those of other, each pattern once.
    KeepRules united(const KeepRules &other) const;

    // Whether one of the patterns matches the whole text.
    bool Matches(const QString &text) const;
    // Whether a row of a section is kept: the folder or command text of a numbered list
    // or a folder tab (the active tab included), the name or one of the values of a
    // keyed template. Values the file does not hold (the marker) match nothing.
    bool Keeps(const QString &section, const HistoryRow &row, const QString &missingValueMarker) const;

private:
    QStringList m_patterns;
    QList<QList<uint>> m_folded;   // the patterns case-folded, one code point each
};

} // namespace calvenor

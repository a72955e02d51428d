#include "keeprules.h"

#include "csectionsdata.h"

namespace calvenor {
namespace {

QList<uint> folded(const QString &text)
{
    return text.toCaseFolded().toUcs4();
}

// "*" and "?" over code points. On a mismatch the last "*" takes one more character and
// matching goes on from there, so the work stays at most text times pattern in length.
bool wildcardMatch(const QList<uint> &pattern, const QList<uint> &text)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype star = -1;      // the pattern position after the last "*"
    qsizetype starText = 0;   // where the text stood when that "*" was met
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == uint(u'*')) {
            star = ++p;
            starText = t;
        } else if (p < pattern.size() && (pattern[p] == uint(u'?') || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (star >= 0) {
            p = star;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == uint(u'*'))
        ++p;
    return p == pattern.size();
}

} // namespace

KeepRules::KeepRules(const QStringList &patterns)
{
    for (const QString &pattern : patterns) {
        const QString trimmed = pattern.trimmed();
        if (trimmed.isEmpty() || m_patterns.contains(trimmed))
            continue;
        m_patterns.append(trimmed);
        m_folded.append(folded(trimmed));
    }
}

QStringList KeepRules::SplitList(const QString &text)
{
    return text.split(u';', Qt::SkipEmptyParts);
}

KeepRules KeepRules::united(const KeepRules &other) const
{
    return KeepRules(m_patterns + other.m_patterns);
}

bool KeepRules::Matches(const QString &text) const
{
    if (m_folded.isEmpty())
        return false;
    const QList<uint> entry = folded(text);
    for (const QList<uint> &pattern : m_folded) {
        if (wildcardMatch(pattern, entry))
            return true;
    }
    return false;
}

bool KeepRules::Keeps(const QString &section, const HistoryRow &row, const QString &missingValueMarker) const
{
    if (m_folded.isEmpty())
        return false;
    if (cSectionsData::familyOf(section) != SectionFamily::Keyed)
        return Matches(row.col(2));
    if (Matches(row.Text))
        return true;
    for (const QString &value : row.SubItems) {
        if (!value.isNull() && value != missingValueMarker && Matches(value))
            return true;
    }
    return false;
}

} // namespace calvenor

#include "historycleanup.h"

#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/tabssection.h"

#include <QSet>

namespace calvenor::HistoryCleanup {
namespace {

bool isOneOf(const QString &section, std::initializer_list<QString> names)
{
    for (const QString &name : names) {
        if (FoldedKey::equalIgnoringCase(section, name))
            return true;
    }
    return false;
}

} // namespace

bool IsFolderSection(const QString &section)
{
    return isOneOf(section, {cSectionsData::LeftHistory(), cSectionsData::RightHistory(), cSectionsData::LeftTabs(),
                             cSectionsData::RightTabs(), cSectionsData::SearchIn(), cSectionsData::MkDirHistory()});
}

bool HasPlainEntries(const QString &section)
{
    const SectionFamily family = cSectionsData::familyOf(section);
    return family == SectionFamily::Numbered || family == SectionFamily::Tabs;
}

QString RepeatText(const QString &section, const QString &entry)
{
    QString text = entry.toCaseFolded();
    // "c:\" is the drive's root, "c:" its current folder: that backslash stays.
    if (IsFolderSection(section))
        while (text.size() > 1 && text.endsWith(u'\\') && !text.endsWith(QStringLiteral(":\\")))
            text.chop(1);
    return text;
}

QStringList DuplicateKeys(const QString &section, const std::vector<HistoryRow> &rows, const KeepRules &keep)
{
    QStringList keys;
    if (!HasPlainEntries(section))
        return keys;
    QSet<QString> seen;
    for (const HistoryRow &row : rows) {
        const bool active = IsActiveTabRow(section, row);
        if (!active && !FoldedKey::equalIgnoringCase(row.Tag, section))
            continue;   // no entry of the list (a stand-in row)
        const QString text = RepeatText(section, row.col(2));
        if (seen.contains(text) && !active && !keep.Matches(row.col(2))) {
            keys.append(row.Key);
            continue;
        }
        seen.insert(text);
    }
    return keys;
}

QList<QPair<QString, QString>> FolderEntries(const QString &section, const std::vector<HistoryRow> &rows,
                                             const KeepRules &keep)
{
    QList<QPair<QString, QString>> entries;
    if (!IsFolderSection(section))
        return entries;
    for (const HistoryRow &row : rows) {
        if (FoldedKey::equalIgnoringCase(row.Tag, section) && !keep.Matches(row.col(2)))
            entries.append({row.Key, row.col(2)});
    }
    return entries;
}

} // namespace calvenor::HistoryCleanup

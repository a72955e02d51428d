#include "keyedsection.h"

#include "csectionsdata.h"
#include "foldedkey.h"

namespace calvenor {
namespace {

bool isAttrPlugin(const QString &section)
{
    return section.compare(cSectionsData::AttrPlugin(), Qt::CaseInsensitive) == 0;
}

} // namespace

QString KeyBaseName(const QString &key, const QString &missingValueMarker)
{
    const qsizetype last = key.lastIndexOf(u'_');
    return last < 0 ? missingValueMarker : key.left(last);
}

QStringList KeyedSuffixes(const QString &section)
{
    auto is = [&](const QString &name) { return section.compare(name, Qt::CaseInsensitive) == 0; };
    if (is(cSectionsData::Rename()))
        return {QStringLiteral("_name"), QStringLiteral("_ext"), QStringLiteral("_search"),
                QStringLiteral("_replace"), QStringLiteral("_params")};
    if (is(cSectionsData::Searches()))
        return {QStringLiteral("_SearchFor"), QStringLiteral("_SearchIn"), QStringLiteral("_SearchText"),
                QStringLiteral("_SearchFlags"), QStringLiteral("_Plugin")};
    if (is(cSectionsData::SyncOptions()))
        return {QStringLiteral("_L"), QStringLiteral("_R"), QStringLiteral("_Wcs"), QStringLiteral("_Flags")};
    if (is(cSectionsData::AttrPlugin()))
        return {QString()};
    return {};
}

int ReadKeyedSection(const SectionIo &io, const QString &section, const QString &iniFileName)
{
    HistoryRowStore::StartEnd range;
    if (const int error = io.store.GetStartEnd(section, range))
        return error;
    int position = range.end + 1;
    cProfile &profile = io.profile;
    profile.ReadSectionKeysNameOnly(section, iniFileName, cProfile::kWholeList);
    if (profile.SectionKeysNameOnlyCount < 0)
        return 0;
    profile.SortKeysNameOnlyList();
    const QStringList suffixes = KeyedSuffixes(section);
    const bool wholeKey = isAttrPlugin(section);
    QString previous = io.marker();
    for (int i = 0; i <= profile.SectionKeysNameOnlyCount; ++i) {
        io.step();
        const QString key = profile.SectionKeysNameOnlyList(i);
        if (isRedirectionKey(key))
            continue;
        const QString base = wholeKey ? key : KeyBaseName(key, io.marker());
        if (base == io.marker() || FoldedKey::equalIgnoringCase(base, previous))
            continue;
        previous = base;
        HistoryRow row;
        row.Key = io.store.NextKey();
        row.Text = base;
        row.Tag = section;
        for (int column = 0; column < suffixes.size(); ++column)
            row.col(2 + column) = profile.ReadValue(section, base + suffixes[column], io.marker(), iniFileName);
        if (const int error = io.store.InsertRow(position++, std::move(row)))
            return error;
    }
    return 0;
}

int SaveKeyedSection(const SectionIo &io, const QString &section, const QString &iniFileName)
{
    HistoryRowStore::StartEnd range;
    if (const int error = io.store.GetStartEnd(section, range))
        return error;
    // Template by template in row order, within a template in column order. A column
    // holding the marker writes nothing, so a key absent when read stays absent.
    std::vector<cProfile::KeyValue> entries;
    if (range.start >= 0) {
        const QStringList suffixes = KeyedSuffixes(section);
        for (int position = range.start; position <= range.end; ++position) {
            io.step();
            const HistoryRow &row = io.store.Row(position);
            for (int column = 0; column < suffixes.size(); ++column)
                entries.push_back({row.Text + suffixes[column], row.col(2 + column)});
        }
    }
    return io.profile.ReplaceSection(section, entries, iniFileName);
}

} // namespace calvenor

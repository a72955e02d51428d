#include "numberedsection.h"

#include "csectionsdata.h"
#include "leadingnumber.h"

namespace calvenor {

int ReadNumberedSection(const SectionIo &io, const QString &section, const QString &iniFileName)
{
    HistoryRowStore::StartEnd range;
    if (const int error = io.store.GetStartEnd(section, range))
        return error;
    int position = range.end + 1;
    // The whole section is read: a list cut at a buffer size would lose its tail at
    // the next save.
    const std::vector<cProfile::SectionEntry> entries = io.profile.ReadSectionEntries(section, iniFileName);
    const QString dash = QStringLiteral("-");
    io.store.ReserveRows(section, int(entries.size()));
    int expected = 0;
    for (const cProfile::SectionEntry &entry : entries) {
        io.step();
        if (!entry.hasEquals || isRedirectionKey(entry.key))
            continue;
        if (leadingInteger(entry.key) != expected)
            break;
        HistoryRow row;
        row.Key = io.store.NextKey();
        // The key as read is the number's text in nearly every file; sharing it saves a copy.
        row.Text = entry.key == QString::number(expected) ? entry.key : QString::number(expected);
        row.Tag = section;
        row.col(2) = entry.value;
        row.col(3) = row.col(4) = row.col(5) = row.col(6) = dash;
        if (const int error = io.store.InsertRow(position++, std::move(row)))
            return error;
        ++expected;
    }
    return 0;
}

int SaveNumberedSection(const SectionIo &io, const QString &section, const QString &iniFileName)
{
    HistoryRowStore::StartEnd range;
    if (const int error = io.store.GetStartEnd(section, range))
        return error;
    std::vector<cProfile::KeyValue> entries;
    if (range.start >= 0) {
        entries.reserve(size_t(range.end - range.start + 1));
        int number = 0;
        for (const HistoryRow &row : io.store.SectionRows(cSectionsData::GetSectionIndex(section))) {
            io.step();
            entries.push_back({QString::number(number++), row.col(2)});
        }
    }
    // The section is deleted and written anew, keys 0, 1, 2, ... in row order.
    if (const int error = io.profile.ReplaceSection(section, entries, iniFileName))
        return error;
    if (range.start < 0 && section.compare(cSectionsData::Selection(), Qt::CaseInsensitive) == 0) {
        if (const int error = io.profile.DeleteValue(QStringLiteral("Left"), QStringLiteral("userspec"), iniFileName))
            return error;
        return io.profile.DeleteValue(QStringLiteral("Right"), QStringLiteral("userspec"), iniFileName);
    }
    return 0;
}

} // namespace calvenor

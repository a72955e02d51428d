#include "tabssection.h"

#include "csectionsdata.h"
#include "foldedkey.h"
#include "leadingnumber.h"
#include "taboptions.h"

namespace calvenor {

QString PanelSectionOf(const QString &tabSection)
{
    return tabSection.compare(cSectionsData::RightTabs(), Qt::CaseInsensitive) == 0 ? QStringLiteral("Right")
                                                                                      : QStringLiteral("Left");
}

namespace {

const QString kActiveTabSuffix = QStringLiteral("_ActiveTabMark");

} // namespace

QString ActiveTabTag(const QString &tabSection)
{
    return tabSection + kActiveTabSuffix;
}

bool IsActiveTabRow(const QString &section, const HistoryRow &row)
{
    // Compared in place: it is asked of every row of a section.
    const QStringView tag(row.Tag);
    return tag.size() == section.size() + kActiveTabSuffix.size()
           && FoldedKey::equalIgnoringCase(tag.first(section.size()), section)
           && FoldedKey::equalIgnoringCase(tag.sliced(section.size()), kActiveTabSuffix);
}

void RenumberActiveTab(HistoryRowStore &store, const QString &tabSection)
{
    HistoryRowStore::StartEnd range;
    if (store.GetStartEnd(tabSection, range) != 0 || range.start < 0)
        return;
    const QString activeTag = ActiveTabTag(tabSection);
    int tabsAbove = 0;
    for (int position = range.start; position <= range.end; ++position) {
        HistoryRow &row = store.Row(position);
        if (row.Tag.compare(activeTag, Qt::CaseInsensitive) == 0) {
            row.col(5) = row.Text = QString::number(tabsAbove);
            return;
        }
        ++tabsAbove;
    }
}

int ReadTabsSection(const SectionIo &io, const QString &section, const QString &iniFileName)
{
    HistoryRowStore::StartEnd range;
    if (const int error = io.store.GetStartEnd(section, range))
        return error;
    cProfile &profile = io.profile;
    const QString &marker = io.marker();
    const QString dash = QStringLiteral("-");
    const int first = range.end + 1;
    int position = first;
    int tab = -1;
    for (;;) {
        io.step();
        ++io.store.mlngKeyCounter;
        ++tab;
        const QString number = QString::number(tab);
        const QString path = profile.ReadValue(section, number + QStringLiteral("_path"), marker, iniFileName);
        if (path == marker)
            break;
        HistoryRow row;
        row.Key = QStringLiteral("Key_") + QString::number(io.store.mlngKeyCounter);
        row.Text = number;
        row.Tag = section;
        row.col(2) = path;
        row.col(3) = profile.ReadValue(section, number + QStringLiteral("_options"), marker, iniFileName);
        row.col(4) = profile.ReadValue(section, number + QStringLiteral("_caption"), marker, iniFileName);
        row.col(5) = row.col(6) = dash;
        if (const int error = io.store.InsertRow(position++, std::move(row)))
            return error;
    }

    const QString activeTab = profile.ReadValue(section, QStringLiteral("ActiveTab"), marker, iniFileName);
    if (activeTab != marker) {
        const QString panel = PanelSectionOf(section);
        auto read = [&](const QString &sectionName, const QString &key, const QString &fallback) {
            return profile.ReadValue(sectionName, key, fallback, iniFileName);
        };
        HistoryRow row;
        // The number of the last, unsuccessful probe: no tab row took it.
        row.Key = QStringLiteral("Key_") + QString::number(io.store.mlngKeyCounter);
        row.Text = activeTab;
        row.Tag = ActiveTabTag(section);
        row.Ghosted = true;
        row.col(2) = read(panel, QStringLiteral("path"), marker);
        row.col(3) = read(panel, QStringLiteral("ShowAllDetails"), QStringLiteral("1")) + u'|'
            + read(panel, QStringLiteral("SortOrder"), QStringLiteral("0")) + u'|'
            + read(panel, QStringLiteral("negative Sortorder"), QStringLiteral("0")) + QStringLiteral("|0|0|")
            + read(section, QStringLiteral("ActiveLocked"), QStringLiteral("0")) + u'|'
            + read(panel, QStringLiteral("customsortorder"), QStringLiteral("0"));
        row.col(4) = read(section, QStringLiteral("ActiveCaption"), marker);
        row.col(5) = activeTab;
        row.col(6) = dash;
        // A position outside the tabs read cannot be placed before a tab: it goes last.
        const int tabsRead = tab;
        int index = leadingInteger(activeTab);
        if (index < 0 || index > tabsRead)
            index = tabsRead;
        if (const int error = io.store.InsertRow(first + index, std::move(row)))
            return error;
        // A value that named no tab read (negative, too large, not a number) now
        // names the place the row was given.
        if (activeTab != QString::number(index))
            RenumberActiveTab(io.store, section);
    }
    ColourLockedTabs(io.store, section, io.lockedTabForeColor);
    return 0;
}

int SaveTabsSection(const SectionIo &io, const QString &section, const QString &iniFileName)
{
    cProfile &profile = io.profile;
    HistoryRowStore::StartEnd range;
    if (const int error = io.store.GetStartEnd(section, range))
        return error;
    // The tab section is written anew in one step, where it stands in its file; an
    // empty one goes, and the panel section stays as it is.
    std::vector<cProfile::KeyValue> entries;
    if (range.start < 0)
        return profile.ReplaceSection(section, entries, iniFileName);

    const QString activeTag = ActiveTabTag(section);
    const HistoryRow *active = nullptr;
    for (int position = range.start; position <= range.end && !active; ++position) {
        const HistoryRow &row = io.store.Row(position);
        if (row.Tag.compare(activeTag, Qt::CaseInsensitive) == 0)
            active = &row;
    }
    if (active && io.writesPanel) {
        const QString panel = PanelSectionOf(section);
        const QString &options = active->col(3);
        const int fields[] = {0, 1, 2, 6};
        const QString keys[] = {QStringLiteral("ShowAllDetails"), QStringLiteral("SortOrder"),
                                QStringLiteral("negative Sortorder"), QStringLiteral("customsortorder")};
        if (const int error = profile.WriteValue(panel, QStringLiteral("path"), active->col(2), iniFileName))
            return error;
        for (int i = 0; i < 4; ++i) {
            const QString value = QString::number(GetOptionField(options, fields[i]));
            if (const int error = profile.WriteValue(panel, keys[i], value, iniFileName))
                return error;
        }
    }
    int number = 0;
    int activeNumber = 0;   // the tabs above the active one: what ActiveTab names
    entries.reserve(size_t(range.end - range.start + 1) * 3 + 3);
    for (int position = range.start; position <= range.end; ++position) {
        io.step();
        const HistoryRow &row = io.store.Row(position);
        if (&row == active)
            activeNumber = number;
        if (row.Tag.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        const QString prefix = QString::number(number++);
        // A value holding the marker writes nothing: ReplaceSection leaves it out.
        entries.push_back({prefix + QStringLiteral("_path"), row.col(2)});
        entries.push_back({prefix + QStringLiteral("_options"), row.col(3)});
        entries.push_back({prefix + QStringLiteral("_caption"), row.col(4)});
    }
    if (active) {
        entries.push_back({QStringLiteral("ActiveTab"), QString::number(activeNumber)});
        entries.push_back({QStringLiteral("ActiveCaption"), active->col(4)});
        if (active->col(3) != io.marker())
            entries.push_back({QStringLiteral("ActiveLocked"), QString::number(GetOptionField(active->col(3), 5))});
    }
    return profile.ReplaceSection(section, entries, iniFileName);
}

} // namespace calvenor

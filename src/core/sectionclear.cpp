#include "sectionclear.h"

#include "csectionsdata.h"
#include "foldedkey.h"
#include "tabssection.h"

namespace calvenor {

int ClearSectionExcept(HistoryRowStore &store, const QString &section,
                       const std::function<bool(const HistoryRow &)> &keeps)
{
    HistoryRowStore::StartEnd range;
    if (store.GetStartEnd(section, range) != 0 || range.start < 0)
        return 0;
    int removed = 0;
    for (int position = range.end; position >= range.start; --position) {
        if (!keeps(store.Row(position))) {
            store.RemoveRow(position);
            ++removed;
        }
    }
    store.GetStartEnd(section, range);
    if (range.start < 0 || cSectionsData::familyOf(section) != SectionFamily::Tabs)
        return removed;
    bool hasActive = false;
    for (int position = range.start; position <= range.end && !hasActive; ++position)
        hasActive = IsActiveTabRow(section, store.Row(position));
    if (!hasActive) {
        HistoryRow &first = store.Row(range.start);
        first.Tag = ActiveTabTag(section);
        first.Ghosted = true;
    }
    // Kept tabs above the active one leave it at another number.
    RenumberActiveTab(store, section);
    return removed;
}

} // namespace calvenor

#include "historyrestore.h"

#include "historycleanup.h"
#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/historyrowstore.h"
#include "core/tabssection.h"

#include <QSet>

namespace calvenor::HistoryRestore {
namespace {

// What must be free for an entry to be added: its repeat text, or a template's name as
// the profile functions compare names (the case of ASCII letters ignored).
QString identity(const QString &section, const HistoryRow &row)
{
    if (cSectionsData::familyOf(section) != SectionFamily::Keyed)
        return HistoryCleanup::RepeatText(section, row.col(2));
    QString name = row.Text;
    for (QChar &c : name) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return name;
}

// The numbers the lists show and the file manager's keys follow: a numbered entry's or
// an inactive tab's place among its kind.
void renumber(HistoryRowStore &store, const QString &section)
{
    if (cSectionsData::familyOf(section) == SectionFamily::Keyed)
        return;
    const HistoryRowStore::StartEnd range = store.GetStartEnd(section);
    int number = 0;
    for (int position = range.start; range.start >= 0 && position <= range.end; ++position) {
        HistoryRow &row = store.Row(position);
        if (IsActiveTabRow(section, row))
            continue;
        const QString text = QString::number(number++);
        if (row.Text != text)
            row.Text = text;
    }
    if (cSectionsData::familyOf(section) == SectionFamily::Tabs)
        RenumberActiveTab(store, section);
}

} // namespace

int Restore(HistoryRowStore &store, const QString &section, const std::vector<HistoryRow> &rows, Mode mode)
{
    HistoryRowStore::StartEnd range;
    if (store.GetStartEnd(section, range) != 0)
        return 0;

    int activeIndex = -1;   // where the present active tab stands among the section's rows
    QSet<QString> taken;
    for (int position = range.start; range.start >= 0 && position <= range.end; ++position) {
        const HistoryRow &row = store.Row(position);
        if (IsActiveTabRow(section, row))
            activeIndex = position - range.start;
        else if (mode == Mode::Add)
            taken.insert(identity(section, row));
    }
    if (activeIndex >= 0 && mode == Mode::Add)
        taken.insert(identity(section, store.Row(range.start + activeIndex)));
    if (mode == Mode::Replace) {
        for (int position = range.end; range.start >= 0 && position >= range.start; --position) {
            if (!IsActiveTabRow(section, store.Row(position)))
                store.RemoveRow(position);
        }
    }

    int added = 0;
    for (const HistoryRow &restored : rows) {
        // A backup's active tab has no folder of its own: the panel's is what it was.
        if (IsActiveTabRow(section, restored) || !FoldedKey::equalIgnoringCase(restored.Tag, section))
            continue;
        if (mode == Mode::Add) {
            const QString id = identity(section, restored);
            if (taken.contains(id))
                continue;
            taken.insert(id);
        }
        HistoryRow row = restored;
        row.Key = store.NextKey();
        row.Tag = section;
        const HistoryRowStore::StartEnd now = store.GetStartEnd(section);
        // Replacing puts the entries where the section's own were, before the active tab
        // when it stood first; adding puts them after everything there.
        const int position = now.start < 0 ? now.end + 1
            : mode == Mode::Replace && activeIndex >= 0 && added < activeIndex ? now.start + added
                                                                                 : now.end + 1;
        store.InsertRow(position, std::move(row));
        ++added;
    }
    renumber(store, section);
    store.SetSaveFlag(section);
    return added;
}

} // namespace calvenor::HistoryRestore

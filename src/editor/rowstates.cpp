#include "rowstates.h"

#include "historycleanup.h"
#include "historylist.h"
#include "stalefolders.h"

#include "core/foldedkey.h"
#include "core/historyrowstore.h"
#include "core/taboptions.h"
#include "core/tabssection.h"

#include <QStringList>

namespace calvenor {

int RowStatesOf(const HistoryList &list, int row, StaleFolders *folders)
{
    if (row < 0 || row >= int(list.visibleRows().size()))
        return 0;
    const VisibleRow &visible = list.visibleRows()[size_t(row)];
    if (visible.bold)
        return RowState::Heading;
    int states = 0;
    const QString section = HistoryRowStore::SectionFromTag(visible.tag);
    if (HistoryList::familyOf(section) == HistoryList::Family::Tabs) {
        if (FoldedKey::equalIgnoringCase(visible.tag, ActiveTabTag(section)))
            states |= RowState::ActiveTab;
        const int position = list.store().FindKey(visible.key);
        const int lock = position > 0 ? GetOptionField(list.store().Row(position).col(3), 5) : 0;
        if (lock == 1)
            states |= RowState::Locked;
        else if (lock == 2)
            states |= RowState::LockedChangeable;
    }
    if (folders && HistoryCleanup::IsFolderSection(section)
        && folders->StateOf(visible.text.trimmed()) == StaleFolders::State::Missing)
        states |= RowState::MissingFolder;
    return states;
}

QString RowStatesText(int states, const LanguageSource &language)
{
    QStringList words;
    const struct
    {
        int state;
        int lngId;
    } texts[] = {{RowState::Heading, 3327},
                 {RowState::ActiveTab, 3328},
                 {RowState::Locked, 3329},
                 {RowState::LockedChangeable, 3330},
                 {RowState::MissingFolder, 3331}};
    for (const auto &text : texts) {
        if (states & text.state)
            words << language.GetLanguageString(text.lngId);
    }
    return words.join(QStringLiteral(", "));
}

} // namespace calvenor

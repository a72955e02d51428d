#pragma once

#include "sectionio.h"

namespace calvenor {

// The folder tabs of a panel (LeftTabs, RightTabs). Numbered keys i_path, i_options,
// i_caption hold the inactive tabs; the active tab is kept by position (ActiveTab),
// caption and lock in the tab section, and by folder and view settings in the panel's
// own section (Left or Right). The active tab becomes a ghosted row of its own.

QString PanelSectionOf(const QString &tabSection);
QString ActiveTabTag(const QString &tabSection);
// Whether a row is the active-tab row of that section (none is, outside the tab sections).
bool IsActiveTabRow(const QString &section, const HistoryRow &row);

// Sets the active-tab row's number (col5, and its Text) to the number of tab rows above
// it: the position the file manager's ActiveTab names. Every edit of a tab section that
// removes or moves rows calls it, so the saved ActiveTab is the tab shown as active.
void RenumberActiveTab(HistoryRowStore &store, const QString &tabSection);

int ReadTabsSection(const SectionIo &io, const QString &section, const QString &iniFileName);
int SaveTabsSection(const SectionIo &io, const QString &section, const QString &iniFileName);

} // namespace calvenor

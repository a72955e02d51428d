#pragma once

#include "sectionio.h"

namespace calvenor {

// Sections whose keys are the item numbers 0, 1, 2, ... in order (most history lists).
// Only the run of consecutive numbers from 0 in file order becomes items; each item's
// col2 holds its value as the file manager reads it.
int ReadNumberedSection(const SectionIo &io, const QString &section, const QString &iniFileName);
// Deletes the section and writes the store's rows as keys 0, 1, 2, ... in row order. An
// empty Selection also drops the panels' current user selection (userspec).
int SaveNumberedSection(const SectionIo &io, const QString &section, const QString &iniFileName);

} // namespace calvenor

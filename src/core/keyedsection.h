#pragma once

#include "sectionio.h"

#include <QStringList>

namespace calvenor {

// Sections of named templates (Rename, Searches, SyncOptions, AttrPlugin): every
// template is a group of keys sharing a base name and differing by a fixed suffix, and
// becomes one row whose columns col2.. hold the values of those suffixes.

// The key up to its last "_"; the MissingValueMarker when it has none.
QString KeyBaseName(const QString &key, const QString &missingValueMarker);
// The suffixes of col2.. of a keyed section; AttrPlugin has one column, the key itself.
QStringList KeyedSuffixes(const QString &section);

int ReadKeyedSection(const SectionIo &io, const QString &section, const QString &iniFileName);
int SaveKeyedSection(const SectionIo &io, const QString &section, const QString &iniFileName);

} // namespace calvenor

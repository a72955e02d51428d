#pragma once

#include "savereview.h"

#include <QString>

namespace calvenor {

class LanguageSource;

// The review in words of the language in use.
namespace SaveReviewText {

// How an entry goes into a sentence (a mirrored window keeps a path's own direction);
// none: as it is.
using EntryWrap = QString (*)(const QString &);

// One change: "Removed: c:\temp\", "Caption of c:\work\: (no caption) → Work".
QString Change(const ReviewChange &change, const LanguageSource &language, EntryWrap wrap = nullptr);
// A section and how many entries the save removes, adds, renames, moves and changes:
// "Left history: 2 removed, 1 added".
QString Section(const SectionReview &section, const LanguageSource &language);

} // namespace SaveReviewText
} // namespace calvenor

#pragma once

#include <QString>

namespace calvenor {

class LanguageSource;

// A file that could not be read or written, in plain words: what is wrong (its folder
// does not exist, it is read-only, the disk is full) and the file, the error number
// kept only as a detail.
QString FileFailureText(bool writing, int error, const QString &file, const LanguageSource &language);

} // namespace calvenor

#pragma once

#include <QString>

namespace calvenor {

// The user guide that Help Topics opens: appFolder + "Readme.html", or, while a
// language file is in use, "Readme <language file name>.html" beside it when that
// exists ("Deutsch.lng" gives "Readme Deutsch.html"). languageFile may be stored with
// macros or Windows separators; only its name counts. Empty when the chosen guide does
// not exist; the caller then says "File not found." (id 3056).
QString HelpFilePath(const QString &appFolder, bool useDefaultLanguage, const QString &languageFile);

} // namespace calvenor

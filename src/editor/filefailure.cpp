#include "filefailure.h"

#include "core/languagesource.h"
#include "core/pathmacros.h"
#include "platform/errornumbers.h"

namespace calvenor {

QString FileFailureText(bool writing, int error, const QString &file, const LanguageSource &language)
{
    QString words;
    switch (error) {
    case errPathNotFound: {
        QString folder = folderOf(file);
        if (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
            folder.chop(1);
        words = language.GetLanguageString(3336).replace(QStringLiteral("%1"), folder);
        break;
    }
    case errPermissionDenied:
        words = language.GetLanguageString(writing ? 3337 : 3338).replace(QStringLiteral("%1"), file);
        break;
    case errDiskFull:
        words = language.GetLanguageString(3339).replace(QStringLiteral("%1"), file);
        break;
    default:
        // Nothing plainer to say: the number is the message.
        return language.GetLanguageString(writing ? 3301 : 3300).arg(error) + u' ' + file;
    }
    return words + u'\n' + language.GetLanguageString(3340).arg(error);
}

} // namespace calvenor

#include "helpfile.h"

#include "core/pathmacros.h"

#include <QFileInfo>

namespace calvenor {
namespace {

// The name without folder and extension; both separators count, since the settings
// may hold the path in Windows or macro form.
QString languageName(const QString &languageFile)
{
    const QString name = fileNameOf(languageFile);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

} // namespace

QString HelpFilePath(const QString &appFolder, bool useDefaultLanguage, const QString &languageFile)
{
    const QString folder = AddBackslash(appFolder);
    if (!useDefaultLanguage) {
        const QString name = languageName(languageFile);
        const QString translated = folder + QStringLiteral("Readme ") + name + QStringLiteral(".html");
        if (!name.isEmpty() && QFileInfo(translated).isFile())
            return translated;
    }
    const QString guide = folder + QStringLiteral("Readme.html");
    // A folder or a dangling link by that name would open nothing.
    return QFileInfo(guide).isFile() ? guide : QString();
}

} // namespace calvenor

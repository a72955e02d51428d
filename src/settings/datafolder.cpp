#include "datafolder.h"

#include <QDir>
#include <QFileInfo>

namespace calvenor {

QString DataFolder(const QString &appFolder)
{
    const QString folder = appFolder.endsWith(u'/') ? appFolder : appFolder + u'/';
    // Data beside the program wins, so a build folder never reads an older installation.
    if (QFileInfo(folder + QStringLiteral("Languages")).isDir() || QFileInfo(folder + QStringLiteral("Readme.html")).isFile())
        return folder;
    const QString shared = QDir::cleanPath(folder + QStringLiteral("../share/calvenor")) + u'/';
    return QFileInfo(shared).isDir() ? shared : folder;
}

} // namespace calvenor

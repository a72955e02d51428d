#include "winepaths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace calvenor {

WinePrefix::WinePrefix(const QString &prefixFolder)
    : m_folder(QDir::cleanPath(prefixFolder))
{
}

WinePrefix WinePrefix::fromEnvironment(const QProcessEnvironment &environment)
{
    const QString prefix = environment.value(QStringLiteral("WINEPREFIX"));
    if (!prefix.isEmpty())
        return WinePrefix(prefix);
    return WinePrefix(environment.value(QStringLiteral("HOME"), QDir::homePath()) + QStringLiteral("/.wine"));
}

bool WinePrefix::hasDriveLetter(const QString &path)
{
    if (path.size() < 2 || path.at(1) != u':')
        return false;
    const char16_t letter = path.at(0).toLower().unicode();
    if (letter < u'a' || letter > u'z')
        return false;
    return path.size() == 2 || path.at(2) == u'\\' || path.at(2) == u'/';
}

QString matchNameIgnoringCase(const QString &folder, const QString &name)
{
    if (QFileInfo::exists(folder + u'/' + name))
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

QString WinePrefix::toNative(const QString &path) const
{
    if (!hasDriveLetter(path)) {
        QString native = path;
        native.replace(u'\\', u'/');
        return native;
    }
    const QString driveLink = m_folder + QStringLiteral("/dosdevices/") + path.at(0).toLower() + u':';
    const QFileInfo drive(driveLink);
    if (!drive.exists())
        return {};
    QString native = drive.canonicalFilePath();
    if (native == u'/')
        native.clear();
    const QStringList parts = path.mid(2).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts);
    bool stillMatching = true;
    for (const QString &part : parts) {
        if (part == u'.')
            continue;
        if (part == QStringLiteral("..")) {
            native = native.left(qMax(0, native.lastIndexOf(u'/')));
            continue;
        }
        const QString folder = native.isEmpty() ? QStringLiteral("/") : native;
        const QString name = stillMatching ? matchNameIgnoringCase(folder, part) : part;
        if (stillMatching && !QFileInfo::exists(folder + u'/' + name))
            stillMatching = false;   // nothing below a missing folder can match
        native += u'/' + name;
    }
    return native.isEmpty() ? QStringLiteral("/") : native;
}

QString WinePrefix::toWindows(const QString &nativePath) const
{
    const QString absolute = QDir::cleanPath(QFileInfo(nativePath).absoluteFilePath());
    QString bestDrive;
    QString bestRoot;
    const QDir devices(m_folder + QStringLiteral("/dosdevices"));
    const QStringList links = devices.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &link : links) {
        if (link.size() != 2 || link.at(1) != u':' || !link.at(0).isLetter())
            continue;
        const QString root = QFileInfo(devices.filePath(link)).canonicalFilePath();
        if (root.isEmpty())
            continue;
        const bool inside = absolute == root || root == u'/'
            || absolute.startsWith(root + u'/');
        if (inside && root.size() > bestRoot.size()) {
            bestRoot = root;
            bestDrive = link;
        }
    }
    if (bestDrive.isEmpty()) {
        bestDrive = QStringLiteral("z:");
        bestRoot = QStringLiteral("/");
    }
    QString rest = bestRoot == u'/' ? absolute : absolute.mid(bestRoot.size());
    rest.replace(u'/', u'\\');
    if (!rest.startsWith(u'\\'))
        rest.prepend(u'\\');
    return bestDrive.toUpper() + rest;
}

} // namespace calvenor

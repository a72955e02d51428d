#include "pathmacros.h"

#include <QDir>
#include <QFileInfo>

namespace calvenor {
namespace {

const QString kAppPrefix = QStringLiteral("vanteditors:\\");
const QString kCommanderPrefix = QStringLiteral("%Commander_Path%\\");

bool startsWithFolder(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    if (path.size() < folder.size())
        return false;
    for (qsizetype i = 0; i < folder.size(); ++i) {
        const QChar a = path[i];
        const QChar b = folder[i];
        const bool bothSeparators = (a == u'\\' || a == u'/') && (b == u'\\' || b == u'/');
        if (!bothSeparators && a.toCaseFolded() != b.toCaseFolded())
            return false;
    }
    return true;
}

} // namespace

PathMacros::PathMacros(const QString &missingValueMarker, const QString &appFolder,
                       const QProcessEnvironment &environment)
    : m_marker(missingValueMarker)
    , m_appFolder(appFolder)
    , m_environment(environment)
    , m_prefix(WinePrefix::fromEnvironment(environment))
{
}

void PathMacros::setFallbackVariable(const QString &name, const QString &value)
{
    m_fallbacks.insert(name.toUpper(), value);
}

QString PathMacros::variable(const QString &name) const
{
    const QString value = environmentValue(m_environment, name);
    return value.isNull() ? m_fallbacks.value(name.toUpper(), QString()) : value;
}

QString environmentValue(const QProcessEnvironment &environment, const QString &name)
{
    // Windows environment names ignore case (the file manager sets COMMANDER_PATH, users
    // write Commander_Path); here two spellings may both be set, and the exact one wins.
    if (environment.contains(name))
        return environment.value(name);
    const QString upper = name.toUpper();
    const QStringList keys = environment.keys();
    for (const QString &key : keys) {
        if (key.toUpper() == upper)
            return environment.value(key);
    }
    return QString();
}

QString PathMacros::ExpandPath(const QString &path) const
{
    if (path.isEmpty() || path == m_marker)
        return path;
    if (path.startsWith(kAppPrefix, Qt::CaseInsensitive)
        || path.startsWith(QStringLiteral("vanteditors:/"), Qt::CaseInsensitive))
        return m_appFolder + path.mid(kAppPrefix.size());

    QString result;
    result.reserve(path.size());
    qsizetype i = 0;
    while (i < path.size()) {
        const qsizetype open = path.indexOf(u'%', i);
        const qsizetype close = open < 0 ? -1 : path.indexOf(u'%', open + 1);
        if (close < 0) {
            result.append(QStringView(path).mid(i));
            break;
        }
        result.append(QStringView(path).mid(i, open - i));
        const QString name = path.mid(open + 1, close - open - 1);
        const QString value = name.isEmpty() ? QString() : variable(name);
        if (value.isNull()) {
            // An unset variable stays as written; its closing '%' may open the next one.
            result.append(QStringView(path).mid(open, close - open));
            i = close;
        } else {
            result.append(value);
            i = close + 1;
        }
    }
    result.remove(QChar(u'\0'));
    return result;
}

QString PathMacros::UnexpandPath(const QString &path) const
{
    if (path == m_marker)
        return path;
    if ((m_unExpandPaths & 1) && startsWithFolder(path, m_appFolder))
        return kAppPrefix + path.mid(m_appFolder.size());
    if ((m_unExpandPaths & 2) && m_tcInstallDir != m_marker && startsWithFolder(path, m_tcInstallDir))
        return kCommanderPrefix + path.mid(m_tcInstallDir.size());
    return path;
}

QString PathMacros::nativePath(const QString &path) const
{
    const QString expanded = ExpandPath(path);
    if (expanded.isEmpty() || expanded == m_marker)
        return {};
    // A reference nobody could expand would otherwise become a file with '%' in its name.
    if (KeepsUnsetReference(expanded))
        return {};
    // A bare file name lives in the Windows folder, as the profile functions place it.
    if (!expanded.contains(u'\\') && !expanded.contains(u'/') && !WinePrefix::hasDriveLetter(expanded))
        return m_prefix.toNative(WindowsFolder() + expanded);
    return m_prefix.toNative(expanded);
}

bool PathMacros::KeepsUnsetReference(const QString &expanded)
{
    const qsizetype open = expanded.indexOf(u'%');
    return open >= 0 && expanded.indexOf(u'%', open + 1) > open + 1;
}

QString PathMacros::WindowsFolder() const
{
    const QString windir = variable(QStringLiteral("windir"));
    return AddBackslash(windir.isEmpty() ? QStringLiteral("C:\\windows") : windir);
}

bool PathMacros::FileExists(const QString &path) const
{
    return calvenor::FileExists(nativePath(path));
}

QString AddBackslash(const QString &path)
{
    if (path.endsWith(u'\\') || path.endsWith(u'/'))
        return path;
    return path + (path.contains(u'/') || !path.contains(u'\\') ? u'/' : u'\\');
}

QString GetTempFolder()
{
    return AddBackslash(QDir::tempPath());
}

bool FileExists(const QString &nativePath)
{
    if (nativePath.isEmpty())
        return false;
    const QFileInfo info(nativePath);
    return info.exists() || info.isSymLink();
}

QString folderOf(const QString &path)
{
    const qsizetype last = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return last < 0 ? path : path.left(last + 1);
}

QString fileNameOf(const QString &path)
{
    const qsizetype last = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(last + 1);
}

} // namespace calvenor

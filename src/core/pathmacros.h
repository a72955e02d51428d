#pragma once

#include "platform/winepaths.h"

#include <QHash>
#include <QProcessEnvironment>
#include <QString>

namespace calvenor {

// The path rules every part of the program shares: the macro forms in which paths are
// stored ("vanteditors:\" for the program's folder, "%Commander_Path%\" for the file
// manager's, environment references), and the mapping of the Windows paths the file
// manager writes to files on this machine.
class PathMacros
{
public:
    PathMacros(const QString &missingValueMarker, const QString &appFolder,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

    const QString &MissingValueMarker() const { return m_marker; }
    const QString &AppFolder() const { return m_appFolder; }          // gstrAppFolder
    const QString &TCInstallDir() const { return m_tcInstallDir; }    // gstrTCInstallDir
    void setTCInstallDir(const QString &folder) { m_tcInstallDir = folder; }
    int UnExpandPaths() const { return m_unExpandPaths; }
    void setUnExpandPaths(int flags) { m_unExpandPaths = qBound(0, flags, 3); }
    // Values for %NAME% references the process environment lacks (the folders Wine
    // records for the prefix, the file manager's own folder).
    void setFallbackVariable(const QString &name, const QString &value);
    const WinePrefix &winePrefix() const { return m_prefix; }
    const QProcessEnvironment &environment() const { return m_environment; }

    QString ExpandPath(const QString &path) const;
    QString UnexpandPath(const QString &path) const;
    // The file behind a path as stored: macros expanded, drive letters through the
    // Wine prefix. Empty when the path cannot name a file here (an unmapped drive, a
    // reference to a variable nobody set).
    QString nativePath(const QString &path) const;
    // Whether an expanded path still holds a %NAME% reference nobody set.
    static bool KeepsUnsetReference(const QString &expanded);
    bool FileExists(const QString &path) const;
    // The prefix's Windows folder (%windir%, else C:\windows\) with a trailing separator:
    // where a bare file name lives.
    QString WindowsFolder() const;
    // An environment variable as the file manager sees it (names ignore case); empty
    // when unset.
    QString variable(const QString &name) const;

private:

    QString m_marker;
    QString m_appFolder;
    QString m_tcInstallDir;
    int m_unExpandPaths = 3;
    QProcessEnvironment m_environment;
    QHash<QString, QString> m_fallbacks;   // upper-cased name -> value
    WinePrefix m_prefix;
};

// The value of an environment variable, its name matched without regard to case as
// Windows does; a null string when it is not set.
QString environmentValue(const QProcessEnvironment &environment, const QString &name);
// The path with a trailing separator; a path that ends with either separator is kept.
QString AddBackslash(const QString &path);
// The folder for temporary files, with a trailing separator.
QString GetTempFolder();
// True when path (a native path) names an existing entry.
bool FileExists(const QString &nativePath);
// F up to and including its last separator of either kind; all of F if it has none.
QString folderOf(const QString &path);
// F after its last separator of either kind; all of F if it has none.
QString fileNameOf(const QString &path);

} // namespace calvenor

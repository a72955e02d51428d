#include "filemanagerrestarter.h"

#include "settings/csettings.h"

#include <QThread>

#include <cmath>

namespace calvenor {

FileManagerRestarter::FileManagerRestarter(PathMacros &paths, cSettings &settings, FileManagerProcess &process)
    : m_paths(paths)
    , m_settings(settings)
    , m_process(process)
    , m_sleep([](std::chrono::milliseconds delay) { QThread::msleep(quint64(delay.count())); })
{
}

void FileManagerRestarter::setIniFiles(const QString &wincmd, const QString &wcxftp)
{
    m_wincmd = wincmd;
    m_wcxftp = wcxftp;
}

double FileManagerRestarter::RestartDelaySeconds() const
{
    bool ok = false;
    const double seconds = m_settings.Read(QStringLiteral("Common"), QStringLiteral("TCRestartDelay"), QStringLiteral("1"))
                               .trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(seconds))
        return 1.0;
    return qBound(0.0, seconds, 10.0);
}

void FileManagerRestarter::WaitRestartDelay()
{
    const auto half = std::chrono::milliseconds(qint64(RestartDelaySeconds() * 500.0));
    if (half.count() > 0)
        m_sleep(half);
}

bool FileManagerRestarter::FindFileManagerWindow() const
{
    return !FileManagerProcess::findRunning().isEmpty();
}

QString FileManagerRestarter::windowsPath(const QString &path) const
{
    if (WinePrefix::hasDriveLetter(path) || !path.startsWith(u'/'))
        return path;
    return m_paths.winePrefix().toWindows(path);
}

QStringList FileManagerRestarter::StartArguments(const QString &strSwitches) const
{
    // The switch string is " /i=" or " /f=<path> /i="; the /f= path runs up to the /i=.
    QStringList arguments;
    const qsizetype ftp = strSwitches.indexOf(QStringLiteral("/f="), 0, Qt::CaseInsensitive);
    if (ftp >= 0) {
        qsizetype end = strSwitches.lastIndexOf(QStringLiteral(" /i="), -1, Qt::CaseInsensitive);
        if (end < ftp)
            end = strSwitches.size();
        arguments << QStringLiteral("/f=") + windowsPath(strSwitches.mid(ftp + 3, end - ftp - 3).trimmed());
    }
    // Each path is one argument: no quoting needed, whatever blanks it holds.
    arguments << QStringLiteral("/i=") + windowsPath(m_wincmd);
    return arguments;
}

void FileManagerRestarter::RestartFileManager(bool blnClose, bool blnWithSwitches, const QString &strSwitches)
{
    const QString &marker = m_paths.MissingValueMarker();
    if (m_paths.TCInstallDir().isEmpty() || m_paths.TCInstallDir() == marker)
        return;
    const QString folder = m_paths.nativePath(m_paths.TCInstallDir());
    // The program that was closed is the one started again.
    const QString executable = FileManagerProcess::findExecutable(folder, m_closedName);
    if (executable.isEmpty())
        return;
    if (blnClose) {
        const QList<qint64> asked = m_process.requestClose(folder);
        if (!asked.isEmpty())
            m_closedName = m_process.closedName();
        if (!asked.isEmpty() && !m_process.waitUntilEnded(asked, m_closeTimeout) && m_report)
            m_report(QStringLiteral("Total Commander did not close within %1 seconds.").arg(m_closeTimeout.count() / 1000));
    }
    WaitRestartDelay();
    if (!blnClose) {
        const QStringList arguments = blnWithSwitches ? StartArguments(strSwitches) : QStringList();
        if (!m_process.start(executable, arguments) && m_report)
            m_report(QStringLiteral("Total Commander could not be started: ") + executable);
        m_closedName.clear();
    }
}

} // namespace calvenor

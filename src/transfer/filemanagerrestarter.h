#pragma once

#include "core/pathmacros.h"
#include "platform/filemanagerprocess.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace calvenor {

class cSettings;

// Closes the running file manager before its INI files are written and starts it again
// afterwards, with switches naming the two files, so that it runs on what was saved.
class FileManagerRestarter
{
public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;
    using Reporter = std::function<void(const QString &)>;

    FileManagerRestarter(PathMacros &paths, cSettings &settings, FileManagerProcess &process);

    // The files the restarted file manager is to use (gstrWincmdPath, gstrWcxftpPath).
    void setIniFiles(const QString &wincmd, const QString &wcxftp);
    void setSleeper(Sleeper sleeper) { m_sleep = std::move(sleeper); }
    void setReporter(Reporter reporter) { m_report = std::move(reporter); }
    void setCloseTimeout(std::chrono::milliseconds timeout) { m_closeTimeout = timeout; }

    // Does nothing unless the installation folder is known and holds the executable.
    // Closing asks the file manager to close and waits (bounded) until it has ended;
    // starting starts the executable that was closed (Totalcmd64.exe when that one ran),
    // else Totalcmd.exe, else Totalcmd64.exe;
    // starting passes strSwitches (" /i=", or " /f=<path> /i=") completed with the
    // wincmd.ini path, all as the file manager sees them (Windows paths).
    void RestartFileManager(bool blnClose, bool blnWithSwitches, const QString &strSwitches);
    // True while the file manager runs.
    bool FindFileManagerWindow() const;
    // Waits half of TCRestartDelay (read afresh; 0 to 10 seconds; not a number: 1).
    void WaitRestartDelay();
    double RestartDelaySeconds() const;
    // The arguments a start passes, for a switch string.
    QStringList StartArguments(const QString &strSwitches) const;

private:
    QString windowsPath(const QString &path) const;

    PathMacros &m_paths;
    cSettings &m_settings;
    FileManagerProcess &m_process;
    QString m_wincmd;
    QString m_wcxftp;
    QString m_closedName;   // the executable the last close found running
    Sleeper m_sleep;
    Reporter m_report;
    std::chrono::milliseconds m_closeTimeout {std::chrono::seconds(30)};
};

} // namespace calvenor

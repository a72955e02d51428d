#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace calvenor {

// The file manager as a process on this machine: found by its executable's name (in any
// case) among the running processes, asked to close the way a click on its window's
// close box asks, and started again: through wine when it is a Windows program,
// directly when it is a native one. Arguments always travel as a list, never through
// a shell.
class FileManagerProcess
{
public:
    // The names the file manager's executable goes by, in the order they are tried.
    static QStringList executableNames();

    // The executable in an installation folder: preferredName when it is there, else
    // "Totalcmd.exe", else "Totalcmd64.exe", each matched without regard to case; empty
    // when none is there.
    static QString findExecutable(const QString &installFolder, const QString &preferredName = QString());
    // A Windows program starts with the bytes "MZ".
    static bool isWindowsProgram(const QString &executable);

    // A running file manager: its process and the name of its executable as it runs
    // ("TOTALCMD64.EXE").
    struct Running
    {
        qint64 process = 0;
        QString name;
    };
    static QList<Running> findRunningPrograms(const QString &procFolder = QStringLiteral("/proc"));
    // The ids of running processes whose program is one of the file manager's names.
    static QList<qint64> findRunning(const QString &procFolder = QStringLiteral("/proc"));

    // Asks every running file manager to close, each by the name it runs under: a
    // Windows program through wine's taskkill without /f (a close message to its
    // windows), a native one with SIGTERM. Whether a program is a Windows one is told by
    // its executable in the installation folder. Never kills. Returns the processes that
    // were asked; closedName() is the name the (first) one ran under.
    QList<qint64> requestClose(const QString &installFolder);
    const QString &closedName() const { return m_closedName; }
    // Waits until those processes have ended; false when one still runs at the timeout.
    bool waitUntilEnded(const QList<qint64> &processes, std::chrono::milliseconds timeout,
                        const QString &procFolder = QStringLiteral("/proc")) const;
    // Starts the executable with these arguments, detached from us.
    bool start(const QString &executable, const QStringList &arguments) const;

    // The wine program found on PATH (empty when there is none); tests may name another.
    void setWineProgram(const QString &wine) { m_wine = wine; }
    QString wineProgram() const;

private:
    QString m_wine;
    QString m_closedName;
};

} // namespace calvenor

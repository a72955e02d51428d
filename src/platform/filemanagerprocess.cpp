#include "filemanagerprocess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace calvenor {
namespace {

// The file manager's executable name that path ends in, or empty.
QString fileManagerName(const QString &path)
{
    const qsizetype last = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = path.mid(last + 1);
    for (const QString &candidate : FileManagerProcess::executableNames()) {
        if (name.compare(candidate, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

// A process that has ended but was not yet reaped by its parent (a zombie) has ended.
bool isRunning(const QString &procFolder, qint64 process)
{
    QFile stat(procFolder + u'/' + QString::number(process) + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) != "Z";
}

} // namespace

QStringList FileManagerProcess::executableNames()
{
    return {QStringLiteral("Totalcmd.exe"), QStringLiteral("Totalcmd64.exe")};
}

QString FileManagerProcess::findExecutable(const QString &installFolder, const QString &preferredName)
{
    const QDir folder(installFolder);
    if (installFolder.isEmpty() || !folder.exists())
        return {};
    const QStringList entries = folder.entryList(QDir::Files);
    QStringList names = executableNames();
    if (!preferredName.isEmpty())
        names.prepend(preferredName);
    for (const QString &name : std::as_const(names)) {
        for (const QString &entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return folder.filePath(entry);
        }
    }
    return {};
}

bool FileManagerProcess::isWindowsProgram(const QString &executable)
{
    QFile file(executable);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

QList<FileManagerProcess::Running> FileManagerProcess::findRunningPrograms(const QString &procFolder)
{
    QList<Running> found;
    const QStringList entries = QDir(procFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 process = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile commandLine(procFolder + u'/' + entry + QStringLiteral("/cmdline"));
        if (!commandLine.open(QIODevice::ReadOnly))
            continue;
        // A Wine program shows its Windows path as the first argument; a script its
        // interpreter first and itself second.
        const QList<QByteArray> arguments = commandLine.read(65536).split('\0');
        for (qsizetype i = 0; i < qMin<qsizetype>(2, arguments.size()); ++i) {
            const QString name = fileManagerName(QFile::decodeName(arguments[i]));
            if (!name.isEmpty()) {
                found.append({process, name});
                break;
            }
        }
    }
    return found;
}

QList<qint64> FileManagerProcess::findRunning(const QString &procFolder)
{
    QList<qint64> found;
    for (const Running &running : findRunningPrograms(procFolder))
        found.append(running.process);
    return found;
}

QString FileManagerProcess::wineProgram() const
{
    return m_wine.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("wine")) : m_wine;
}

QList<qint64> FileManagerProcess::requestClose(const QString &installFolder)
{
    m_closedName.clear();
    QList<qint64> asked;
    QStringList namesAsked;
    for (const Running &running : findRunningPrograms()) {
        asked.append(running.process);
        if (m_closedName.isEmpty())
            m_closedName = running.name;
        // With both executables installed, the close request must name the one that runs.
        if (!isWindowsProgram(findExecutable(installFolder, running.name))) {
            ::kill(pid_t(running.process), SIGTERM);
        } else if (!namesAsked.contains(running.name, Qt::CaseInsensitive)) {
            namesAsked.append(running.name);
            const QString wine = wineProgram();
            // taskkill without /f sends the close message a click on the close box sends.
            if (!wine.isEmpty())
                QProcess::execute(wine, {QStringLiteral("taskkill"), QStringLiteral("/im"), running.name});
        }
    }
    return asked;
}

bool FileManagerProcess::waitUntilEnded(const QList<qint64> &processes, std::chrono::milliseconds timeout,
                                        const QString &procFolder) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        bool anyRunning = false;
        for (const qint64 process : processes)
            anyRunning = anyRunning || isRunning(procFolder, process);
        if (!anyRunning)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QThread::msleep(50);
    }
}

bool FileManagerProcess::start(const QString &executable, const QStringList &arguments) const
{
    if (isWindowsProgram(executable)) {
        const QString wine = wineProgram();
        if (wine.isEmpty())
            return false;
        return QProcess::startDetached(wine, QStringList {executable} + arguments);
    }
    return QProcess::startDetached(executable, arguments);
}

} // namespace calvenor

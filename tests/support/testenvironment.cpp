#include "testenvironment.h"

#include "platform/filemanagerprocess.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcessEnvironment>

namespace calvenor::test {

TestEnvironment::TestEnvironment()
{
    const QString root = m_dir.path();
    QDir().mkpath(root + QStringLiteral("/home"));
    QDir().mkpath(root + QStringLiteral("/prefix/drive_c"));
    QDir().mkpath(root + QStringLiteral("/prefix/dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), root + QStringLiteral("/prefix/dosdevices/c:"));
    qputenv("HOME", QFile::encodeName(root + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/home/.config")));
    qputenv("WINEPREFIX", QFile::encodeName(root + QStringLiteral("/prefix")));
    for (const char *name : {"Commander_Path", "COMMANDER_PATH", "Commander_INI", "COMMANDER_INI"})
        qunsetenv(name);
    m_paths = std::make_unique<PathMacros>(kMarker, root + QStringLiteral("/app/"),
                                           QProcessEnvironment::systemEnvironment());
}

QList<qint64> TestEnvironment::RunningStandIns()
{
    QList<qint64> found;
    const QByteArray temporary = QFile::encodeName(QDir::tempPath());
    for (const qint64 process : FileManagerProcess::findRunning()) {
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(process));
        if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(temporary))
            found.append(process);
    }
    return found;
}

QString TestEnvironment::path(const QString &name) const
{
    return m_dir.path() + u'/' + name;
}

QString TestEnvironment::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString file = path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(file));
    return file;
}

QByteArray TestEnvironment::readFile(const QString &name) const
{
    QFile in(name.startsWith(u'/') ? name : path(name));
    if (!in.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return in.readAll();
}

QString TestEnvironment::wineDrive() const
{
    return path(QStringLiteral("prefix/drive_c"));
}

QByteArray TestEnvironment::exampleFile(const QString &name)
{
    QFile in(QStringLiteral(CALVENOR_EXAMPLES_DIR "/") + name);
    if (!in.open(QIODevice::ReadOnly))
        qFatal("missing example file %s", qPrintable(name));
    return in.readAll();
}

cProfile &TestEnvironment::profile()
{
    if (!m_profile)
        m_profile = std::make_unique<cProfile>(*m_paths, QString());
    return *m_profile;
}

} // namespace calvenor::test

#include "diskwatch.h"

#include "core/pathmacros.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace calvenor {

DiskWatch::DiskWatch(const PathMacros &paths, QObject *parent)
    : QObject(parent)
    , m_paths(paths)
    , m_watcher(new QFileSystemWatcher(this))
    , m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(300);
    // Files are replaced rather than rewritten by careful programs (ours too): the
    // folder is watched as well, and a replaced file is watched again.
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_settle, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_settle, qOverload<>(&QTimer::start));
    connect(m_settle, &QTimer::timeout, this, [this] {
        rewatch();
        if (!ChangedFiles().isEmpty())
            emit Changed();
    });
}

void DiskWatch::Watch(const QStringList &files)
{
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_native.clear();
    for (const QString &file : files) {
        const QString native = m_paths.nativePath(file);
        if (!native.isEmpty())
            m_native.insert(file, native);
    }
    Accept();
    rewatch();
}

void DiskWatch::rewatch()
{
    for (const QString &native : std::as_const(m_native)) {
        const QString folder = QFileInfo(native).absolutePath();
        if (QFileInfo::exists(folder) && !m_watcher->directories().contains(folder))
            m_watcher->addPath(folder);
        if (QFileInfo::exists(native) && !m_watcher->files().contains(native))
            m_watcher->addPath(native);
    }
}

void DiskWatch::Accept(const QSet<QString> &notWritten)
{
    QHash<QString, FileStamp> known;
    for (const QString &native : std::as_const(m_native))
        known.insert(native, notWritten.contains(native) ? m_known.value(native) : FileStamp::of(native));
    m_known = std::move(known);
}

QStringList DiskWatch::ChangedFiles() const
{
    QStringList changed;
    for (auto it = m_native.cbegin(); it != m_native.cend(); ++it) {
        if (FileStamp::of(it.value()) != m_known.value(it.value()))
            changed.append(it.key());
    }
    changed.sort();
    return changed;
}

} // namespace calvenor

#include "stalefolders.h"

#include "core/pathmacros.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

namespace calvenor {

StaleFolders::StaleFolders(const PathMacros &paths, QObject *parent)
    : QObject(parent)
    , m_paths(paths)
    , m_pool(new QThreadPool(this))
{
    // A few lookups at a time; one stuck on a dead mount does not hold up the others.
    m_pool->setMaxThreadCount(4);
}

StaleFolders::~StaleFolders()
{
    m_pool->clear();
    // A lookup stuck on a dead mount must not hold up closing the program: its pool
    // is then left to the end of the process.
    if (!m_pool->waitForDone(1000))
        m_pool->setParent(nullptr);
}

QString StaleFolders::FolderOf(const PathMacros &paths, const QString &entry)
{
    const QString text = entry.trimmed();
    if (text.isEmpty() || text.startsWith(QStringLiteral("\\\\")) || text.contains(QStringLiteral("://"))
        || text.contains(u';') || text.contains(u'*') || text.contains(u'?') || text.contains(u'|'))
        return QString();
    return paths.nativePath(text);
}

StaleFolders::State StaleFolders::Check(const QString &nativeFolder)
{
    if (nativeFolder.isEmpty())
        return State::Unknown;
    QFileInfo info(nativeFolder);
    if (info.exists())
        return State::Exists;
    // Inside a file: the file manager opens archives as folders.
    for (QString folder = info.absolutePath(); !folder.isEmpty();) {
        const QFileInfo above(folder);
        if (above.exists())
            return above.isDir() ? State::Missing : State::Exists;
        const QString parent = above.absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return State::Missing;
}

StaleFolders::State StaleFolders::StateOf(const QString &entry)
{
    const auto known = m_states.constFind(entry);
    if (known != m_states.cend())
        return *known;
    const QString folder = FolderOf(m_paths, entry);
    if (folder.isEmpty()) {
        m_states.insert(entry, State::Unknown);
        return State::Unknown;
    }
    m_states.insert(entry, State::Pending);
    const quint64 generation = m_generation;
    QPointer<StaleFolders> self(this);
    m_pool->start([self, entry, folder, generation, lookup = m_lookup] {
        const State state = lookup(folder);
        QMetaObject::invokeMethod(
            qApp, [self, entry, state, generation] {
                if (self)
                    self->answer(entry, state, generation);
            },
            Qt::QueuedConnection);
    });
    // No answer in time: not checkable, so never called missing.
    QTimer::singleShot(m_timeLimit, this, [this, entry, generation] {
        if (m_states.value(entry) == State::Pending)
            answer(entry, State::Unknown, generation);
    });
    return State::Pending;
}

void StaleFolders::answer(const QString &entry, State state, quint64 generation)
{
    if (generation != m_generation || m_states.value(entry) != State::Pending)
        return;
    m_states.insert(entry, state);
    emit Known(entry, state);
}

void StaleFolders::Clear()
{
    ++m_generation;
    m_states.clear();
}

} // namespace calvenor

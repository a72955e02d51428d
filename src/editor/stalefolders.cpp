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
    // Folder histories keep a name after the path: "c:\dir\<tab>#03,name", or two
    // blanks and "#...".
    QString text = entry.left(entry.indexOf(u'\t'));
    const qsizetype suffix = text.indexOf(QStringLiteral("  #"));
    if (suffix >= 0)
        text.truncate(suffix);
    text = text.trimmed();
    if (text.isEmpty() || text.startsWith(QStringLiteral("\\\\")) || text.contains(QStringLiteral("://"))
        || text.contains(u';') || text.contains(u'*') || text.contains(u'?') || text.contains(u'|'))
        return QString();
    const QString expanded = paths.ExpandPath(text);
    if (expanded == paths.MissingValueMarker())
        return QString();
    // A reference nobody set stays as written: no folder of that name is meant.
    if (PathMacros::KeepsUnsetReference(expanded))
        return QString();
    // Only an absolute path names one folder; "projects" in New Directory is relative
    // to wherever the panel was.
    const bool driveAbsolute = expanded.size() >= 3 && WinePrefix::hasDriveLetter(expanded)
        && (expanded[2] == u'\\' || expanded[2] == u'/');
    if (!driveAbsolute && !expanded.startsWith(u'/'))
        return QString();
    return expanded;
}

StaleFolders::State StaleFolders::Check(const WinePrefix &prefix, const QString &path)
{
    const QString nativeFolder = path.isEmpty() ? QString() : prefix.toNative(path);
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
    std::function<State(const QString &)> lookup = m_lookup;
    if (!lookup)
        lookup = [prefix = m_paths.winePrefix()](const QString &path) { return Check(prefix, path); };
    m_pool->start([self, entry, folder, generation, lookup] {
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

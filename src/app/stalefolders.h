#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QThreadPool;

namespace calvenor {

class PathMacros;

// Which folder entries name folders that no longer exist, looked up off the window's
// thread. Paths are resolved as the file manager under Wine sees them (drive letters
// through the prefix, %VAR% macros); what cannot be checked here (network shares, FTP
// and plug-in paths, several paths in one entry, drives the prefix does not map, a
// lookup that does not answer in time) is never called missing.
class StaleFolders : public QObject
{
    Q_OBJECT
public:
    enum class State { Unknown, Pending, Exists, Missing };

    explicit StaleFolders(const PathMacros &paths, QObject *parent = nullptr);
    ~StaleFolders() override;

    // The native folder an entry names, or empty when it cannot be checked.
    static QString FolderOf(const PathMacros &paths, const QString &entry);
    // Looks the folder up (may block on a hung mount): Exists also for a path inside a
    // file (an archive the file manager opens as a folder).
    static State Check(const QString &nativeFolder);

    // What is known of an entry; an entry not asked about yet is looked up now and
    // reported through Known.
    State StateOf(const QString &entry);
    // The lookup itself (Check unless a test gives another).
    void setLookup(std::function<State(const QString &)> lookup) { m_lookup = std::move(lookup); }
    // How long one lookup may take before it counts as not checkable.
    void setTimeLimit(int milliseconds) { m_timeLimit = milliseconds; }
    // Forgets every answer (the disk may have changed).
    void Clear();

signals:
    void Known(const QString &entry, calvenor::StaleFolders::State state);

private:
    void answer(const QString &entry, State state, quint64 generation);

    const PathMacros &m_paths;
    QThreadPool *m_pool;
    QHash<QString, State> m_states;
    std::function<State(const QString &)> m_lookup = &StaleFolders::Check;
    int m_timeLimit = 2000;
    quint64 m_generation = 0;
};

} // namespace calvenor

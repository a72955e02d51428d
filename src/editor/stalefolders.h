#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QThreadPool;

namespace calvenor {

class PathMacros;
class WinePrefix;

// Which folder entries name folders that no longer exist, looked up off the window's
// thread: the drive mapping, the matching of each name ignoring case and the
// existence test all touch the disk, and a hung mount must never hold up the window.
// Paths are resolved as the file manager under Wine sees them (drive letters through
// the prefix, %VAR% macros); what cannot be checked here (relative names, network
// shares, FTP and plug-in paths, several paths in one entry, drives the prefix does
// not map, a lookup that does not answer in time) is never called missing.
class StaleFolders : public QObject
{
    Q_OBJECT
public:
    enum class State { Unknown, Pending, Exists, Missing };

    explicit StaleFolders(const PathMacros &paths, QObject *parent = nullptr);
    ~StaleFolders() override;

    // The absolute folder an entry names, its macros expanded and the file manager's
    // suffix after it (a tab or two blanks and "#...") cut off; empty when it cannot
    // be checked. Text only: nothing here looks at the disk.
    static QString FolderOf(const PathMacros &paths, const QString &entry);
    // Resolves the folder through the prefix and looks it up (may block on a hung
    // mount): Exists also for a path inside a file (an archive the file manager opens
    // as a folder).
    static State Check(const WinePrefix &prefix, const QString &path);

    // What is known of an entry; an entry not asked about yet is looked up now and
    // reported through Known.
    State StateOf(const QString &entry);
    // The lookup itself, given what FolderOf made of the entry (Check unless a test
    // gives another); it runs on a worker thread.
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
    std::function<State(const QString &)> m_lookup;
    int m_timeLimit = 2000;
    quint64 m_generation = 0;
};

} // namespace calvenor

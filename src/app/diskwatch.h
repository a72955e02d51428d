#pragma once

#include "platform/filestamp.h"

#include <QHash>
#include <QSet>
#include <QObject>
#include <QStringList>

class QFileSystemWatcher;
class QTimer;

namespace calvenor {

class PathMacros;

// Notices when another program writes the INI files the editor has loaded (the file
// manager rewrites wincmd.ini when it exits). The state of the files when they were
// loaded or last saved is the known one; Changed is heard shortly after a file on disk
// stops matching it, and ChangedFiles can be asked at any time (before a save).
class DiskWatch : public QObject
{
    Q_OBJECT
public:
    explicit DiskWatch(const PathMacros &paths, QObject *parent = nullptr);

    // Watches these files (as the program names them); their present state is known.
    void Watch(const QStringList &files);
    // The files as they are now become the known state (after our own save, or when
    // the person chose to keep the editor's version). A file a save failed to write
    // (its native path in notWritten) keeps its known state: it is still as loaded,
    // unless another program wrote it.
    void Accept(const QSet<QString> &notWritten = {});
    // The files (as named to Watch) whose disk state differs from the known one.
    QStringList ChangedFiles() const;

signals:
    void Changed();

private:
    void rewatch();

    const PathMacros &m_paths;
    QFileSystemWatcher *m_watcher;
    QTimer *m_settle;                    // a burst of writes is one change
    QHash<QString, QString> m_native;    // file as named -> native path
    QHash<QString, FileStamp> m_known;   // by native path
};

} // namespace calvenor

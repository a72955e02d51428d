#pragma once

#include "errornumbers.h"

#include <QByteArray>
#include <QString>

namespace calvenor {

// Replaces the file at nativePath by bytes in one step: the bytes go to a temporary
// file beside it, are synced, and the temporary file is renamed over the original.
// A crash at any point leaves either the old file or the new one. A symbolic link is
// followed so that the link itself survives; permissions and owner are kept. A file
// that exists but is read-only is refused, as the file manager's own writes would be.
// The temporary file is named "." + the file's name + "." + six letters or digits and
// is locked by its writer until it has the final name; one that a killed writer left
// behind (no writer holds its lock) is removed by the next write of the same file.
ErrorNumber writeFileAtomically(const QString &nativePath, const QByteArray &bytes);
// Why writeFileAtomically would refuse this file before writing anything (not a
// regular file, read-only, no such folder); errNone when it would try.
ErrorNumber writeRefusal(const QString &nativePath);
// Removes what killed atomic writes of this file left behind, for writers that change
// the file in place (an append).
void removeStaleTemporaryFiles(const QString &nativePath);

// True when nativePath names an existing entry that is not a regular file (a folder, a
// named pipe, a device, a socket), symbolic links followed. Such a path must never be
// opened as a file: a pipe would block the reader.
bool isNonRegularFile(const QString &nativePath);

// Reads a whole regular file. Anything that is not a plain file (a folder, a device, a
// pipe) or is larger than maxBytes reads as an error, so a bad path can never hang the
// reader or exhaust memory.
ErrorNumber readWholeFile(const QString &nativePath, qint64 maxBytes, QByteArray &bytes);

} // namespace calvenor

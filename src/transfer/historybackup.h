#pragma once

#include "core/ansicodepage.h"
#include "core/cprofile.h"

#include <QDateTime>
#include <QString>

namespace calvenor {

// The history backup file: dated blocks of INI text, each the copy of the sections one
// batch run cleared. Further runs append blocks until the file reaches its size limit.

// "[Section]", the section's stored lines as the whole-section read gives them, and an
// empty line, each ending in CR LF; empty text for a section without lines. OldConnections
// is read from wcx_ftp.ini, every other section from wincmd.ini.
QString BuildSectionBackupText(cProfile &profile, const QString &strSectionName, const QString &strWincmdFileName,
                               const QString &strWcxftpFileName);

// One block: the three header lines with the date and time, the gathered text and one
// more line end, the 92-character separator and an empty line.
QString HistoryBackupBlock(const QString &gatheredText, const QDateTime &when);

// Writes one block to the backup file, afresh or appended, synced before it returns. The
// file is in the ANSI code page unless its text needs more: a block the code page cannot
// hold is written as UTF-8 with a byte-order mark, and a file that is appended to keeps
// one encoding throughout (an ANSI file is converted first, in one atomic step). A
// failed append leaves the file as it was.
int WriteHistoryBackup(const QString &nativePath, const QString &gatheredText, bool startAfresh,
                       const QDateTime &when = QDateTime::currentDateTime(),
                       const AnsiCodePage &codePage = AnsiCodePage::system());

} // namespace calvenor

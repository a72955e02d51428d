#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace calvenor {

// The options of a batch run, as read from the command line.
struct BatchOptions
{
    static constexpr qint64 kMinimumBackupLimit = 65536;
    static constexpr qint64 kDefaultBackupLimit = 67108864;   // 64 MiB

    std::optional<QString> wincmd;     // /i=
    std::optional<QString> wcxftp;     // /f=
    QString sections;                  // /s=: "all" or numbers separated by ";"
    std::optional<QString> backup;     // /b=
    qint64 backupLimit = kDefaultBackupLimit;   // /m=, at least the minimum
    bool restart = false;              // /r
    bool overwrite = false;            // /o
    bool dryRun = false;               // /n or --dry-run: say what would be cleared, change nothing
    QStringList keepPatterns;          // /k=: patterns separated by ";", kept besides the settings' rules

    // The catalogue numbers (1 .. 19) to visit, in order: all of them for "all", else
    // the numbers written, rounded; anything else is left out.
    QList<int> sectionNumbers() const;
};

// Reads the options from the program's arguments. Each argument that starts with "/"
// begins an option; an argument that does not continues the one before it, joined with
// a blank, since the shell split the command line at blanks. An option's value runs to
// the end of its arguments, so native paths with "/" work. Keys ignore case; a later
// option replaces an earlier one; values are trimmed and taken as they are (quotation
// marks stay). "--dry-run" stands for /n.
BatchOptions ParseBatchCommandLine(const QStringList &arguments);

} // namespace calvenor

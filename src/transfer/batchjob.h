#pragma once

#include "core/cprofile.h"
#include "core/keeprules.h"
#include "core/languagesource.h"
#include "core/pathmacros.h"
#include "core/personinterface.h"

#include <QString>
#include <QStringList>

#include <cstdio>

namespace calvenor {

class cSettings;
class FileManagerLocator;
class FileManagerRestarter;

// The command-line batch job: clears chosen history sections directly in the stored
// INI files, after copying them into the history backup file, and can close the file
// manager before and start it again after. It shows no window and needs no display;
// messages go to the person interface (standard error in a batch run).
//
// The backup block is written and synced before any section is cleared, and a backup
// that cannot be written clears nothing; all clears of one run reach each INI file in
// one atomic write.
class BatchJob
{
public:
    BatchJob(cProfile &profile, PathMacros &paths, cSettings &settings, FileManagerLocator &locator,
             FileManagerRestarter &restarter, PersonInterface &person, const LanguageSource &language);

    // Runs the job for the program's arguments (without the program's name) and returns
    // the exit status: 0 when the job did what it was asked, 1 when it stopped on an
    // error or a write failed. No arguments: nothing happens and mblnCommandLineHandled
    // stays false, so the window opens.
    int RunCommandLineBatch(const QStringList &arguments);
    bool mblnCommandLineHandled = false;

    // --help and --version print to this stream (standard output by default).
    void setOutput(FILE *stream) { m_output = stream; }
    static QString usage();

private:
    // The sections to clear, each once, and their backup text.
    struct Copied
    {
        QStringList sections;
        QString text;
    };
    Copied copySections(const QList<int> &numbers, const QString &wincmd, const QString &wcxftp);
    int fail(const QString &text);
    // The dry run: what a run would clear, per file and section, and the backup block
    // it would write, on the output stream; nothing is written, closed or started.
    int preview(const QStringList &sections, const KeepRules &rules, const QString &wincmd, const QString &wcxftp,
                const QString &gathered, const QString &backup, bool afresh);
    QString fileNotFound(const QString &path) const;
    // A folder, pipe or device named as a file is refused before it is opened.
    static QString notARegularFile(const QString &path);

    cProfile &m_profile;
    PathMacros &m_paths;
    cSettings &m_settings;
    FileManagerLocator &m_locator;
    FileManagerRestarter &m_restarter;
    PersonInterface &m_person;
    const LanguageSource &m_language;
    FILE *m_output = stdout;
};

} // namespace calvenor

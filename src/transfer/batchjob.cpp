#include "batchjob.h"

#include "backupblocks.h"
#include "batchoptions.h"
#include "filemanagerrestarter.h"
#include "historybackup.h"
#include "keptentries.h"

#include "core/csectionsdata.h"
#include "platform/atomicfile.h"
#include "settings/csettings.h"
#include "settings/filemanagerlocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace calvenor {

BatchJob::BatchJob(cProfile &profile, PathMacros &paths, cSettings &settings, FileManagerLocator &locator,
                   FileManagerRestarter &restarter, PersonInterface &person, const LanguageSource &language)
    : m_profile(profile)
    , m_paths(paths)
    , m_settings(settings)
    , m_locator(locator)
    , m_restarter(restarter)
    , m_person(person)
    , m_language(language)
{
}

QString BatchJob::usage()
{
    return QStringLiteral(
        "Usage: calvenor [/i=wincmd.ini] [/f=wcx_ftp.ini] [/s=all|n;n;...] [/b=backup file] [/m=bytes] [/r] [/o]\n"
        "                [/k=pattern;...] [/n]\n"
        "Without arguments the editor window opens; with any, the batch job runs and no window opens.\n"
        "\n"
        "  /i=path   the wincmd.ini to work on (default: found as the editor finds it)\n"
        "  /f=path   the wcx_ftp.ini to work on (default: found as the editor finds it)\n"
        "  /s=...    the sections to clear: all, or numbers separated by ';':\n"
        "            1 Command line history, 2 Selection, 3 SearchName, 4 SearchIn, 5 SearchText,\n"
        "            6 Searches, 7 RenameTemplates, 8 RenameSearchFind, 9 RenameSearchReplace,\n"
        "            10 Rename, 11 LeftTabs, 12 RightTabs, 13 LeftHistory, 14 RightHistory,\n"
        "            15 MkDirHistory, 16 SyncOptions, 17 AttrPlugin, 18 SplitPerFile, 19 OldConnections\n"
        "  /b=path   copy the cleared sections into this backup file first\n"
        "  /m=bytes  start the backup file afresh once it has reached this size (default 64 MiB,\n"
        "            at least 65536)\n"
        "  /r        close Total Commander before and start it again after\n"
        "  /o        replace the backup file instead of appending to it\n"
        "  /k=pattern;pattern;...\n"
        "            keep the entries matching one of these patterns (besides the keep rules\n"
        "            of the options): * stands for any text, ? for one character, case is\n"
        "            ignored; a section keeping entries is written anew holding only them\n"
        "  /n, --dry-run\n"
        "            change nothing: print how many entries each section would lose, and the\n"
        "            backup block /b= would get; no file is written, Total Commander is\n"
        "            neither closed nor started\n"
        "\n"
        "Exit status: 0 when the job did what it was asked, 1 when it stopped on an error.\n");
}

QString BatchJob::fileNotFound(const QString &path) const
{
    return m_language.GetLanguageString(3021) + QStringLiteral(": ") + path;
}

QString BatchJob::notARegularFile(const QString &path)
{
    return QStringLiteral("Not a regular file: ") + path;
}

int BatchJob::fail(const QString &text)
{
    m_person.ShowMessage(text, MessageIcon::Error);
    return 1;
}

BatchJob::Copied BatchJob::copySections(const QList<int> &numbers, const QString &wincmd, const QString &wcxftp)
{
    // A section named twice is copied and cleared once.
    Copied copied;
    ProfileBatch reading(m_profile);
    for (const int number : numbers) {
        const QString section = cSectionsData::SectionsList(number - 1);
        if (copied.sections.contains(section))
            continue;
        copied.sections << section;
        copied.text += BuildSectionBackupText(m_profile, section, wincmd, wcxftp);
    }
    reading.finish();
    return copied;
}

int BatchJob::RunCommandLineBatch(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        mblnCommandLineHandled = false;
        return 0;
    }
    mblnCommandLineHandled = true;
    if (arguments == QStringList {QStringLiteral("--help")}) {
        std::fputs(usage().toLocal8Bit().constData(), m_output);
        return 0;
    }
    if (arguments == QStringList {QStringLiteral("--version")}) {
        std::fputs(QStringLiteral("Calvenor %1\n").arg(QCoreApplication::applicationVersion()).toLocal8Bit().constData(),
                   m_output);
        return 0;
    }
    const BatchOptions options = ParseBatchCommandLine(arguments);

    // A file named on the command line must exist; otherwise it is found as at start-up.
    auto iniFile = [this](const std::optional<QString> &given, QString (FileManagerLocator::*find)()) {
        return given ? m_paths.ExpandPath(*given) : (m_locator.*find)();
    };
    const QString wincmd = iniFile(options.wincmd, &FileManagerLocator::FindWincmdIni);
    if (options.wincmd && !m_paths.FileExists(wincmd))
        return fail(fileNotFound(wincmd));
    if (isNonRegularFile(m_paths.nativePath(wincmd)))
        return fail(notARegularFile(wincmd));
    const QString wcxftp = iniFile(options.wcxftp, &FileManagerLocator::FindWcxftpIni);
    if (options.wcxftp && !m_paths.FileExists(wcxftp))
        return fail(fileNotFound(wcxftp));
    if (isNonRegularFile(m_paths.nativePath(wcxftp)))
        return fail(notARegularFile(wcxftp));
    // The backup is checked before anything is closed or cleared, too.
    const QString backup = options.backup ? m_paths.ExpandPath(*options.backup) : QString();
    // The backup is our own file, not one the profile functions open: a bare name means
    // the working folder, as anywhere on a command line.
    const bool bareBackupName = !backup.contains(u'/') && !backup.contains(u'\\') && !backup.contains(u':');
    const QString backupNative = !options.backup ? QString()
        : bareBackupName                         ? QDir::current().absoluteFilePath(backup)
                                                 : m_paths.nativePath(backup);
    if (isNonRegularFile(backupNative))
        return fail(notARegularFile(backup));
    // A backup written afresh rather than appended to.
    auto startsAfresh = [&] {
        const QFileInfo info(backupNative);
        return options.overwrite || !info.exists() || info.size() >= options.backupLimit;
    };
    const bool backupFolderMissing = backupNative.isEmpty() || !QFileInfo(backupNative).absoluteDir().exists();
    const KeepRules rules = m_settings.keepRules().united(KeepRules(options.keepPatterns));
    if (options.dryRun) {
        const Copied copied = copySections(options.sectionNumbers(), wincmd, wcxftp);
        if (options.backup && !copied.text.isEmpty() && backupFolderMissing)
            return fail(fileNotFound(backup));
        return preview(copied.sections, rules, wincmd, wcxftp, options.backup ? copied.text : QString(), backup,
                       startsAfresh());
    }
    m_restarter.setIniFiles(wincmd, wcxftp);
    if (options.restart)
        m_restarter.RestartFileManager(true, true, QStringLiteral(" /i="));
    // Once closed, the file manager is started again whatever stops the job.
    auto failAfterClose = [&](const QString &message) {
        if (options.restart)
            m_restarter.RestartFileManager(false, true, QStringLiteral(" /i="));
        return fail(message);
    };

    // Copy first (once the file manager has written its lists on closing).
    const Copied copied = copySections(options.sectionNumbers(), wincmd, wcxftp);
    const QStringList &sections = copied.sections;
    // The backup holds each section whole, as before: what the rules keep is in it too,
    // and so is whatever a section held beside its entries, which a rewrite leaves out.
    // Sections the rules cannot be applied to are not cleared at all.
    KeptEntries kept(m_profile, rules);
    if (const int error = rules.isEmpty() ? 0 : kept.Read(sections, wincmd, wcxftp))
        return failAfterClose(QStringLiteral("Cannot read the entries to keep (error %1)").arg(error));

    // The backup is on disk before anything is cleared; when it cannot be written,
    // nothing is cleared.
    if (options.backup && !copied.text.isEmpty()) {
        if (backupFolderMissing)
            return failAfterClose(fileNotFound(backup));
        if (const int error = WriteHistoryBackup(backupNative, copied.text, startsAfresh())) {
            return failAfterClose(error == errPathFileAccess && isNonRegularFile(backupNative)
                                      ? notARegularFile(backup)
                                      : QStringLiteral("Cannot write the backup file (error %1): %2").arg(error).arg(backup));
        }
        // Restoring in the window starts from the file last written.
        m_settings.Write(QString::fromUtf16(cSettings::kOwnSection), QString::fromUtf16(kLastBackupFileKey), backupNative);
    }

    int status = 0;
    {
        ProfileBatch clearing(m_profile);
        for (const QString &section : std::as_const(sections))
            kept.Clear(section, wincmd, wcxftp);
        if (const int error = clearing.finish()) {
            QStringList failed = m_profile.FailedFiles().values();
            failed.sort();
            status = fail(QStringLiteral("Cannot write the INI file (error %1): %2").arg(error).arg(failed.join(QStringLiteral(", "))));
        }
    }
    if (options.restart)
        m_restarter.RestartFileManager(false, true, QStringLiteral(" /i="));
    m_settings.SaveLayoutSettings();
    return status;
}

} // namespace calvenor

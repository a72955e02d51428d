// Measures the data layer on a generated pair of large INI files: the load of every
// history section, the review of a save of every section, the save itself, a durable copy of the same files with
// dd for comparison, and the peak memory above the process's baseline.

#include "historyfilegenerator.h"
#include "windowbench.h"

#include "core/csectionsdata.h"
#include "core/historysections.h"
#include "core/missingvaluemarker.h"
#include "settings/ccommondialog.h"
#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "settings/filemanagerlocator.h"
#include "editor/historylist.h"
#include "transfer/backupblocks.h"
#include "editor/savereview.h"
#include "transfer/batchjob.h"
#include "transfer/batchoptions.h"
#include "transfer/filemanagerrestarter.h"
#include "transfer/historybackup.h"
#include "transfer/standarderrorperson.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace calvenor;

namespace {

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double durableCopyMs(const QStringList &files, const QString &folder)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files) {
        QProcess::execute(QStringLiteral("dd"), {QStringLiteral("if=") + file,
                                                 QStringLiteral("of=") + folder + QStringLiteral("/copy-") + QFileInfo(file).fileName(),
                                                 QStringLiteral("bs=1M"), QStringLiteral("conv=fsync"),
                                                 QStringLiteral("status=none")});
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void measure(QTextStream &out, double sizeMb, int runs)
{
    QTemporaryDir folder;
    const QString wincmd = folder.filePath(QStringLiteral("wincmd.ini"));
    const QString wcxftp = folder.filePath(QStringLiteral("wcx_ftp.ini"));
    qint64 bytes = 0;
    int entries = 0;
    {
        const qint64 target = qint64(sizeMb * 1024 * 1024);
        const bench::GeneratedPair pair = bench::generatePair(target, int(5000 * sizeMb));
        writeFile(wincmd, pair.wincmd);
        writeFile(wcxftp, pair.wcxftp);
        bytes = pair.wincmd.size() + pair.wcxftp.size();
        entries = pair.historyEntries;
    }

    const PathMacros paths(makeMissingValueMarker(), QCoreApplication::applicationDirPath() + u'/');
    resetPeakMemory();
    const qint64 baselineKb = statusKb("VmRSS:");
    std::vector<double> loads, reviews, saves, copies;
    int rows = 0;
    size_t reviewed = 0;
    for (int run = 0; run < runs; ++run) {
        cProfile profile(paths, QString());   // a new engine each run: parsing is part of the load
        HistoryRowStore store;
        HistorySections sections(profile, store);
        QElapsedTimer timer;
        timer.start();
        if (sections.ReadAllHistorySections(wincmd, wcxftp) != 0)
            qFatal("load failed");
        loads.push_back(double(timer.nsecsElapsed()) / 1e6);
        rows = store.Count();
        // Every entry changed, so the save rewrites every line of every section (a save
        // of unchanged rows writes nothing at all).
        for (int p = 1; p <= store.Count(); ++p) {
            HistoryRow &row = store.Row(p);
            if (!row.Tag.endsWith(QStringLiteral("_Section_Start")) && row.col(2) != paths.MissingValueMarker())
                row.col(2) += u'~';
        }
        for (int i = 0; i < cSectionsData::SectionsCount; ++i)
            store.SetSaveFlag(cSectionsData::SectionsList(i));
        // What the save would change, read from the files as they are now.
        timer.restart();
        const std::vector<SectionReview> review = SaveReview(profile).Review(store, wincmd, wcxftp);
        reviews.push_back(double(timer.nsecsElapsed()) / 1e6);
        reviewed = 0;
        for (const SectionReview &section : review)
            reviewed += section.changes.size();
        timer.restart();
        if (sections.SaveAllHistorySections(wincmd, wcxftp) != 0)
            qFatal("save failed");
        saves.push_back(double(timer.nsecsElapsed()) / 1e6);
        copies.push_back(durableCopyMs({wincmd, wcxftp}, folder.path()));
    }
    const qint64 peakKb = statusKb("VmHWM:") - baselineKb;

    out << QStringLiteral("wincmd.ini + wcx_ftp.ini: %1 bytes, %2 history entries, %3 store rows\n")
               .arg(bytes).arg(entries).arg(rows);
    out << QStringLiteral("  ReadAllHistorySections  median %1 ms\n").arg(median(loads), 0, 'f', 2);
    out << QStringLiteral("  SaveReview of that save median %1 ms (%2 changes listed)\n").arg(median(reviews), 0, 'f', 2).arg(reviewed);
    out << QStringLiteral("  SaveAllHistorySections  median %1 ms (every entry changed)\n").arg(median(saves), 0, 'f', 2);
    out << QStringLiteral("  dd conv=fsync copy      median %1 ms; save / copy = %2\n")
               .arg(median(copies), 0, 'f', 2).arg(median(saves) / median(copies), 0, 'f', 2);
    out << QStringLiteral("  peak memory above baseline %1 KiB = %2 x file size\n")
               .arg(peakKb).arg(double(peakKb) * 1024 / double(bytes), 0, 'f', 2);
    out.flush();
}

// The batch job clearing every section with a backup, against a durable copy of the
// same wincmd.ini.
void measureBatch(QTextStream &out, double sizeMb, int runs)
{
    QTemporaryDir folder;
    const QString original = folder.filePath(QStringLiteral("original-wincmd.ini"));
    const QString originalFtp = folder.filePath(QStringLiteral("original-wcx_ftp.ini"));
    const QString wincmd = folder.filePath(QStringLiteral("wincmd.ini"));
    const QString wcxftp = folder.filePath(QStringLiteral("wcx_ftp.ini"));
    const QString backup = folder.filePath(QStringLiteral("backup.txt"));
    {
        const bench::GeneratedPair pair = bench::generatePair(qint64(sizeMb * 1024 * 1024), int(5000 * sizeMb));
        writeFile(original, pair.wincmd);
        writeFile(originalFtp, pair.wcxftp);
    }
    std::vector<double> jobs, copies, previews;
    for (int run = 0; run < 2 * runs; ++run) {
        // Even runs clear; odd ones are the dry run of the same job, output discarded.
        const bool dryRun = run % 2 == 1;
        QFile::remove(wincmd);
        QFile::remove(wcxftp);
        QFile::remove(backup);
        QFile::copy(original, wincmd);
        QFile::copy(originalFtp, wcxftp);
        PathMacros paths(makeMissingValueMarker(), folder.path() + u'/');
        cRegistry registry(paths.MissingValueMarker(), folder.filePath(QStringLiteral("registry.reg")), QString());
        cProfile profile(paths, QString());
        cSettings settings(profile, paths, registry);
        settings.setSettingsFile(folder.filePath(QStringLiteral("vantrel editors.ini")));
        StandardErrorPerson person;
        cLanguage language(profile, settings);
        cCommonDialog dialog(person, language, &registry);
        FileManagerLocator locator(paths, registry, settings, profile, person, language, dialog);
        FileManagerProcess process;
        FileManagerRestarter restarter(paths, settings, process);
        BatchJob job(profile, paths, settings, locator, restarter, person, language);
        FILE *discard = std::fopen("/dev/null", "w");
        job.setOutput(discard);
        QStringList arguments {QStringLiteral("/i=") + wincmd, QStringLiteral("/f=") + wcxftp, QStringLiteral("/s=all"),
                               QStringLiteral("/b=") + backup};
        if (dryRun)
            arguments << QStringLiteral("/n");
        QElapsedTimer timer;
        timer.start();
        if (job.RunCommandLineBatch(arguments) != 0)
            qFatal("batch job failed");
        (dryRun ? previews : jobs).push_back(double(timer.nsecsElapsed()) / 1e6);
        std::fclose(discard);
        if (!dryRun)
            copies.push_back(durableCopyMs({original}, folder.path()));
    }
    out << QStringLiteral("batch job /s=all with backup on a %1-byte wincmd.ini: median %2 ms; dd conv=fsync of it %3 ms;"
                          " job / copy = %4\n")
               .arg(QFileInfo(original).size()).arg(median(jobs), 0, 'f', 2).arg(median(copies), 0, 'f', 2)
               .arg(median(jobs) / median(copies), 0, 'f', 2);
    out << QStringLiteral("  the same job's dry run (/n): median %1 ms = %2 x the job\n")
               .arg(median(previews), 0, 'f', 2).arg(median(previews) / median(jobs), 0, 'f', 2);
    out.flush();
}

// Reading the block list of a backup file that has reached the batch job's default size
// limit (64 MiB of runs, each the backup of a 1 MB pair), and one run's largest section
// read back into rows.
void measureBackupList(QTextStream &out, int runs)
{
    QTemporaryDir folder;
    const QString wincmd = folder.filePath(QStringLiteral("wincmd.ini"));
    const QString wcxftp = folder.filePath(QStringLiteral("wcx_ftp.ini"));
    const QString backup = folder.filePath(QStringLiteral("backup.txt"));
    const bench::GeneratedPair pair = bench::generatePair(qint64(1024 * 1024), 5000);
    writeFile(wincmd, pair.wincmd);
    writeFile(wcxftp, pair.wcxftp);
    PathMacros paths(makeMissingValueMarker(), folder.path() + u'/');
    cProfile profile(paths, QString());
    QString gathered;
    for (int i = 0; i < cSectionsData::SectionsCount; ++i)
        gathered += BuildSectionBackupText(profile, cSectionsData::SectionsList(i), wincmd, wcxftp);
    QByteArray file;
    for (int day = 0; file.size() < BatchOptions::kDefaultBackupLimit; ++day)
        file += AnsiCodePage::system().encode(HistoryBackupBlock(gathered, QDateTime(QDate(2026, 1, 1).addDays(day), QTime(3, 0))));
    writeFile(backup, file);

    std::vector<double> lists, sections;
    qsizetype blocks = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        BackupBlocks read;
        if (read.Read(backup) != 0)
            qFatal("backup not read");
        lists.push_back(double(timer.nsecsElapsed()) / 1e6);
        blocks = read.blocks().size();
        const BackupBlocks::Section *largest = nullptr;
        for (const BackupBlocks::Section &section : read.blocks().first().sections) {
            if (!largest || section.entries > largest->entries)
                largest = &section;
        }
        std::vector<HistoryRow> rows;
        timer.restart();
        read.ReadRows(read.blocks().first(), largest->name, profile, rows, 255);
        sections.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out << QStringLiteral("backup file of %1 bytes, %2 runs: block list median %3 ms; one run's largest section read"
                          " into rows median %4 ms\n")
               .arg(file.size()).arg(blocks).arg(median(lists), 0, 'f', 2).arg(median(sections), 0, 'f', 2);
    out.flush();
}

class BenchHost : public HistoryListHost
{
public:
    void SetUpDownButtonsState(bool) override {}
    void SetButtonsState(const QString &) override {}
    void SelectTreeNode(const QString &) override {}
    QList<SectionTreeNode> RootChildren() const override
    {
        QList<SectionTreeNode> nodes;
        for (const auto &node : cSectionsData::TreeOrder())
            nodes.append({QString::fromUtf16(node.key), QString::fromUtf16(node.defaultText), QString::fromUtf16(node.imageKey)});
        return nodes;
    }
};

// The history list engine on one section of this many rows.
void measureEditor(QTextStream &out, int rows, int runs)
{
    QTemporaryDir folder;
    QByteArray text = "[LeftHistory]\r\n";
    for (int i = 0; i < rows; ++i)
        text += QByteArray::number(i) + "=C:\\Users\\sam\\Projects\\calvenor\\folder " + QByteArray::number(i) + "\\\r\n";
    writeFile(folder.filePath(QStringLiteral("wincmd.ini")), text);
    PathMacros paths(makeMissingValueMarker(), folder.path() + u'/');
    cRegistry registry(paths.MissingValueMarker(), folder.filePath(QStringLiteral("registry.reg")), QString());
    cProfile profile(paths, QString());
    cSettings settings(profile, paths, registry);
    settings.setSettingsFile(folder.filePath(QStringLiteral("vantrel editors.ini")));
    settings.MaxItems = rows * 2;   // the add command's limit is the settings' business, not measured here
    StandardErrorPerson person;
    cLanguage language(profile, settings);
    BenchHost host;
    HistoryList list(profile, settings, language, person, host);
    list.ReadAllHistorySections(folder.filePath(QStringLiteral("wincmd.ini")), folder.filePath(QStringLiteral("wcx_ftp.ini")));

    auto time = [](const auto &operation) {
        QElapsedTimer timer;
        timer.start();
        operation();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    std::vector<double> shows, overviews, adds, deletes, moves;
    for (int run = 0; run < runs; ++run) {
        overviews.push_back(time([&] { list.ShowSelectedSection(QStringLiteral("RootNode"), true); }));
        shows.push_back(time([&] { list.ShowSelectedSection(QStringLiteral("LeftHistory"), true); }));
        list.ClickRow(rows / 2);
        moves.push_back(time([&] { list.MoveSelectedItemDown(); }));
        adds.push_back(time([&] { list.AddNewItem(QStringLiteral("LeftHistory")); }));
        list.ClickRow(rows / 3);
        deletes.push_back(time([&] { list.DeleteSelectedItem(); }));
    }
    out << QStringLiteral("history list, section of %1 rows: show %2 ms, overview %3 ms, add %4 ms, delete %5 ms,"
                          " move %6 ms (medians)\n")
               .arg(rows).arg(median(shows), 0, 'f', 2).arg(median(overviews), 0, 'f', 2).arg(median(adds), 0, 'f', 3)
               .arg(median(deletes), 0, 'f', 3).arg(median(moves), 0, 'f', 3);
    out.flush();
}

// One whole section holding most of a 1 MiB file read as the section-text read gives it:
// the first read parses the file, the later ones find it parsed and unchanged.
void measureSectionRead(QTextStream &out, int runs)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("wincmd.ini"));
    QByteArray text = "[Configuration]\r\nInstallDir=c:\\totalcmd\r\n[LeftHistory]\r\n";
    int lines = 0;
    while (text.size() < 1024 * 1024) {
        text += QByteArray::number(lines) + "=c:\\Users\\someone\\Documents\\Projects\\folder "
            + QByteArray::number(lines * 7919 % 100000) + "\\sub\\\r\n";
        ++lines;
    }
    text += "[RightHistory]\r\n0=d:\\\r\n";
    writeFile(file, text);
    const PathMacros paths(makeMissingValueMarker(), QCoreApplication::applicationDirPath() + u'/');
    std::vector<double> firsts, again;
    int count = 0;
    for (int run = 0; run < runs; ++run) {
        cProfile profile(paths, QString());
        QElapsedTimer timer;
        timer.start();
        profile.ReadSectionKeysNameAndValue(QStringLiteral("LeftHistory"), file, cProfile::kWholeList);
        firsts.push_back(double(timer.nsecsElapsed()) / 1e6);
        for (int repeat = 0; repeat < 5; ++repeat) {
            timer.restart();
            profile.ReadSectionKeysNameAndValue(QStringLiteral("LeftHistory"), file, cProfile::kWholeList);
            again.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        count = profile.SectionKeysNameAndValueCount + 1;
    }
    out << QStringLiteral("ReadSectionKeysNameAndValue of a section of %1 lines in a %2-byte file: "
                          "first read (parse included) median %3 ms, read again median %4 ms\n")
               .arg(count).arg(text.size()).arg(median(firsts), 0, 'f', 2).arg(median(again), 0, 'f', 2);
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    if (bench::isWindowBenchmark(argc, argv))
        return bench::runWindowBenchmark(argc, argv);
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Calvenor data-layer benchmark"));
    parser.addHelpOption();
    const QCommandLineOption size(QStringLiteral("size-mb"), QStringLiteral("Size of the generated wincmd.ini in MiB (repeatable; default 1 and 20)."),
                                  QStringLiteral("size"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs per size (default 7)."), QStringLiteral("count"), QStringLiteral("7"));
    const QCommandLineOption editor(QStringLiteral("editor-rows"), QStringLiteral("Measure the history list on a section of this many rows."),
                                    QStringLiteral("rows"));
    parser.addOption(editor);
    const QCommandLineOption batch(QStringLiteral("batch"), QStringLiteral("Measure the batch job on a file of each size instead."));
    parser.addOption(size);
    parser.addOption(runs);
    parser.addOption(batch);
    const QCommandLineOption sectionRead(QStringLiteral("section-read"),
                                         QStringLiteral("Measure the read of one large section of a 1 MiB file."));
    parser.addOption(sectionRead);
    const QCommandLineOption backupList(QStringLiteral("backup-list"),
                                        QStringLiteral("Measure reading the block list of a 64 MiB backup file."));
    parser.addOption(backupList);
    parser.addOption(QCommandLineOption(QStringLiteral("window"),
                                        QStringLiteral("Measure the editor window (start-up, a 50,000-row section, edits).")));
    parser.process(app);

    if (parser.isSet(sectionRead)) {
        QTextStream out(stdout);
        measureSectionRead(out, qMax(1, parser.value(runs).toInt()));
        return 0;
    }

    if (parser.isSet(backupList)) {
        QTextStream out(stdout);
        measureBackupList(out, qMax(1, parser.value(runs).toInt()));
        return 0;
    }

    if (parser.isSet(editor)) {
        QTextStream out(stdout);
        measureEditor(out, parser.value(editor).toInt(), qMax(1, parser.value(runs).toInt()));
        return 0;
    }
    QStringList sizes = parser.values(size);
    if (sizes.isEmpty())
        sizes = {QStringLiteral("1"), QStringLiteral("20")};
    QTextStream out(stdout);
    for (const QString &value : sizes) {
        if (parser.isSet(batch))
            measureBatch(out, value.toDouble(), qMax(1, parser.value(runs).toInt()));
        else
            measure(out, value.toDouble(), qMax(1, parser.value(runs).toInt()));
    }
    return 0;
}

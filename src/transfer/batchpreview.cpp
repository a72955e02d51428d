// The batch job's dry run: what a real run would clear, and nothing changed.
#include "batchjob.h"

#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/historyrowstore.h"
#include "core/historysections.h"
#include "core/tabssection.h"

#include "platform/atomicfile.h"

#include <QMap>

namespace calvenor {

int BatchJob::preview(const QStringList &sections, const QString &wincmd, const QString &wcxftp,
                      const QString &gathered, const QString &backup, bool afresh)
{
    // The entries as the editor counts them; the active tab's row stands for the
    // panel's own folder, which the job does not clear.
    HistoryRowStore store;
    store.BuildFrame();
    HistorySections reader(m_profile, store);
    {
        // Only the sections asked about, each file checked against the disk once.
        ProfileBatch reading(m_profile);
        for (const QString &section : sections)
            reader.ReadHistorySection(section, wincmd, wcxftp);
        reading.finish();
    }

    QMap<QString, QStringList> lines;   // file the section lives in -> its lines
    QStringList order;
    QStringList unwritable;
    for (const QString &section : sections) {
        const bool ftp = cSectionsData::fileOf(section) == SectionFile::Wcxftp;
        const QString file = m_profile.ResolveTargetFile(section, QString(), ftp ? wcxftp : wincmd);
        qsizetype entries = 0;
        for (const HistoryRow &row : store.SectionRows(cSectionsData::GetSectionIndex(section))) {
            if (!FoldedKey::equalIgnoringCase(row.Tag, ActiveTabTag(section)))
                ++entries;
        }
        if (!order.contains(file))
            order << file;
        lines[file] << QStringLiteral("  %1: %2 %3")
                           .arg(section)
                           .arg(entries)
                           .arg(entries == 1 ? QStringLiteral("entry") : QStringLiteral("entries"));
        // Something to clear in a file the writer would refuse: the run would fail.
        if (entries > 0 && writeRefusal(m_paths.nativePath(file)) != errNone && !unwritable.contains(file))
            unwritable << file;
    }
    QString text = QStringLiteral("Dry run: nothing is changed. A run would clear:\n");
    for (const QString &file : std::as_const(order))
        text += file + u'\n' + lines.value(file).join(u'\n') + u'\n';
    if (!gathered.isEmpty()) {
        text += (afresh ? QStringLiteral("The backup file would be started afresh with this block: ")
                        : QStringLiteral("This block would be appended to the backup file: "))
            + backup + QStringLiteral("\n") + gathered;
        if (!text.endsWith(u'\n'))
            text += u'\n';
    }
    std::fputs(text.toLocal8Bit().constData(), m_output);
    std::fflush(m_output);
    // The exit status a real run would end with.
    if (!unwritable.isEmpty())
        return fail(QStringLiteral("A run would fail: this file cannot be written: ") + unwritable.join(QStringLiteral(", ")));
    return 0;
}

} // namespace calvenor

// The batch job's dry run: what a real run would clear, and nothing changed.
#include "batchjob.h"

#include "keptentries.h"

#include "core/historysections.h"
#include "core/initextcodec.h"

#include "platform/atomicfile.h"

#include <QMap>

namespace calvenor {
namespace {

// The block as a person reads it on a terminal: lines end in LF, and a value stored in
// the file manager's UTF-8 form shows its text rather than its bytes read as ANSI.
QString readableBlock(const QString &gathered)
{
    const IniTextCodec ansi(IniEncoding::Ansi);
    QStringList lines = gathered.split(QStringLiteral("\r\n"));
    for (QString &line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && ansi.mayBeMarked(QStringView(line).sliced(equals + 1)))
            line = line.first(equals + 1) + ansi.valueFromStored(QStringView(line).sliced(equals + 1));
    }
    return lines.join(u'\n');
}

} // namespace

int BatchJob::preview(const QStringList &sections, const KeepRules &rules, const QString &wincmd,
                      const QString &wcxftp, const QString &gathered, const QString &backup, bool afresh)
{
    // The entries as the editor counts them; the active tab's row stands for the
    // panel's own folder, which the job does not clear.
    KeptEntries kept(m_profile, rules);
    kept.Read(sections, wincmd, wcxftp);

    QMap<QString, QStringList> lines;   // file the section lives in -> its lines
    QStringList order;
    QStringList unwritable;
    auto entries = [](qsizetype count) {
        return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? QStringLiteral("entry") : QStringLiteral("entries"));
    };
    for (const QString &section : sections) {
        const QString file = m_profile.ResolveTargetFile(section, QString(), HistorySections::FileOf(section, wincmd, wcxftp));
        const KeptEntries::Count count = kept.CountOf(section);
        if (!order.contains(file))
            order << file;
        QString line = QStringLiteral("  %1: %2").arg(section, entries(count.cleared));
        if (!rules.isEmpty())
            line += QStringLiteral(", %1 kept by the keep rules").arg(entries(count.kept));
        lines[file] << line;
        // Something to clear in a file the writer would refuse: the run would fail.
        if (count.cleared > 0 && writeRefusal(m_paths.nativePath(file)) != errNone && !unwritable.contains(file))
            unwritable << file;
    }
    QString text = QStringLiteral("Dry run: nothing is changed. A run would clear:\n");
    for (const QString &file : std::as_const(order))
        text += file + u'\n' + lines.value(file).join(u'\n') + u'\n';
    if (!gathered.isEmpty()) {
        text += (afresh ? QStringLiteral("The backup file would be started afresh with this block: ")
                        : QStringLiteral("This block would be appended to the backup file: "))
            + backup + QStringLiteral("\n") + readableBlock(gathered);
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

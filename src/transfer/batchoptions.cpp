#include "batchoptions.h"

#include "core/keeprules.h"
#include "core/leadingnumber.h"

#include <cmath>

namespace calvenor {

BatchOptions ParseBatchCommandLine(const QStringList &arguments)
{
    QStringList pieces;
    for (const QString &argument : arguments) {
        if (argument == u"--dry-run")
            pieces.append(QStringLiteral("n"));
        else if (argument.startsWith(u'/'))
            pieces.append(argument.mid(1));
        else if (!pieces.isEmpty())
            pieces.last() += u' ' + argument;
        // Text before the first option matches nothing.
    }
    BatchOptions options;
    for (const QString &piece : std::as_const(pieces)) {
        const QString key = piece.left(2).trimmed().toLower();
        const QString value = piece.mid(2).trimmed();
        if (key == u"i=") {
            options.wincmd = value;
        } else if (key == u"f=") {
            options.wcxftp = value;
        } else if (key == u"s=") {
            options.sections = value;
        } else if (key == u"b=") {
            options.backup = value;
        } else if (key == u"k=") {
            options.keepPatterns = KeepRules::SplitList(value);
        } else if (key == u"m=") {
            const double bytes = std::nearbyint(leadingNumber(value));
            options.backupLimit = bytes > 0 && bytes < 9.0e15 ? qint64(bytes) : 0;
        } else if (key == u"r") {
            options.restart = true;
        } else if (key == u"o") {
            options.overwrite = true;
        } else if (key == u"n") {
            options.dryRun = true;
        }
    }
    options.backupLimit = qMax(options.backupLimit, BatchOptions::kMinimumBackupLimit);
    return options;
}

QList<int> BatchOptions::sectionNumbers() const
{
    QList<int> numbers;
    if (sections.compare(u"all", Qt::CaseInsensitive) == 0) {
        for (int n = 1; n <= 19; ++n)
            numbers.append(n);
        return numbers;
    }
    for (const QString &element : sections.split(u';')) {
        const int n = leadingInteger(element);
        if (n >= 1 && n <= 19)
            numbers.append(n);
    }
    return numbers;
}

} // namespace calvenor

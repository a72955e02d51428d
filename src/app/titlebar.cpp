#include "titlebar.h"

#include "core/pathmacros.h"

#include <QRegularExpression>
#include <QStringList>

namespace calvenor {

QString ShortenPath(const QString &path, int mode)
{
    if (mode == 0)
        return fileNameOf(path);
    if (mode != 2 || path.size() <= 80)
        return path;
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    const QStringList p = path.split(separators);
    const qsizetype n = p.size() - 1;
    if (n == 0)
        return path;
    // The path's own separator joins the parts again.
    const QChar sep = path.at(path.indexOf(separators));
    const QString dots = sep + QStringLiteral("...") + sep;
    if (n == 1)
        return p[0] + sep + p[1].left(16) + QStringLiteral("......") + p[1].right(16);
    if (n == 2)
        return p[0] + sep + p[1].left(16) + dots + p[2].right(16);
    if (n <= 4)
        return p[0] + sep + p[1] + dots + p[n];
    return p[0] + sep + p[1] + dots + p[n - 1] + sep + p[n];
}

QString ShortenTitleText(const QString &text, int mode, const QString &separator)
{
    if (separator.isEmpty() || !text.contains(separator))
        return ShortenPath(text, mode);
    QStringList parts = text.split(separator);
    for (qsizetype i = 0; i < qMin<qsizetype>(2, parts.size()); ++i)
        parts[i] = ShortenPath(parts[i], mode);
    return parts.join(separator);
}

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("%1.%2%3").arg(major).arg(minor).arg(revision);
}

QString TitleBarCaption(const QString &strText, const QString &strTitle, const QString &programTitle,
                        const QString &versionText, int mode, const QString &separator)
{
    const QString title = strTitle.isEmpty() ? programTitle : strTitle;
    return title + u' ' + versionText + QStringLiteral(" - ") + ShortenTitleText(strText, mode, separator);
}

} // namespace calvenor

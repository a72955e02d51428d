#include "taboptions.h"

#include "csectionsdata.h"
#include "historyrowstore.h"
#include "leadingnumber.h"

namespace calvenor {

qint32 GetOptionField(const QString &options, int n)
{
    if (n < 0)
        return 0;
    qsizetype from = 0;
    for (int field = 0; field < n; ++field) {
        from = options.indexOf(u'|', from);
        if (from < 0)
            return 0;
        ++from;
    }
    qsizetype to = options.indexOf(u'|', from);
    if (to < 0)
        to = options.size();
    return leadingInteger(QStringView(options).mid(from, to - from));
}

QString SetOptionField(const QString &options, const QString &value)
{
    QStringList fields = options.split(u'|');
    if (fields.size() < 6)
        return options;
    fields[5] = value;
    return fields.join(u'|');
}

QString LastFolderName(const QString &path)
{
    const QString rest = path.left(path.size() - 1);
    const qsizetype last = qMax(rest.lastIndexOf(u'\\'), rest.lastIndexOf(u'/'));
    return last < 0 ? rest : rest.mid(last + 1);
}

void ColourLockedTabs(HistoryRowStore &store, const QString &section, qint32 lockedTabForeColor)
{
    HistoryRowStore::StartEnd range;
    if (store.GetStartEnd(section, range) != 0 || range.start < 0)
        return;
    for (int position = range.start; position <= range.end; ++position) {
        HistoryRow &row = store.Row(position);
        if (GetOptionField(row.col(3), 5) != 0)
            row.ForeColor = lockedTabForeColor;
    }
}

} // namespace calvenor

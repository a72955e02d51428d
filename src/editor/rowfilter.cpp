#include "rowfilter.h"

#include "historylist.h"

namespace calvenor {

RowFilter::RowFilter(const HistoryList &list, QAbstractItemModel *source, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_list(list)
{
    // Connected before the filter connects itself, so heard before it hears of the change.
    auto forget = [this] { m_valid = false; };
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, forget);
    connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, forget);
    connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this, forget);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, forget);
    connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, forget);
    connect(source, &QAbstractItemModel::dataChanged, this, forget);
    // A row renamed while the list is filtered stays in sight until the needle
    // changes: it does not vanish under the person's eyes (and its editor with it).
    setDynamicSortFilter(false);
    setSourceModel(source);
}

void RowFilter::setNeedle(const QString &needle)
{
    const std::vector<VisibleRow> &rows = m_list.visibleRows();
    const bool narrowing = m_valid && m_accepted.size() == rows.size() && !m_needle.isEmpty()
        && needle.contains(m_needle, Qt::CaseInsensitive);
    if (needle == m_needle && (m_valid || needle.isEmpty()))
        return;
    if (needle.isEmpty()) {
        m_needle.clear();
        m_valid = false;
        invalidateFilter();
        return;
    }
    if (!narrowing)
        m_accepted.assign(rows.size(), 1);
    m_needle = needle;
    m_matcher.setPattern(needle);
    for (size_t row = 0; row < rows.size(); ++row) {
        if (m_accepted[row])
            m_accepted[row] = matches(rows[row].text);
    }
    m_valid = true;
    invalidateFilter();
}

bool RowFilter::IsShown(int sourceRow) const
{
    if (sourceRow < 0 || sourceRow >= sourceModel()->rowCount())
        return false;
    return m_needle.isEmpty() || mapFromSource(sourceModel()->index(sourceRow, 0)).isValid();
}

bool RowFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (m_needle.isEmpty())
        return true;
    if (m_valid && size_t(sourceRow) < m_accepted.size())
        return m_accepted[size_t(sourceRow)] != 0;
    const std::vector<VisibleRow> &rows = m_list.visibleRows();
    return size_t(sourceRow) < rows.size() && matches(rows[size_t(sourceRow)].text);
}

bool RowFilter::matches(const QString &text) const
{
    // One letter is found fastest by a plain scan, a longer needle by the matcher.
    return m_needle.size() <= 1 ? text.contains(m_needle, Qt::CaseInsensitive) : m_matcher.indexIn(text) >= 0;
}

} // namespace calvenor

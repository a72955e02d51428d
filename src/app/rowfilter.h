#pragma once

#include <QSortFilterProxyModel>
#include <QStringMatcher>

#include <vector>

namespace calvenor {

class HistoryList;

// The rows whose text contains the needle, ignoring case, read straight from the
// engine's rows rather than through the model's variants. A long section is filtered
// on every keystroke: the answers are kept per row, and a needle that only grows
// looks again only at the rows that matched before.
class RowFilter : public QSortFilterProxyModel
{
public:
    // source is the engine's model; its changes are heard before the filter's own.
    RowFilter(const HistoryList &list, QAbstractItemModel *source, QObject *parent = nullptr);

    const QString &needle() const { return m_needle; }
    void setNeedle(const QString &needle);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool matches(const QString &text) const;

    const HistoryList &m_list;
    QString m_needle;
    QStringMatcher m_matcher {QString(), Qt::CaseInsensitive};
    std::vector<char> m_accepted;   // per source row, while m_valid
    bool m_valid = false;
};

} // namespace calvenor

#pragma once

#include <QSortFilterProxyModel>
#include <QStringMatcher>

#include <vector>

namespace calvenor {

class HistoryList;

// What the list view shows of the engine's rows: those whose text contains the needle,
// ignoring case (all of them while the needle is empty). The view always works through
// this model and the engine asks it which rows are shown, so both agree on the row the
// person sees. Texts are read straight from the engine's rows; a long section is
// filtered on every keystroke, so the answers are kept per row, and a needle that only
// grows looks again only at the rows that matched before.
class RowFilter : public QSortFilterProxyModel
{
public:
    // source is the engine's model; its changes are heard before the filter's own.
    RowFilter(const HistoryList &list, QAbstractItemModel *source, QObject *parent = nullptr);

    const QString &needle() const { return m_needle; }
    void setNeedle(const QString &needle);
    // Whether the engine's row is in the view.
    bool IsShown(int sourceRow) const;

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

#pragma once

#include <QAbstractListModel>

namespace calvenor {

class HistoryList;
class StaleFolders;

// The visible rows of a HistoryList as a Qt item model, for a QListView to bind to:
// display text, colour, bold and dimmed state, icon key and tag as roles, the row's
// states (active, locked, missing folder) as flags and in words for tooltips and
// screen readers; editable where
// in-place rename is on, movable by drag where the list allows it. The rows themselves
// stay in the HistoryList; edits go through it.
class HistoryListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit HistoryListModel(HistoryList &list);

    // Where rows of folder lists learn whether their folder still exists (none: never
    // called missing).
    void setFolderCheck(StaleFolders *folders) { m_folders = folders; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    friend class HistoryList;
    HistoryList &m_list;
    StaleFolders *m_folders = nullptr;
};

} // namespace calvenor

#include "historylistmodel.h"

#include "historylist.h"
#include "rowstates.h"

#include <QColor>
#include <QFont>
#include <QMimeData>

namespace calvenor {
namespace {

const QString kMimeType = QStringLiteral("application/x-calvenor-history-row");

// A plain colour number (red + 256 green + 65536 blue); system colours (negative) are
// the view's own.
QVariant colorOf(const std::optional<qint32> &number)
{
    if (!number || *number < 0)
        return {};
    return QColor(*number & 0xFF, (*number >> 8) & 0xFF, (*number >> 16) & 0xFF);
}

} // namespace

HistoryListModel::HistoryListModel(HistoryList &list)
    : QAbstractListModel(&list)
    , m_list(list)
{
}

int HistoryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_list.m_rows.size());
}

QVariant HistoryListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const VisibleRow &row = m_list.m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return row.text;
    case Qt::ForegroundRole:
        if (row.ghosted)
            return QColor(Qt::gray);
        return colorOf(row.foreColor);
    case Qt::FontRole:
        if (row.bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case HistoryRoles::KeyRole:
        return row.key;
    case HistoryRoles::TagRole:
        return row.tag;
    case HistoryRoles::IconKeyRole:
        return row.iconKey;
    case HistoryRoles::GhostedRole:
        return row.ghosted;
    case HistoryRoles::ColorNumberRole:
        return row.foreColor ? QVariant(*row.foreColor) : QVariant();
    case HistoryRoles::StatesRole:
        return RowStatesOf(m_list, index.row(), m_folders);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        const QString words = RowStatesText(RowStatesOf(m_list, index.row(), m_folders), m_list.m_language);
        return words.isEmpty() ? QVariant() : QVariant(words);
    }
    case Qt::AccessibleTextRole:
        // The overview indents entries under their heading; a screen reader says the
        // entry, not the blanks.
        return row.text.trimmed();
    default:
        return {};
    }
}

bool HistoryListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || !m_list.renameAllowed())
        return false;
    // The edit belongs to the row being edited, which is the current one.
    if (index.row() != m_list.currentRow())
        m_list.ClickRow(index.row());
    return m_list.FinishEdit(value.toString()) == 0;
}

Qt::ItemFlags HistoryListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return m_list.mblnDragAllowed ? Qt::ItemIsDropEnabled : Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_list.renameAllowed())
        flags |= Qt::ItemIsEditable;
    if (m_list.mblnDragAllowed)
        flags |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return flags;
}

QHash<int, QByteArray> HistoryListModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(HistoryRoles::KeyRole, "key");
    names.insert(HistoryRoles::TagRole, "tag");
    names.insert(HistoryRoles::IconKeyRole, "iconKey");
    names.insert(HistoryRoles::GhostedRole, "ghosted");
    names.insert(HistoryRoles::ColorNumberRole, "colorNumber");
    return names;
}

Qt::DropActions HistoryListModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions HistoryListModel::supportedDragActions() const
{
    return m_list.mblnDragAllowed ? Qt::MoveAction : Qt::IgnoreAction;
}

QStringList HistoryListModel::mimeTypes() const
{
    return {kMimeType};
}

QMimeData *HistoryListModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty() || !m_list.mblnDragAllowed)
        return nullptr;
    auto *data = new QMimeData;
    data->setData(kMimeType, QByteArray::number(indexes.first().row()));
    return data;
}

bool HistoryListModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                       const QModelIndex &parent) const
{
    Q_UNUSED(row);
    Q_UNUSED(column);
    // Rows are dropped on rows: the dropped row lands before the target (or swaps with
    // the row directly below it).
    return m_list.mblnDragAllowed && action == Qt::MoveAction && data && data->hasFormat(kMimeType)
        && parent.isValid();
}

bool HistoryListModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                    const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    bool ok = false;
    const int dragged = data->data(kMimeType).toInt(&ok);
    if (!ok || dragged < 0 || dragged >= rowCount())
        return false;
    m_list.ClickRow(dragged);
    if (!m_list.StartDrag() || !m_list.DragOver(parent.row()))
        return false;
    // The list moves the row itself; the view's later removeRows of the source is
    // refused (this model removes nothing on request).
    return m_list.Drop() == 0;
}

} // namespace calvenor

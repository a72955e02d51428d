#pragma once

#include <QStyledItemDelegate>

namespace calvenor {

// Draws a row of the history list: the picture its icon key names, one row height for
// all rows, and the row's states not by colour alone: a folder that no longer exists
// is dimmed and crossed, a locked tab carries a padlock (open for "directory changes
// allowed"), the active tab a marker. The tooltip says the same in words (the model's
// tooltip role).
class HistoryRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace calvenor

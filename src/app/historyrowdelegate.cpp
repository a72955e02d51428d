#include "historyrowdelegate.h"

#include "formlanguage.h"
#include "sectiontree.h"
#include "editor/rowstates.h"
#include "editor/visiblerow.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace calvenor {
namespace {

// An emblem in the lower corner of the row's picture, drawn in the text colour on a
// halo of the background so that it reads on any icon.
void drawEmblem(QPainter &painter, const QRect &icon, int states, const QColor &ink, const QColor &halo)
{
    const int side = qMax(9, icon.height() * 3 / 5);
    const QRectF box(icon.right() - side + 1, icon.bottom() - side + 1, side, side);
    QPainterPath shape;
    if (states & (RowState::Locked | RowState::LockedChangeable)) {
        // A padlock; its shackle stands open when the folder may still change.
        const QRectF body(box.left() + side * 0.15, box.top() + side * 0.45, side * 0.7, side * 0.55);
        shape.addRect(body);
        QPainterPath shackle;
        const QRectF arc(box.left() + side * 0.28, box.top() + side * 0.05, side * 0.44, side * 0.7);
        shackle.arcMoveTo(arc, 0);
        shackle.arcTo(arc, 0, 180);
        if (states & RowState::LockedChangeable)
            shackle.translate(side * 0.3, -side * 0.12);
        painter.setPen(QPen(halo, side * 0.32));
        painter.drawPath(shackle);
        painter.setPen(QPen(ink, side * 0.14));
        painter.drawPath(shackle);
    } else if (states & RowState::ActiveTab) {
        // A marker pointing at the entry: the tab the panel shows.
        shape.moveTo(box.left() + side * 0.2, box.top() + side * 0.1);
        shape.lineTo(box.right() - side * 0.1, box.center().y());
        shape.lineTo(box.left() + side * 0.2, box.bottom() - side * 0.1);
        shape.closeSubpath();
    }
    if (!shape.isEmpty()) {
        painter.setPen(QPen(halo, side * 0.2));
        painter.setBrush(ink);
        painter.drawPath(shape);
    }
    if (states & RowState::MissingFolder) {
        // A cross: this folder is gone.
        const QRectF cross = box.adjusted(side * 0.15, side * 0.15, -side * 0.15, -side * 0.15);
        for (const auto &[width, colour] : {std::pair {side * 0.34, halo}, std::pair {side * 0.16, ink}}) {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(cross.topLeft(), cross.bottomRight());
            painter.drawLine(cross.topRight(), cross.bottomLeft());
        }
    }
}

} // namespace

QSize HistoryRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // One height for every row, room for a whole icon: the overview mixes headings
    // with icons and entries without, and the list keeps one row size for speed.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), option.decorationSize.height() + 2));
    return size;
}

void HistoryRowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QString key = index.data(HistoryRoles::IconKeyRole).toString();
    if (!key.isEmpty()) {
        option->icon = SectionIcon(key);
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
    if (option->direction == Qt::RightToLeft)
        option->text = IsolatedDirection(option->text);
    if (index.data(HistoryRoles::StatesRole).toInt() & RowState::MissingFolder) {
        // Halfway to the background: the list's own colours set every colour group,
        // so the disabled text colour is no dimmer than the normal one.
        const QColor text = option->palette.color(QPalette::Text);
        const QColor base = option->palette.color(QPalette::Base);
        option->palette.setColor(QPalette::Text, QColor((text.red() + base.red()) / 2, (text.green() + base.green()) / 2,
                                                        (text.blue() + base.blue()) / 2));
    }
}

void HistoryRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const int states = index.data(HistoryRoles::StatesRole).toInt()
        & (RowState::ActiveTab | RowState::Locked | RowState::LockedChangeable | RowState::MissingFolder);
    if (states == 0)
        return;
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    QRect icon = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, widget);
    if (!icon.isValid())
        icon = QRect(option.rect.topLeft(), option.decorationSize);
    const bool selected = option.state & QStyle::State_Selected;
    const QColor ink = item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor halo = item.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    drawEmblem(*painter, icon, states, ink, halo);
    painter->restore();
}

} // namespace calvenor

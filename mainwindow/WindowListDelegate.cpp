#include "WindowListDelegate.h"

#include "core/WindowListModel.h"

#include <QColor>
#include <QPainter>

void WindowListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QVariant colour = index.data(WindowListModel::StatusColourRole);
    if (!colour.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const auto colours = StatusCellColoursOf(static_cast<StatusColour>(colour.toInt()));
    if (!colours) {
        // Any other status keeps the grid's background, selected or not, and is written in
        // the window text colour.
        QStyleOptionViewItem plain = option;
        const QColor windowText = option.palette.color(QPalette::WindowText);
        plain.palette.setColor(QPalette::Text, windowText);
        plain.palette.setColor(QPalette::HighlightedText, windowText);
        QStyledItemDelegate::paint(painter, plain, index);
        return;
    }
    // Status colours win over the selection highlight.
    painter->save();
    painter->fillRect(option.rect, QColor::fromRgb(colours->background));
    painter->setPen(QColor::fromRgb(colours->text));
    const QRect textRect = option.rect.adjusted(2, 0, -2, 0);
    const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    painter->drawText(textRect, int(alignment | Qt::TextSingleLine), index.data().toString());
    painter->restore();
}

#include "WindowListDelegate.h"

#include <QPainter>

void WindowListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QVariant background = index.data(Qt::BackgroundRole);
    if (!background.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // Status colours win over the selection highlight.
    painter->save();
    painter->fillRect(option.rect, background.value<QColor>());
    painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
    const QRect textRect = option.rect.adjusted(2, 0, -2, 0);
    const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    painter->drawText(textRect, int(alignment | Qt::TextSingleLine), index.data().toString());
    painter->restore();
}

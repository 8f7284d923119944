#include "WindowListDelegate.h"

#include "core/WindowListModel.h"

#include <QPainter>

std::optional<CellColours> StatusPalette(StatusColour colour)
{
    switch (colour) {
    case StatusColour::Events:
        return CellColours{Qt::red, Qt::black};
    case StatusColour::Commissioning:
        return CellColours{Qt::yellow, Qt::black};
    case StatusColour::Normal:
        return CellColours{QColor(0x00, 0x80, 0x00), Qt::white};
    case StatusColour::Plain:
        break;
    }
    return std::nullopt;
}

void WindowListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QVariant colour = index.data(WindowListModel::StatusColourRole);
    if (!colour.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const auto colours = StatusPalette(static_cast<StatusColour>(colour.toInt()));
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
    painter->fillRect(option.rect, colours->background);
    painter->setPen(colours->text);
    const QRect textRect = option.rect.adjusted(2, 0, -2, 0);
    const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    painter->drawText(textRect, int(alignment | Qt::TextSingleLine), index.data().toString());
    painter->restore();
}

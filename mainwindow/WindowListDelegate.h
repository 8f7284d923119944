// Draws the cells of the window list: one line, vertically centred, and column 7 in the colours
// of its status text, selected or not.
#pragma once

#include <QStyledItemDelegate>

class WindowListDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// Draws the cells of the window list: one line, vertically centred, and the status cell in the
// colours of its status, selected or not.
#pragma once

#include "core/WindowRow.h"

#include <QStyledItemDelegate>

class WindowListDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// Draws the cells of the window list: one line, vertically centred, and the status cell in the
// colours of its status, selected or not.
#pragma once

#include "core/WindowRow.h"

#include <QColor>
#include <QStyledItemDelegate>

#include <optional>

struct CellColours {
    QColor background;
    QColor text;
};
// The colours of a status cell; nothing for Plain, which keeps the grid's background.
[[nodiscard]] std::optional<CellColours> StatusPalette(StatusColour colour);

class WindowListDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

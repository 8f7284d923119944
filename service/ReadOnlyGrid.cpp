#include "ReadOnlyGrid.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget* ReadOnlyGrid(const char* name, int rows, int columns, QWidget* parent)
{
    auto* grid = new QTableWidget(rows, columns, parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            grid->setItem(row, column, new QTableWidgetItem);
    }
    return grid;
}

// The read-only grids of the service dialogs: whole rows selected, no editing, compact rows, an
// empty item in every cell for the dialog to fill.
#pragma once

class QTableWidget;
class QWidget;

[[nodiscard]] QTableWidget* ReadOnlyGrid(const char* name, int rows, int columns, QWidget* parent);

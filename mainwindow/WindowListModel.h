// The window list: the cell texts of the devices found, one row each, plus the empty row that
// always follows them, and the list state the scan keeps (last address, gap flag, group pause).
#pragma once

#include "WindowRow.h"

#include <QAbstractTableModel>
#include <QList>

class WindowListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Fills the empty row with the device and adds a new empty row after it.
    void AddWindowRow(const TFensterInfo& info);
    // Back to no devices and the one empty row.
    void clear();
    // Header texts or status texts changed with the language.
    void retranslate();

    [[nodiscard]] int deviceCount() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    // The address of a device row by the value parse of its first cell; -1 when unreadable.
    [[nodiscard]] int rowAddress(int row) const;

    int lastAddress = 0;
    bool addressGap = false;
    uint8_t groupDrivePause = 0;

private:
    QList<QStringList> m_rows;
};

// The window list: one typed record per device found, in the order found, plus the empty row
// that always follows them, and the list state the scan keeps (last address, gap, group pause).
#pragma once

#include "WindowRow.h"

#include <QAbstractTableModel>
#include <QList>

class WindowListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // The status cell's StatusColour, as an int.
    static constexpr int StatusColourRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Fills the empty row with the device and adds a new empty row after it.
    void AddWindowRow(const TFensterInfo& info);
    // Back to no devices and the one empty row.
    void clear();
    // Every text of the list is shown again in the current language.
    void retranslate();

    [[nodiscard]] int deviceCount() const { return static_cast<int>(m_rows.size()); }
    // The record of a device row; nullptr for the empty row and beyond.
    [[nodiscard]] const TFensterInfo* device(int row) const;
    // A cell's text in the current language; empty for the empty row.
    [[nodiscard]] QString cell(int row, int column) const;
    // The bus address of a device row; -1 for the empty row.
    [[nodiscard]] int rowAddress(int row) const;
    // The bus addresses of the controllers in the list, in list order (no group control unit).
    [[nodiscard]] QList<int> controllerAddresses() const;
    // Shows a device under another bus address (readdressing, address change).
    void setRowAddress(int row, int address);

    // The summary of the status bar: the controllers and the group control unit of the last
    // scan, and the address gap.
    [[nodiscard]] QString summary() const;

    int lastAddress = 0;
    bool addressGap = false;
    // Whether the last scan that got to the bus found a group control unit.
    bool groupUnitFound = false;
    uint8_t groupDrivePause = 0;

private:
    QList<TFensterInfo> m_rows;
};

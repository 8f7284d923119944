#include "WindowListModel.h"

#include "texts/Sprachen.h"

namespace {

// "Fenster" after one window, its plural after any other count.
int WindowsText(int count)
{
    return count == 1 ? 76 : kTextWindowsPlural;
}

} // namespace

int WindowListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : deviceCount() + 1;
}

int WindowListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kWindowListColumns;
}

const TFensterInfo* WindowListModel::device(int row) const
{
    return row >= 0 && row < deviceCount() ? &m_rows[row] : nullptr;
}

QString WindowListModel::cell(int row, int column) const
{
    const TFensterInfo* info = device(row);
    if (!info || column < 0 || column >= kWindowListColumns)
        return {};
    return WindowRowTexts(*info)[column];
}

int WindowListModel::rowAddress(int row) const
{
    const TFensterInfo* info = device(row);
    return info ? info->address : -1;
}

QList<int> WindowListModel::controllerAddresses() const
{
    QList<int> addresses;
    for (const TFensterInfo& row : m_rows) {
        if (!row.isGroupUnit())
            addresses << row.address;
    }
    return addresses;
}

void WindowListModel::setRowAddress(int row, int address)
{
    if (!device(row))
        return;
    m_rows[row].address = address;
    emit dataChanged(index(row, 0), index(row, 0));
}

QVariant WindowListModel::data(const QModelIndex& index, int role) const
{
    const TFensterInfo* info = index.isValid() ? device(index.row()) : nullptr;
    switch (role) {
    case Qt::DisplayRole:
        return info ? WindowRowTexts(*info).value(index.column()) : QString();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(CellAlignment(index.column(), false));
    case StatusColourRole:
        if (info && index.column() == kWindowListColumns - 1)
            return int(StatusColourOf(*info));
        return {};
    default:
        return {};
    }
}

QVariant WindowListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return WindowListHeader().value(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(CellAlignment(section, true));
    return {};
}

void WindowListModel::AddWindowRow(const TFensterInfo& info)
{
    // The empty row becomes the device row; a new empty row follows it.
    const int row = deviceCount();
    beginInsertRows({}, row + 1, row + 1);
    m_rows.append(info);
    endInsertRows();
    emit dataChanged(index(row, 0), index(row, kWindowListColumns - 1));
    lastAddress = info.address;
}

void WindowListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void WindowListModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, kWindowListColumns - 1);
    if (deviceCount() > 0)
        emit dataChanged(index(0, 0), index(deviceCount() - 1, kWindowListColumns - 1));
}

QString WindowListModel::summary() const
{
    const int rows = deviceCount();
    const int windows = groupUnitFound ? rows - 1 : rows;
    QString text;
    if (rows == 0)
        text = LanguageText(296);
    else
        text = QStringLiteral("%1 %2").arg(windows).arg(LanguageText(WindowsText(windows)));
    if (rows != 0 && groupUnitFound)
        text += QStringLiteral(", ") + LanguageText(111);
    if (addressGap)
        text += QStringLiteral(", ") + LanguageText(444);
    return text;
}

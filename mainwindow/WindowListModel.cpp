#include "WindowListModel.h"

#include "service/Tools01.h"

int WindowListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : deviceCount() + 1;
}

int WindowListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kWindowListColumns;
}

QString WindowListModel::cell(int row, int column) const
{
    if (row < 0 || row >= deviceCount() || column < 0 || column >= kWindowListColumns)
        return {};
    return m_rows[row][column];
}

void WindowListModel::setCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= deviceCount() || column < 0 || column >= kWindowListColumns)
        return;
    m_rows[row][column] = text;
    emit dataChanged(index(row, column), index(row, column));
}

int WindowListModel::rowAddress(int row) const
{
    const QString text = cell(row, 0);
    return text.isEmpty() ? -1 : ParseValue(text);
}

QVariant WindowListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const QString text = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return text;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(CellAlignment(index.column(), false));
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
        if (index.column() == kWindowListColumns - 1) {
            if (const auto colours = StatusColours(text))
                return role == Qt::BackgroundRole ? colours->background : colours->text;
        }
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
    m_rows.append(WindowRowTexts(info));
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
}

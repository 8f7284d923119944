#include "TraceTableModel.h"

#include <QIODevice>

TraceTableModel::TraceTableModel(TelegramTrace& trace, QObject* parent)
    : QAbstractTableModel(parent), m_trace(trace)
{}

int TraceTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size()) * 2;
}

int TraceTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kMonitorColumns;
}

QStringList TraceTableModel::line(int row) const
{
    const int shown = row / 2;
    const int index = m_shown[size_t(shown)];
    std::optional<uint32_t> previous;
    if (index > 0)
        previous = m_records[size_t(index - 1)].tickMs;
    return MonitorLine(m_records[size_t(index)], row % 2, previous);
}

QVariant TraceTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole) {
        if (index.row() != m_cachedRow) {
            m_cachedLine = line(index.row());
            m_cachedRow = index.row();
        }
        return m_cachedLine.value(index.column());
    }
    if (role == FailureRole)
        return IsFailure(m_records[size_t(m_shown[size_t(index.row() / 2)])].outcome);
    return {};
}

QVariant TraceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return MonitorColumnTitle(section);
}

bool TraceTableModel::passes(const TraceRecord& record) const
{
    if (m_failuresOnly && !IsFailure(record.outcome))
        return false;
    return !m_window || (record.request[1] >> 2) == *m_window;
}

void TraceTableModel::takeNew()
{
    const std::vector<TraceRecord> added = m_trace.recordsAfter(m_lastSequence);
    if (added.empty())
        return;
    m_lastSequence = added.back().sequence;
    m_cachedRow = -1;
    std::vector<int> shown;
    for (const TraceRecord& record : added) {
        m_records.push_back(record);
        ++m_counts[size_t(record.outcome)];
        if (passes(record))
            shown.push_back(int(m_records.size()) - 1);
    }
    // The oldest exchanges leave with the trace's bound.
    const size_t excess =
        m_records.size() > m_trace.capacity() ? m_records.size() - m_trace.capacity() : 0;
    if (excess > 0) {
        beginResetModel();
        for (size_t i = 0; i < excess; ++i)
            --m_counts[size_t(m_records[i].outcome)];
        m_records.erase(m_records.begin(), m_records.begin() + std::ptrdiff_t(excess));
        m_shown.clear();
        for (size_t i = 0; i < m_records.size(); ++i) {
            if (passes(m_records[i]))
                m_shown.push_back(int(i));
        }
        endResetModel();
        return;
    }
    if (shown.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + int(shown.size()) * 2 - 1);
    m_shown.insert(m_shown.end(), shown.begin(), shown.end());
    endInsertRows();
}

void TraceTableModel::clear()
{
    m_cachedRow = -1;
    beginResetModel();
    m_trace.clear();
    m_lastSequence = m_trace.lastSequence();
    m_records.clear();
    m_shown.clear();
    m_counts.fill(0);
    endResetModel();
}

void TraceTableModel::setFilter(std::optional<int> window, bool failuresOnly)
{
    m_cachedRow = -1;
    beginResetModel();
    m_window = window;
    m_failuresOnly = failuresOnly;
    m_shown.clear();
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (passes(m_records[i]))
            m_shown.push_back(int(i));
    }
    endResetModel();
}

std::optional<int> TraceTableModel::find(const QString& text, int from) const
{
    const int rows = rowCount();
    for (int step = 0; step < rows; ++step) {
        const int row = (from + step) % rows;
        for (const QString& cell : line(row)) {
            if (cell.contains(text, Qt::CaseInsensitive))
                return row;
        }
    }
    return std::nullopt;
}

QList<int> TraceTableModel::allRows() const
{
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row)
        rows << row;
    return rows;
}

void TraceTableModel::writeText(QIODevice& out, const QList<int>& rows) const
{
    out.write(MonitorColumnTitles().join(u'\t').toUtf8() + '\n');
    for (const int row : rows)
        out.write(line(row).join(u'\t').toUtf8() + '\n');
}

void TraceTableModel::writeCsv(QIODevice& out, const QList<int>& rows) const
{
    const auto csv = [](const QStringList& cells) {
        QStringList quoted;
        for (QString cell : cells)
            quoted << u'"' + cell.replace(u'"', QStringLiteral("\"\"")) + u'"';
        return quoted.join(u',').toUtf8() + "\r\n";
    };
    out.write(csv(MonitorColumnTitles()));
    for (const int row : rows)
        out.write(csv(line(row)));
}

int64_t TraceTableModel::lastTelegramMs() const
{
    return m_trace.lastWallMs();
}

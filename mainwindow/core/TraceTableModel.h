// The bus monitor's lines as a table model over the telegram trace: two lines an exchange
// (request and reply), filtered by window address and failures, taken over in batches, with the
// count of each outcome and the lines as UTF-8 text or CSV.
#pragma once

#include "TelegramDecode.h"

#include <QAbstractTableModel>

#include <array>
#include <optional>
#include <vector>

class QIODevice;

class TraceTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // True on the lines of an exchange that failed.
    static constexpr int FailureRole = Qt::UserRole + 1;

    explicit TraceTableModel(TelegramTrace& trace, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;

    // Takes over the exchanges traced since the last call.
    void takeNew();
    // Forgets every exchange, in the trace as well.
    void clear();
    // Only the exchanges with one window address (nothing: all), only failed ones.
    void setFilter(std::optional<int> window, bool failuresOnly);

    // When the newest exchange in the trace was made, milliseconds since the epoch; 0 for none.
    [[nodiscard]] int64_t lastTelegramMs() const;
    // The exchanges taken over, by outcome.
    [[nodiscard]] const std::array<int, kTraceOutcomes>& outcomeCounts() const { return m_counts; }
    // The first line from `from` on (wrapping) that contains `text`, case-insensitive.
    [[nodiscard]] std::optional<int> find(const QString& text, int from) const;
    // The cells of a line.
    [[nodiscard]] QStringList line(int row) const;
    // The lines shown, as tab-separated text or as CSV, UTF-8, a header line first.
    void writeText(QIODevice& out, const QList<int>& rows) const;
    void writeCsv(QIODevice& out, const QList<int>& rows) const;
    // Every row shown, in order.
    [[nodiscard]] QList<int> allRows() const;

private:
    [[nodiscard]] bool passes(const TraceRecord& record) const;

    TelegramTrace& m_trace;
    std::vector<TraceRecord> m_records;
    // Indices into m_records of the exchanges shown.
    std::vector<int> m_shown;
    uint64_t m_lastSequence = 0;
    std::optional<int> m_window;
    bool m_failuresOnly = false;
    std::array<int, kTraceOutcomes> m_counts{};
    // The view asks for a line cell by cell: the line last made is kept.
    mutable int m_cachedRow = -1;
    mutable QStringList m_cachedLine;
};

// The record of every telegram the tool exchanges, kept from program start in a bounded ring: the
// request, what came back, the outcome and when. The telegram link and the raw port add to it;
// the bus monitor and the --trace file read it.
#pragma once

#include <QList>

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

enum class TraceOutcome {
    Answered,
    NoAnswer,
    WrongChecksum,
    ShortReply,
    Resynchronised, // answered after stray bytes ahead of the reply
    BusBusy,        // foreign traffic: no reply could be told apart
};
constexpr int kTraceOutcomes = 6;
[[nodiscard]] constexpr bool IsFailure(TraceOutcome outcome)
{
    return outcome != TraceOutcome::Answered && outcome != TraceOutcome::Resynchronised;
}

// Which of the two ways to the bus sent it.
enum class TraceLink { Telegram, Raw };

struct TraceRecord {
    uint64_t sequence = 0;   // counts from 1 since program start, also past the ring's bound
    int64_t wallMs = 0;      // time of day, milliseconds since the epoch
    uint32_t tickMs = 0;     // the bus clock's tick when the request went out
    uint32_t durationMs = 0; // from the request to the end of the reply or the time-out
    std::array<uint8_t, 6> request{};
    std::array<uint8_t, 6> reply{};
    int replyLength = 0; // the reply bytes received, 0..6
    TraceOutcome outcome = TraceOutcome::Answered;
    TraceLink link = TraceLink::Telegram;
};

class TelegramTrace {
public:
    // At least 100 000 telegrams; one record is 48 bytes, so the full ring holds about 5 MB.
    static constexpr size_t kCapacity = 100'000;

    // The trace of the program.
    static TelegramTrace& program();

    explicit TelegramTrace(size_t capacity = kCapacity);

    void add(TraceRecord record);
    // The records still in the ring, oldest first.
    [[nodiscard]] std::vector<TraceRecord> records() const;
    // The records with a sequence number above `sequence`, oldest first.
    [[nodiscard]] std::vector<TraceRecord> recordsAfter(uint64_t sequence) const;
    [[nodiscard]] uint64_t lastSequence() const;
    // When the newest exchange still in the ring was recorded (ms since the epoch); 0 for none.
    [[nodiscard]] int64_t lastWallMs() const;
    [[nodiscard]] size_t capacity() const { return m_ring.size(); }
    void clear();
    // Called after each record, on the thread that exchanged it (the --trace file).
    void setListener(std::function<void(const TraceRecord&)> listener);

private:
    mutable std::mutex m_lock;
    std::vector<TraceRecord> m_ring;
    size_t m_next = 0;
    size_t m_size = 0;
    uint64_t m_sequence = 0;
    std::function<void(const TraceRecord&)> m_listener;
};

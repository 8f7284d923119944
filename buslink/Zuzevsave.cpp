#include "Zuzevsave.h"

#include "TelegramTrace.h"

#include "CZuzev.h"
#include "Protocol.h"

namespace {

// A drain that gets a byte on this many reads in a row means the bus never falls silent.
constexpr int kBusyReads = 300;

} // namespace

TZuzevSave::TZuzevSave(Clock& clock, SerialPorts& ports, QString logPath)
    : TCOMport(ports, std::move(logPath)), m_clock(clock)
{}

int TZuzevSave::RawOpen(const BusPort& port, uint32_t baud, int replyTimeLimitMs)
{
    m_replyTimeLimitMs = replyTimeLimitMs;
    return Open(port, baud, 0, 0) ? 0 : 1;
}

void TZuzevSave::SendKeepAlive()
{
    auto [mode, field, data] = Protocol::KeepAliveRequest();
    (void)RawTransmit(mode, field, data);
}

int TZuzevSave::RawTransmit(int& mode, int& addressField, int& data)
{
    const Telegram request =
        MakeTelegram(static_cast<unsigned>(mode), static_cast<unsigned>(addressField),
                     static_cast<unsigned>(data));
    TraceRecord record;
    record.link = TraceLink::Raw;
    record.request = request;
    record.tickMs = m_clock.tickMs();
    const auto traced = [&](Result result, TraceOutcome outcome) {
        record.durationMs = m_clock.tickMs() - record.tickMs;
        record.outcome = outcome;
        TelegramTrace::program().add(record);
        return result;
    };
    uint8_t byte = 0;
    int readsInARow = 0;
    while (ReadByte(byte)) {
        if (++readsInARow >= kBusyReads)
            return traced(BusBusy, TraceOutcome::BusBusy);
    }
    for (uint8_t b : request)
        (void)WriteByte(b);

    Telegram& reply = record.reply;
    int& received = record.replyLength;
    bool skipped = false;
    // The time limit is kept to the microsecond: a last read that would run past it waits only
    // for the rest, so the limit neither shrinks nor overruns by a read or a tick.
    const uint64_t start = m_clock.monotonicUs();
    const uint64_t limitUs = uint64_t(m_replyTimeLimitMs) * 1000;
    for (int attempts = 0;
         received < 6 && attempts < m_replyTimeLimitMs && m_clock.monotonicUs() - start < limitUs;
         ++attempts) {
        const uint64_t leftUs = limitUs - (m_clock.monotonicUs() - start);
        int timeoutMs = kByteTimeoutMs;
        if (leftUs < uint64_t(kByteTimeoutMs) * 1000) {
            m_clock.busyWaitUs(static_cast<uint32_t>(leftUs));
            timeoutMs = 0;
        }
        if (!ReadByte(byte, timeoutMs))
            continue;
        const bool first = byte == request[0] || (request[0] == Protocol::EmergencyRequest &&
                                                  byte == Protocol::EmergencyReply);
        if (received == 0 && !first) {
            skipped = true;
            continue;
        }
        reply[received++] = byte;
    }
    if (received == 0)
        return traced(NoReply, TraceOutcome::NoAnswer);
    if (received < 6)
        return traced(Incomplete, TraceOutcome::ShortReply);
    if (reply[5] != TelegramChecksum(reply.data()))
        return traced(ChecksumWrong, TraceOutcome::WrongChecksum);
    mode = reply[0];
    addressField = reply[1] + 256 * reply[2];
    data = reply[3] + 256 * reply[4];
    return traced(Ok, skipped ? TraceOutcome::Resynchronised : TraceOutcome::Answered);
}

#include "Zuzevsave.h"

#include "CZuzev.h"
#include "Protocol.h"

namespace {

// A drain that gets a byte on this many reads in a row means the bus never falls silent.
constexpr int kBusyReads = 300;

} // namespace

TZuzevSave::TZuzevSave(Clock& clock, SerialPorts& ports, QString logPath)
    : TCOMport(ports, std::move(logPath)), m_clock(clock)
{}

int TZuzevSave::RawOpen(int port, uint32_t baud, int replyTimeLimitMs)
{
    m_replyTimeLimitMs = replyTimeLimitMs;
    return Open(ports().devicePath(port), baud, 0, 0) ? 0 : 1;
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
    uint8_t byte = 0;
    int readsInARow = 0;
    while (ReadByte(byte)) {
        if (++readsInARow >= kBusyReads)
            return BusBusy;
    }
    for (uint8_t b : request)
        (void)WriteByte(b);

    Telegram reply{};
    int received = 0;
    const uint32_t start = m_clock.tickMs();
    for (int attempts = 0; received < 6 && attempts < m_replyTimeLimitMs &&
                           m_clock.tickMs() - start <= uint32_t(m_replyTimeLimitMs);
         ++attempts) {
        if (!ReadByte(byte))
            continue;
        const bool first =
            byte == request[0] || (request[0] == Protocol::EmergencyRequest && byte == Protocol::EmergencyReply);
        if (received == 0 && !first)
            continue;
        reply[received++] = byte;
    }
    if (received == 0)
        return NoReply;
    if (received < 6)
        return Incomplete;
    if (reply[5] != TelegramChecksum(reply.data()))
        return ChecksumWrong;
    mode = reply[0];
    addressField = reply[1] + 256 * reply[2];
    data = reply[3] + 256 * reply[4];
    return Ok;
}

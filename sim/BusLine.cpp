#include "BusLine.h"

namespace {

constexpr uint32_t kDefaultBaud = 19200;
constexpr uint8_t kForeignByte = 0xEE;
constexpr uint64_t kReceiveBufferBytes = 64;

} // namespace

BusLine::BusLine(SimulatedBus& bus) : m_bus(bus), m_framer(bus.timing().frameGapUs)
{
    setBaud(kDefaultBaud);
}

void BusLine::setBaud(uint32_t baud)
{
    m_byteUs = std::max<uint32_t>(1, 10'000'000 / std::max<uint32_t>(1, baud));
}

void BusLine::receive(uint8_t byte, uint64_t atUs)
{
    m_framer.setGapUs(m_bus.timing().frameGapUs);
    const TelegramFramer::Result framed = m_framer.push(byte, atUs);
    if (m_log && !framed.dropped.isEmpty())
        m_log->dropped(framed.droppedAtUs, framed.dropped);
    if (!framed.telegram)
        return;
    if (m_log)
        m_log->request(atUs, *framed.telegram);
    const BusReply reply = m_bus.handle(*framed.telegram, atUs);
    if (reply.bytes.isEmpty())
        return;
    uint64_t at = std::max(reply.startUs, m_lastByteUs);
    if (m_log)
        m_log->reply(at, reply.bytes);
    for (const char c : reply.bytes) {
        at += m_byteUs;
        m_out.push_back({static_cast<uint8_t>(c), at});
    }
    m_lastByteUs = at;
}

void BusLine::addTraffic(uint64_t nowUs, uint64_t untilUs)
{
    if (!m_bus.neverSilent())
        return;
    const uint64_t bufferUs = kReceiveBufferBytes * m_byteUs;
    uint64_t at = m_lastByteUs + m_byteUs;
    if (nowUs > bufferUs && at < nowUs - bufferUs)
        at = nowUs - bufferUs;
    for (; at <= untilUs; at += m_byteUs) {
        m_out.push_back({kForeignByte, at});
        m_lastByteUs = at;
    }
}

std::optional<uint64_t> BusLine::readableAt(size_t index, uint64_t nowUs, uint64_t horizonUs)
{
    addTraffic(nowUs, horizonUs);
    if (index >= m_out.size() || m_out[index].atUs > horizonUs)
        return std::nullopt;
    return m_out[index].atUs;
}

int BusLine::take(uint8_t* buffer, int count, uint64_t nowUs)
{
    addTraffic(nowUs, nowUs);
    int n = 0;
    while (n < count && !m_out.empty() && m_out.front().atUs <= nowUs) {
        buffer[n++] = m_out.front().byte;
        m_out.pop_front();
    }
    return n;
}

void BusLine::discardReadable(uint64_t nowUs)
{
    addTraffic(nowUs, nowUs);
    while (!m_out.empty() && m_out.front().atUs <= nowUs)
        m_out.pop_front();
}

#include "ArbitrarySerial.h"

#include <algorithm>

bool ArbitrarySerialDevice::open(const QString&)
{
    m_open = true;
    m_lost = false;
    return true;
}

int ArbitrarySerialDevice::read(uint8_t* buffer, int count, int timeoutMs)
{
    if (!isOpen())
        return -1;
    // Up to `count`: that many bytes arrive (an exhausted input is a silent line); one more: the
    // read fails; two more: the device vanishes.
    const int outcome = m_input.ConsumeIntegralInRange<int>(0, std::max(count, 0) + 2);
    if (outcome == count + 2)
        m_lost = true;
    if (outcome > count)
        return -1;
    const std::vector<uint8_t> bytes = m_input.ConsumeBytes<uint8_t>(size_t(outcome));
    std::copy(bytes.begin(), bytes.end(), buffer);
    const int got = static_cast<int>(bytes.size());
    if (got < count)
        m_clock.sleepMs(static_cast<uint32_t>(std::max(timeoutMs, 0)));
    return got;
}

int ArbitrarySerialDevice::write(const uint8_t*, int count)
{
    if (!isOpen())
        return -1;
    // All bytes go out unless the input says fewer, or -1 for a failed write.
    const int sent = count - m_input.ConsumeIntegralInRange<int>(0, count + 1);
    return sent < 0 ? -1 : sent;
}

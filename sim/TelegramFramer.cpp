#include "TelegramFramer.h"

TelegramFramer::Result TelegramFramer::push(uint8_t byte, uint64_t atUs)
{
    Result result;
    if (!m_partial.isEmpty() && atUs - m_lastUs >= m_gapUs) {
        result.dropped = m_partial;
        result.droppedAtUs = m_lastUs;
        m_partial.clear();
    }
    m_lastUs = atUs;
    m_partial.append(static_cast<char>(byte));
    if (m_partial.size() < 6)
        return result;

    BusTelegram t;
    std::copy(m_partial.cbegin(), m_partial.cend(), t.begin());
    if (t[5] == BusChecksum(t)) {
        result.telegram = t;
        m_partial.clear();
    } else {
        result.dropped.append(m_partial.front());
        result.droppedAtUs = atUs;
        m_partial.remove(0, 1);
    }
    return result;
}

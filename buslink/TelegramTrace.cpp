#include "TelegramTrace.h"

#include <QDateTime>

TelegramTrace& TelegramTrace::program()
{
    static TelegramTrace trace;
    return trace;
}

TelegramTrace::TelegramTrace(size_t capacity) : m_ring(std::max<size_t>(capacity, 1)) {}

void TelegramTrace::add(TraceRecord record)
{
    std::function<void(const TraceRecord&)> listener;
    {
        std::lock_guard guard(m_lock);
        record.sequence = ++m_sequence;
        if (record.wallMs == 0)
            record.wallMs = QDateTime::currentMSecsSinceEpoch();
        m_ring[m_next] = record;
        m_next = (m_next + 1) % m_ring.size();
        m_size = std::min(m_size + 1, m_ring.size());
        listener = m_listener;
    }
    if (listener)
        listener(record);
}

std::vector<TraceRecord> TelegramTrace::records() const
{
    return recordsAfter(0);
}

std::vector<TraceRecord> TelegramTrace::recordsAfter(uint64_t sequence) const
{
    std::lock_guard guard(m_lock);
    std::vector<TraceRecord> out;
    const size_t first = (m_next + m_ring.size() - m_size) % m_ring.size();
    const uint64_t firstSequence = m_sequence - m_size + 1;
    const size_t skip = sequence >= firstSequence ? size_t(sequence - firstSequence + 1) : 0;
    if (skip >= m_size)
        return out;
    out.reserve(m_size - skip);
    for (size_t i = skip; i < m_size; ++i)
        out.push_back(m_ring[(first + i) % m_ring.size()]);
    return out;
}

uint64_t TelegramTrace::lastSequence() const
{
    std::lock_guard guard(m_lock);
    return m_sequence;
}

int64_t TelegramTrace::lastWallMs() const
{
    std::lock_guard guard(m_lock);
    return m_size == 0 ? 0 : m_ring[(m_next + m_ring.size() - 1) % m_ring.size()].wallMs;
}

void TelegramTrace::clear()
{
    std::lock_guard guard(m_lock);
    m_size = 0;
    m_next = 0;
}

void TelegramTrace::setListener(std::function<void(const TraceRecord&)> listener)
{
    std::lock_guard guard(m_lock);
    m_listener = std::move(listener);
}

#include "TrendRing.h"

#include <algorithm>

TrendRing::TrendRing(qsizetype capacity, qint64 spanMs)
    : m_capacity(std::max<qsizetype>(capacity, 1)), m_spanMs(spanMs)
{}

void TrendRing::append(qint64 atMs, const RefreshSample& sample)
{
    m_samples.push_back({atMs, sample});
    while (qsizetype(m_samples.size()) > m_capacity || atMs - m_samples.front().atMs > m_spanMs)
        m_samples.pop_front();
}

QList<TimedSample> TrendRing::between(qint64 fromMs, qint64 toMs) const
{
    const auto earlier = [](const TimedSample& s, qint64 ms) { return s.atMs < ms; };
    const auto first = std::lower_bound(m_samples.begin(), m_samples.end(), fromMs, earlier);
    QList<TimedSample> out;
    for (auto it = first; it != m_samples.end() && it->atMs <= toMs; ++it)
        out << *it;
    return out;
}

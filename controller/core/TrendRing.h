// The samples of the controller trend: every refresh's values with the time it ended, in a ring
// bounded to a day, so that a window left open for days keeps a day and no more.
#pragma once

#include "RefreshSample.h"

#include <QList>

#include <deque>

struct TimedSample {
    // Milliseconds since 1970 (UTC).
    qint64 atMs = 0;
    RefreshSample sample;
};

constexpr qint64 kTrendDayMs = 24 * 60 * 60 * 1000;
// A refresh starts 1000 ms after the previous one ended, so a day holds fewer than this.
constexpr qsizetype kTrendRingCapacity = kTrendDayMs / 1000;

class TrendRing {
public:
    explicit TrendRing(qsizetype capacity = kTrendRingCapacity, qint64 spanMs = kTrendDayMs);

    // Adds a sample; the oldest go when the ring is full or more than the span older than it.
    void append(qint64 atMs, const RefreshSample& sample);
    void clear() { m_samples.clear(); }

    [[nodiscard]] qsizetype size() const { return qsizetype(m_samples.size()); }
    [[nodiscard]] bool isEmpty() const { return m_samples.empty(); }
    [[nodiscard]] const TimedSample& oldest() const { return m_samples.front(); }
    [[nodiscard]] const TimedSample& newest() const { return m_samples.back(); }
    // The samples from `fromMs` to `toMs`, both included, oldest first.
    [[nodiscard]] QList<TimedSample> between(qint64 fromMs, qint64 toMs) const;

private:
    qsizetype m_capacity;
    qint64 m_spanMs;
    std::deque<TimedSample> m_samples;
};

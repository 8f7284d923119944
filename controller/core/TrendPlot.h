// What the trend window draws of the samples it shows: a line per measured value, x in
// milliseconds since 1970, and the markers where the state or the event bits changed, with the
// texts they show on hover.
#pragma once

#include "TrendRing.h"

#include <QList>
#include <QPointF>
#include <QString>

// The trend shows the last ten minutes.
constexpr qint64 kTrendShownMs = 10 * 60 * 1000;

struct TrendMarker {
    qint64 atMs = 0;
    QString text;

    [[nodiscard]] bool operator==(const TrendMarker&) const = default;
};

struct TrendPlot {
    QList<QPointF> position;
    QList<QPointF> supply;
    QList<QPointF> safetyEdge1;
    QList<QPointF> safetyEdge2;
    QList<QPointF> rawHall;
    // The first sample's state, then every change; event bits that are set at the first sample,
    // then every change (a failed read of them counts as one).
    QList<TrendMarker> stateChanges;
    QList<TrendMarker> eventChanges;
};
[[nodiscard]] TrendPlot PlotOf(const QList<TimedSample>& samples);

struct TrendSpan {
    qint64 fromMs = 0;
    qint64 toMs = 0;
};
// The last ten minutes up to the newest sample; from the oldest when the ring holds less.
[[nodiscard]] TrendSpan ShownSpan(const TrendRing& ring);

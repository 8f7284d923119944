#include "TrendPlot.h"

#include "SampleTexts.h"

#include <QDateTime>

#include <algorithm>

namespace {

QString markerText(qint64 atMs, const QString& text)
{
    return QDateTime::fromMSecsSinceEpoch(atMs).toString(QStringLiteral("HH:mm:ss ")) + text;
}

QString eventMarkerText(const RefreshSample& sample)
{
    const QString bits = EventBitsTextOf(sample);
    const QString texts = EventTextsOf(sample);
    return bits.isEmpty() ? texts : bits + QStringLiteral(": ") + texts;
}

} // namespace

TrendPlot PlotOf(const QList<TimedSample>& samples)
{
    TrendPlot plot;
    QString lastState;
    std::optional<int> lastEvents = 0;
    for (const TimedSample& timed : samples) {
        const RefreshSample& s = timed.sample;
        const double x = double(timed.atMs);
        const auto add = [x](QList<QPointF>& line, auto value) {
            if (value)
                line << QPointF(x, double(*value));
        };
        add(plot.position, s.positionMm);
        add(plot.supply, s.supplyVolts);
        add(plot.rawHall, s.rawHall);
        add(plot.safetyEdge1, s.safetyEdge1);
        add(plot.safetyEdge2, s.safetyEdge2);
        if (const QString state = StateTextOf(s); !state.isEmpty() && state != lastState) {
            plot.stateChanges << TrendMarker{timed.atMs, markerText(timed.atMs, state)};
            lastState = state;
        }
        if (s.eventBits != lastEvents) {
            plot.eventChanges << TrendMarker{timed.atMs,
                                             markerText(timed.atMs, eventMarkerText(s))};
            lastEvents = s.eventBits;
        }
    }
    return plot;
}

TrendSpan ShownSpan(const TrendRing& ring)
{
    if (ring.isEmpty())
        return {};
    const qint64 to = ring.newest().atMs;
    return {std::max(ring.oldest().atMs, to - kTrendShownMs), to};
}

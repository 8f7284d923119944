#include "RecordingCsv.h"

#include "SampleTexts.h"
#include "texts/Sprachen.h"
#include "texts/TrendText.h"

namespace {

constexpr int kModeText = 27;      // "Betriebsart"
constexpr int kRawHallText = 191;  // "Rohwert Hallsensor-Flügel"
constexpr int kReversalText = 292; // "Grund letzter Reversierung"

template <typename T> QString numberOrEmpty(const std::optional<T>& value, int decimals = 0)
{
    if (!value)
        return {};
    if constexpr (std::is_floating_point_v<T>)
        return QString::number(*value, 'f', decimals);
    else
        return QString::number(*value);
}

} // namespace

QString CsvField(const QString& text)
{
    static const QString kSpecial = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return kSpecial.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray CsvRecord(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << CsvField(field);
    return (quoted.join(u',') + QStringLiteral("\r\n")).toUtf8();
}

QStringList RecordingHeader()
{
    using namespace TrendText;
    return {TrendLanguageText(Time),
            TrendLanguageText(StateCode),
            TrendLanguageText(StateText),
            LanguageText(kModeText),
            TrendLanguageText(EventBits),
            TrendLanguageText(EventTexts),
            TrendLanguageText(DrivePosition),
            TrendLanguageText(SupplyVoltage),
            TrendLanguageText(SafetyEdgeValue).arg(1),
            TrendLanguageText(SafetyEdgeValue).arg(2),
            LanguageText(kRawHallText),
            LanguageText(kReversalText)};
}

QStringList RecordingFields(const TimedSample& timed)
{
    const RefreshSample& s = timed.sample;
    return {IsoTimeText(timed.atMs),
            numberOrEmpty(s.stateCode),
            StateTextOf(s),
            ModeTextOf(s),
            EventBitsTextOf(s),
            EventTextsOf(s),
            numberOrEmpty(s.positionMm, 1),
            numberOrEmpty(s.supplyVolts, 2),
            numberOrEmpty(s.safetyEdge1),
            numberOrEmpty(s.safetyEdge2),
            numberOrEmpty(s.rawHall),
            ReversalTextOf(s)};
}

QByteArray RecordingCsv(const QList<TimedSample>& samples)
{
    QByteArray csv = CsvRecord(RecordingHeader());
    for (const TimedSample& sample : samples)
        csv += CsvRecord(RecordingFields(sample));
    return csv;
}

// The trend's samples and what is made of them, without windows: the ring's bounds, the markers
// of state and event changes, and the CSV rows with their quoting, decimal point and texts.
#include "controller/core/RecordingCsv.h"
#include "controller/core/TrendPlot.h"
#include "controller/core/TrendRing.h"
#include "texts/Sprachen.h"
#include "texts/TrendText.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {

RefreshSample withState(int code, std::optional<int> events = 0)
{
    RefreshSample s;
    s.controllerType = 4;
    s.stateCode = code;
    s.eventBits = events;
    return s;
}

QList<qint64> timesOf(const QList<TimedSample>& samples)
{
    QList<qint64> times;
    for (const TimedSample& s : samples)
        times << s.atMs;
    return times;
}

TEST(TrendRing, KeepsTheNewestWithinItsCountAndItsSpan)
{
    struct Case {
        qsizetype capacity;
        qint64 spanMs;
        QList<qint64> appended;
        QList<qint64> kept;
    };
    const Case cases[] = {
        {3, 1000, {0, 100, 200, 300, 400}, {200, 300, 400}},
        // The span counts back from the newest; a sample exactly the span older stays.
        {10, 1000, {0, 500, 1000, 1500}, {500, 1000, 1500}},
        {10, 1000, {0, 1001}, {1001}},
    };
    for (const Case& c : cases) {
        TrendRing ring(c.capacity, c.spanMs);
        for (qint64 at : c.appended)
            ring.append(at, RefreshSample{});
        EXPECT_EQ(timesOf(ring.between(0, 1 << 30)), c.kept) << c.appended.size();
    }
}

TEST(TrendRing, HoldsADayAtMostAndGivesTheSamplesOfASpan)
{
    TrendRing ring;
    // Two days at one refresh a second: the ring ends with the last day.
    constexpr qint64 kSecond = 1000;
    for (qint64 at = 0; at <= 2 * kTrendDayMs; at += kSecond)
        ring.append(at, RefreshSample{});
    EXPECT_EQ(ring.newest().atMs - ring.oldest().atMs, kTrendDayMs - kSecond);
    EXPECT_EQ(ring.size(), kTrendRingCapacity);
    const QList<TimedSample> shown = ring.between(ShownSpan(ring).fromMs, ShownSpan(ring).toMs);
    EXPECT_EQ(shown.size(), kTrendShownMs / kSecond + 1);
    EXPECT_EQ(shown.first().atMs, 2 * kTrendDayMs - kTrendShownMs);
    ring.clear();
    EXPECT_TRUE(ring.between(0, 3 * kTrendDayMs).isEmpty());
}

TEST(TrendPlot, MarksTheFirstStateAndEveryChangeOfStateAndEvents)
{
    SetCurrentLanguage(German);
    RefreshSample open = withState(3);
    open.positionMm = 120.5;
    open.supplyVolts = 24.1;
    open.rawHall = 300;
    RefreshSample blocked = withState(3, 0x20);
    RefreshSample unread = withState(3, std::nullopt);
    unread.stateCode.reset();
    const QList<TimedSample> samples = {
        {1000, open}, {2000, open}, {3000, blocked}, {4000, unread}, {5000, withState(0)}};
    const TrendPlot plot = PlotOf(samples);
    const auto texts = [](const QList<TrendMarker>& markers) {
        QStringList out;
        for (const TrendMarker& m : markers)
            out << QString::number(m.atMs) + u' ' + m.text.section(u' ', 1);
        return out;
    };
    EXPECT_EQ(texts(plot.stateChanges),
              (QStringList{"1000 Z03 - " + LanguageText(384), "5000 Z00 - " + LanguageText(381)}));
    EXPECT_EQ(texts(plot.eventChanges),
              (QStringList{"3000 0020h: " + LanguageText(30), "4000 " + LanguageText(121),
                           "5000 0000h: " + TrendLanguageText(TrendText::NoEvents)}));
    EXPECT_EQ(plot.position, (QList<QPointF>{{1000, 120.5}, {2000, 120.5}}));
    EXPECT_TRUE(plot.safetyEdge1.isEmpty());
}

TEST(RecordingCsv, QuotesOnlyWhatNeedsIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Z00 - Fenster ist verriegelt", "Z00 - Fenster ist verriegelt"},
        {"Schaltleiste 1, Analogwert", "\"Schaltleiste 1, Analogwert\""},
        {"EKS \"Spalt\"", "\"EKS \"\"Spalt\"\"\""},
        {"a\nb", "\"a\nb\""},
        {"a\rb", "\"a\rb\""},
        {"", ""},
    };
    for (const auto& [text, field] : cases)
        EXPECT_EQ(CsvField(QString::fromUtf8(text)), QString::fromUtf8(field)) << text;
    EXPECT_EQ(CsvRecord({"a", "b,c", "Öffnung"}), QByteArray("a,\"b,c\",\xC3\x96"
                                                             "ffnung\r\n"));
}

TEST(RecordingCsv, RowHasTheTextsOfTheLanguageAndADecimalPoint)
{
    SetCurrentLanguage(French);
    RefreshSample s = withState(5, 0x0022);
    s.positionMm = 318.26;
    s.supplyVolts = 24.0 + 1.0 / 3;
    s.safetyEdge1 = 510;
    s.safetyEdge2 = 508;
    s.rawHall = 77;
    s.reversal = 2;
    const qint64 at = QDateTime(QDate(2024, 3, 31), QTime(1, 59, 58)).toMSecsSinceEpoch();
    const QStringList fields = RecordingFields({at, s});
    const QStringList header = RecordingHeader();
    ASSERT_EQ(fields.size(), header.size());
    EXPECT_EQ(header[0], TrendLanguageText(TrendText::Time));
    EXPECT_EQ(QDateTime::fromString(fields[0], Qt::ISODate).toMSecsSinceEpoch(), at)
        << fields[0].toStdString();
    // With the offset from UTC ("Z" for none), so that a night across a clock change is clear.
    EXPECT_TRUE(fields[0].endsWith(u'Z') || fields[0].at(fields[0].size() - 6) == u'+' ||
                fields[0].at(fields[0].size() - 6) == u'-')
        << fields[0].toStdString();
    EXPECT_EQ(fields.mid(1),
              (QStringList{"5", "Z05 - " + LanguageText(382), LanguageText(154), "0022h",
                           LanguageText(249) + "; " + LanguageText(30), "318.3", "24.33", "510",
                           "508", "77", LanguageText(200)}));
    // A refresh without communication: its state, nothing measured.
    const RefreshSample lost = withState(0, std::nullopt);
    EXPECT_EQ(RecordingFields({at, lost}).mid(1),
              (QStringList{"0", "Z00 - " + LanguageText(381), LanguageText(154), "",
                           LanguageText(121), "", "", "", "", "", ""}));
    SetCurrentLanguage(German);
}

} // namespace

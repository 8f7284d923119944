// The trend beside the controller window and the recording without windows, held against the
// window's own refresh on the simulated default bus: the trend reads nothing and plots what the
// refresh read; the recording reads what the window reads, in the same order.
#include "ControllerWindowFixture.h"
#include "controller/Trend.h"
#include "controller/core/ControllerRecording.h"
#include "controller/core/ValueFormats.h"
#include "mainwindow/core/BusSession.h"
#include "texts/TrendText.h"

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QToolButton>

namespace {

// Enough refreshes for the slow values twice and a picture rebuild.
constexpr int kRefreshes = 8;

QTimer* pollTimerOf(QObject& owner)
{
    return owner.findChild<BusSession*>()->findChild<QTimer*>(QStringLiteral("Timer"));
}

// The requests of a recording of `address` on a default bus of its own: the opening and
// `refreshes` ticks 1000 ms apart, with the polling timer stopped as in the window tests below.
QStringList recordedRequests(int address, int refreshes)
{
    QTemporaryDir dir;
    VirtualClock clock;
    SimulatedBus bus{DefaultBusSetup()};
    MemoryBusPorts memoryPorts{clock, bus, {1}};
    TracingPorts ports{memoryPorts, clock};
    RecordedMessages messages;
    QObject owner;
    auto* session = new BusSession(clock, ports, messages, &owner);
    session->setConnection({1, 19200});
    EXPECT_TRUE(session->ConnectBus());
    pollTimerOf(owner)->stop();
    RecordingFile file(dir.filePath(QStringLiteral("aufzeichnung.csv")));
    EXPECT_TRUE(file.open());
    QString log;
    QTextStream logStream(&log);
    ControllerRecording recording(*session, file, logStream,
                                  [&clock] { return qint64(clock.nowUs() / 1000); });
    ports.requests.clear();
    EXPECT_FALSE(recording.open(address));
    for (int i = 0; i < refreshes; ++i) {
        clock.sleepMs(kRefreshPeriodMs);
        EXPECT_FALSE(recording.tick());
    }
    QStringList requests;
    for (const TracedRequest& r : ports.requests)
        requests << requestText(r);
    return requests;
}

struct TrendWindowTest : ControllerWindowTest {
    void SetUp() override
    {
        ControllerWindowTest::SetUp();
        pollTimerOf(*main)->stop();
        ports.requests.clear();
    }
    void refreshes(TfmFenster& window, int count)
    {
        for (int i = 0; i < count; ++i) {
            clock.sleepMs(kRefreshPeriodMs);
            window.TimerTimer();
        }
    }
    static TfmTrend& trendOf(TfmFenster& window) { return *window.findChild<TfmTrend*>(); }
};

TEST_F(TrendWindowTest, RecordingReadsWhatTheWindowReads)
{
    QStringList window;
    open(2, [&](TfmFenster& w) {
        refreshes(w, kRefreshes);
        window = requestsFrom(0);
    });
    // The opening's reads, and one refresh's reads per tick, exactly.
    EXPECT_GT(window.size(), 20 * (kRefreshes + 1));
    EXPECT_EQ(window, recordedRequests(2, kRefreshes));
}

TEST_F(TrendWindowTest, TrendAddsNoTelegramAndPlotsWhatTheRefreshRead)
{
    QStringList window;
    bool shown = false;
    qsizetype samples = 0;
    QString volts, voltsLabel, millimetres, positionLabel;
    open(2, [&](TfmFenster& w) {
        const qsizetype before = ports.requests.size();
        w.findChild<QToolButton*>(QStringLiteral("tbTrend"))->click();
        EXPECT_EQ(ports.requests.size(), before);
        refreshes(w, kRefreshes);
        window = requestsFrom(0);
        TfmTrend& trend = trendOf(w);
        shown = trend.isVisible();
        samples = trend.samples().size();
        const RefreshSample& last = trend.samples().newest().sample;
        volts = QString::asprintf("%3.1f ", last.supplyVolts.value_or(-1));
        voltsLabel = textOf(w, "lblVcc");
        millimetres = MillimetreText(last.positionMm.value_or(-1));
        positionLabel = textOf(w, "lblKippPos");
    });
    EXPECT_EQ(window, recordedRequests(2, kRefreshes));
    EXPECT_TRUE(shown);
    EXPECT_EQ(samples, kRefreshes + 1);
    EXPECT_TRUE(voltsLabel.startsWith(volts)) << voltsLabel.toStdString();
    EXPECT_EQ(millimetres, positionLabel);
}

TEST_F(TrendWindowTest, PauseKeepsWhatIsShownWhichIsSavedAndAnotherControllerStartsAfresh)
{
    const QString csvPath = dir.filePath(QStringLiteral("verlauf.csv"));
    const QString pngPath = dir.filePath(QStringLiteral("verlauf.png"));
    open(2, [&](TfmFenster& w) {
        TfmTrend& trend = trendOf(w);
        trend.showBeside(w);
        refreshes(w, 1);
        auto* pause = trend.findChild<QPushButton*>(QStringLiteral("bnPause"));
        pause->click();
        refreshes(w, 2);
        EXPECT_EQ(pause->text(), TrendLanguageText(TrendText::Resume));
        EXPECT_EQ(trend.shownSamples().size(), 2);
        EXPECT_EQ(trend.samples().size(), 4);
        EXPECT_TRUE(trend.saveData(csvPath));
        EXPECT_TRUE(trend.savePicture(pngPath));
        // The opening's state is the first marker; hovering shows its text.
        trend.showMarker(trend.shownSamples().first().atMs);
        const QString marker = trend.findChild<QLabel*>(QStringLiteral("lblMarker"))->text();
        EXPECT_TRUE(marker.endsWith(" Z00 - " + LanguageText(381))) << marker.toStdString();
        pause->click();
        EXPECT_EQ(trend.shownSamples().size(), 4);
    });
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 1 + 2);
    const QImage picture(pngPath);
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(picture.height(), 300);
    qsizetype again = 0, other = 0;
    open(2, [&](TfmFenster& w) { again = trendOf(w).samples().size(); });
    open(1, [&](TfmFenster& w) { other = trendOf(w).samples().size(); });
    EXPECT_EQ(again, 4 + 1);
    EXPECT_EQ(other, 1);
}

} // namespace

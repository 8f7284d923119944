// The recording without windows on the simulated default bus and the virtual clock: a row on the
// disk after every refresh, the end of its minutes, a pulled adapter, and SIGINT or SIGTERM.
#include "buslink/ParameterTable.h"
#include "controller/core/ControllerRecording.h"
#include "controller/core/RecordingCsv.h"
#include "mainwindow/core/BusSession.h"
#include "platform/StopSignals.h"
#include "sim/BusSetup.h"
#include "tests/RecordedMessages.h"
#include "tests/ScanHarness.h"
#include "texts/Sprachen.h"
#include "texts/TrendText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct RecordingTest : ::testing::Test {
    RecordingTest()
    {
        session.setConnection({1, 19200});
        EXPECT_TRUE(session.ConnectBus());
        EXPECT_TRUE(file.open());
    }
    void SetUp() override { SetCurrentLanguage(German); }

    // The rows as another reader of the file sees them now.
    QList<QStringList> rowsOnDisk() const
    {
        QFile reader(file.path());
        EXPECT_TRUE(reader.open(QIODevice::ReadOnly));
        QList<QStringList> rows;
        for (const QByteArray& line : reader.readAll().split('\n')) {
            if (!line.isEmpty())
                rows << QString::fromUtf8(line.chopped(1)).split(u',');
        }
        return rows;
    }
    qint64 nowMs() const { return qint64(clock.nowUs() / 1000); }

    QTemporaryDir dir;
    VirtualClock clock;
    SimulatedBus bus{DefaultBusSetup()};
    MemoryBusPorts ports{clock, bus, {1}};
    RecordedMessages messages;
    BusSession session{clock, ports, messages};
    RecordingFile file{dir.filePath(QStringLiteral("nacht.csv"))};
    QString log;
    QTextStream logStream{&log};
    ControllerRecording recording{session, file, logStream, [this] { return nowMs(); }};
};

TEST_F(RecordingTest, EveryRefreshIsARowOnTheDiskUntilItsTimeIsUp)
{
    recording.endAt(5000);
    ASSERT_FALSE(recording.open(2));
    QList<QStringList> rows = rowsOnDisk();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].value(0), TrendLanguageText(TrendText::Time)) << "the header";
    std::optional<ControllerRecording::End> end;
    int refreshes = 1;
    while (!end) {
        clock.sleepMs(kRefreshPeriodMs);
        end = recording.tick();
        ++refreshes;
        ASSERT_EQ(rowsOnDisk().size(), 1 + refreshes);
    }
    EXPECT_EQ(*end, ControllerRecording::End::TimeUp);
    rows = rowsOnDisk();
    // The chain drive of the default bus stands closed and locked on its supply.
    for (const QStringList& row : rows.mid(1)) {
        ASSERT_EQ(row.size(), RecordingHeader().size());
        EXPECT_EQ(row[1], QStringLiteral("0"));
        EXPECT_EQ(row[4], QStringLiteral("0000h"));
        EXPECT_NEAR(row[7].toDouble(), 24.0, 1.0);
        EXPECT_FALSE(row[10].isEmpty());
    }
    EXPECT_GE(QDateTime::fromString(rows.last()[0], Qt::ISODate).toMSecsSinceEpoch(), 5000);
    EXPECT_EQ(recording.rows(), refreshes);
}

// The window keeps a label's last text when its read fails; the row leaves the cell empty rather
// than record that text as measured.
TEST_F(RecordingTest, FailedReadLeavesItsCellEmpty)
{
    ASSERT_FALSE(recording.open(2));
    const TStrgItem edge = InitialParameter(48);
    bus.failRequests({.mode = uint8_t(edge.mode), .window = 2, .memory = edge.memoryAddress},
                     RequestFault::silence(), 1);
    ASSERT_FALSE(recording.tick());
    const QList<QStringList> rows = rowsOnDisk();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_FALSE(rows[1][8].isEmpty());
    EXPECT_EQ(rows[2][8], QString());
    EXPECT_FALSE(rows[2][9].isEmpty());
}

TEST_F(RecordingTest, PulledAdapterEndsItWithTheRowsSoFar)
{
    ASSERT_FALSE(recording.open(2));
    ASSERT_FALSE(recording.tick());
    ports.unplug();
    EXPECT_EQ(recording.tick(), ControllerRecording::End::AdapterLost);
    EXPECT_EQ(rowsOnDisk().size(), 3);
    EXPECT_EQ(recording.rows(), 2);
    EXPECT_EQ(messages.shown, QStringList{"error: " + LanguageText(kTextConnectionLost)});
    EXPECT_FALSE(session.bus().IsConnected());
}

// SIGINT or SIGTERM during a refresh ends the recording after that refresh's row; between
// refreshes at once. The handlers that were there before are back afterwards.
TEST_F(RecordingTest, SignalEndsTheLoopCleanly)
{
    struct Case {
        int signal;
        bool duringRefresh;
    };
    for (const Case c : {Case{SIGINT, true}, Case{SIGTERM, false}}) {
        const int rowsBefore = recording.rows();
        {
            StopSignals stopSignals;
            QObject::connect(&stopSignals, &StopSignals::received, &recording,
                             &ControllerRecording::stop);
            // Raised before the loop, the signal is taken by the first refresh's event runs.
            if (c.duringRefresh)
                std::raise(c.signal);
            else
                QTimer::singleShot(50, [&c] { std::raise(c.signal); });
            EXPECT_EQ(recording.run(2), ControllerRecording::End::Stopped);
        }
        // One refresh each: the opening's, ended before the timer's first tick.
        EXPECT_EQ(recording.rows(), rowsBefore + 1);
        struct sigaction now = {};
        ::sigaction(c.signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }
    const QString lastState = "Z00 - " + LanguageText(381);
    EXPECT_TRUE(log.endsWith(TrendLanguageText(TrendText::RecordingEnded)
                                 .arg(file.path(), QStringLiteral("2"), lastState) +
                             u'\n'))
        << log.toStdString();
}

} // namespace

// A serial adapter that vanishes while the tool is connected: the telegram link and the raw port
// report it, fail every exchange at once without burning the processor, and open again once a
// device answers under the same port number. Also: a baud rate the port refuses fails the open.
#include "PtyPeer.h"
#include "RecordingSerial.h"
#include "buslink/Zuzevsave.h"
#include "platform/ComPortMap.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>
#include <functional>

namespace {

struct LostDeviceOnScriptedLine : ::testing::Test {
    LostDeviceOnScriptedLine() { line.answerWithEcho(0x1234); }

    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
};

TEST_F(LostDeviceOnScriptedLine, TelegramLinkFailsAtOnceKeepsTheLastReplyAndReopensWhenBack)
{
    CZuzev link{clock, ports};
    ASSERT_TRUE(link.OpenCom(1, 150, 19200, 0));
    ASSERT_TRUE(link.ZuzevTransmit(4, 1, 0x76));
    EXPECT_FALSE(link.deviceLost());

    line.unplug();
    const uint64_t start = clock.nowUs();
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(link.ZuzevTransmit(4, 1, 0x76));
    EXPECT_EQ(clock.nowUs(), start) << "no exchange waited";
    EXPECT_TRUE(link.deviceLost());
    EXPECT_TRUE(link.isOpen()) << "the port stays open until the caller closes it";
    EXPECT_EQ(link.errorCode(), CZuzev::ErrWrite);
    EXPECT_EQ(link.lastGoodReply(), MakeTelegram(0x76, 4, 0x1234));

    // Opening again needs no close first; it fails while no device is there.
    EXPECT_FALSE(link.OpenCom(1, 150, 19200, 0));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrOpen);
    EXPECT_FALSE(link.deviceLost());
    line.present = true;
    ASSERT_TRUE(link.OpenCom(1, 150, 19200, 0));
    EXPECT_TRUE(link.ZuzevTransmit(4, 1, 0x76));

    line.unplug();
    EXPECT_FALSE(link.ZuzevTransmit(4, 1, 0x76));
    EXPECT_EQ(link.CloseCom(), 1);
    EXPECT_FALSE(link.deviceLost());
}

TEST_F(LostDeviceOnScriptedLine, RawPortGivesNoReplyAtOnceAndReportsTheLoss)
{
    TZuzevSave raw{clock, ports, QString()};
    ASSERT_EQ(raw.RawOpen(1, 19200, 100), 0);
    int mode = 0x76, field = 4, data = 1;
    ASSERT_EQ(raw.RawTransmit(mode, field, data), TZuzevSave::Ok);
    EXPECT_FALSE(raw.deviceLost());

    line.unplug();
    const uint64_t start = clock.nowUs();
    EXPECT_EQ(raw.RawTransmit(mode, field, data), TZuzevSave::NoReply);
    EXPECT_EQ(clock.nowUs(), start);
    EXPECT_TRUE(raw.deviceLost());
    raw.RawClose();
    EXPECT_FALSE(raw.deviceLost());
    EXPECT_EQ(raw.RawOpen(1, 19200, 100), 1);
    line.present = true;
    EXPECT_EQ(raw.RawOpen(1, 19200, 100), 0);
    EXPECT_EQ(raw.RawTransmit(mode, field, data), TZuzevSave::Ok);
}

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The telegram link on COM7, a link in a ports folder to the terminal of a pty peer.
struct LostAdapterOverPty : ::testing::Test {
    void SetUp() override
    {
        linkPort();
        qputenv("FENESTRIX_PORTS", ports.path().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("FENESTRIX_PORTS"); }

    void linkPort()
    {
        const QString entry = ports.filePath(QStringLiteral("COM7"));
        QFile::remove(entry);
        ASSERT_TRUE(QFile::link(peer.portPath(), entry));
    }
    bool open() { return link.OpenCom(7, 150, 19200, 0); }
    bool exchange() { return link.ZuzevTransmit(0x0104, 1, 0x76); }

    // Runs the event loop for `ms`, with `tick` every `everyMs` when given, as the main window
    // does; returns the processor time used as a share of the time passed.
    static double processorShareWhileRunning(int ms, int everyMs, const std::function<void()>& tick)
    {
        QEventLoop loop;
        QTimer timer;
        if (tick) {
            QObject::connect(&timer, &QTimer::timeout, tick);
            timer.start(everyMs);
        }
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        wall.start();
        const double cpuStart = processCpuMs();
        loop.exec();
        return (processCpuMs() - cpuStart) / double(std::max<qint64>(1, wall.elapsed()));
    }

    PtyPeer peer;
    QTemporaryDir ports;
    RealClock clock;
    QtSerialPorts serial;
    CZuzev link{clock, serial};
};

TEST_F(LostAdapterOverPty, HangUpWhileAReplyIsAwaitedEndsTheWaitAndTheSamePortOpensAgain)
{
    ASSERT_TRUE(open()) << link.errorCode();
    ASSERT_TRUE(exchange());
    peer.hangUpOnNextRequest();
    QElapsedTimer wait;
    wait.start();
    EXPECT_FALSE(exchange());
    EXPECT_LT(wait.elapsed(), 150) << "the hang-up ends the wait for the reply";
    EXPECT_EQ(link.errorCode(), CZuzev::ErrNoReply);
    EXPECT_TRUE(link.deviceLost());

    qint64 longestMs = 0;
    const double share = processorShareWhileRunning(400, 10, [&] {
        QElapsedTimer one;
        one.start();
        EXPECT_FALSE(exchange());
        longestMs = std::max(longestMs, one.elapsed());
    });
    EXPECT_LT(share, 0.25);
    EXPECT_LT(longestMs, 50) << "an exchange on a lost device fails at once";
    EXPECT_TRUE(link.deviceLost());

    peer.comeBack();
    linkPort();
    ASSERT_TRUE(open()) << link.errorCode();
    EXPECT_FALSE(link.deviceLost());
    EXPECT_TRUE(exchange());
}

TEST_F(LostAdapterOverPty, HangUpBetweenExchangesIsNoticedByTheEventLoopWithoutSpinning)
{
    ASSERT_TRUE(open()) << link.errorCode();
    ASSERT_TRUE(exchange());
    peer.hangUp();
    EXPECT_LT(processorShareWhileRunning(300, 0, {}), 0.25);
    EXPECT_TRUE(link.deviceLost()) << "noticed without an exchange";
}

TEST_F(LostAdapterOverPty, BaudRateThePortRefusesFailsTheOpen)
{
    for (const unsigned long baud : {0ul, 2147483648ul, 4294967295ul, 4294976896ul}) {
        SCOPED_TRACE(baud);
        EXPECT_FALSE(link.OpenCom(7, 150, baud, 0));
        EXPECT_EQ(link.errorCode(), CZuzev::ErrSetState);
        EXPECT_FALSE(link.isOpen());
    }
    ASSERT_TRUE(open()) << "the refused rates left the port free";
    EXPECT_TRUE(exchange());
}

} // namespace

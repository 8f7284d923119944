// The access object on a scripted line: address field, pacing, retries, polling and its cache.
#include "RecordingSerial.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct AccessObjectTest : ::testing::Test {
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
    TFensterSteuerung bus{clock, ports, QStringLiteral("/nonexistent/Fenestrix.ini")};

    void SetUp() override
    {
        ASSERT_TRUE(bus.Connect(19200, 1, 150));
        line.requests.clear();
        line.requestTimesUs.clear();
    }
    uint64_t elapsedUs(const std::function<void()>& f)
    {
        const uint64_t start = clock.nowUs();
        f();
        return clock.nowUs() - start;
    }
};

TEST(BusAddress, ComposesWindowAndMemoryAddress)
{
    EXPECT_EQ(MakeBusAddress(0, 0), 0);
    EXPECT_EQ(MakeBusAddress(63, 0x3FF), 0xFFFF);
    EXPECT_EQ(MakeBusAddress(64, 0), 0);
    EXPECT_EQ(MakeBusAddress(5, 0x123), 0x2315);
    EXPECT_EQ(MakeBusAddress(1, 0x400), 0x0004); // memory bits above 9 are dropped
}

TEST_F(AccessObjectTest, WindowAddressOutsideRangeBecomesZero)
{
    bus.SetWindowAddress(-1);
    EXPECT_EQ(bus.GetWindowAddress(), 0);
    bus.SetWindowAddress(65536);
    EXPECT_EQ(bus.GetWindowAddress(), 0);
    bus.SetWindowAddress(65535);
    EXPECT_EQ(bus.GetWindowAddress(), 65535);
}

TEST_F(AccessObjectTest, SendToWindowAddsTheWindowAddressAndReturnsTheReplyFields)
{
    line.answerWithEcho(0x00AA);
    bus.SetWindowAddress(5);
    int mode = 0x08, address = 0x123, data = 0;
    EXPECT_EQ(bus.SendToWindow(mode, address, data), 0);
    EXPECT_EQ(line.requests.first(), ReplyTo(line.requests.first(), 0).left(3) +
                                         QByteArray("\0\0", 2) +
                                         QByteArray(1, char(0x08 ^ 0x15 ^ 0x23)));
    EXPECT_EQ(mode, 0x08);
    EXPECT_EQ(address, 0x2315); // the whole address field of the reply
    EXPECT_EQ(data, 0x00AA);
}

TEST_F(AccessObjectTest, ExchangesKeepTenMillisecondsApart)
{
    line.answerWithEcho(1);
    int m = 0x15, a = 0, d = 0;
    bus.SendToWindow(m, a, d);
    m = 0x15;
    bus.SendToWindow(m, a, d);
    ASSERT_EQ(line.requestTimesUs.size(), 2);
    EXPECT_EQ(line.requestTimesUs[1] - line.requestTimesUs[0], 10'000u);
    // A gap that is already longer is not lengthened.
    clock.sleepMs(25);
    const uint64_t before = clock.nowUs();
    m = 0x15;
    bus.SendToWindow(m, a, d);
    EXPECT_EQ(line.requestTimesUs[2], before);
}

TEST_F(AccessObjectTest, FailedExchangeIsRetriedOnceAfterTheModesWait)
{
    // Silent bus: two reply time-outs plus the retry wait, and the result is "no reply".
    struct Case {
        int mode;
        bool raw;
        uint64_t expectedUs;
    };
    for (const Case c :
         {Case{0x4F, true, 340'000}, Case{0x15, true, 341'000}, Case{0x15, false, 320'000}}) {
        SCOPED_TRACE(c.mode);
        clock.sleepMs(100);
        line.requests.clear();
        int mode = c.mode, field = 0, data = 1;
        int result = -1;
        const uint64_t took = elapsedUs([&] {
            result =
                c.raw ? bus.SendTelegram(mode, field, data) : bus.SendToWindow(mode, field, data);
        });
        EXPECT_EQ(result, CZuzev::ErrNoReply);
        EXPECT_EQ(took, c.expectedUs);
        EXPECT_EQ(line.requests.size(), 2);
        EXPECT_EQ(line.requests[0], line.requests[1]);
        EXPECT_EQ(bus.lastError(), CZuzev::ErrNoReply);
    }
}

TEST_F(AccessObjectTest, RetrySucceedsAndLastErrorSurvivesSuccess)
{
    int calls = 0;
    line.responder = [&calls](const QByteArray& request) {
        return ++calls == 1 ? QByteArray() : ReplyTo(request, 0x4242);
    };
    int mode = 0x15, address = 0, data = 0;
    EXPECT_EQ(bus.SendToWindow(mode, address, data), 0);
    EXPECT_EQ(data, 0x4242);
    EXPECT_EQ(bus.lastError(), 0); // a retried success is no failure for good

    line.responder = nullptr;
    mode = 0x15;
    bus.SendToWindow(mode, address, data);
    EXPECT_EQ(bus.lastError(), CZuzev::ErrNoReply);
    line.answerWithEcho(1);
    mode = 0x15;
    EXPECT_EQ(bus.SendToWindow(mode, address, data), 0);
    EXPECT_EQ(bus.lastError(), CZuzev::ErrNoReply);
}

TEST_F(AccessObjectTest, CommandsAndEepromAccessSendTheirTelegrams)
{
    line.answerWithEcho(0x0055);
    bus.SetWindowAddress(2);
    int value = 0;
    EXPECT_EQ(bus.ReadEepromByte(0x34, value), 0);
    EXPECT_EQ(value, 0x55);
    EXPECT_EQ(bus.WriteEepromByte(0x34, 7), 0);
    EXPECT_EQ(bus.SendCommand33(), 0);
    EXPECT_EQ(bus.SendCommand66(), 0);
    const auto t = [](int mode, int field, int data) {
        const Telegram x = MakeTelegram(mode, field, data);
        return QByteArray(reinterpret_cast<const char*>(x.data()), 6);
    };
    const QList<QByteArray> expected{
        t(0x08, MakeBusAddress(2, 0x34), 0), t(0x09, MakeBusAddress(2, 0x34), 7),
        t(0x30, MakeBusAddress(2, 0x33), 0x4455), t(0x30, MakeBusAddress(2, 0x66), 0xAA55)};
    EXPECT_EQ(line.requests, expected);
}

TEST_F(AccessObjectTest, PollingReadsCyclicEntriesOneByOneAndPauseStopsIt)
{
    line.answerWithEcho(3);
    EXPECT_EQ(bus.PollNext(), 3); // polling off
    bus.StartPolling();
    QList<int> polled;
    for (int i = 0; i < 21; ++i) {
        ASSERT_EQ(bus.PollNext(), 0);
        polled << static_cast<uint8_t>(line.requests.last()[2]);
    }
    // One pass covers the 21 cyclic entries; the next call starts over.
    const QList<int> firstAddresses{0x10, 0x0F, 0x21, 0x22, 0x23, 0x24};
    EXPECT_EQ(polled.mid(0, 6), firstAddresses);
    EXPECT_EQ(polled.last(), 0x95);
    bus.PollNext();
    EXPECT_EQ(static_cast<uint8_t>(line.requests.last()[2]), 0x10);

    const int sent = static_cast<int>(line.requests.size());
    bus.PausePolling();
    const int indexWhenPaused = bus.pollIndex();
    EXPECT_EQ(bus.PollNext(), 3);
    EXPECT_EQ(line.requests.size(), sent);
    bus.ResumePolling();
    EXPECT_EQ(bus.pollIndex(), indexWhenPaused);
    EXPECT_EQ(bus.PollNext(), 0);
    EXPECT_EQ(static_cast<uint8_t>(line.requests.last()[2]), 0x0F);

    bus.Disconnect();
    EXPECT_EQ(bus.PollNext(), 2);
}

TEST_F(AccessObjectTest, ParameterValueComesFromTheCacheOnlyWhilePollingRuns)
{
    line.answerWithEcho(0x0042);
    int value = 0;
    // Not polling: a cyclic entry is read from the controller.
    EXPECT_EQ(bus.GetParameterValue(ParWindowKind, value), 0);
    EXPECT_EQ(value, 0x42);
    EXPECT_EQ(line.requests.size(), 1);

    bus.StartPolling();
    line.answerWithEcho(0x0099);
    const uint64_t took =
        elapsedUs([&] { EXPECT_EQ(bus.GetParameterValue(ParWindowKind, value), 0); });
    EXPECT_EQ(value, 0x42); // cached, no traffic
    EXPECT_EQ(line.requests.size(), 1);
    EXPECT_EQ(took, 10'000u);
    // A non-cyclic entry is always read.
    EXPECT_EQ(bus.GetParameterValue(ParState, value), 0);
    EXPECT_EQ(value, 0x99);

    bus.PausePolling();
    EXPECT_EQ(bus.GetParameterValue(ParWindowKind, value), 0);
    EXPECT_EQ(value, 0x99);
}

TEST_F(AccessObjectTest, CacheServesOnlyValuesOfTheControllerNowAddressed)
{
    bus.SetWindowAddress(3);
    line.answerWithEcho(0x0033);
    int value = 0;
    ASSERT_EQ(bus.GetParameterValue(ParWindowKind, value), 0);
    bus.StartPolling();
    // Another controller is opened: its first read goes to the bus, not to the cache of 3.
    bus.SetWindowAddress(5);
    line.answerWithEcho(0x0055);
    ASSERT_EQ(bus.GetParameterValue(ParWindowKind, value), 0);
    EXPECT_EQ(value, 0x55);
    EXPECT_EQ(line.requests.size(), 2);
    EXPECT_EQ(static_cast<uint8_t>(line.requests.last()[1]) >> 2, 5);
    // From then on the cache serves controller 5.
    ASSERT_EQ(bus.GetParameterValue(ParWindowKind, value), 0);
    EXPECT_EQ(line.requests.size(), 2);
}

TEST_F(AccessObjectTest, FailedParameterReadKeepsTheOldValue)
{
    line.answerWithEcho(267);
    int value = 0;
    EXPECT_EQ(bus.GetParameterValue(ParSupplyVoltage, value), 0);
    line.responder = nullptr;
    value = -1;
    EXPECT_EQ(bus.GetParameterValue(ParSupplyVoltage, value), 4);
    EXPECT_EQ(value, 267);
    QString text;
    EXPECT_EQ(bus.GetParameterText(ParSupplyVoltage, text), 4);
    EXPECT_EQ(text, QStringLiteral("10.0V"));
    EXPECT_EQ(line.requests.size(), 3); // no retries
}

TEST_F(AccessObjectTest, BadIndexAndOfflineAreReportedWithoutTraffic)
{
    int value = 0;
    const uint64_t took = elapsedUs([&] { EXPECT_EQ(bus.GetParameterValue(56, value), 1); });
    EXPECT_EQ(took, 10'000u);
    QString text;
    EXPECT_EQ(bus.GetParameterText(56, text), 1);
    bus.Disconnect();
    EXPECT_EQ(bus.GetParameterValue(0, value), 2);
    EXPECT_TRUE(line.requests.isEmpty());
}

TEST(AccessObjectConnect, MissingPortLeavesTheObjectDisconnected)
{
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
    TFensterSteuerung bus{clock, ports, QStringLiteral("/nonexistent/Fenestrix.ini")};
    EXPECT_FALSE(bus.Connect(19200, 4, 150));
    EXPECT_FALSE(bus.IsConnected());
    bus.StartPolling();
    EXPECT_EQ(bus.PollNext(), 2);
    EXPECT_TRUE(bus.Connect(19200, 1, 150));
    EXPECT_TRUE(bus.IsConnected());
}

} // namespace

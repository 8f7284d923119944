// The telegram link on a scripted line: framing, resynchronisation, failures, wake-up sequence.
#include "RecordingSerial.h"
#include "buslink/CZuzev.h"

#include <gtest/gtest.h>

namespace {

struct TelegramLinkTest : ::testing::Test {
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1, 3}};
    CZuzev link{clock, ports};

    void open() { ASSERT_TRUE(link.OpenCom(1, 150, 19200, 0)); }
};

TEST_F(TelegramLinkTest, TelegramBytesAreLowByteFirstWithXorChecksum)
{
    link.Telegramm(0x1234, 0xABCD, 0x15);
    const Telegram expected{0x15, 0x34, 0x12, 0xCD, 0xAB, 0x55};
    EXPECT_EQ(link.requestBuffer(), expected);
}

TEST_F(TelegramLinkTest, OpenSetsLineAndReopenNeedsClose)
{
    open();
    EXPECT_EQ(line.baud, 19200u);
    EXPECT_TRUE(line.dtr);
    EXPECT_TRUE(line.rts);
    // Opening again keeps the port and its baud rate.
    EXPECT_TRUE(link.OpenCom(1, 150, 9600, 0));
    EXPECT_EQ(line.baud, 19200u);
    EXPECT_EQ(link.CloseCom(), 1);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.CloseCom(), 1); // closing a closed port is fine
}

TEST_F(TelegramLinkTest, OpenFailuresNameTheStepAndLeaveThePortClosed)
{
    EXPECT_FALSE(link.OpenCom(2, 150, 19200, 0));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrOpen);
    line.failReadLine = true;
    EXPECT_FALSE(link.OpenCom(1, 150, 19200, 0));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrGetState);
    EXPECT_FALSE(link.isOpen());
    line.failReadLine = false;
    line.failApplyLine = true;
    EXPECT_FALSE(link.OpenCom(1, 150, 19200, 0));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrSetState);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(TelegramLinkTest, ExchangeOnClosedPortWritesNothing)
{
    EXPECT_FALSE(link.ZuzevTransmit(0, 0, 0x15));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrNotOpen);
    EXPECT_TRUE(line.requests.isEmpty());
}

TEST_F(TelegramLinkTest, GoodReplyIsKeptAsLastGoodReply)
{
    open();
    line.answerWithEcho(0x0512);
    ASSERT_TRUE(link.ZuzevTransmit(0x0004, 1, 0x76));
    const Telegram expected = MakeTelegram(0x76, 0x0004, 0x0512);
    EXPECT_EQ(link.lastGoodReply(), expected);
    EXPECT_EQ(link.errorCode(), 0);
}

TEST_F(TelegramLinkTest, StrayBytesBeforeTheReplyAreSkippedUpToTwo)
{
    open();
    for (int stray = 0; stray <= 3; ++stray) {
        SCOPED_TRACE(stray);
        line.responder = [stray](const QByteArray& request) {
            return QByteArray(stray, char(0xEE)) + ReplyTo(request, 0x0102);
        };
        const bool ok = link.ZuzevTransmit(0x0008, 0, 0x15);
        if (stray <= 2) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(link.lastGoodReply(), MakeTelegram(0x15, 0x0008, 0x0102));
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(link.errorCode(), CZuzev::ErrNoReply);
        }
        line.incoming.clear();
    }
}

TEST_F(TelegramLinkTest, ResynchronisationFailsWhenTheRestOfTheReplyNeverComes)
{
    open();
    // One stray byte and only five reply bytes: the sixth read times out.
    line.responder = [](const QByteArray& request) {
        return QByteArray(1, char(0xEE)) + ReplyTo(request, 7).left(5);
    };
    EXPECT_FALSE(link.ZuzevTransmit(0x0008, 0, 0x15));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrNoReply);
}

TEST_F(TelegramLinkTest, SilentBusFailsWithNoReplyForEveryModeIncludingZero)
{
    open();
    for (int mode : {0x00, 0x15, 0x4F}) {
        SCOPED_TRACE(mode);
        const uint64_t before = clock.nowUs();
        EXPECT_FALSE(link.ZuzevTransmit(0, 0, static_cast<unsigned short>(mode)));
        EXPECT_EQ(link.errorCode(), CZuzev::ErrNoReply);
        EXPECT_EQ(clock.nowUs() - before, 150'000u); // one reply time-out
    }
}

TEST_F(TelegramLinkTest, ChecksumErrorKeepsThePreviousGoodReply)
{
    open();
    line.answerWithEcho(0x1111);
    ASSERT_TRUE(link.ZuzevTransmit(0x0004, 0, 0x15));
    const Telegram good = link.lastGoodReply();
    line.responder = [](const QByteArray& request) {
        QByteArray reply = ReplyTo(request, 0x2222);
        reply[5] = static_cast<char>(reply[5] ^ 0x01);
        return reply;
    };
    EXPECT_FALSE(link.ZuzevTransmit(0x0004, 0, 0x15));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrChecksum);
    EXPECT_EQ(link.lastGoodReply(), good);
}

TEST_F(TelegramLinkTest, LineSettlesForTheQuietTimeNowOrBeforeThePortsFirstUse)
{
    line.answerWithEcho(0x0001);
    open();
    EXPECT_EQ(clock.nowUs(), 100'000u); // the open waits the 100 ms out itself
    link.CloseCom();

    // Opened to settle before its first use: the open returns at once; time spent meanwhile
    // counts, and the first request still leaves 100 ms after the purge.
    const uint64_t purged = clock.nowUs();
    ASSERT_TRUE(link.OpenCom(1, 150, 19200, 0, CZuzev::Settle::BeforeFirstUse));
    EXPECT_EQ(clock.nowUs(), purged);
    clock.sleepMs(40);
    ASSERT_TRUE(link.ZuzevTransmit(0x0004, 0, 0x15));
    ASSERT_EQ(line.requestTimesUs.size(), 1);
    EXPECT_EQ(line.requestTimesUs[0], purged + 100'000u);
    // Only once: the next request goes at once.
    const uint64_t second = clock.nowUs();
    ASSERT_TRUE(link.ZuzevTransmit(0x0004, 0, 0x15));
    EXPECT_EQ(line.requestTimesUs[1], second);

    // A port closed (or its buffer cleared) before its first use still keeps the quiet time.
    link.CloseCom();
    const uint64_t reopened = clock.nowUs();
    ASSERT_TRUE(link.OpenCom(1, 150, 19200, 0, CZuzev::Settle::BeforeFirstUse));
    link.ClearComBuffer();
    EXPECT_EQ(clock.nowUs(), reopened + 100'000u);
    ASSERT_TRUE(link.OpenCom(1, 150, 19200, 0, CZuzev::Settle::BeforeFirstUse)); // already open
    link.CloseCom();
    EXPECT_EQ(clock.nowUs(), reopened + 100'000u);
}

TEST(WakeUpSequence, AnnouncesTheBaudRateWithLineStatesAndWaits)
{
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
    CZuzev link{clock, ports};

    ASSERT_TRUE(link.OpenCom(1, 150, 19200, 1));
    const QStringList first{
        "t=0 open",         "t=0 baud 9600",  "t=0 rts 1",           "t=300 purge",
        "t=300.02 byte 13", "t=306.02 dtr 1", "t=306.04 baud 19200", "t=306.04 purge"};
    EXPECT_EQ(line.events, first);
    EXPECT_EQ(clock.nowUs(), 406'040u); // 300 ms pause, 6.04 ms switch, 100 ms settle
    EXPECT_EQ(link.interfaceBaud(), 19200u);

    // After closing, the next sequence starts at 19200 without the first pause.
    link.CloseCom();
    line.events.clear();
    const uint64_t start = clock.nowUs();
    ASSERT_TRUE(link.OpenCom(1, 150, 9600, 1));
    EXPECT_TRUE(line.events.contains(QStringLiteral("t=%1 byte 16").arg((start + 20) / 1000.0)));
    EXPECT_EQ(line.baud, 9600u);
    EXPECT_EQ(clock.nowUs() - start, 106'040u);
}

TEST(WakeUpSequence, SleepsSixMillisecondsWithoutTheHighResolutionCounter)
{
    VirtualClock clock;
    clock.setHighResolutionCounter(false);
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
    CZuzev link{clock, ports};
    ASSERT_TRUE(link.OpenCom(1, 150, 38400, 1));
    EXPECT_TRUE(line.events.contains(QStringLiteral("t=300 byte 12")));
    EXPECT_TRUE(line.events.contains(QStringLiteral("t=306 dtr 1")));
}

} // namespace

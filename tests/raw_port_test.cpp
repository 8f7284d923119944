// The raw port on a scripted line: echo hunting, result codes, bus-busy drain and the byte log.
#include "RecordingSerial.h"
#include "buslink/Zuzevsave.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RawPortTest : ::testing::Test {
    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
    TZuzevSave port{clock, ports, dir.filePath(QStringLiteral("Debug.dat"))};

    void SetUp() override { ASSERT_EQ(port.RawOpen(1, 19200, 100), 0); }
    QByteArray log()
    {
        QFile f(dir.filePath(QStringLiteral("Debug.dat")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(RawPortTest, ReplyIsFoundBehindForeignBytes)
{
    line.responder = [](const QByteArray& request) {
        return QByteArray("\x01\x02\x03\x04\x05\x06\x07", 7) + ReplyTo(request, 0x0512);
    };
    int mode = 0x76, field = 0x0004, data = 1;
    EXPECT_EQ(port.RawTransmit(mode, field, data), TZuzevSave::Ok);
    EXPECT_EQ(mode, 0x76);
    EXPECT_EQ(field, 0x0004);
    EXPECT_EQ(data, 0x0512);
}

TEST_F(RawPortTest, EmergencyRequestAcceptsItsOwnReplyMode)
{
    line.responder = [](const QByteArray& request) {
        QByteArray reply = ReplyTo(request, 5);
        reply[0] = char(0x63);
        reply[5] = char(reply[5] ^ 0x60 ^ 0x63);
        return reply;
    };
    int mode = 0x60, field = 0, data = 5;
    EXPECT_EQ(port.RawTransmit(mode, field, data), TZuzevSave::Ok);
    EXPECT_EQ(mode, 0x63);
}

TEST_F(RawPortTest, ShortBadAndMissingRepliesHaveTheirCodes)
{
    struct Case {
        std::function<QByteArray(const QByteArray&)> reply;
        int result;
    };
    const Case cases[] = {
        {[](const QByteArray& r) { return ReplyTo(r, 1).left(3); }, TZuzevSave::Incomplete},
        {[](const QByteArray& r) {
             QByteArray x = ReplyTo(r, 1);
             x[5] = char(x[5] ^ 0xFF);
             return x;
         },
         TZuzevSave::ChecksumWrong},
        {[](const QByteArray&) { return QByteArray("\x11\x12", 2); }, TZuzevSave::NoReply},
        {nullptr, TZuzevSave::NoReply},
    };
    for (const Case& c : cases) {
        line.responder = c.reply;
        int mode = 0x15, field = 0x0004, data = 0;
        const uint64_t start = clock.nowUs();
        EXPECT_EQ(port.RawTransmit(mode, field, data), c.result);
        EXPECT_EQ(mode, 0x15); // unchanged on failure
        // A missing or short reply costs about the reply time limit.
        if (c.result != TZuzevSave::ChecksumWrong) {
            EXPECT_NEAR(double(clock.nowUs() - start), 100'000.0, 3'000.0);
        }
    }
}

TEST_F(RawPortTest, ChatteringBusIsBusyAndNothingIsSent)
{
    line.chatter = true;
    int mode = 0x4F, field = 0, data = 1;
    EXPECT_EQ(port.RawTransmit(mode, field, data), TZuzevSave::BusBusy);
    EXPECT_TRUE(line.requests.isEmpty());
}

TEST_F(RawPortTest, EveryReceivedByteIsLoggedIncludingDrainedOnes)
{
    line.incoming = QByteArray("\x4F\x0A", 2); // left over before the request
    line.answerWithEcho(0x0102);
    int mode = 0x15, field = 0x0004, data = 0;
    ASSERT_EQ(port.RawTransmit(mode, field, data), TZuzevSave::Ok);
    port.RawClose();
    EXPECT_EQ(log(), QByteArray("4Fh 0Ah 15h 04h 00h 02h 01h 12h "));
    // The log is appended to, never truncated.
    ASSERT_EQ(port.RawOpen(1, 19200, 100), 0);
    line.incoming = QByteArray("\xAB", 1);
    mode = 0x15;
    port.RawTransmit(mode, field, data);
    port.RawClose();
    EXPECT_TRUE(log().endsWith("12h ABh 15h 04h 00h 02h 01h 12h "));
}

TEST(RawPortOpen, UnlistedBaudRatesBecome9600AndMissingPortsFail)
{
    EXPECT_EQ(TCOMport::SupportedBaud(9600), 9600u);
    EXPECT_EQ(TCOMport::SupportedBaud(12345), 9600u);
    EXPECT_EQ(TCOMport::SupportedBaud(19200), 19200u);
    EXPECT_EQ(TCOMport::SupportedBaud(256000), 256000u);

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
    TZuzevSave port{clock, ports, dir.filePath(QStringLiteral("Debug.dat"))};
    EXPECT_EQ(port.RawOpen(2, 19200, 100), 1);
    EXPECT_FALSE(port.isOpen());
    ASSERT_EQ(port.RawOpen(1, 12345, 100), 0);
    EXPECT_EQ(line.baud, 9600u);
    uint8_t b = 0;
    port.RawClose();
    EXPECT_FALSE(port.ReadByte(b));
    EXPECT_FALSE(port.WriteByte(b));
}

} // namespace

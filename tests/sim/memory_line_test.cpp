// The in-memory transport on the virtual clock: when reply bytes become readable, what a read
// returns and how far it moves the clock, and which ports exist.
#include "PcOnSimulatedBus.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kTurnaroundUs = 2000;

struct MemoryLineTest : ::testing::Test {
    MemoryLineTest() : bus(DefaultBusSetup()), ports(clock, bus, {1, 4}) {}

    void SetUp() override { ASSERT_TRUE(port->open(ports.devicePath(1))); }
    void sendVersionRequest(int address)
    {
        const Telegram t = MakeTelegram(0x76, unsigned(address) << 2, 1);
        ASSERT_EQ(port->write(t.data(), 6), 6);
    }

    VirtualClock clock;
    SimulatedBus bus;
    MemoryBusPorts ports;
    std::unique_ptr<SerialDevice> port = ports.createDevice();
};

TEST_F(MemoryLineTest, ReplyIsReadableAfterRequestTurnaroundAndReplyByteTimes)
{
    for (const uint32_t baud : {19200u, 9600u, 57600u}) {
        SCOPED_TRACE(baud);
        ASSERT_TRUE(port->applyLine(LineSettings{baud}));
        const uint64_t byteUs = 10'000'000 / baud;
        const uint64_t start = clock.nowUs();
        sendVersionRequest(2);
        uint8_t reply[6];
        ASSERT_EQ(port->read(reply, 6, 150), 6);
        EXPECT_EQ(clock.nowUs() - start, 6 * byteUs + kTurnaroundUs + 6 * byteUs);
        EXPECT_EQ(reply[0], 0x76);
        EXPECT_EQ(reply[3] | reply[4] << 8, 0x0703);
    }
}

TEST_F(MemoryLineTest, ReadWaitsTheWholeTimeoutWhenTooFewBytesCome)
{
    sendVersionRequest(2);
    const uint64_t start = clock.nowUs();
    uint8_t reply[8];
    EXPECT_EQ(port->read(reply, 8, 150), 6);
    EXPECT_EQ(clock.nowUs() - start, 150'000u);
    EXPECT_EQ(port->read(reply, 1, 0), 0);
    EXPECT_EQ(clock.nowUs() - start, 150'000u);
}

TEST_F(MemoryLineTest, SingleByteReadsOfOneMillisecondCollectTheReply)
{
    sendVersionRequest(1);
    QByteArray got;
    int emptyReads = 0;
    while (got.size() < 6 && emptyReads < 100) {
        const uint64_t before = clock.nowUs();
        uint8_t byte = 0;
        const int n = port->read(&byte, 1, 1);
        const uint64_t spent = clock.nowUs() - before;
        if (n == 1) {
            got.append(static_cast<char>(byte));
            EXPECT_LE(spent, 1000u);
        } else {
            ++emptyReads;
            EXPECT_EQ(spent, 1000u);
        }
    }
    EXPECT_EQ(got.toHex(), TelegramBytes(0x76, 0x0004, 0x0512).toHex());
    // The request takes 3.1 ms and the turnaround 2 ms before the first byte shows.
    EXPECT_EQ(emptyReads, 5);
}

TEST_F(MemoryLineTest, BusThatNeverFallsSilentGivesAByteOnEveryRead)
{
    bus.setNeverSilent(true);
    for (int i = 0; i < 300; ++i) {
        uint8_t byte = 0;
        ASSERT_EQ(port->read(&byte, 1, 1), 1) << "read " << i;
        EXPECT_EQ(byte, 0xEE);
    }
    sendVersionRequest(1);
    uint8_t reply[6];
    ASSERT_EQ(port->read(reply, 6, 150), 6);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(reply), 6), QByteArray(6, char(0xEE)))
        << "the reply is lost in the traffic";
}

TEST_F(MemoryLineTest, PurgeDropsWhatHasArrived)
{
    sendVersionRequest(1);
    clock.sleepMs(20);
    ASSERT_TRUE(port->purge());
    uint8_t byte = 0;
    EXPECT_EQ(port->read(&byte, 1, 50), 0);
}

TEST_F(MemoryLineTest, OnlyConfiguredPortsExistAndEachOpensOnce)
{
    EXPECT_TRUE(ports.devicePath(2).isEmpty());
    auto second = ports.createDevice();
    EXPECT_FALSE(second->open(ports.devicePath(4))) << "the bus's line is already in use";
    port->close();
    EXPECT_FALSE(second->open(ports.devicePath(2)));
    EXPECT_FALSE(second->open(QStringLiteral("/dev/ttyS0")));
    EXPECT_TRUE(second->open(ports.devicePath(4)));
    uint8_t byte = 0;
    EXPECT_EQ(port->read(&byte, 1, 10), -1);
    EXPECT_EQ(port->write(&byte, 1), -1);
}

} // namespace

namespace {

TEST_F(MemoryLineTest, LogShowsTrafficWithItsTimes)
{
    QByteArray text;
    auto buffer = std::make_unique<QBuffer>(&text);
    buffer->open(QIODevice::WriteOnly);
    TelegramLog log(std::move(buffer));
    ports.line().setLog(&log);
    const uint8_t switchByte = 0x13;
    ASSERT_EQ(port->write(&switchByte, 1), 1);
    clock.sleepMs(100);
    sendVersionRequest(1);
    uint8_t reply[6];
    ASSERT_EQ(port->read(reply, 6, 150), 6);
    EXPECT_EQ(text.toStdString(), "      0.000520 PC>  13  (no telegram)\n"
                                  "      0.103120 PC>  76 04 00 01 00 73\n"
                                  "      0.105120 <bus 76 04 00 12 05 65\n");
}

} // namespace

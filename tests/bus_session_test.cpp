// The main window's link on the simulated bus, without windows: connect and disconnect with
// their status texts, page 0's checksum against the simulated EEPROM, and the polling tick.
#include "RecordedMessages.h"
#include "ScanHarness.h"
#include "mainwindow/core/BusSession.h"
#include "sim/BusSetup.h"
#include "sim/SimulatedController.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct BusSessionTest : ::testing::Test {
    BusSessionTest()
    {
        BusSetup setup;
        setup.controllers << DefaultControllerSetup(ControllerKind::TurnTilt, 1, 1);
        bus = std::make_unique<SimulatedBus>(setup);
        memoryPorts = std::make_unique<MemoryBusPorts>(clock, *bus, QList<int>{1});
        ports = std::make_unique<TracingPorts>(*memoryPorts, clock);
        session = std::make_unique<BusSession>(clock, *ports, messages);
    }
    void SetUp() override { SetCurrentLanguage(German); }

    // EEPROM byte 30h as the controller holds it, and the XOR of 21h..2Fh.
    int storedChecksum() { return bus->controllerAt(1)->eepromByte(0x30); }
    int page0Xor()
    {
        int x = 0;
        for (int address = 0x21; address <= 0x2F; ++address)
            x ^= bus->controllerAt(1)->eepromByte(address);
        return x;
    }

    VirtualClock clock;
    std::unique_ptr<SimulatedBus> bus;
    std::unique_ptr<MemoryBusPorts> memoryPorts;
    std::unique_ptr<TracingPorts> ports;
    RecordedMessages messages;
    std::unique_ptr<BusSession> session;
};

TEST_F(BusSessionTest, ConnectAndDisconnectShowTheConnectionState)
{
    int changes = 0;
    QObject::connect(session.get(), &BusSession::connectionChanged, [&] { ++changes; });
    session->setConnection({1, 19200});
    ASSERT_TRUE(session->ConnectBus());
    EXPECT_EQ(session->statusText(), QStringLiteral("Online, COM1, 19200 Baud"));
    EXPECT_TRUE(session->polling());
    session->DisconnectBus(true);
    EXPECT_EQ(session->statusText(), QStringLiteral("Online, COM1, 19200 Baud"));
    EXPECT_FALSE(session->polling());
    EXPECT_FALSE(session->bus().IsConnected());
    session->setConnection({4, 19200});
    EXPECT_FALSE(session->ConnectBus());
    EXPECT_EQ(session->statusText(), QStringLiteral("Offline"));
    EXPECT_FALSE(session->polling());
    EXPECT_EQ(changes, 3);
}

TEST_F(BusSessionTest, Page0ChecksumIsRewrittenFromTheControllersBytes)
{
    session->setConnection({1, 19200});
    ASSERT_TRUE(session->ConnectBus());
    session->bus().SetWindowAddress(1);
    // A byte of page 0 changed behind the checksum's back.
    int mode = 0x13, memory = 0, data = 0x6677;
    ASSERT_EQ(session->bus().SendToWindow(mode, memory, data), 0);
    ASSERT_EQ(session->bus().WriteEepromByte(0x25, page0Xor() ^ 0x5A), 0);
    ASSERT_NE(storedChecksum(), page0Xor());
    ports->requests.clear();

    session->UpdatePage0Checksum();
    EXPECT_EQ(storedChecksum(), page0Xor());
    EXPECT_TRUE(messages.shown.isEmpty());
    // Fifteen reads, the write enable, the write.
    QStringList telegrams;
    for (const TracedRequest& r : ports->requests)
        telegrams
            << QStringLiteral("%1/%2").arg(r.mode(), 2, 16, QChar('0')).arg(r.memory(), 0, 16);
    QStringList expected;
    for (int address = 0x21; address <= 0x2F; ++address)
        expected << QStringLiteral("08/%1").arg(address, 0, 16);
    expected << QStringLiteral("13/0") << QStringLiteral("09/30");
    EXPECT_EQ(telegrams, expected);
}

TEST_F(BusSessionTest, Page0ChecksumFailuresShowTheMessageAndWriteNothingAfterAFailedRead)
{
    session->setConnection({1, 19200});
    ASSERT_TRUE(session->ConnectBus());
    session->bus().SetWindowAddress(1);
    const int before = storedChecksum();

    // A read that fails both tries: no write at all.
    bus->failRequests({.mode = 0x08, .window = 1, .memory = 0x28}, RequestFault::silence(), 2);
    ports->requests.clear();
    session->UpdatePage0Checksum();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("error: ") + LanguageText(284)});
    for (const TracedRequest& r : ports->requests)
        EXPECT_NE(r.mode(), 0x09);
    EXPECT_EQ(ports->requests.last().memory(), 0x28);

    // A write that is not acknowledged.
    messages.shown.clear();
    bus->failRequests({.mode = 0x09, .window = 1, .memory = 0x30}, RequestFault::wrongChecksum(),
                      2);
    session->UpdatePage0Checksum();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("error: ") + LanguageText(284)});
    EXPECT_EQ(before, storedChecksum()); // the checksum was right already
}

TEST_F(BusSessionTest, PollingTickSendsTheKeepAliveEveryThirdTick)
{
    session->setConnection({1, 19200});
    ASSERT_TRUE(session->ConnectBus());
    ports->requests.clear();
    for (int tick = 0; tick < 6; ++tick)
        session->pollTick();
    QList<int> modes;
    for (const TracedRequest& r : ports->requests)
        modes << r.mode();
    // Polling is not started: only the keep-alives go out.
    EXPECT_EQ(modes, (QList<int>{0x4F, 0x4F}));
}

TEST_F(BusSessionTest, PulledAdapterEndsTheLinkOnceWithOneMessageAndReconnectsLater)
{
    session->setConnection({1, 19200});
    ASSERT_TRUE(session->ConnectBus());
    session->bus().StartPolling();
    memoryPorts->unplug();
    for (int tick = 0; tick < 10; ++tick)
        session->pollTick();
    EXPECT_EQ(session->statusText(), QStringLiteral("Offline"));
    EXPECT_FALSE(session->polling());
    EXPECT_FALSE(session->bus().IsConnected());
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("error: ") + LanguageText(kTextConnectionLost)});

    // Not there yet: the next attempt stays offline; once it is back, the link works again.
    EXPECT_FALSE(session->ConnectBus());
    memoryPorts->plugIn();
    ASSERT_TRUE(session->ConnectBus());
    EXPECT_EQ(session->statusText(), QStringLiteral("Online, COM1, 19200 Baud"));
    session->bus().SetWindowAddress(1);
    int value = 0;
    EXPECT_EQ(session->bus().ReadEepromByte(0x34, value), 0);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(messages.shown.size(), 1);
}

} // namespace

// Configuration that a controller takes over on command 33h (address, commissioning), leaving
// commissioning with 66h and the zero-position run, and emergency addressing on a raw port.
#include "PcOnSimulatedBus.h"

#include <gtest/gtest.h>

namespace {

constexpr int kStateCommissioning = 15;
constexpr int kEventDriveBlocked = 0x20;

TEST(AddressChange, NewAddressTakesEffectOnlyAfterCommand33)
{
    PcOnSimulatedBus sim;
    sim.pc.SetWindowAddress(2);
    ASSERT_EQ(sim.pc.WriteEepromByte(0x34, 7), 0);
    EXPECT_EQ(sim.parameter(2, ParSoftwareVersion), 0x0703) << "still at the old address";
    EXPECT_EQ(sim.parameter(7, ParSoftwareVersion), std::nullopt);

    sim.pc.SetWindowAddress(2);
    EXPECT_EQ(sim.pc.SendCommand33(), 0) << "answered at the old address";
    EXPECT_EQ(sim.parameter(7, ParSoftwareVersion), 0x0703);
    EXPECT_EQ(sim.parameter(2, ParSoftwareVersion), std::nullopt);
    EXPECT_EQ(sim.eepromByte(7, 0x34), 7);
}

TEST(AddressChange, SwappingTwoControllersThroughTemporaryAddresses)
{
    PcOnSimulatedBus sim;
    const auto moveTo = [&](int from, int to) {
        sim.pc.SetWindowAddress(from);
        ASSERT_EQ(sim.pc.WriteEepromByte(0x34, to), 0);
        sim.waitMs(123);
        ASSERT_EQ(sim.pc.SendCommand33(), 0);
    };
    moveTo(1, 32);
    moveTo(2, 33);
    moveTo(32, 2);
    moveTo(33, 1);
    EXPECT_EQ(sim.parameter(1, ParWindowKind), 4);
    EXPECT_EQ(sim.parameter(2, ParWindowKind), 1);
}

TEST(Commissioning, EnteredByRequestByteAndCommand33LeftByCommand66)
{
    PcOnSimulatedBus sim;
    sim.pc.SetWindowAddress(1);
    EXPECT_EQ(sim.pc.SendCommand33(), 0);
    EXPECT_EQ(sim.parameter(1, ParState), 0) << "command 33h alone changes nothing";

    sim.pc.SetWindowAddress(1);
    ASSERT_EQ(sim.pc.WriteEepromByte(0x20, 0xFF), 0);
    EXPECT_EQ(sim.parameter(1, ParState), 0) << "the request waits for command 33h";
    sim.pc.SetWindowAddress(1);
    ASSERT_EQ(sim.pc.SendCommand33(), 0);
    EXPECT_EQ(sim.parameter(1, ParState), kStateCommissioning);
    EXPECT_EQ(sim.send(1, 0x41, 0, 0), 0) << "answered";
    sim.waitMs(2000);
    EXPECT_EQ(sim.parameter(1, ParState), kStateCommissioning) << "window commands do nothing";

    sim.pc.SetWindowAddress(1);
    ASSERT_EQ(sim.pc.SendCommand66(), 0);
    EXPECT_EQ(sim.parameter(1, ParState), 0);
    EXPECT_EQ(sim.eepromByte(1, 0x20), 0) << "the request byte is cleared";
}

TEST(Commissioning, ZeroPositionRunMeasuresTheOpeningOfASmokeVent)
{
    PcOnSimulatedBus sim;
    constexpr int vent = 3;
    constexpr int chainLength = 47;
    constexpr int drivePosition = 12;
    sim.pc.SetWindowAddress(vent);
    ASSERT_EQ(sim.pc.WriteEepromByte(0x20, 0xFF), 0);
    ASSERT_EQ(sim.pc.SendCommand33(), 0);
    ASSERT_EQ(sim.parameter(vent, ParState), kStateCommissioning);

    // Jogging closed at the end stop blocks the drive; the event stays after the jog stops.
    EXPECT_EQ(sim.parameter(vent, ParEventBits).value_or(-1) & kEventDriveBlocked, 0);
    ASSERT_EQ(sim.send(vent, 0x30, 0, 0x11), 0);
    ASSERT_EQ(sim.send(vent, 0x30, 0, 0x12), 0);
    EXPECT_EQ(sim.parameter(vent, ParEventBits).value_or(0) & kEventDriveBlocked,
              kEventDriveBlocked);

    sim.pc.SetWindowAddress(vent);
    ASSERT_EQ(sim.pc.SendCommand66(), 0);
    EXPECT_EQ(sim.parameter(vent, ParState), kStateCommissioning) << "first step: the run starts";
    EXPECT_EQ(sim.parameter(vent, ParEventBits).value_or(-1) & kEventDriveBlocked, 0);
    const int start = sim.parameter(vent, drivePosition).value_or(-1);
    sim.waitMs(4000);
    const int reached = sim.parameter(vent, drivePosition).value_or(-1);
    // 25 mm/s at 3.147 counts per mm for about 4 s.
    EXPECT_GT(reached, start + 250);
    EXPECT_LT(reached, start + 350);

    sim.pc.SetWindowAddress(vent);
    ASSERT_EQ(sim.pc.SendCommand66(), 0);
    EXPECT_NE(sim.parameter(vent, ParState), kStateCommissioning) << "second step leaves";
    const int measured = sim.parameter(vent, chainLength).value_or(-1);
    EXPECT_GE(measured, reached);
    EXPECT_LT(measured, reached + 10);
    sim.waitMs(20000);
    EXPECT_EQ(sim.parameter(vent, drivePosition), 0) << "the vent closes after the run";
    EXPECT_EQ(sim.parameter(vent, ParState), 0);
}

TEST(Commissioning, StandardControllerLeavesWithOneCommand66)
{
    PcOnSimulatedBus sim;
    sim.pc.SetWindowAddress(4);
    ASSERT_EQ(sim.pc.WriteEepromByte(0x20, 0xFF), 0);
    ASSERT_EQ(sim.pc.SendCommand33(), 0);
    ASSERT_EQ(sim.parameter(4, ParState), kStateCommissioning);
    sim.pc.SetWindowAddress(4);
    ASSERT_EQ(sim.pc.SendCommand66(), 0);
    EXPECT_NE(sim.parameter(4, ParState), kStateCommissioning) << "a sliding drive has no run";
}

// Two new controllers wait at 3Fh; emergency addressing hands out 1 and 2 over a raw port.
struct EmergencyAddressingTest : ::testing::Test {
    EmergencyAddressingTest() : sim(twoNewControllers()) {}

    static BusSetup twoNewControllers()
    {
        BusSetup setup;
        setup.groupUnit = GroupUnitSetup{};
        ControllerSetup later = DefaultControllerSetup(ControllerKind::ChainDrive, 63, 9);
        ControllerSetup earlier = DefaultControllerSetup(ControllerKind::TurnTilt, 63, 4);
        setup.controllers = {later, earlier};
        return setup;
    }

    PcOnSimulatedBus sim;
};

TEST_F(EmergencyAddressingTest, HandsOutAddressesUntilNoControllerIsLeft)
{
    EXPECT_EQ(sim.parameter(63, ParSoftwareVersion), std::nullopt);
    EXPECT_EQ(sim.pc.lastError(), CZuzev::ErrNoReply) << "both answer at 3Fh and collide";

    sim.pc.Disconnect();
    auto port = sim.ports.createDevice();
    ASSERT_TRUE(port->open(sim.ports.devicePath(1)));
    QList<int> handedOut;
    for (int n = 1; n <= 31; ++n) {
        sim.waitMs(40);
        (void)RawExchange(*port, 0x4F, 0, 1, 0x4F, 40);
        const QByteArray reply = RawExchange(*port, 0x60, n * 256 + 0xA0, 0, 0x63, 2000);
        if (reply.size() < 6)
            break;
        ASSERT_EQ(reply.toHex(), TelegramBytes(0x63, n * 256 + 0xA0, 0).toHex());
        handedOut << n;
    }
    (void)RawExchange(*port, 0x65, 0xA0, 0, 0x65, 20);
    port->close();
    EXPECT_EQ(handedOut, QList<int>({1, 2}));

    ASSERT_TRUE(sim.pc.Connect(19200, 1, 150));
    EXPECT_EQ(sim.parameter(1, ParWindowKind), 1) << "the lower serial number won address 1";
    EXPECT_EQ(sim.parameter(2, ParWindowKind), 4);
    EXPECT_EQ(sim.eepromByte(1, 0x34), 1);
    EXPECT_EQ(sim.eepromByte(2, 0x34), 2);
    EXPECT_EQ(sim.parameter(63, ParSoftwareVersion), std::nullopt);
}

TEST_F(EmergencyAddressingTest, NewRunAfterEndTelegramStartsOverWithEveryController)
{
    sim.pc.Disconnect();
    auto port = sim.ports.createDevice();
    ASSERT_TRUE(port->open(sim.ports.devicePath(1)));
    const auto hand = [&](int n) {
        return RawExchange(*port, 0x60, n * 256 + 0xA0, 0, 0x63, 2000);
    };
    EXPECT_EQ(hand(5).size(), 6);
    EXPECT_EQ(hand(6).size(), 6);
    EXPECT_EQ(hand(7).size(), 0);
    (void)RawExchange(*port, 0x65, 0xA0, 0, 0x65, 20);
    EXPECT_EQ(hand(10).size(), 6);
    port->close();
    ASSERT_TRUE(sim.pc.Connect(19200, 1, 150));
    EXPECT_EQ(sim.parameter(10, ParWindowKind), 1);
    EXPECT_EQ(sim.parameter(6, ParWindowKind), 4);
}

} // namespace

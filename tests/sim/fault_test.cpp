// Every fault of a device or of the whole bus as the PC sees it: the error code of one exchange
// of the telegram link, and the bytes that reach a raw port.
#include "PcOnSimulatedBus.h"

#include <gtest/gtest.h>

namespace {

enum class Scope { Device, WholeBus };

struct FaultCase {
    const char* name;
    ReplyFaults faults;
    int error; // of one exchange without retry
};

class FaultTest : public ::testing::TestWithParam<std::tuple<FaultCase, Scope>> {
protected:
    static BusSetup setupWith(const ReplyFaults& faults, Scope scope)
    {
        BusSetup setup = DefaultBusSetup();
        if (scope == Scope::WholeBus)
            setup.faults = faults;
        else
            setup.controllers[1].faults = faults;
        return setup;
    }
};

TEST_P(FaultTest, ExchangeEndsWithTheErrorThePcExpects)
{
    const auto& [fault, scope] = GetParam();
    PcOnSimulatedBus sim(setupWith(fault.faults, scope));
    const bool ok = sim.pc.ZuzevTransmit(MakeBusAddress(2, 0), 1, 0x76);
    EXPECT_EQ(sim.pc.errorCode(), fault.error);
    EXPECT_EQ(ok, fault.error == 0);
    if (ok) {
        EXPECT_EQ(sim.pc.lastGoodReply()[3] | sim.pc.lastGoodReply()[4] << 8, 0x0703);
    }
}

TEST_P(FaultTest, OtherDevicesAnswerUnlessTheWholeBusIsFaulty)
{
    const auto& [fault, scope] = GetParam();
    PcOnSimulatedBus sim(setupWith(fault.faults, scope));
    const bool ok = sim.pc.ZuzevTransmit(MakeBusAddress(1, 0), 1, 0x76);
    EXPECT_EQ(ok, scope == Scope::Device || fault.error == 0);
    EXPECT_EQ(sim.pc.errorCode(), scope == Scope::Device ? 0 : fault.error);
}

ReplyFaults with(void (*set)(ReplyFaults&))
{
    ReplyFaults f;
    set(f);
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    ::testing::Combine(
        ::testing::Values(
            FaultCase{"None", {}, CZuzev::NoError},
            FaultCase{"Silent", with([](ReplyFaults& f) { f.silent = true; }), CZuzev::ErrNoReply},
            FaultCase{"OneStrayByte", with([](ReplyFaults& f) { f.strayBytes = 1; }),
                      CZuzev::NoError},
            FaultCase{"TwoStrayBytes", with([](ReplyFaults& f) { f.strayBytes = 2; }),
                      CZuzev::NoError},
            FaultCase{"ThreeStrayBytes", with([](ReplyFaults& f) { f.strayBytes = 3; }),
                      CZuzev::ErrNoReply},
            FaultCase{"WrongChecksum", with([](ReplyFaults& f) { f.wrongChecksum = true; }),
                      CZuzev::ErrChecksum},
            FaultCase{"ShortReply", with([](ReplyFaults& f) { f.shortReply = 4; }),
                      CZuzev::ErrNoReply},
            FaultCase{"DelayWithinTimeout", with([](ReplyFaults& f) { f.delayMs = 130; }),
                      CZuzev::NoError},
            FaultCase{"DelayBeyondTimeout", with([](ReplyFaults& f) { f.delayMs = 150; }),
                      CZuzev::ErrNoReply}),
        ::testing::Values(Scope::Device, Scope::WholeBus)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == Scope::Device ? "OnDevice" : "OnBus");
    });

TEST(BusFaults, TwoDevicesOnOneAddressLeaveTheRawPortAFragment)
{
    BusSetup setup = DefaultBusSetup();
    setup.controllers[3].address = 2;
    PcOnSimulatedBus sim(setup);
    EXPECT_FALSE(sim.pc.ZuzevTransmit(MakeBusAddress(2, 0), 1, 0x76));
    EXPECT_EQ(sim.pc.errorCode(), CZuzev::ErrNoReply);

    sim.pc.Disconnect();
    auto port = sim.ports.createDevice();
    ASSERT_TRUE(port->open(sim.ports.devicePath(1)));
    const QByteArray fragment = RawExchange(*port, 0x76, MakeBusAddress(2, 0), 1, 0x76, 100);
    EXPECT_EQ(fragment.size(), 3) << fragment.toHex().constData();
    EXPECT_EQ(fragment.left(3), TelegramBytes(0x76, MakeBusAddress(2, 0), 0).left(3));
}

TEST(BusFaults, ACollisionNeedsTwoAnsweringDevices)
{
    BusSetup setup = DefaultBusSetup();
    setup.controllers[3].address = 2;
    setup.controllers[3].faults.silent = true;
    PcOnSimulatedBus sim(setup);
    EXPECT_TRUE(sim.pc.ZuzevTransmit(MakeBusAddress(2, 0), 1, 0x76));
}

TEST(BusFaults, BusThatNeverFallsSilentFailsEveryExchange)
{
    BusSetup setup = DefaultBusSetup();
    setup.neverSilent = true;
    PcOnSimulatedBus sim(setup);
    for (const int mode : {0x4F, 0x76, 0x00}) {
        EXPECT_FALSE(sim.pc.ZuzevTransmit(0, 1, static_cast<unsigned short>(mode)));
        EXPECT_EQ(sim.pc.errorCode(), CZuzev::ErrNoReply) << "mode " << mode;
    }
}

TEST(BusFaults, KeepAliveIsEchoedWhileAnyDeviceAnswers)
{
    BusSetup setup = DefaultBusSetup();
    PcOnSimulatedBus full(setup);
    int mode = 0x4F, field = 0, data = 1;
    EXPECT_EQ(full.pc.SendTelegram(mode, field, data), 0);
    EXPECT_EQ(full.pc.lastGoodReply(), MakeTelegram(0x4F, 0, 1));

    setup.groupUnit.reset();
    for (int i = 0; i < setup.controllers.size() - 1; ++i)
        setup.controllers[i].faults.silent = true;
    PcOnSimulatedBus oneLeft(setup);
    EXPECT_EQ(oneLeft.pc.SendTelegram(mode, field, data), 0);

    setup.controllers.last().faults.silent = true;
    PcOnSimulatedBus allSilent(setup);
    EXPECT_EQ(allSilent.pc.SendTelegram(mode, field, data), CZuzev::ErrNoReply);
    PcOnSimulatedBus empty(BusSetup{});
    EXPECT_EQ(empty.pc.SendTelegram(mode, field, data), CZuzev::ErrNoReply);
}

} // namespace

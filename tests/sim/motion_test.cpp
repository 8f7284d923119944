// Behaviour over virtual time: window commands move the drive and walk the state codes, locks
// change the state of a closed window, events come and go, the safety edge toggles.
#include "PcOnSimulatedBus.h"

#include <gtest/gtest.h>

namespace {

constexpr int kDrivePosition = 12;
constexpr int kSafetyEdgeDisabled = 25;
constexpr int kStatusAndEvents = 29;
constexpr int kChainLength = 47;

struct Sample {
    int state;
    int position;
};

// Samples the state code and drive position every 100 ms until the state stays put for 2 s.
QList<Sample> watch(PcOnSimulatedBus& sim, int address, int maxSeconds = 60)
{
    QList<Sample> samples;
    int steady = 0;
    for (int i = 0; i < maxSeconds * 10 && steady < 20; ++i) {
        sim.waitMs(100);
        const Sample s{sim.parameter(address, ParState).value_or(-1),
                       sim.parameter(address, kDrivePosition).value_or(-1)};
        steady = !samples.isEmpty() && samples.last().state == s.state &&
                         samples.last().position == s.position
                     ? steady + 1
                     : 0;
        samples << s;
    }
    return samples;
}

QList<int> statesOf(const QList<Sample>& samples)
{
    QList<int> states;
    for (const Sample& s : samples) {
        if (states.isEmpty() || states.last() != s.state)
            states << s.state;
    }
    return states;
}

bool moves(const QList<Sample>& samples, bool up)
{
    for (int i = 1; i < samples.size(); ++i) {
        const int step = samples[i].position - samples[i - 1].position;
        if (up ? step < 0 : step > 0)
            return false;
    }
    return true;
}

struct Movement {
    const char* name;
    int address;
    int openMode;
    int openData;
    QList<int> opening;
    QList<int> closing;
    int openedPercent; // of the chain length
    int counter;       // EEPROM address of the cycle counter that counts the opening
};

class MovementTest : public ::testing::TestWithParam<Movement> {};

TEST_P(MovementTest, OpensAndClosesThroughTheStateCodes)
{
    const Movement& m = GetParam();
    PcOnSimulatedBus sim;
    const int length = sim.parameter(m.address, kChainLength).value_or(-1);
    const int countBefore = sim.eepromByte(m.address, m.counter).value_or(-1);

    ASSERT_EQ(sim.send(m.address, m.openMode, 0, m.openData), 0);
    const QList<Sample> opening = watch(sim, m.address);
    EXPECT_EQ(statesOf(opening), m.opening);
    EXPECT_TRUE(moves(opening, true));
    EXPECT_EQ(opening.last().position, length * m.openedPercent / 100);
    EXPECT_EQ(sim.eepromByte(m.address, m.counter), countBefore + 1);

    ASSERT_EQ(sim.send(m.address, 0x42, 0, 0), 0);
    const QList<Sample> closing = watch(sim, m.address);
    EXPECT_EQ(statesOf(closing), m.closing);
    EXPECT_TRUE(moves(closing, false));
    EXPECT_EQ(closing.last().position, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, MovementTest,
    ::testing::Values(
        Movement{"TurnTiltTilts", 1, 0x41, 0, {1, 3, 5}, {6, 7, 0}, 100, 0x90},
        Movement{"TurnTiltUnlocksForTurning", 1, 0x13, 0xAA55, {9}, {11, 0}, 0, 0x92},
        Movement{"ChainDriveVents", 2, 0x41, 0, {1, 3, 5}, {6, 7, 0}, 50, 0x90},
        Movement{"ChainDriveOpensFully", 2, 0x43, 0xAA00, {9, 10}, {11, 7, 0}, 100, 0x92},
        Movement{"SmokeVentOpensFully", 3, 0x43, 0xAA00, {9, 10}, {11, 7, 0}, 100, 0x94},
        Movement{"SlidingDriveOpensFully", 4, 0x13, 0xAA55, {9, 10}, {11, 7, 0}, 100, 0x92},
        Movement{"PafMasterOpensHalf", 5, 0x43, 0x0032, {1, 3, 5}, {6, 7, 0}, 50, 0x90},
        Movement{"GroupDriveOpensHalf", 2, 0x43, 0x0500, {1, 3, 5}, {6, 7, 0}, 50, 0x90}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Movement, SpeedIsThatOfTheDrive)
{
    PcOnSimulatedBus sim;
    ASSERT_EQ(sim.send(2, 0x41, 0, 0), 0);
    sim.waitMs(500 + 5000);
    // 12 mm/s at 3.147 counts per mm: 37 counts a second after the half-second unlock.
    const int position = sim.parameter(2, kDrivePosition).value_or(-1);
    EXPECT_GE(position, 37 * 5);
    EXPECT_LE(position, 37 * 5 + 3);
}

TEST(Movement, StopHoldsTheWindowPartlyOpen)
{
    PcOnSimulatedBus sim;
    ASSERT_EQ(sim.send(2, 0x41, 0, 0), 0);
    sim.waitMs(3000);
    ASSERT_EQ(sim.send(2, 0x44, 0, 0), 0);
    const int stopped = sim.parameter(2, kDrivePosition).value_or(-1);
    EXPECT_GT(stopped, 0);
    sim.waitMs(3000);
    EXPECT_EQ(sim.parameter(2, kDrivePosition), stopped);
    EXPECT_EQ(sim.parameter(2, ParState), 4);
}

TEST(Locks, UnlockingAClosedWindowShowsItUnlocked)
{
    PcOnSimulatedBus sim;
    const QList<std::pair<int, int>> steps = {{0x0D, 2}, {0x0C, 0}, {0x0B, 2},
                                              {0x0F, 2}, {0x0A, 2}, {0x0E, 0}};
    for (const auto& [code, state] : steps) {
        ASSERT_EQ(sim.send(1, 0x30, 0, code), 0);
        EXPECT_EQ(sim.parameter(1, ParState), state) << "after command code " << code;
    }
}

TEST(Locks, JogOutsideCommissioningDrivesLikeTheWindowCommands)
{
    PcOnSimulatedBus sim;
    ASSERT_EQ(sim.send(4, 0x30, 0, 0x10), 0);
    sim.waitMs(2000);
    ASSERT_EQ(sim.send(4, 0x30, 0, 0x12), 0);
    EXPECT_EQ(sim.parameter(4, ParState), 4);
    const int open = sim.parameter(4, kDrivePosition).value_or(0);
    ASSERT_EQ(sim.send(4, 0x30, 0, 0x11), 0);
    sim.waitMs(500);
    EXPECT_LT(sim.parameter(4, kDrivePosition).value_or(open), open);
}

TEST(SafetyEdge, WindowCommand1122hTogglesIt)
{
    PcOnSimulatedBus sim;
    EXPECT_EQ(sim.parameter(1, kSafetyEdgeDisabled), 0);
    ASSERT_EQ(sim.send(1, 0x13, 0, 0x1122), 0);
    EXPECT_EQ(sim.parameter(1, kSafetyEdgeDisabled), 1);
    ASSERT_EQ(sim.send(1, 0x13, 0, 0x1122), 0);
    EXPECT_EQ(sim.parameter(1, kSafetyEdgeDisabled), 0);
}

TEST(Events, ScheduledEventsAppearAndClear)
{
    BusSetup setup = DefaultBusSetup();
    setup.controllers[0].eventSchedule = {{3, 2000, 5000}, {10, 4000, 6000}};
    PcOnSimulatedBus sim(setup);
    const QList<std::pair<uint32_t, int>> expected = {
        {1000, 0x0000}, {3000, 0x0008}, {4500, 0x0408}, {5500, 0x0400}, {6500, 0x0000}};
    for (const auto& [atMs, bits] : expected) {
        sim.waitMs(atMs - sim.clock.tickMs());
        EXPECT_EQ(sim.parameter(1, ParEventBits), bits) << "at " << atMs << " ms";
        EXPECT_EQ(sim.parameter(1, kStatusAndEvents).value_or(-1) >> 8, bits ? 1 : 0);
    }
}

TEST(Events, DerivedFromSupplyAndSafetyEdge)
{
    BusSetup setup = DefaultBusSetup();
    setup.controllers[0].supplyVolts = 16.5;
    setup.controllers[0].supplyNoiseVolts = 0;
    setup.controllers[1].parameters = {{0x06, 3}};
    setup.controllers[2].parameters = {{0x06, 4}};
    setup.controllers[3].events = 0x8000;
    PcOnSimulatedBus sim(setup);
    EXPECT_EQ(sim.parameter(1, ParEventBits), 0x0002) << "undervoltage";
    EXPECT_EQ(sim.parameter(1, ParSupplyVoltage), 441);
    EXPECT_EQ(sim.parameter(2, ParEventBits), 0x2000) << "safety edge interrupted";
    EXPECT_EQ(sim.parameter(3, ParEventBits), 0x1000) << "safety edge short circuit";
    EXPECT_EQ(sim.parameter(4, ParEventBits), 0x8000) << "set by the config";
    EXPECT_EQ(sim.parameter(5, ParEventBits), 0x0000);
}

} // namespace

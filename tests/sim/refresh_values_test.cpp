// What the controller window reads once a second from each controller of the default bus: every
// parameter and EEPROM byte in its range and agreeing with the kind, values that follow the
// drive, the safety edge, strand events and the supply voltage.
#include "PcOnSimulatedBus.h"
#include "buslink/ParameterTable.h"

#include <QSet>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Kind {
    const char* name;
    int address;
    int type;
    int variant;
};

const Kind kKinds[] = {{"TurnTilt", 1, 1, 0xAA},
                       {"ChainDrive", 2, 4, 0x55},
                       {"SmokeVent", 3, 5, 0x55},
                       {"SlidingDrive", 4, 7, 0x55},
                       {"PafMaster", 5, 8, 0x55}};

constexpr int kPafMaster = 8;
constexpr int kPafAddress = 5;

// Parameter-table indices beyond those the flows name.
enum : int {
    ParLeverPosition = 3,
    ParVentMagnet = 5,
    ParRawHall = 6,
    ParLockThresholdLow = 7,
    ParUndervoltageLow = 10,
    ParDrivePosition = 12,
    ParEdgeCondition = 13,
    ParTiltCyclesLow = 14,
    ParTiltLock = 18,
    ParLed = 20,
    ParLastReversal = 23,
    ParEdgeSwitchedOff = 25,
    ParEdgeFitted = 26,
    ParAutomaticLocking = 28,
    ParRadio = 32,
    ParDriveSides = 33,
    ParOpeningWidth = 37,
    ParOperationRelease = 38,
    ParMaximumOpeningWidth = 42,
    ParSlavePosition = 43,
    ParSlaveEvents = 44,
    ParSlaveStatus = 45,
    ParSlaveMagnet = 46,
    ParEdgeInput1 = 48,
    ParEdgeInput2 = 49,
    ParSlaveEdgeInput1 = 50,
    ParSlaveEdgeInput2 = 51,
    ParSlaveEdgeType = 52,
    ParSlaveLastReversal = 53,
    ParSlaveDrives = 54,
    ParStrand = 55
};

const int kSlaveEntries[] = {ParSlavePosition, ParSlaveEvents,       ParSlaveStatus,
                             ParSlaveMagnet,   ParSlaveEdgeInput1,   ParSlaveEdgeInput2,
                             ParSlaveEdgeType, ParSlaveLastReversal, ParSlaveDrives};

struct Range {
    int index;
    int min;
    int max;
};

// The documented values of the entries the window decodes by code or threshold.
// clang-format off
const Range kRanges[] = {
    {ParState, 0, 15},         {ParHandle, 0, 1},           {ParLeverPosition, 0, 1},
    {ParVentMagnet, 0, 1023},  {ParRawHall, 0, 4095},       {ParSupplyVoltage, 481, 801}, // 18..30 V
    {ParEdgeCondition, 1, 4},  {ParTiltLock, 0, 1},         {ParLed, 0, 2},
    {ParElectronicsSide, 0, 1}, {ParLastReversal, 0, 6},    {ParEdgeSwitchedOff, 0, 1},
    {ParEdgeFitted, 0, 1},     {ParAutomaticLocking, 0, 1}, {ParRadio, 0, 2},
    {ParDriveSides, 1, 3},     {ParOperationRelease, 0, 1}, {ParMaximumOpeningWidth, 0, 1},
    {ParEdgeInput1, 0, 1023},  {ParEdgeInput2, 0, 1023},    {ParSlaveEdgeInput1, 0, 1023},
    {ParSlaveEdgeInput2, 0, 1023}, {ParSlaveLastReversal, 0, 6}, {ParSlaveDrives, 0, 3},
    {ParStrand, 0, 1}};
// clang-format on

// All 56 entries of the controller at `address`, -1 for a failed read.
QList<int> readAll(PcOnSimulatedBus& sim, int address)
{
    QList<int> values;
    for (int index = 0; index < kParameterCount; ++index)
        values << sim.parameter(address, index).value_or(-1);
    return values;
}

int wordOf(const QList<int>& values, int lowIndex)
{
    return values[lowIndex] + 256 * values[lowIndex + 1];
}

// The opening width in mm as the window shows it, by the kind's scale and offset.
double shownOpeningWidth(const Kind& kind, const QList<int>& values)
{
    if (kind.type == 7)
        return values[ParMaxTiltPosition] * 1.5;
    if (kind.variant == 0xAA)
        return values[ParMaxTiltPosition] / 2.89 + 10;
    return values[ParOpeningWidth] / 3.147 + (kind.type == kPafMaster ? 0 : 10);
}

class RefreshValuesTest : public ::testing::TestWithParam<Kind> {
protected:
    PcOnSimulatedBus sim;
};

TEST_P(RefreshValuesTest, EveryReadOfTheRefreshAnswersInItsRange)
{
    const Kind& kind = GetParam();
    const QList<int> values = readAll(sim, kind.address);
    for (int index = 0; index < kParameterCount; ++index)
        EXPECT_GE(values[index], 0) << "entry " << index << " not answered";
    for (const Range& r : kRanges) {
        EXPECT_GE(values[r.index], r.min) << "entry " << r.index;
        EXPECT_LE(values[r.index], r.max) << "entry " << r.index;
    }
    const auto eeprom = [&](int memory) {
        return sim.eepromByte(kind.address, memory).value_or(-1);
    };
    EXPECT_EQ(eeprom(0x2D), kind.type);
    EXPECT_GE(eeprom(0x25), 1) << "opening width item";
    EXPECT_LE(eeprom(0x25), 21);
    const int pwmLimit = kind.type == 5 || kind.type == 6 ? 5 : 7;
    EXPECT_LE(eeprom(0xA0), pwmLimit);
    EXPECT_LE(eeprom(0xA1), pwmLimit);
    EXPECT_LE(eeprom(0xB9), 1) << "pole reversal";
    EXPECT_LE(eeprom(0xAA), 4) << "window type";
}

TEST_P(RefreshValuesTest, ValuesAgreeWithTheKind)
{
    const Kind& kind = GetParam();
    const QList<int> values = readAll(sim, kind.address);
    EXPECT_EQ(values[ParWindowKind], kind.type);
    EXPECT_EQ(values[ParVariant], kind.variant);
    EXPECT_EQ(sim.eepromByte(kind.address, 0x00), kind.variant);
    const int software = values[ParSoftwareVersion];
    const bool chainFamily = kind.type >= 3 && kind.type <= 6;
    EXPECT_EQ(values[ParMaximumOpeningWidth], chainFamily && software >= 0x0700 ? 1 : 0);

    const int travelMm = DefaultBusSetup().controllers[kind.address - 1].travelMm;
    const double offset = kind.type == 7 || kind.type == kPafMaster ? 0 : 10;
    EXPECT_NEAR(shownOpeningWidth(kind, values), travelMm + offset, 1.0);

    // Closed, the vent magnet lies below the automatic locking threshold, and the supply above
    // the undervoltage limit: no zero-position hint and no undervoltage event.
    EXPECT_LT(values[ParVentMagnet], wordOf(values, ParLockThresholdLow));
    EXPECT_GT(values[ParSupplyVoltage], wordOf(values, ParUndervoltageLow));
    EXPECT_EQ(values[ParEventBits], 0);

    if (kind.type != kPafMaster) {
        for (const int slave : kSlaveEntries)
            EXPECT_EQ(values[slave], 0) << "slave entry " << slave << " on a single controller";
        return;
    }
    EXPECT_EQ(values[ParSlavePosition], values[ParDrivePosition]);
    EXPECT_EQ(values[ParSlaveStatus] & 0x0F, values[ParState]);
    EXPECT_GT(values[ParSlaveMagnet], 0);
    EXPECT_EQ(values[ParSlaveDrives], 2) << "left and right";
    EXPECT_EQ(values[ParSlaveEdgeType], 1);
    EXPECT_NE(values[ParSlaveEdgeInput1], values[ParEdgeInput1]) << "the slave's own edge";
}

TEST_P(RefreshValuesTest, ValuesFollowTheDriveWhileItOpens)
{
    const Kind& kind = GetParam();
    const QList<int> closed = readAll(sim, kind.address);
    ASSERT_EQ(sim.send(kind.address, 0x41, 0, 0), 0);
    QList<QList<int>> samples = {closed};
    for (int second = 0; second < 60; ++second) {
        sim.waitMs(1000);
        samples << readAll(sim, kind.address);
        if (samples.last()[ParState] == 5)
            break;
    }
    ASSERT_EQ(samples.last()[ParState], 5) << "stands open";
    const QList<int> open = samples.last();

    QList<int> following = {ParState, ParVentMagnet, ParRawHall, ParSupplyVoltage,
                            ParDrivePosition};
    if (kind.type == kPafMaster)
        following << ParSlavePosition << ParSlaveStatus << ParSlaveMagnet;
    for (const int index : following) {
        QSet<int> seen;
        for (const QList<int>& sample : samples)
            seen << sample[index];
        EXPECT_GE(seen.size(), 3) << "entry " << index << " while the drive runs";
    }
    for (int i = 1; i < samples.size(); ++i)
        EXPECT_GE(samples[i][ParDrivePosition], samples[i - 1][ParDrivePosition]);
    EXPECT_GT(open[ParVentMagnet], closed[ParVentMagnet]);
    EXPECT_EQ(wordOf(open, ParTiltCyclesLow), wordOf(closed, ParTiltCyclesLow) + 1);

    const int steady[] = {ParWindowKind, ParHandle,  ParElectronicsSide, ParMaxTiltPosition,
                          ParEdgeFitted, ParVariant, ParDriveSides,      ParOpeningWidth};
    for (const int index : steady)
        EXPECT_EQ(open[index], closed[index]) << "entry " << index;
    if (kind.type == kPafMaster) {
        EXPECT_EQ(open[ParSlavePosition], open[ParDrivePosition]);
    }
}

INSTANTIATE_TEST_SUITE_P(DefaultBus, RefreshValuesTest, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

struct EdgeCase {
    const char* name;
    EdgeCondition condition;
    int inputMin; // both inputs, of the controller and of a PAF slave
    int inputMax;
    int eventBits;
};

class SafetyEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(SafetyEdgeTest, ShowsUpInItsParameters)
{
    const EdgeCase& c = GetParam();
    BusSetup setup = DefaultBusSetup();
    for (ControllerSetup& controller : setup.controllers)
        controller.safetyEdge = c.condition;
    PcOnSimulatedBus sim(setup);
    const bool fitted = c.condition != EdgeCondition::None;
    for (const int address : {1, kPafAddress}) {
        const QList<int> values = readAll(sim, address);
        EXPECT_EQ(values[ParEdgeFitted], fitted ? 1 : 0);
        if (fitted) {
            EXPECT_EQ(values[ParEdgeCondition], int(c.condition));
        }
        QList<int> inputs = {ParEdgeInput1, ParEdgeInput2};
        if (address == kPafAddress)
            inputs << ParSlaveEdgeInput1 << ParSlaveEdgeInput2;
        for (const int index : inputs) {
            EXPECT_GE(values[index], c.inputMin) << "entry " << index << " at " << address;
            EXPECT_LE(values[index], c.inputMax) << "entry " << index << " at " << address;
        }
        EXPECT_EQ(values[ParEventBits], c.eventBits);
        EXPECT_EQ(values[ParEdgeSwitchedOff], 0);
        ASSERT_EQ(sim.send(address, 0x13, 0, 0x1122), 0);
        EXPECT_EQ(sim.parameter(address, ParEdgeSwitchedOff), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, SafetyEdgeTest,
    ::testing::Values(EdgeCase{"None", EdgeCondition::None, 0, 0, 0},
                      EdgeCase{"Ok", EdgeCondition::Ok, 400, 620, 0},
                      EdgeCase{"Pressed", EdgeCondition::Pressed, 100, 300, 0},
                      EdgeCase{"Interrupted", EdgeCondition::Interrupted, 1000, 1023, 0x2000},
                      EdgeCase{"ShortCircuit", EdgeCondition::ShortCircuit, 1, 20, 0x1000}),
    [](const auto& info) { return std::string(info.param.name); });

class PressedEdgeTest : public ::testing::TestWithParam<int> {};

TEST_P(PressedEdgeTest, ReversesTheClosingUntilSwitchedOff)
{
    const int address = GetParam();
    BusSetup setup = DefaultBusSetup();
    setup.controllers[address - 1].safetyEdge = EdgeCondition::Pressed;
    PcOnSimulatedBus sim(setup);
    ASSERT_EQ(sim.send(address, 0x41, 0, 0), 0);
    sim.waitMs(40000);
    ASSERT_EQ(sim.parameter(address, ParState), 5);
    const auto position = sim.parameter(address, ParDrivePosition);
    EXPECT_EQ(sim.parameter(address, ParLastReversal), 0);

    ASSERT_EQ(sim.send(address, 0x42, 0, 0), 0);
    sim.waitMs(2000);
    EXPECT_EQ(sim.parameter(address, ParState), 5);
    EXPECT_EQ(sim.parameter(address, ParDrivePosition), position);
    EXPECT_EQ(sim.parameter(address, ParLastReversal), 2) << "safety edge";
    EXPECT_EQ(sim.parameter(address, ParSlaveLastReversal), address == kPafAddress ? 2 : 0);

    ASSERT_EQ(sim.send(address, 0x13, 0, 0x1122), 0);
    ASSERT_EQ(sim.send(address, 0x42, 0, 0), 0);
    sim.waitMs(40000);
    EXPECT_EQ(sim.parameter(address, ParState), 0);
    EXPECT_EQ(sim.parameter(address, ParLastReversal), 2) << "the last reversal stays";
}

INSTANTIATE_TEST_SUITE_P(TurnTiltAndPafMaster, PressedEdgeTest, ::testing::Values(1, kPafAddress));

struct StrandCase {
    const char* name;
    Strand strand;
    uint16_t events;
    int shown; // parameter 55
};

class StrandTest : public ::testing::TestWithParam<StrandCase> {};

TEST_P(StrandTest, StrandEventsNameTheirStrand)
{
    const StrandCase& c = GetParam();
    BusSetup setup = DefaultBusSetup();
    setup.controllers[1].eventStrand = c.strand;
    setup.controllers[1].events = c.events;
    PcOnSimulatedBus sim(setup);
    EXPECT_EQ(sim.parameter(2, ParEventBits), c.events);
    EXPECT_EQ(sim.parameter(2, ParStrand), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Events, StrandTest,
                         ::testing::Values(StrandCase{"RightStrandEvent", Strand::Right, 0x0008, 1},
                                           StrandCase{"LeftStrandEvent", Strand::Left, 0x0200, 0},
                                           StrandCase{"RightStrandOfTheHighestBit", Strand::Right,
                                                      0x0201, 1},
                                           StrandCase{"NoStrandEvent", Strand::Right, 0x0401, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultBusEvents, PafMasterReportsItsRightStrandEveryMinute)
{
    PcOnSimulatedBus sim;
    const QList<std::pair<uint32_t, int>> expected = {{10'000, 0}, {25'000, 0x0008}, {35'000, 0},
                                                      {79'000, 0}, {85'000, 0x0008}, {95'000, 0}};
    for (const auto& [atMs, bits] : expected) {
        sim.waitMs(atMs - sim.clock.tickMs());
        EXPECT_EQ(sim.parameter(kPafAddress, ParEventBits), bits) << "at " << atMs << " ms";
        EXPECT_EQ(sim.parameter(kPafAddress, ParStrand), bits != 0 ? 1 : 0) << "at " << atMs;
        EXPECT_EQ(sim.parameter(2, ParEventBits), 0) << "only the PAF master";
    }
}

TEST(SupplyVoltage, VariesALittleAndDropsWhileTheDriveRuns)
{
    BusSetup setup = DefaultBusSetup();
    setup.controllers[1].supplyNoiseVolts = 0;
    PcOnSimulatedBus sim(setup);
    const int nominal = int(std::lround(24.0 / 0.03743)); // 641
    const auto sampleSupply = [&](int address, int seconds) {
        QSet<int> seen;
        for (int i = 0; i < seconds; ++i) {
            sim.waitMs(1000);
            seen << sim.parameter(address, ParSupplyVoltage).value_or(-1);
        }
        return seen;
    };
    const QSet<int> noisy = sampleSupply(1, 20);
    EXPECT_GE(noisy.size(), 3);
    for (const int counts : noisy)
        EXPECT_LE(std::abs(counts - nominal), 3) << counts; // 0.1 V
    EXPECT_EQ(sampleSupply(2, 5), QSet<int>{nominal}) << "without noise";

    ASSERT_EQ(sim.send(2, 0x41, 0, 0), 0);
    sim.waitMs(500); // unlocking
    EXPECT_EQ(sampleSupply(2, 5), QSet<int>{nominal - 11}) << "0.4 V lower under load";
}

} // namespace

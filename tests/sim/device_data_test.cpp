// What the PC reads from the simulated devices: EEPROM contents that agree with one another
// and with the parameters, for every controller of the default bus and the group control unit.
#include "PcOnSimulatedBus.h"
#include "buslink/ParameterTable.h"
#include "sim/BcdDigits.h"

#include <gtest/gtest.h>

namespace {

struct Identity {
    int address;
    int type;
    int variant;
    int softwareMajor;
    const char* article;
};

uint8_t xorOf(const QByteArray& eeprom, int first, int last)
{
    uint8_t x = 0;
    for (int a = first; a <= last; ++a)
        x ^= static_cast<uint8_t>(eeprom[a]);
    return x;
}

bool isBcd(int byte)
{
    return (byte & 0x0F) <= 9 && (byte >> 4) <= 9;
}

class DefaultControllerTest : public ::testing::TestWithParam<Identity> {
protected:
    QByteArray readEeprom()
    {
        QByteArray e;
        for (int a = 0; a < 256; ++a) {
            const auto byte = sim.eepromByte(GetParam().address, a);
            EXPECT_TRUE(byte.has_value()) << "EEPROM " << a;
            e.append(static_cast<char>(byte.value_or(0)));
        }
        return e;
    }
    PcOnSimulatedBus sim;
};

TEST_P(DefaultControllerTest, EepromAgreesWithItselfAndWithTheParameters)
{
    const Identity& id = GetParam();
    const QByteArray e = readEeprom();
    const auto at = [&](int a) { return static_cast<uint8_t>(e[a]); };

    EXPECT_EQ(at(0x30), xorOf(e, 0x21, 0x2F)) << "page-0 checksum";
    const int page1Last = id.variant == 0x55 ? 0x68 : 0x67;
    // The sliding drive's page-1 checksum is stale on purpose, for the EEPROM write-back.
    const bool stalePage1 = id.type == 7;
    EXPECT_EQ(at(0x7E) == xorOf(e, 0x40, page1Last), !stalePage1) << "page-1 checksum";
    if (!stalePage1) {
        EXPECT_NE(at(0x7E), xorOf(e, 0x40, id.variant == 0x55 ? 0x67 : 0x68))
            << "the variant byte decides the page-1 range";
    }

    EXPECT_EQ(at(0x34), id.address);
    EXPECT_EQ(at(0x2D), id.type);
    EXPECT_EQ(sim.parameter(id.address, ParWindowKind), id.type);
    EXPECT_EQ(at(0x00), id.variant);
    EXPECT_EQ(sim.parameter(id.address, ParVariant), id.variant);
    const uint32_t code = uint32_t(at(0x17)) << 24 | at(0x18) << 16 | at(0x19) << 8 | at(0x1A);
    EXPECT_EQ(ArticleText(code), QLatin1String(id.article));
    EXPECT_EQ(sim.parameter(id.address, 34), at(0x1A)) << "lowest byte of the article code";
    EXPECT_EQ(sim.parameter(id.address, ParSoftwareVersion).value_or(0) >> 8, id.softwareMajor);
    EXPECT_NE(at(0x10) | at(0x11) << 8, 0) << "hardware version";

    for (const int dateByte : {0x04, 0x05, 0x12, 0x13})
        EXPECT_TRUE(isBcd(at(dateByte))) << "date byte " << dateByte;
    for (const int dayByte : {0x06, 0x14}) {
        const int dayOfYear = (at(dayByte) & 0x0F) * 100 + FromBcd(at(dayByte - 1));
        EXPECT_GE(dayOfYear, 1);
        EXPECT_LE(dayOfYear, 366);
    }
    EXPECT_EQ(at(0x0B), 0xAA) << "ICT passed";
}

TEST_P(DefaultControllerTest, SerialNumbersDifferBetweenControllers)
{
    const auto serial = [&](int address) {
        return sim.eepromByte(address, 0x16).value_or(-1) << 8 |
               sim.eepromByte(address, 0x15).value_or(-1);
    };
    for (int other = 1; other <= 5; ++other) {
        if (other != GetParam().address) {
            EXPECT_NE(serial(GetParam().address), serial(other)) << "address " << other;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    DefaultBus, DefaultControllerTest,
    ::testing::Values(Identity{1, 1, 0xAA, 0x05, "480101"}, Identity{2, 4, 0x55, 0x07, "480211"},
                      Identity{3, 5, 0x55, 0x05, "480213"}, Identity{4, 7, 0x55, 0x06, "480203"},
                      Identity{5, 8, 0x55, 0x07, "480204"}),
    [](const auto& info) { return "Address" + std::to_string(info.param.address); });

TEST(ControllerEepromOverrides, ChecksumsFollowOverriddenBytesUnlessSetThemselves)
{
    BusSetup setup;
    ControllerSetup first = DefaultControllerSetup(ControllerKind::TurnTilt, 1, 1);
    first.eeprom = {{0x25, 7}, {0x45, 0x99}};
    ControllerSetup second = DefaultControllerSetup(ControllerKind::TurnTilt, 2, 2);
    second.eeprom = {{0x25, 7}, {0x30, 0x00}};
    setup.controllers = {first, second};
    PcOnSimulatedBus sim(setup);

    int page0 = 0;
    for (int a = 0x21; a <= 0x2F; ++a)
        page0 ^= sim.eepromByte(1, a).value_or(0);
    EXPECT_EQ(sim.eepromByte(1, 0x25), 7);
    EXPECT_EQ(sim.eepromByte(1, 0x30), page0);
    int page1 = 0;
    for (int a = 0x40; a <= 0x67; ++a)
        page1 ^= sim.eepromByte(1, a).value_or(0);
    EXPECT_EQ(sim.eepromByte(1, 0x7E), page1);
    EXPECT_EQ(sim.eepromByte(2, 0x30), 0x00) << "a checksum set by the config stays as set";
}

TEST(ControllerEepromWrites, WriteIsReadBackAndLeavesTheChecksumToThePc)
{
    PcOnSimulatedBus sim;
    const auto checksum = sim.eepromByte(1, 0x30);
    const int old = sim.eepromByte(1, 0x25).value_or(-1);
    ASSERT_EQ(sim.pc.WriteEepromByte(0x25, old + 4), 0);
    EXPECT_EQ(sim.eepromByte(1, 0x25), old + 4);
    EXPECT_EQ(sim.eepromByte(1, 0x30), checksum);
    ASSERT_EQ(sim.pc.WriteEepromByte(0x30, checksum.value_or(0) ^ old ^ (old + 4)), 0);
    int page0 = 0;
    for (int a = 0x21; a <= 0x2F; ++a)
        page0 ^= sim.eepromByte(1, a).value_or(0);
    EXPECT_EQ(sim.eepromByte(1, 0x30), page0);
}

TEST(GroupControlUnit, AnswersItsTelegramsAndEepromAtAddressZero)
{
    PcOnSimulatedBus sim;
    const auto telegram = [&](int mode, int field, int data) -> std::optional<int> {
        if (sim.pc.SendTelegram(mode, field, data) != 0)
            return std::nullopt;
        return data;
    };
    EXPECT_EQ(telegram(0x16, 0, 0), 0x01) << "status";
    EXPECT_EQ(telegram(0x14, 0, 0), 0x1002) << "version word";
    EXPECT_EQ(telegram(0x0E, 0, 0x0100), 0x0100);
    const auto byte = [&](int memory) { return telegram(0x08, MakeBusAddress(0, memory), 0); };
    EXPECT_EQ(byte(0x0F).value_or(0) << 8 | byte(0x0E).value_or(0), 0x0302) << "software";
    EXPECT_EQ(byte(0x0D).value_or(0) << 8 | byte(0x0C).value_or(0), 0x0101) << "hardware";
    EXPECT_EQ(MakeBusAddress(0, 0x100), 0x0001);
    EXPECT_EQ(byte(0x100), 3) << "drive pause";
    EXPECT_EQ(byte(0x2C), 5) << "windows detected";
    EXPECT_EQ(byte(0x0B), 0xAA);
    const uint32_t code = uint32_t(byte(0x18).value_or(0)) << 24 | byte(0x17).value_or(0) << 16 |
                          byte(0x16).value_or(0) << 8 | byte(0x15).value_or(0);
    EXPECT_EQ(ArticleText(code), QStringLiteral("480110"));

    EXPECT_EQ(telegram(0x09, MakeBusAddress(0, 0x100), 20), 20);
    EXPECT_EQ(byte(0x100), 20);
    EXPECT_EQ(telegram(0x76, 0, 1), std::nullopt) << "the unit has no controller telegrams";
}

} // namespace

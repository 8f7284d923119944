// The config file: the example of the README, the default bus, number forms and the messages
// for mistakes.
#include "PcOnSimulatedBus.h"
#include "buslink/ParameterTable.h"
#include "sim/BusConfigFile.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QByteArray readmeExample()
{
    QFile readme(QStringLiteral(FENESTRIX_SIM_README));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression block(QStringLiteral("```json\\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    return block.match(QString::fromUtf8(readme.readAll())).captured(1).toUtf8();
}

TEST(BusConfig, ReadmeExampleDescribesItsBus)
{
    QString error;
    const auto setup = ParseBusConfig(readmeExample(), &error);
    ASSERT_TRUE(setup) << error.toStdString();
    ASSERT_TRUE(setup->groupUnit);
    EXPECT_EQ(setup->groupUnit->software, 0x0310);
    EXPECT_EQ(setup->groupUnit->drivePauseS, 5);
    ASSERT_EQ(setup->controllers.size(), 3);
    const ControllerSetup& window = setup->controllers[0];
    const ControllerSetup& chain = setup->controllers[1];
    const ControllerSetup& vent = setup->controllers[2];
    EXPECT_EQ(window.faults.strayBytes, 1);
    EXPECT_EQ(chain.type, 4);
    EXPECT_TRUE(chain.longChain);
    EXPECT_EQ(ArticleText(chain.articleCode), QStringLiteral("480212"));
    EXPECT_EQ(chain.eeprom.value(0x25), 6);
    EXPECT_EQ(chain.eeprom.value(0xA1), 2);
    ASSERT_EQ(chain.eventSchedule.size(), 1);
    EXPECT_EQ(chain.eventSchedule[0].untilMs, 15000u);
    EXPECT_EQ(vent.address, 63);
    EXPECT_EQ(vent.software, 0x0701);
    EXPECT_EQ(vent.serial, 4711);
    EXPECT_EQ(vent.parameters.value(0x04), 640);
    EXPECT_EQ(vent.faults.delayMs, 60u);

    PcOnSimulatedBus sim(*setup);
    EXPECT_EQ(sim.parameter(2, ParEventBits), 0);
    sim.waitMs(6000);
    EXPECT_EQ(sim.parameter(2, ParEventBits), 0x0002);
    EXPECT_EQ(sim.parameter(63, ParSupplyVoltage), 640);
    EXPECT_EQ(sim.eepromByte(2, 0x1E).value_or(0) & 0xC0, 0xC0) << "long chain";
}

TEST(BusConfig, DefaultBusHasAGroupUnitAndFiveKindsOfController)
{
    const BusSetup bus = DefaultBusSetup();
    ASSERT_TRUE(bus.groupUnit);
    ASSERT_EQ(bus.controllers.size(), 5);
    const int types[] = {1, 4, 5, 7, 8};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(bus.controllers[i].address, i + 1);
        EXPECT_EQ(bus.controllers[i].type, types[i]);
    }
    EXPECT_EQ(bus.controllers[1].software >> 8, 7) << "chain drive with software 7.xx";
    const auto fromEmptyConfig = ParseBusConfig("{}", nullptr);
    ASSERT_TRUE(fromEmptyConfig);
    EXPECT_FALSE(fromEmptyConfig->groupUnit) << "a config describes the whole bus";
    EXPECT_TRUE(fromEmptyConfig->controllers.isEmpty());
}

TEST(BusConfig, NumbersInDecimalOrHexadecimal)
{
    for (const char* written : {"37", "\"37\"", "\"25h\"", "\"0x25\"", "\"25H\""}) {
        const QByteArray json =
            QByteArray(R"({"controllers": [{"address": 1, "eeprom": {"10h": )") + written + "}}]}";
        QString error;
        const auto setup = ParseBusConfig(json, &error);
        ASSERT_TRUE(setup) << written << ": " << error.toStdString();
        EXPECT_EQ(setup->controllers[0].eeprom.value(0x10), 37) << written;
    }
}

struct Mistake {
    const char* name;
    const char* json;
    const char* message;
};

class BusConfigMistakeTest : public ::testing::TestWithParam<Mistake> {};

TEST_P(BusConfigMistakeTest, IsRefusedWithItsPlace)
{
    QString error;
    EXPECT_FALSE(ParseBusConfig(GetParam().json, &error));
    EXPECT_EQ(error.toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, BusConfigMistakeTest,
    ::testing::Values(
        Mistake{"UnknownMember", R"({"controller": []})", "controller: unknown setting"},
        Mistake{"MissingAddress", R"({"controllers": [{"kind": "turnTilt"}]})",
                "controllers[0].address: missing"},
        Mistake{"AddressBetween30And3Fh", R"({"controllers": [{"address": 31}]})",
                "controllers[0].address: must be 1..30 or 3Fh"},
        Mistake{"AddressBeyond6Bits", R"({"controllers": [{"address": 64}]})",
                "controllers[0].address: must be 1..63"},
        Mistake{"UnknownKind", R"({"controllers": [{"address": 1, "kind": "door"}]})",
                "controllers[0].kind: must be one of turnTilt, chainDrive, smokeVent, "
                "slidingDrive, pafMaster"},
        Mistake{"WrongVariant", R"({"controllers": [{"address": 1, "variant": "12h"}]})",
                "controllers[0].variant: must be 55h or AAh"},
        Mistake{"TooManyStrayBytes",
                R"({"controllers": [{"address": 1, "faults": {"strayBytes": 4}}]})",
                "controllers[0].faults.strayBytes: must be 0..3"},
        Mistake{"BusFaultOnADevice",
                R"({"controllers": [{"address": 1, "faults": {"neverSilent": true}}]})",
                "controllers[0].faults.neverSilent: unknown setting"},
        Mistake{"UnknownArticle", R"({"controllers": [{"address": 1, "article": "999999"}]})",
                "controllers[0].article: unknown article number"},
        Mistake{"EepromAddressBeyondItsSize",
                R"({"controllers": [{"address": 1, "eeprom": {"100h": 1}}]})",
                "controllers[0].eeprom.100h: must be 0..255"},
        Mistake{"SoftwareNotAVersion", R"({"controllers": [{"address": 1, "software": "seven"}]})",
                "controllers[0].software: not a number"},
        Mistake{"DateNotIso", R"({"groupUnit": {"produced": "5.3.2014"}})",
                "groupUnit.produced: must be a date YYYY-MM-DD"},
        Mistake{
            "ScheduleEndsBeforeItStarts",
            R"({"controllers": [{"address": 1, "eventSchedule": [{"bit": 2, "fromMs": 9, "untilMs": 3}]}]})",
            "controllers[0].eventSchedule[0].untilMs: must be 9..4294967295"},
        Mistake{"NotAnObject", "[1, 2]", "the file must hold one JSON object"},
        Mistake{"NotJson", "{\"controllers\": [", "not JSON: unterminated array at offset 17"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

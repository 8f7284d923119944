// The config file: the example of the README, the default bus, number forms and the messages
// for mistakes.
#include "PcOnSimulatedBus.h"
#include "buslink/ParameterTable.h"
#include "sim/BusConfigFile.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The README's JSON examples in order: the single-request faults, then the whole config file.
enum class ReadmeExample { RequestFaults, ConfigFile };

QByteArray readmeExample(ReadmeExample which)
{
    QFile readme(QStringLiteral(FENESTRIX_SIM_README));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression block(QStringLiteral("```json\\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    auto blocks = block.globalMatch(QString::fromUtf8(readme.readAll()));
    for (int skip = int(which); skip > 0 && blocks.hasNext(); --skip)
        blocks.next();
    return blocks.hasNext() ? blocks.next().captured(1).toUtf8() : QByteArray();
}

TEST(BusConfig, ReadmeExampleDescribesItsBus)
{
    QString error;
    const auto setup = ParseBusConfig(readmeExample(ReadmeExample::ConfigFile), &error);
    ASSERT_TRUE(setup) << error.toStdString();
    ASSERT_TRUE(setup->groupUnit);
    EXPECT_EQ(setup->groupUnit->software, 0x0310);
    EXPECT_EQ(setup->groupUnit->drivePauseS, 5);
    ASSERT_EQ(setup->controllers.size(), 3);
    const ControllerSetup& window = setup->controllers[0];
    const ControllerSetup& chain = setup->controllers[1];
    const ControllerSetup& vent = setup->controllers[2];
    EXPECT_EQ(window.faults.strayBytes, 1);
    EXPECT_EQ(window.safetyEdge, EdgeCondition::Pressed);
    EXPECT_EQ(chain.type, 4);
    EXPECT_TRUE(chain.longChain);
    EXPECT_EQ(ArticleText(chain.articleCode), QStringLiteral("480212"));
    EXPECT_EQ(chain.eeprom.value(0x25), 6);
    EXPECT_EQ(chain.eeprom.value(0xA1), 2);
    EXPECT_EQ(chain.eventStrand, Strand::Right);
    ASSERT_EQ(chain.eventSchedule.size(), 2);
    EXPECT_EQ(chain.eventSchedule[0].untilMs, 15000u);
    EXPECT_EQ(chain.eventSchedule[0].everyMs, 0u) << "once";
    EXPECT_EQ(chain.eventSchedule[1].everyMs, 30000u);
    EXPECT_EQ(vent.supplyNoiseVolts, 0.0);
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
    EXPECT_EQ(sim.parameter(1, 13), 2) << "safety edge pressed";
    constexpr int kStrand = 55;
    for (const uint32_t atMs : {21000u, 51000u}) {
        sim.waitMs(atMs - sim.clock.tickMs());
        EXPECT_EQ(sim.parameter(2, ParEventBits), 0x0020) << "blocked, at " << atMs;
        EXPECT_EQ(sim.parameter(2, kStrand), 1) << "right strand, at " << atMs;
    }
    EXPECT_EQ(sim.eepromByte(2, 0x1E).value_or(0) & 0xC0, 0xC0) << "long chain";
}

TEST(BusConfig, ReadmeRequestFaultExampleFailsItsRequests)
{
    QString error;
    const auto setup = ParseBusConfig(readmeExample(ReadmeExample::RequestFaults), &error);
    ASSERT_TRUE(setup) << error.toStdString();
    ASSERT_EQ(setup->requestFaults.size(), 3);
    const ReplyFaultRule& nth = setup->requestFaults[0];
    const ReplyFaultRule& typeRead = setup->requestFaults[1];
    const ReplyFaultRule& stray = setup->requestFaults[2];
    EXPECT_EQ(nth.match.nth, 7u);
    EXPECT_FALSE(nth.match.window);
    EXPECT_EQ(nth.fault, RequestFault::silence());
    EXPECT_EQ(typeRead.match.mode, 0x08);
    EXPECT_EQ(typeRead.match.window, 2);
    EXPECT_EQ(typeRead.match.memory, 0x2D);
    EXPECT_EQ(typeRead.fault, RequestFault::shortReply(4));
    EXPECT_EQ(typeRead.times, 2);
    EXPECT_EQ(stray.fault, RequestFault::strayBytes(1));
    EXPECT_FALSE(stray.times) << "always";
    ASSERT_EQ(setup->lostEepromWrites.size(), 1);
    EXPECT_EQ(setup->lostEepromWrites[0].match.memory, 0x34);
    EXPECT_EQ(setup->lostEepromWrites[0].times, 1);

    // Each read that fails is tried once more; the comments give the numbers of the requests.
    PcOnSimulatedBus sim(*setup);
    EXPECT_EQ(sim.eepromByte(2, 0x2D), std::nullopt) << "1, 2: short replies";
    EXPECT_EQ(sim.eepromByte(2, 0x2D), 4) << "3";
    EXPECT_EQ(sim.eepromByte(3, 0x2D), 5) << "4: one stray byte is skipped";
    EXPECT_EQ(sim.send(1, 0x09, 0x34, 9), 0) << "5: the write is answered";
    EXPECT_EQ(sim.eepromByte(1, 0x34), 1) << "6: but it was lost";
    EXPECT_EQ(sim.eepromByte(1, 0x34), 1) << "7: silence, 8: answered";
    EXPECT_EQ(sim.bus.requestsReceived(), 8u);
    EXPECT_EQ(sim.send(1, 0x09, 0x34, 9), 0);
    EXPECT_EQ(sim.eepromByte(1, 0x34), 9) << "only the first write is lost";
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
        Mistake{"AddressBeyondEveryInteger", R"({"controllers": [{"address": 1e19}]})",
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
        Mistake{
            "RepeatNotLongerThanTheEvent",
            R"({"controllers": [{"address": 1, "eventSchedule": [{"bit": 2, "fromMs": 0, "untilMs": 500, "everyMs": 500}]}]})",
            "controllers[0].eventSchedule[0].everyMs: must be 501..4294967295"},
        Mistake{"UnknownSafetyEdge", R"({"controllers": [{"address": 1, "safetyEdge": "broken"}]})",
                "controllers[0].safetyEdge: must be one of none, ok, pressed, interrupted, "
                "shortCircuit"},
        Mistake{"StrandInTheMiddle", R"({"controllers": [{"address": 1, "eventStrand": "both"}]})",
                "controllers[0].eventStrand: must be one of left, right"},
        Mistake{"NoiseBeyondFiveVolts",
                R"({"controllers": [{"address": 1, "supplyNoiseVolts": 6}]})",
                "controllers[0].supplyNoiseVolts: must be a number of volts 0..5"},
        Mistake{"RequestFaultsNotAList", R"({"requestFaults": {"nth": 1}})",
                "requestFaults: must be a list"},
        Mistake{"RequestFaultWithoutFault", R"({"requestFaults": [{"window": 1}]})",
                "requestFaults[0].fault: missing"},
        Mistake{"UnknownRequestFault", R"({"requestFaults": [{"fault": "noise"}]})",
                "requestFaults[0].fault: must be one of silence, wrongChecksum, shortReply, "
                "strayBytes"},
        Mistake{"ShortReplyWithoutBytes", R"({"requestFaults": [{"fault": "shortReply"}]})",
                "requestFaults[0].bytes: missing"},
        Mistake{"BytesOfASilence", R"({"requestFaults": [{"fault": "silence", "bytes": 2}]})",
                "requestFaults[0].bytes: only for shortReply and strayBytes"},
        Mistake{"FourStrayBytesOfARequest",
                R"({"requestFaults": [{"fault": "strayBytes", "bytes": 4}]})",
                "requestFaults[0].bytes: must be 1..3"},
        Mistake{"WindowBeyond6Bits", R"({"requestFaults": [{"window": 64, "fault": "silence"}]})",
                "requestFaults[0].window: must be 0..63"},
        Mistake{"NthFromOne", R"({"requestFaults": [{"nth": 0, "fault": "silence"}]})",
                "requestFaults[0].nth: must be 1..4294967295"},
        Mistake{"NoTimes", R"({"lostEepromWrites": [{"window": 1, "times": 0}]})",
                "lostEepromWrites[0].times: must be 1..65535"},
        Mistake{"TimesNotACount", R"({"lostEepromWrites": [{"times": "often"}]})",
                "lostEepromWrites[0].times: must be a count or \"always\""},
        Mistake{"ModeOfALostWrite", R"({"lostEepromWrites": [{"mode": "09h"}]})",
                "lostEepromWrites[0].mode: unknown setting"},
        Mistake{"NotAnObject", "[1, 2]", "the file must hold one JSON object"},
        Mistake{"NotJson", "{\"controllers\": [", "not JSON: unterminated array at offset 17"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

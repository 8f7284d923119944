// Single-request faults: which requests a rule hits, how often, what reaches the PC, and EEPROM
// writes that are answered but not stored.
#include "PcOnSimulatedBus.h"
#include "buslink/ParameterTable.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kEepromRead = 0x08;
constexpr uint8_t kEepromWrite = 0x09;
constexpr uint8_t kParameter = 0x15;

// The default bus, talked to telegram by telegram at the bus's own end.
class BusEnd {
public:
    QByteArray reply(uint8_t mode, int window, int memory, uint16_t data = 0)
    {
        m_nowUs += 20'000;
        const BusTelegram request = EncodeBusTelegram(mode, MakeBusAddress(window, memory), data);
        return bus.handle(request, m_nowUs).bytes;
    }
    // The reply a request gets on a bus without faults.
    static QByteArray cleanReply(uint8_t mode, int window, int memory, uint16_t data = 0)
    {
        return BusEnd().reply(mode, window, memory, data);
    }

    SimulatedBus bus{DefaultBusSetup()};

private:
    uint64_t m_nowUs = 0;
};

struct FaultKindCase {
    const char* name;
    RequestFault fault;
    // Whether `got` is the clean reply `clean` with the fault.
    bool (*garbled)(const QByteArray& clean, const QByteArray& got);
};

class RequestFaultKindTest : public ::testing::TestWithParam<FaultKindCase> {};

TEST_P(RequestFaultKindTest, GarblesOnlyTheMatchingRequestAndOnlyOnce)
{
    BusEnd end;
    end.bus.failRequests(RequestMatch{.mode = kEepromRead, .window = 2, .memory = 0x2D},
                         GetParam().fault, 1);
    const QByteArray clean = BusEnd::cleanReply(kEepromRead, 2, 0x2D);
    ASSERT_EQ(clean.size(), 6);

    EXPECT_EQ(end.reply(kEepromRead, 1, 0x2D), BusEnd::cleanReply(kEepromRead, 1, 0x2D))
        << "other window";
    EXPECT_EQ(end.reply(kEepromRead, 2, 0x2C), BusEnd::cleanReply(kEepromRead, 2, 0x2C))
        << "other memory address";
    EXPECT_EQ(end.reply(kParameter, 2, 0x2D), BusEnd::cleanReply(kParameter, 2, 0x2D))
        << "other mode";
    const QByteArray got = end.reply(kEepromRead, 2, 0x2D);
    EXPECT_TRUE(GetParam().garbled(clean, got)) << got.toHex().constData();
    EXPECT_EQ(end.reply(kEepromRead, 2, 0x2D), clean) << "used up";
}

bool isChecksumOf(const QByteArray& bytes)
{
    char sum = 0;
    for (int i = 0; i < 5; ++i)
        sum = static_cast<char>(sum ^ bytes[i]);
    return bytes[5] == sum;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RequestFaultKindTest,
    ::testing::Values(FaultKindCase{"Silence", RequestFault::silence(),
                                    [](const QByteArray&, const QByteArray& got) {
                                        return got.isEmpty();
                                    }},
                      FaultKindCase{"WrongChecksum", RequestFault::wrongChecksum(),
                                    [](const QByteArray& clean, const QByteArray& got) {
                                        return got.size() == 6 && got.left(5) == clean.left(5) &&
                                               !isChecksumOf(got);
                                    }},
                      FaultKindCase{"ShortReply", RequestFault::shortReply(4),
                                    [](const QByteArray& clean, const QByteArray& got) {
                                        return got == clean.left(4);
                                    }},
                      FaultKindCase{"StrayBytes", RequestFault::strayBytes(2),
                                    [](const QByteArray& clean, const QByteArray& got) {
                                        return got.size() == 8 && got.mid(2) == clean &&
                                               !got.left(2).contains(clean[0]);
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

struct CountCase {
    const char* name;
    std::optional<int> times;
    int hits; // of six matching requests
};

class RequestFaultCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(RequestFaultCountTest, HitsAsManyMatchingRequestsAsItsCount)
{
    BusEnd end;
    end.bus.failRequests(RequestMatch{.window = 3}, RequestFault::silence(), GetParam().times);
    int hits = 0;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(end.reply(kEepromRead, 1, i).size(), 6) << "not selected";
        hits += end.reply(kEepromRead, 3, i).isEmpty() ? 1 : 0;
    }
    EXPECT_EQ(hits, GetParam().hits);
}

INSTANTIATE_TEST_SUITE_P(Counts, RequestFaultCountTest,
                         ::testing::Values(CountCase{"Once", 1, 1}, CountCase{"ThreeTimes", 3, 3},
                                           CountCase{"Always", std::nullopt, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RequestFaultRules, NthRequestCountsEveryTelegramTheBusReceives)
{
    BusEnd end;
    end.bus.failRequests(RequestMatch{.nth = 4}, RequestFault::silence());
    EXPECT_EQ(end.reply(0x4F, 0, 0, 1).size(), 6);       // 1: keep-alive
    EXPECT_TRUE(end.reply(kEepromRead, 9, 0).isEmpty()); // 2: nobody at window 9
    EXPECT_EQ(end.reply(kEepromRead, 1, 0).size(), 6);   // 3
    EXPECT_TRUE(end.reply(kEepromRead, 1, 0).isEmpty()); // 4
    EXPECT_EQ(end.reply(kEepromRead, 1, 0).size(), 6);   // 5
    EXPECT_EQ(end.bus.requestsReceived(), 5u);

    end.bus.failRequests(RequestMatch{.nth = end.bus.requestsReceived() + 2},
                         RequestFault::wrongChecksum());
    EXPECT_EQ(end.reply(kEepromRead, 1, 0), BusEnd::cleanReply(kEepromRead, 1, 0));
    EXPECT_NE(end.reply(kEepromRead, 1, 0), BusEnd::cleanReply(kEepromRead, 1, 0));
}

TEST(RequestFaultRules, OfTwoMatchingRulesTheFirstHitsAndTheSecondKeepsItsCount)
{
    BusEnd end;
    end.bus.failRequests(RequestMatch{.window = 2}, RequestFault::silence(), 1);
    end.bus.failRequests(RequestMatch{.window = 2, .memory = 0}, RequestFault::shortReply(2), 1);
    EXPECT_TRUE(end.reply(kEepromRead, 2, 0).isEmpty());
    EXPECT_EQ(end.reply(kEepromRead, 2, 0).size(), 2);
    EXPECT_EQ(end.reply(kEepromRead, 2, 0).size(), 6);
}

TEST(RequestFaultRules, ThePcRetriesPastOneSilentRequestButNotPastTwo)
{
    for (const int times : {1, 2}) {
        PcOnSimulatedBus sim;
        sim.bus.failRequests(RequestMatch{.mode = 0x41, .window = 1}, RequestFault::silence(),
                             times);
        EXPECT_EQ(sim.send(1, 0x41, 0, 0), times == 1 ? 0 : CZuzev::ErrNoReply) << times;
        sim.waitMs(1000);
        EXPECT_EQ(sim.parameter(1, ParState), 3) << "the controller is opening all the same";
    }
}

struct LostWriteCase {
    const char* name;
    int window;
    int memory;
    uint8_t mode;
};

class LostWriteTest : public ::testing::TestWithParam<LostWriteCase> {};

TEST_P(LostWriteTest, IsAnsweredButNotStoredAndOnlyOnce)
{
    const auto& [name, window, memory, mode] = GetParam();
    BusEnd end;
    end.bus.loseEepromWrites(RequestMatch{.window = window, .memory = memory}, 1);
    const QByteArray before = end.reply(kEepromRead, window, memory);
    ASSERT_NE(uint8_t(before[3]), 0x5A);
    EXPECT_EQ(end.reply(mode, window, memory, 0x5A),
              BusEnd::cleanReply(mode, window, memory, 0x5A));
    EXPECT_EQ(end.reply(kEepromRead, window, memory), before) << "lost";

    EXPECT_EQ(end.reply(kEepromWrite, window, memory + 1, 0x33).size(), 6);
    EXPECT_EQ(uint8_t(end.reply(kEepromRead, window, memory + 1)[3]), 0x33) << "other address";
    EXPECT_EQ(end.reply(mode, window, memory, 0x5A).size(), 6);
    EXPECT_EQ(uint8_t(end.reply(kEepromRead, window, memory)[3]), 0x5A) << "used up";
}

INSTANTIATE_TEST_SUITE_P(Writes, LostWriteTest,
                         ::testing::Values(LostWriteCase{"ByteOfController", 2, 0x25, 0x09},
                                           LostWriteCase{"WordOfController", 2, 0x25, 0x07},
                                           LostWriteCase{"ByteOfGroupUnit", 0, 0x100, 0x09}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LostWrites, OnlyWritesToTheMatchingAddressAreCounted)
{
    BusEnd end;
    end.bus.loseEepromWrites(RequestMatch{.memory = 0x25}, 1);
    (void)end.reply(kEepromRead, 2, 0x25);
    EXPECT_EQ(end.reply(kEepromWrite, 1, 0x24, 0x11).size(), 6);
    EXPECT_EQ(uint8_t(end.reply(kEepromRead, 1, 0x24)[3]), 0x11);
    EXPECT_EQ(end.reply(kEepromWrite, 1, 0x25, 0x11).size(), 6);
    EXPECT_NE(uint8_t(end.reply(kEepromRead, 1, 0x25)[3]), 0x11) << "the first write is lost";
}

TEST(LostWrites, WithASilentReplyTheWholeRequestIsLost)
{
    PcOnSimulatedBus sim;
    const RequestMatch write{.mode = kEepromWrite, .window = 1, .memory = 0x37};
    sim.bus.failRequests(write, RequestFault::silence());
    sim.bus.loseEepromWrites(write);
    const int before = sim.eepromByte(1, 0x37).value_or(-1);
    sim.pc.SetWindowAddress(1);
    EXPECT_NE(sim.pc.WriteEepromByte(0x37, before ^ 1), 0);
    EXPECT_EQ(sim.eepromByte(1, 0x37), before);
}

} // namespace

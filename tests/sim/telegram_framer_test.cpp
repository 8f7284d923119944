// Framing of the PC's byte stream into requests: pauses, stray bytes and broken telegrams.
#include "sim/TelegramFramer.h"

#include <QList>

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kGapUs = 5000;
constexpr uint32_t kByteUs = 520;

struct TimedBytes {
    QByteArray bytes;
    uint64_t startUs;
};

struct FramingCase {
    const char* name;
    QList<TimedBytes> input; // each run of bytes follows the previous ones at byte pace
    int telegrams;           // complete requests found
    QByteArray dropped;      // bytes given up, in order
};

const QByteArray kRequest = QByteArray::fromHex("7604000100"
                                                "73");

class FramingTest : public ::testing::TestWithParam<FramingCase> {};

TEST_P(FramingTest, FindsTheRequestsAndDropsTheRest)
{
    TelegramFramer framer(kGapUs);
    int telegrams = 0;
    QByteArray dropped;
    for (const TimedBytes& run : GetParam().input) {
        uint64_t at = run.startUs;
        for (const char c : run.bytes) {
            const auto result = framer.push(static_cast<uint8_t>(c), at);
            dropped += result.dropped;
            if (result.telegram) {
                ++telegrams;
                EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(result.telegram->data()), 6),
                          kRequest);
            }
            at += kByteUs;
        }
    }
    EXPECT_EQ(telegrams, GetParam().telegrams);
    EXPECT_EQ(dropped.toHex(), GetParam().dropped.toHex());
}

INSTANTIATE_TEST_SUITE_P(
    Streams, FramingTest,
    ::testing::Values(FramingCase{"OneRequest", {{kRequest, 0}}, 1, {}},
                      FramingCase{"TwoRequestsBackToBack", {{kRequest + kRequest, 0}}, 2, {}},
                      FramingCase{
                          "SwitchByteThenPause", {{"\x13", 0}, {kRequest, 100'000}}, 1, "\x13"},
                      FramingCase{"SwitchByteWithoutPause", {{"\x13" + kRequest, 0}}, 1, "\x13"},
                      FramingCase{"BrokenTelegramThenPause",
                                  {{kRequest.left(4), 0}, {kRequest, 20'000}},
                                  1,
                                  kRequest.left(4)},
                      FramingCase{"PauseInsideTheTelegram",
                                  {{kRequest.left(3), 0}, {kRequest.mid(3), 10'000}},
                                  0,
                                  kRequest.left(3)},
                      FramingCase{"ShortPauseInsideTheTelegram",
                                  {{kRequest.left(3), 0}, {kRequest.mid(3), 3 * kByteUs + 2000}},
                                  1,
                                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

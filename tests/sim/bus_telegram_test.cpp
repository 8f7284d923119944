// The simulator's own telegram code against telegrams written out byte by byte: the fields low
// byte first, the XOR checksum, and the window and memory address packed in the address field.
#include "sim/BusTelegram.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

struct TelegramCase {
    const char* name;
    const char* bytes; // in hexadecimal
    uint8_t mode;
    int window;
    int memory;
    uint16_t data;
};

class BusTelegramTest : public ::testing::TestWithParam<TelegramCase> {};

TEST_P(BusTelegramTest, EncodesAndDecodesTheSameBytes)
{
    const TelegramCase& c = GetParam();
    const QByteArray bytes = QByteArray::fromHex(c.bytes);
    BusTelegram telegram{};
    std::copy(bytes.cbegin(), bytes.cend(), telegram.begin());

    const BusRequest request = DecodeRequest(telegram);
    EXPECT_EQ(request.mode, c.mode);
    EXPECT_EQ(request.window, c.window);
    EXPECT_EQ(request.memory, c.memory);
    EXPECT_EQ(request.data, c.data);
    EXPECT_EQ(request.addressField, telegram[1] | telegram[2] << 8);
    EXPECT_EQ(EncodeBusTelegram(c.mode, request.addressField, c.data), telegram);
    EXPECT_EQ(BusChecksum(telegram), telegram[5]);
}

INSTANTIATE_TEST_SUITE_P(
    Telegrams, BusTelegramTest,
    ::testing::Values(TelegramCase{"ParameterRead", "153412CDAB55", 0x15, 13, 0x12, 0xABCD},
                      TelegramCase{"EepromReadOfWindow2", "08082D00002D", 0x08, 2, 0x2D, 0},
                      TelegramCase{"GroupUnitByte100h", "09010003000B", 0x09, 0, 0x100, 3},
                      TelegramCase{"HighestWindowAndMemory", "76FFFF010077", 0x76, 63, 0x3FF, 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

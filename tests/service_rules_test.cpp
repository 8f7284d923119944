// Hex display, value parse, typing filter and history of the number inputs.
#include "service/core/Tools01.h"

#include <gtest/gtest.h>

namespace {

TEST(HexRules, DisplayForms)
{
    EXPECT_EQ(HexText(10, 2), QStringLiteral("0Ah"));
    EXPECT_EQ(HexText(255, 4), QStringLiteral("00FFh"));
    EXPECT_EQ(HexText(0x1234, 2), QStringLiteral("1234h"));
    EXPECT_EQ(ShortHexText(10), QStringLiteral("Ah"));
    EXPECT_EQ(AddressText(30), QStringLiteral("30"));
    EXPECT_EQ(AddressText(63), QStringLiteral("3Fh"));
}

TEST(HexRules, ValueParse)
{
    struct Case {
        const char* text;
        int value;
    };
    for (const Case c :
         {Case{"", 0}, Case{"26", 26}, Case{"1Eh", 30}, Case{"3Fh", 63}, Case{"0Ah", 10},
          Case{"h", -1}, Case{"abc", -1}, Case{"12x", -1}, Case{"ZZh", -1}}) {
        EXPECT_EQ(ParseValue(QString::fromLatin1(c.text)), c.value) << c.text;
    }
}

TEST(HexRules, TypingFilter)
{
    struct Case {
        const char* typed;
        int caret;
        const char* text;
        int caretAfter;
    };
    const Case cases[] = {
        {"1a", 2, "1Ah", 2}, {"1E", 2, "1Eh", 2}, {"12h5", 4, "12h", 3}, {"x7", 2, "7", 1},
        {"h", 1, "", 0},     {"ab", 2, "ABh", 2}, {"1Ah", 3, "1Ah", 3},  {"1AhA", 4, "1Ah", 3},
        {"2-5", 3, "25", 2}, {"", 0, "", 0},
    };
    for (const Case& c : cases) {
        const FilteredText f = FilterHexTyping(QString::fromLatin1(c.typed), c.caret);
        EXPECT_EQ(f.text, QString::fromLatin1(c.text)) << c.typed;
        EXPECT_EQ(f.caret, c.caretAfter) << c.typed;
    }
}

TEST(HexRules, HistoryAddsEachFormOnce)
{
    QStringList history;
    AddToHistory(history, 26, 4);
    AddToHistory(history, 26, 4);
    AddToHistory(history, 5, 2);
    EXPECT_EQ(history, (QStringList{QStringLiteral("001Ah"), QStringLiteral("05h")}));
}

} // namespace

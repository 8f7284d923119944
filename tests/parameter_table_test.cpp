// Parameter names across a language change, display texts and the article table.
#include "RecordingSerial.h"
#include "buslink/ParameterTable.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct LanguageGuard {
    ~LanguageGuard() { SetCurrentLanguage(German); }
};

TEST(ParameterTable, NamesFollowTheLanguageAndFixedNamesStay)
{
    LanguageGuard guard;
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {}};
    TFensterSteuerung bus{clock, ports, QStringLiteral("/nonexistent/Fenestrix.ini")};
    TStrgItem item;
    bus.GetParameterInfo(4, item);
    EXPECT_EQ(item.name, QStringLiteral("Fehler-Array"));
    bus.GetParameterInfo(10, item);
    EXPECT_EQ(item.name.size(), 41);
    EXPECT_TRUE(item.name.startsWith(QStringLiteral("Low Vcc (low Byte) ")));

    QList<QString> fixedBefore;
    for (int i : {10, 11, 43, 47, 55}) {
        bus.GetParameterInfo(i, item);
        fixedBefore << item.name;
    }
    SetCurrentLanguage(English);
    bus.RenameParameters();
    bus.GetParameterInfo(4, item);
    EXPECT_EQ(item.name, LanguageText(74) + QStringLiteral("-Array"));
    EXPECT_NE(item.name, QStringLiteral("Fehler-Array"));
    bus.GetParameterInfo(30, item);
    EXPECT_EQ(item.name, QStringLiteral("SW-") + LanguageText(254));
    bus.GetParameterInfo(7, item);
    EXPECT_EQ(item.name, LanguageText(211) + QStringLiteral(" L"));
    QList<QString> fixedAfter;
    for (int i : {10, 11, 43, 47, 55}) {
        bus.GetParameterInfo(i, item);
        fixedAfter << item.name;
    }
    EXPECT_EQ(fixedAfter, fixedBefore);
}

TEST(ParameterTable, InitialValuesAndCyclicSet)
{
    int cyclic = 0;
    for (int i = 0; i < kParameterCount; ++i) {
        const TStrgItem item = InitialParameter(i);
        cyclic += item.cyclic;
        EXPECT_EQ(item.value, i == 13 ? 1 : 0) << i;
    }
    EXPECT_EQ(cyclic, 21);
}

TEST(ParameterTable, DisplayTexts)
{
    struct Case {
        int index;
        uint16_t value;
        const char* text;
    };
    for (const Case c : {Case{9, 0, "0.0V"}, Case{9, 1000, "37.4V"}, Case{9, 267, "10.0V"},
                         Case{30, 0x0A05, "A.05"}, Case{30, 0x0512, "5.12"},
                         Case{30, 0x0703, "7.03"}, Case{0, 65535, "65535"}, Case{4, 7, "7"}}) {
        EXPECT_EQ(ParameterValueText(c.index, c.value), QString::fromLatin1(c.text)) << c.index;
    }
}

TEST(ArticleTable, CodesMapToArticleNumbers)
{
    EXPECT_EQ(ArticleText(0), QStringLiteral("Error"));
    EXPECT_EQ(ArticleText(0x12345678), QStringLiteral("Error"));
    EXPECT_EQ(ArticleText(0x20510547), QStringLiteral("480202"));
    EXPECT_EQ(ArticleText(0x20510548), QStringLiteral("480202"));
    EXPECT_EQ(ArticleText(0x07310040), QStringLiteral("480110"));
    EXPECT_EQ(ArticleCode(QStringLiteral("480201")), 0x20520621u);
    EXPECT_EQ(ArticleCode(QStringLiteral("nope")), 0u);
}

} // namespace

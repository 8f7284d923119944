// The slow values of the controller window, the version watch, and the option lists of the
// opening-width and PWM boxes.
#include "ViewProbe.h"
#include "controller/core/OptionLists.h"
#include "controller/core/SlowValues.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct SlowValuesTest : ::testing::Test {
    void SetUp() override { SetCurrentLanguage(German); }
};

QStringList widthTexts(const QList<int>& widths)
{
    QStringList texts;
    for (int width : widths)
        texts.append(QString::number(width));
    return texts;
}

TEST_F(SlowValuesTest, VersionMismatchesCountOverTheRunAndTriggerOnTheThird)
{
    ControllerState state;
    state.softwareVersion = 0x0700;
    const std::pair<int, bool> steps[] = {
        {0x0700, false}, {0x0701, false}, {0x0700, false}, {0x0701, false},
        {0x0702, true},  {0x0701, false}, {0x0701, false}, {0x0701, true},
    };
    for (const auto& [version, reconnect] : steps)
        EXPECT_EQ(CountVersionMismatch(state, version), reconnect) << version;
    EXPECT_EQ(state.versionMismatches, 0);
}

TEST_F(SlowValuesTest, OpeningWidthSelectionAndBarMaximum)
{
    const QStringList paf = widthTexts(OpeningWidths(8, 0x0500, false, false));
    const QStringList standard = widthTexts(OpeningWidths(1, 0x0500, false, false));
    const QStringList none;
    struct Case {
        int stored;
        const QStringList& entries;
        int version;
        OpeningWidthSelection expected;
    };
    const Case cases[] = {
        {5, paf, 0x0500, {4, 110, false}},         {0, paf, 0x0500, {-1, 0, false}},
        {200, standard, 0x0500, {20, 158, false}}, {1, standard, 0x0110, {0, 19, true}},
        {3, none, 0x0500, {-1, 0, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectOpeningWidth(c.stored, c.entries, c.version), c.expected) << c.stored;
}

TEST_F(SlowValuesTest, PwmLevelsAreLimitedByDriveAndIgnoredWithVariantAA)
{
    struct Case {
        int type;
        bool longChain;
        int stored;
        int index;
    };
    const Case cases[] = {
        {5, false, 8, 5}, {6, false, 7, 5}, {5, false, 6, 6},   {3, true, 7, 5},
        {3, false, 8, 8}, {3, false, 9, 7}, {1, false, 200, 7},
    };
    for (const Case& c : cases) {
        ControllerState state;
        state.controllerType = c.type;
        state.longChain = c.longChain;
        state.variantByte = 0x55;
        SlowReadings readings;
        readings.pwmClosing = c.stored;
        readings.pwmOpening = 0;
        const SlowValuesDisplay display = DecodeSlowValues(state, readings);
        EXPECT_EQ(display.pwmClosingIndex, c.index) << c.type << " " << c.stored;
        EXPECT_EQ(display.pwmOpeningIndex, 0);
        state.variantByte = 0xAA;
        EXPECT_FALSE(DecodeSlowValues(state, readings).pwmClosingIndex);
    }
}

TEST_F(SlowValuesTest, LimitsAndCounters)
{
    ControllerState state;
    SlowReadings readings;
    readings.undervoltageLimit = WordFromBytes(0xBC, 0x02);
    readings.lockingThreshold = WordFromBytes(0x2C, 0x01);
    readings.tiltCycles = WordFromBytes(0xFF, 0xFF);
    readings.unlockLock = 12;
    const ControllerView view = DecodeSlowValues(state, readings).view;
    EXPECT_EQ(ChangeOf(view, "lblVccGrenze").text, QStringLiteral("26.2 Volt"));
    EXPECT_EQ(ChangeOf(view, "lblVccGrenze").hint, QStringLiteral("700"));
    EXPECT_EQ(ChangeOf(view, "lblFluegelGrenze").text, QStringLiteral("300"));
    EXPECT_EQ(state.automaticLockingThreshold, 300);
    EXPECT_EQ(ChangeOf(view, "lblZyklKipp").text, QStringLiteral("65535"));
    EXPECT_FALSE(ChangeOf(view, "lblZyklDreh").text);
    EXPECT_EQ(ChangeOf(view, "lblEntriegel").text, QStringLiteral("12"));
    EXPECT_FALSE(WordFromBytes({}, 1));

    // A threshold word above 7FFFh is negative.
    readings = SlowReadings();
    readings.lockingThreshold = 0xFFF6;
    EXPECT_EQ(ChangeOf(DecodeSlowValues(state, readings).view, "lblFluegelGrenze").text,
              QStringLiteral("-10"));
    EXPECT_EQ(state.automaticLockingThreshold, -10);
}

TEST_F(SlowValuesTest, OnOffAndLedSettings)
{
    struct Case {
        int value;
        int handle;
        const char* locking;
        std::optional<bool> lockingButton;
        const char* led;
    };
    const Case cases[] = {
        {0, 0, "deaktiviert", {}, "aus"},
        {1, 2, "aktiviert", false, "ein"},
        {2, 1, "aktiviert", true, "gedimmt"},
        {7, 0, "aktiviert", true, "ein"},
    };
    for (const Case& c : cases) {
        ControllerState state;
        state.handlePosition = c.handle;
        SlowReadings readings;
        readings.automaticLocking = c.value;
        readings.tiltLock = c.value;
        readings.handleLed = c.value;
        const ControllerView view = DecodeSlowValues(state, readings).view;
        EXPECT_EQ(ChangeOf(view, "lblAutoRiegel").text, QString::fromUtf8(c.locking)) << c.value;
        EXPECT_EQ(ChangeOf(view, "lblKippsperre").text, QString::fromUtf8(c.locking));
        EXPECT_EQ(ChangeOf(view, "bnAutoVerriegeln").enabled, c.lockingButton) << c.value;
        EXPECT_EQ(ChangeOf(view, "lblLED").text, QString::fromUtf8(c.led)) << c.value;
    }
}

TEST_F(SlowValuesTest, OpeningWidthListsByTypeVersionChainAndMaximumWidth)
{
    struct Case {
        int type;
        int version;
        int chainBits;
        int maximumWidth;
        qsizetype count;
        int first;
        int last;
        bool longChain;
        bool heavyWindow;
    };
    const Case cases[] = {
        {1, 0x0512, 0x80, 1, 21, 29, 168, false, false},
        {5, 0x0612, 0x00, 1, 21, 40, 307, false, false},
        {5, 0x0700, 0x00, 0, 17, 30, 500, false, false},
        {6, 0x0700, 0x00, 1, 27, 30, 1000, false, false},
        {8, 0x0700, 0x80, 1, 10, 40, 180, false, true},
        {3, 0x0612, 0xC0, 1, 28, 76, 605, true, false},
        {4, 0x0700, 0x80, 0, 19, 30, 600, true, false},
        {4, 0x0700, 0x80, 1, 27, 30, 1000, true, false},
        {3, 0x0612, 0x40, 0, 24, 29, 189, false, false},
        {4, 0x0612, 0x00, 0, 28, 29, 217, false, false},
        {3, 0x0700, 0x00, 1, 8, 30, 170, false, false},
        {4, 0x0701, 0x00, 0, 10, 30, 210, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " version " << c.version);
        ControllerState state;
        state.controllerType = c.type;
        state.softwareVersion = c.version;
        state.longChain = true;
        state.heavyWindow = true;
        const SettingOptions options = LoadSettingOptions(state, c.chainBits, c.maximumWidth, {});
        ASSERT_EQ(options.openingWidths.size(), c.count);
        EXPECT_EQ(options.openingWidths.first(), QString::number(c.first));
        EXPECT_EQ(options.openingWidths.last(), QString::number(c.last));
        EXPECT_TRUE(options.openingWidthEnabled);
        EXPECT_EQ(state.longChain, c.longChain);
        EXPECT_EQ(state.heavyWindow, c.heavyWindow);
    }
    EXPECT_EQ(OpeningWidths(1, 0, false, false),
              (QList<int>{29,  36,  43,  50,  57,  64,  71,  78,  85,  92, 99,
                          106, 112, 119, 126, 133, 140, 147, 154, 161, 168}));
    EXPECT_EQ(OpeningWidths(4, 0x0700, true, true),
              (QList<int>{30,  50,  70,  90,  110, 130, 150, 170, 190, 210, 230, 250, 300, 350,
                          400, 450, 500, 550, 600, 650, 700, 750, 800, 850, 900, 950, 1000}));
}

TEST_F(SlowValuesTest, SlidingDriveHasNoOpeningWidthsAndPwmBoxesFollowTheVersion)
{
    struct Case {
        int type;
        std::optional<int> version;
        bool pwm;
    };
    const Case cases[] = {
        {1, 0x0512, false}, {1, {}, false}, {3, 0x0312, false},
        {3, 0x0400, true},  {9, {}, true},  {7, 0x0312, true},
    };
    for (const Case& c : cases) {
        ControllerState state;
        state.controllerType = c.type;
        const SettingOptions options = LoadSettingOptions(state, 0, 0, c.version);
        EXPECT_EQ(options.pwmEnabled, c.pwm) << c.type << " " << c.version.value_or(-1);
        ASSERT_EQ(options.pwmLevels.size(), 9);
    }
    ControllerState sliding;
    sliding.controllerType = 7;
    const SettingOptions options = LoadSettingOptions(sliding, 0, 1, 0x0700);
    EXPECT_TRUE(options.openingWidths.isEmpty());
    EXPECT_FALSE(options.openingWidthEnabled);
    EXPECT_EQ(options.pwmLevels.first(), QStringLiteral("28V"));
    EXPECT_EQ(options.pwmLevels[5], QStringLiteral("23V"));
    EXPECT_EQ(options.pwmLevels.last(), QStringLiteral("20V"));
}

} // namespace

// The setting edits of the controller window against the simulated default bus on the virtual
// clock: the telegrams of each edit, the questions and their answers, the restore after "No",
// the automatic locking with its page-0 checksum, and the position-bar scales.
#include "buslink/Protocol.h"
#include "controller/core/SettingEdits.h"
#include "controller/core/WindowPicture.h"
#include "sim/BusSetup.h"
#include "tests/controller/ActionHarness.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

int page0Xor(const SimulatedController& controller)
{
    int checksum = 0;
    for (int address = Protocol::kPage0First; address <= Protocol::kPage0Last; ++address)
        checksum ^= controller.eepromByte(address);
    return checksum;
}

struct SettingEditsTest : ActionTest {
    using ActionTest::ActionTest;
    SettingEdits edits{h.pc, state, host, h.clock};
};

TEST_F(SettingEditsTest, EachEditSendsItsTelegramsOnYesAndNo)
{
    struct Case {
        const char* name;
        QList<bool> answers;
        std::function<void(SettingEdits&)> edit;
        QStringList telegrams;
        int questions;
    };
    const Case cases[] = {
        {"safety edge", {}, [](SettingEdits& e) { e.toggleSafetyEdge(); }, {"13:000=1122"}, 0},
        {"opening width yes",
         {true},
         [](SettingEdits& e) { (void)e.changeOpeningWidth(2); },
         {"09:025=0003"},
         1},
        {"opening width no",
         {false},
         [](SettingEdits& e) { (void)e.changeOpeningWidth(2); },
         {"08:025=0000"},
         1},
        {"PWM opening yes",
         {true},
         [](SettingEdits& e) { (void)e.changePwmLevel(PwmDirection::Opening, 8); },
         {"09:0a1=0008"},
         1},
        {"PWM closing yes",
         {true},
         [](SettingEdits& e) { (void)e.changePwmLevel(PwmDirection::Closing, 3); },
         {"09:0a0=0003"},
         1},
        {"PWM closing no",
         {false},
         [](SettingEdits& e) { (void)e.changePwmLevel(PwmDirection::Closing, 3); },
         {"08:0a0=0000"},
         1},
        {"turn-tilt variant yes",
         {true},
         [](SettingEdits& e) { (void)e.switchTurnTiltVariant(); },
         {"15:010=0000", "09:02d=0002", "30:033=4455"},
         1},
        {"turn-tilt variant no",
         {false},
         [](SettingEdits& e) { (void)e.switchTurnTiltVariant(); },
         {"15:010=0000"},
         1},
        {"handle LED", {}, [](SettingEdits& e) { e.writeHandleLed(2); }, {"09:037=0002"}, 0},
        {"handle LED typed text", {}, [](SettingEdits& e) { e.writeHandleLed(-1); }, {}, 0},
    };
    open(1);
    for (const Case& c : cases) {
        h.ports.requests.clear();
        host.recorded.shown.clear();
        host.recorded.questionButtons.clear();
        host.recorded.answers = c.answers;
        c.edit(edits);
        EXPECT_EQ(telegrams(), c.telegrams) << c.name;
        EXPECT_EQ(host.recorded.questionButtons.size(), c.questions) << c.name;
        for (UserMessages::Buttons buttons : host.recorded.questionButtons)
            EXPECT_EQ(buttons, UserMessages::Buttons::YesNo) << c.name;
    }
}

TEST_F(SettingEditsTest, TurnTiltVariantAsksByKindWaitsAroundCommand33AndNamesTheNewKind)
{
    open(1); // a standard turn-tilt window
    host.recorded.answers = {true};
    EXPECT_EQ(edits.switchTurnTiltVariant(), LanguageText(42));
    EXPECT_EQ(host.recorded.shown, QStringList{"confirm: " + LanguageText(304)});
    EXPECT_GE(gapAfter(QStringLiteral("09:02d=0002")), 234'000u);
    EXPECT_EQ(h.bus.controllerAt(1)->eepromByte(0x2D), 2);
    const uint64_t command33At = h.ports.requests.last().atUs;
    EXPECT_GE(h.clock.nowUs() - command33At, 333'000u);

    // The controller now reports the kind with turn lock: the way back.
    h.ports.requests.clear();
    host.recorded.shown.clear();
    host.recorded.answers = {true};
    EXPECT_EQ(edits.switchTurnTiltVariant(), LanguageText(45));
    EXPECT_EQ(host.recorded.shown, QStringList{"confirm: " + LanguageText(147)});
    EXPECT_TRUE(telegrams().contains(QStringLiteral("09:02d=0001")));

    host.recorded.answers = {false};
    EXPECT_EQ(edits.switchTurnTiltVariant(), std::nullopt);
}

TEST_F(SettingEditsTest, OpeningWidthYesSetsTheBarAndAHeavyWindowIsWarnedFirst)
{
    open(5);
    struct Case {
        int type;
        int version;
        bool heavy;
        int position;
        QString question;
        int barMaximum;
    };
    const Case cases[] = {
        {1, 0x0512, false, 2, LanguageText(324), 80},
        {8, 0x0512, true, 0, LanguageText(434) + LanguageText(324), 40},
        {8, 0x0512, false, 0, LanguageText(324), 40},
        {5, 0x0600, true, 1, LanguageText(324), 123},
        {3, 0x0701, false, 12, LanguageText(324), 290},
    };
    for (const Case& c : cases) {
        state.controllerType = c.type;
        state.softwareVersion = c.version;
        state.heavyWindow = c.heavy;
        host.recorded.shown.clear();
        host.recorded.answers = {true};
        const OpeningWidthChange change = edits.changeOpeningWidth(c.position);
        EXPECT_EQ(host.recorded.shown, QStringList{"confirm: " + c.question}) << c.type;
        EXPECT_EQ(change.barMaximum, c.barMaximum) << c.type;
        EXPECT_EQ(change.selection, std::nullopt) << c.type;
        EXPECT_EQ(h.bus.controllerAt(5)->eepromByte(0x25), c.position + 1) << c.type;
    }
}

TEST(PositionBarScale, TablesHaveTheirLengthsAndEnds)
{
    struct Case {
        int type;
        int version;
        qsizetype length;
        int first;
        int last;
    };
    const Case cases[] = {
        {1, 0x0512, 28, 50, 590},  {4, 0x0403, 28, 50, 590},  {5, 0x0512, 28, 92, 1200},
        {6, 0x0600, 28, 92, 1200}, {6, 0x0700, 31, 30, 1200}, {3, 0x0701, 31, 30, 1200},
    };
    for (const Case& c : cases) {
        const QList<int> scale = PositionBarScale(c.type, c.version);
        EXPECT_EQ(scale.size(), c.length) << c.type << " " << c.version;
        EXPECT_EQ(scale.first(), c.first) << c.type << " " << c.version;
        EXPECT_EQ(scale.last(), c.last) << c.type << " " << c.version;
        EXPECT_EQ(PositionBarMaximum(c.type, c.version, int(c.length) - 1), c.last - 10);
    }
    EXPECT_EQ(PositionBarScale(1, 0x0700)[12], 300);
    EXPECT_EQ(PositionBarScale(5, 0x0512)[13], 626);
}

struct RestoreTest : SettingEditsTest {
    RestoreTest() : SettingEditsTest(busWithEeprom(2, {{0x25, 5}, {0xA1, 9}, {0xA0, 3}})) {}
};

TEST_F(RestoreTest, NoSelectsTheStoredValueAgainOrKeepsTheChoiceWhenTheReadFails)
{
    open(2);
    EXPECT_EQ(edits.changeOpeningWidth(2).selection, 4);
    EXPECT_EQ(edits.changeOpeningWidth(4).selection, std::nullopt);
    EXPECT_EQ(edits.changePwmLevel(PwmDirection::Opening, 8), 7); // 9 is shown as "21V"
    EXPECT_EQ(edits.changePwmLevel(PwmDirection::Opening, 7), std::nullopt);
    EXPECT_EQ(edits.changePwmLevel(PwmDirection::Closing, 0), 3);
    EXPECT_EQ(edits.changePwmLevel(PwmDirection::Closing, 3), std::nullopt);
    EXPECT_EQ(host.recorded.shown.count("confirm: " + LanguageText(145)), 2);
    EXPECT_EQ(host.recorded.shown.count("confirm: " + LanguageText(303)), 2);

    h.bus.failRequests({.mode = 0x08, .window = 2}, RequestFault::wrongChecksum());
    EXPECT_EQ(edits.changeOpeningWidth(2).selection, std::nullopt);
    EXPECT_EQ(edits.changePwmLevel(PwmDirection::Opening, 8), std::nullopt);
    EXPECT_EQ(h.bus.controllerAt(2)->eepromByte(0x25), 5);
    EXPECT_EQ(h.bus.controllerAt(2)->eepromByte(0xA1), 9);
}

TEST_F(SettingEditsTest, WindowTypeWritesOnlyWhenTheClickedTypeIsNotStored)
{
    struct Case {
        int stored;
        int index;
        QStringList telegrams;
        int windowType;
    };
    const Case cases[] = {
        {2, 1, {"08:0aa=0000"}, 0},
        {2, 2, {"08:0aa=0000", "09:0aa=0003"}, 3},
        {0, 0, {"08:0aa=0000", "09:0aa=0001"}, 1}, // 0 is no type
        {5, 3, {"08:0aa=0000", "09:0aa=0004"}, 4}, // above 4 is no type
    };
    for (const Case& c : cases) {
        ScanHarness bus(busWithEeprom(2, {{0xAA, uint8_t(c.stored)}}));
        ASSERT_TRUE(bus.pc.Connect(19200, 1, 150));
        bus.pc.SetWindowAddress(2);
        bus.ports.requests.clear();
        ControllerState windowState;
        SettingEdits typeEdits{bus.pc, windowState, host, bus.clock};
        typeEdits.changeWindowType(c.index);
        QStringList sent;
        for (const TracedRequest& r : bus.ports.requests)
            sent << requestText(r);
        EXPECT_EQ(sent, c.telegrams) << c.stored << " " << c.index;
        EXPECT_EQ(windowState.windowType, c.windowType) << c.stored << " " << c.index;
    }
}

TEST_F(SettingEditsTest, WindowTypeReadFailureSendsNoWrite)
{
    open(2);
    h.bus.failRequests({.mode = 0x08, .window = 2, .memory = 0xAA}, RequestFault::silence());
    edits.changeWindowType(2);
    EXPECT_FALSE(telegrams().contains(QStringLiteral("09:0aa=0003")));
    EXPECT_EQ(state.windowType, 0);
    // The sketch follows the ticked item all the same, as the radio group shows it.
    ControllerState shown = state;
    shown.controllerType = 4;
    shown.windowStateClass = 2;
    shown.electronicsLeft = false;
    shown.topHungArticle = false;
    const auto rebuild = PictureStep(shown);
    ASSERT_TRUE(rebuild);
    EXPECT_TRUE(rebuild->pictureFile.startsWith(QStringLiteral("FensterDKR")))
        << rebuild->pictureFile.toStdString();
}

struct AutomaticLockingTest : SettingEditsTest {
    AutomaticLockingTest() : SettingEditsTest(busWithEeprom(2, {{0x2F, 5}})) {}
};

TEST_F(AutomaticLockingTest, TogglesBetweenOffAndOnAndKeepsThePage0ChecksumRight)
{
    open(2);
    h.pc.StartPolling();
    const SimulatedController& controller = *h.bus.controllerAt(2);
    for (int expected : {0, 1}) {
        (void)h.pc.ReadParameter(28); // as the polling does between two clicks
        h.ports.requests.clear();
        host.timer.clear();
        edits.toggleAutomaticLocking();
        const QString write = QStringLiteral("09:02f=%1").arg(expected, 4, 10, QChar(u'0'));
        const QStringList sent = telegrams();
        ASSERT_TRUE(sent.contains(write)) << expected;
        EXPECT_EQ(sent[sent.indexOf(write) - 1], QStringLiteral("13:000=6677"));
        EXPECT_GE(gapAfter(write), 40'000u);
        EXPECT_EQ(controller.eepromByte(0x2F), expected);
        EXPECT_EQ(controller.eepromByte(Protocol::kPage0Checksum), page0Xor(controller));
        EXPECT_EQ(host.timer, (QStringList{"stop", "start"}));
        EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingRunning);
        EXPECT_TRUE(host.recorded.shown.isEmpty()) << host.recorded.shown.join(u'|').toStdString();
    }
}

TEST_F(AutomaticLockingTest, EachFailureShowsItsError)
{
    struct Case {
        const char* name;
        RequestMatch failing;
        int text;
        QStringList timer;
        int storedAfter; // -1: not checked, a lost reply may still have stored the write
    };
    const Case cases[] = {
        {"read", {.mode = 0x08, .window = 2, .memory = 0x2F}, 283, {}, 5},
        {"write", {.mode = 0x09, .window = 2, .memory = 0x2F}, 329, {"stop", "start"}, -1},
        {"checksum", {.mode = 0x08, .window = 2, .memory = 0x21}, 284, {"stop", "start"}, 0},
    };
    for (const Case& c : cases) {
        ScanHarness bus(busWithEeprom(2, {{0x2F, 5}}));
        ASSERT_TRUE(bus.pc.Connect(19200, 1, 150));
        bus.pc.SetWindowAddress(2);
        bus.bus.failRequests(c.failing, RequestFault::silence());
        RecordingActionHost failingHost;
        ControllerState windowState;
        SettingEdits lockingEdits{bus.pc, windowState, failingHost, bus.clock};
        lockingEdits.toggleAutomaticLocking();
        EXPECT_EQ(failingHost.recorded.shown, QStringList{"error: " + LanguageText(c.text)})
            << c.name;
        EXPECT_EQ(failingHost.timer, c.timer) << c.name;
        if (c.storedAfter >= 0) {
            EXPECT_EQ(bus.bus.controllerAt(2)->eepromByte(0x2F), c.storedAfter) << c.name;
        }
        for (const TracedRequest& r : bus.ports.requests)
            EXPECT_NE(requestText(r).left(6), QStringLiteral("09:030")) << c.name;
    }
}

TEST_F(SettingEditsTest, HandleLedStateIsParameter20)
{
    open(1);
    const std::optional<int> led = edits.handleLedState();
    ASSERT_TRUE(led.has_value());
    EXPECT_EQ(*led, h.bus.controllerAt(1)->eepromByte(0x37));
    h.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x37}, RequestFault::silence());
    EXPECT_EQ(edits.handleLedState(), std::nullopt);
}

} // namespace

TEST(ServiceSetting, LongChainOnSoftware403To405SealPressureOnTypes3And4From701)
{
    struct Case {
        int type;
        int version;
        ServiceSetting setting;
    };
    const Case cases[] = {
        {1, 0x0402, ServiceSetting::None},         {1, 0x0403, ServiceSetting::LongChain},
        {4, 0x0405, ServiceSetting::LongChain},    {1, 0x0406, ServiceSetting::None},
        {3, 0x0700, ServiceSetting::None},         {3, 0x0701, ServiceSetting::SealPressure},
        {4, 0x0703, ServiceSetting::SealPressure}, {5, 0x0701, ServiceSetting::None},
    };
    for (const Case& c : cases) {
        ControllerState state;
        state.controllerType = c.type;
        state.softwareVersion = c.version;
        EXPECT_EQ(ServiceSettingOf(state), c.setting) << c.type << " " << c.version;
    }
}

TEST(ServiceSetting, ButtonAsksAndWritesTheLongChainOnlyAfterItsReadOrTheSealPressure)
{
    struct Case {
        const char* name;
        int type;
        int version;
        int stored1E;
        bool failRead;
        bool answer;
        int question;
        QStringList telegrams;
        int stored1EAfter;
        int storedACAfter;
    };
    const Case cases[] = {
        {"long chain", 1, 0x0404, 0x01, false, true, 432, {"08:01e=0000", "09:01e=00c1"}, 0xC1, -1},
        {"long chain set", 1, 0x0404, 0xC3, false, true, 432, {"08:01e=0000"}, 0xC3, -1},
        {"long chain no", 1, 0x0404, 0x01, false, false, 432, {}, 0x01, -1},
        {"long chain unread",
         1,
         0x0404,
         0x01,
         true,
         true,
         432,
         {"08:01e=0000", "08:01e=0000"},
         0x01,
         -1},
        {"seal pressure", 4, 0x0701, 0, false, true, 443, {"09:0ac=0032"}, -1, 0x32},
        {"seal pressure no", 4, 0x0701, 0, false, false, 443, {}, -1, 0},
        {"version 7.00", 4, 0x0700, 0, false, true, -1, {}, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BusSetup setup = busWithEeprom(1, {{0x1E, uint8_t(c.stored1E)}, {0xAC, 0}});
        setup.controllers[0].type = c.type;
        setup.controllers[0].software = uint16_t(c.version);
        ScanHarness bus(setup);
        ASSERT_TRUE(bus.pc.Connect(19200, 1, 150));
        bus.pc.SetWindowAddress(1);
        if (c.failRead)
            bus.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x1E},
                                 RequestFault::silence(), 2);
        bus.ports.requests.clear();
        ControllerState state;
        state.controllerType = c.type;
        state.softwareVersion = c.version;
        RecordingActionHost host;
        host.recorded.answers = {c.answer};
        SettingEdits edits{bus.pc, state, host, bus.clock};
        edits.changeServiceSetting();
        QStringList sent;
        for (const TracedRequest& r : bus.ports.requests)
            sent << requestText(r);
        EXPECT_EQ(sent, c.telegrams);
        EXPECT_EQ(host.recorded.shown, c.question < 0
                                           ? QStringList{}
                                           : QStringList{"confirm: " + LanguageText(c.question)});
        const SimulatedController& controller = *bus.bus.controllerAt(1);
        if (c.stored1EAfter >= 0) {
            EXPECT_EQ(controller.eepromByte(0x1E), c.stored1EAfter);
        }
        if (c.storedACAfter >= 0) {
            EXPECT_EQ(controller.eepromByte(0xAC), c.storedACAfter);
        }
    }
}

// The controller window's commands against the simulated default bus on the virtual clock: the
// telegrams of each button and their waits, the locking indicator, the jog of each type, the
// mode button with the zero-position sequence, the closing-roller test, and what the simulated
// controller made of them.
#include "controller/core/ControllerCommands.h"
#include "controller/core/ControllerRefresh.h"
#include "tests/controller/ActionHarness.h"
#include "tests/controller/ViewProbe.h"

#include <functional>

namespace {

struct QuietRefreshHost final : RefreshHost {
    void processEvents() override {}
    bool closed() const override { return false; }
    bool rollerTestRunning() const override { return false; }
    void reconnect() override {}
};

// A controller of the default bus opened as its window opens it, with the window's commands.
struct CommandsTest : ActionTest {
    void openWindow(int address)
    {
        state.layoutSetUp = false; // as closing the window before leaves it
        open(address);
        (void)refresh.open();
        h.pc.StartPolling();
        (void)refresh.run();
        h.ports.requests.clear();
    }
    // One refresh as the refresh timer runs it, after `ms` of the refresh period.
    RefreshResult refreshAfter(uint32_t ms)
    {
        h.clock.sleepMs(ms);
        h.pc.PausePolling();
        RefreshResult r = refresh.run();
        h.pc.ResumePolling();
        return r;
    }
    SimulatedController::Observed controller(int address)
    {
        return h.bus.controllerAt(address)->observe(h.clock.nowUs());
    }
    QStringList sentBy(const std::function<void()>& action)
    {
        h.ports.requests.clear();
        action();
        return telegrams();
    }

    QuietRefreshHost refreshHost;
    ControllerRefresh refresh{h.pc, state, refreshHost};
    ControllerCommands commands{h.pc, state, host, h.clock};
};

QString textOf(const ControllerView& view, const char* control)
{
    return ChangeOf(view, control).text.value_or(QString());
}

TEST_F(CommandsTest, LockButtonsSendTheirCodeShowTheCommandedStateAndReachTheController)
{
    openWindow(1);
    struct Case {
        const char* name;
        std::function<RefreshResult(ControllerCommands&)> click;
        const char* telegram;
        const char* label;
        LockElement element;
        bool locked;
        std::function<bool(const SimulatedController::Observed&)> stored;
    };
    using O = SimulatedController::Observed;
    const Case cases[] = {
        {"upper unlock", [](auto& c) { return c.lockStrand(LockElement::UpperStrand, false); },
         "30:000=000d", "lblSRO", LockElement::UpperStrand, false,
         [](const O& o) { return !o.upperLocked; }},
        {"upper lock", [](auto& c) { return c.lockStrand(LockElement::UpperStrand, true); },
         "30:000=000c", "lblSRO", LockElement::UpperStrand, true,
         [](const O& o) { return o.upperLocked; }},
        {"lower unlock", [](auto& c) { return c.lockStrand(LockElement::LowerStrand, false); },
         "30:000=000b", "lblSRU", LockElement::LowerStrand, false,
         [](const O& o) { return !o.lowerLocked; }},
        {"lower lock", [](auto& c) { return c.lockStrand(LockElement::LowerStrand, true); },
         "30:000=000a", "lblSRU", LockElement::LowerStrand, true,
         [](const O& o) { return o.lowerLocked; }},
        {"bolt unlock", [](auto& c) { return c.fingerBoltButton(false); }, "30:000=000f",
         "lblFingerR", LockElement::FingerBolt, false, [](const O& o) { return !o.boltLocked; }},
        {"bolt lock", [](auto& c) { return c.fingerBoltButton(true); }, "30:000=000e", "lblFingerR",
         LockElement::FingerBolt, true, [](const O& o) { return o.boltLocked; }},
    };
    for (const Case& c : cases) {
        RefreshResult result;
        EXPECT_EQ(sentBy([&] { result = c.click(commands); }),
                  QStringList{QString::fromLatin1(c.telegram)})
            << c.name;
        EXPECT_TRUE(textOf(result.view, c.label).endsWith(LanguageText(c.locked ? 253 : 69)))
            << c.name << ": " << textOf(result.view, c.label).toStdString();
        ASSERT_EQ(result.icons.size(), 1) << c.name;
        EXPECT_EQ(result.icons[0].first, c.element) << c.name;
        EXPECT_EQ(result.icons[0].second, c.locked ? LockingIcon::Locked : LockingIcon::Unlocked)
            << c.name;
        EXPECT_TRUE(c.stored(controller(1))) << c.name;
    }
}

TEST_F(CommandsTest, IndicatorShowsTheCommandedStateEvenWhenTheControllerIsSilent)
{
    openWindow(1);
    h.bus.failRequests({.mode = 0x30, .window = 1}, RequestFault::silence(), 2);
    RefreshResult result;
    // The access object tries twice; no message, the indicator shows the command.
    EXPECT_EQ(sentBy([&] { result = commands.lockStrand(LockElement::UpperStrand, false); }),
              (QStringList{"30:000=000d", "30:000=000d"}));
    EXPECT_TRUE(textOf(result.view, "lblSRO").endsWith(LanguageText(69)));
    EXPECT_TRUE(host.recorded.shown.isEmpty());
}

TEST_F(CommandsTest, HeldJogStartsOnPressAndStopsTwice40msApartOnRelease)
{
    for (const int address : {1, 2}) {
        SCOPED_TRACE(address);
        openWindow(address);
        host.timer.clear();
        for (const JogDirection direction : {JogDirection::Open, JogDirection::Close}) {
            const QString start = direction == JogDirection::Open ? "30:000=0010" : "30:000=0011";
            EXPECT_EQ(sentBy([&] { commands.jogPressed(direction); }), QStringList{start});
            EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingPaused);
            EXPECT_EQ(host.timer, QStringList{"stop"});
            // Opening unlocks first; closing runs back the way the opening came.
            h.clock.sleepMs(direction == JogDirection::Open ? 1500 : 300);
            EXPECT_TRUE(controller(address).driveMoving) << int(direction);
            EXPECT_EQ(sentBy([&] { commands.jogReleased(); }),
                      (QStringList{"30:000=0012", "30:000=0012"}));
            EXPECT_GE(h.ports.requests[1].atUs - h.ports.requests[0].atUs, 40'000u);
            EXPECT_LT(h.ports.requests[1].atUs - h.ports.requests[0].atUs, 60'000u);
            EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingRunning);
            EXPECT_EQ(host.timer, (QStringList{"stop", "start"}));
            EXPECT_FALSE(controller(address).driveMoving);
            // The click after the release, and a keyboard activation, send nothing.
            EXPECT_TRUE(sentBy([&] { commands.jogClicked(direction); }).isEmpty());
            // A second release without a press sends nothing either.
            EXPECT_TRUE(sentBy([&] { commands.jogReleased(); }).isEmpty());
            host.timer.clear();
        }
    }
}

TEST_F(CommandsTest, SlidingDriveJogsFromOneClickToTheNext)
{
    openWindow(4);
    // Pressing and releasing send nothing for type 7.
    EXPECT_TRUE(sentBy([&] {
                    commands.jogPressed(JogDirection::Open);
                    commands.jogReleased();
                }).isEmpty());
    EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingRunning);
    // "auffahren" starts, "zufahren" then stops: the latch is shared.
    EXPECT_EQ(sentBy([&] { commands.jogClicked(JogDirection::Open); }), QStringList{"30:000=0010"});
    EXPECT_TRUE(state.jogLatch);
    h.clock.sleepMs(1500);
    EXPECT_TRUE(controller(4).driveMoving);
    EXPECT_EQ(sentBy([&] { commands.jogClicked(JogDirection::Close); }),
              (QStringList{"30:000=0012", "30:000=0012"}));
    EXPECT_GE(h.ports.requests[1].atUs - h.ports.requests[0].atUs, 40'000u);
    EXPECT_FALSE(state.jogLatch);
    EXPECT_FALSE(controller(4).driveMoving);
    EXPECT_TRUE(host.timer.isEmpty());
    // The next click starts again, in its own direction.
    EXPECT_EQ(sentBy([&] { commands.jogClicked(JogDirection::Close); }),
              QStringList{"30:000=0011"});
}

TEST_F(CommandsTest, WindowCommandsAndTheOpenButtonOfEachType)
{
    struct Case {
        int address;
        const char* openFully;
    };
    const Case cases[] = {
        {1, "13:000=aa55"}, // type 1
        {2, "43:000=aa00"}, // type 4
        {3, "43:000=aa00"}, // type 5
        {4, "13:000=aa55"}, // type 7
        {5, "43:000=0032"}, // type 8: 50 %
    };
    for (const Case& c : cases) {
        openWindow(c.address);
        EXPECT_EQ(sentBy([&] { commands.windowCommand(WindowCommand::OpenFully); }),
                  QStringList{QString::fromLatin1(c.openFully)})
            << c.address;
    }
    openWindow(1);
    EXPECT_EQ(sentBy([&] { commands.windowCommand(WindowCommand::Open); }),
              QStringList{"41:000=0000"});
    h.clock.sleepMs(1000);
    EXPECT_TRUE(controller(1).driveMoving);
    EXPECT_EQ(sentBy([&] { commands.windowCommand(WindowCommand::Stop); }),
              QStringList{"44:000=0000"});
    EXPECT_FALSE(controller(1).driveMoving);
    const int stoppedAt = controller(1).driveCounts;
    EXPECT_GT(stoppedAt, 0);
    EXPECT_EQ(sentBy([&] { commands.windowCommand(WindowCommand::Close); }),
              QStringList{"42:000=0000"});
    h.clock.sleepMs(20'000);
    EXPECT_EQ(controller(1).driveCounts, 0);
    EXPECT_TRUE(controller(1).upperLocked && controller(1).lowerLocked);
}

TEST_F(CommandsTest, CommissioningQuestionNoSendsNothingYesRequestsItWithItsWaits)
{
    openWindow(1);
    host.recorded.answers = {false};
    ControllerView view;
    EXPECT_TRUE(sentBy([&] { view = commands.modeButton(); }).isEmpty());
    EXPECT_TRUE(view.isEmpty());
    EXPECT_EQ(host.recorded.shown, QStringList{"confirm: " + LanguageText(146)});
    EXPECT_FALSE(controller(1).commissioning);

    host.recorded.answers = {true};
    const uint64_t clickedUs = h.clock.nowUs();
    EXPECT_EQ(sentBy([&] { view = commands.modeButton(); }),
              (QStringList{"09:020=00ff", "30:033=4455"}));
    const TracedRequest& command33 = h.ports.requests[1];
    EXPECT_GE(command33.atUs - h.ports.requests[0].atUs, 234'000u);
    EXPECT_GE(h.clock.nowUs() - command33.atUs, 333'000u);
    EXPECT_LT(h.clock.nowUs() - clickedUs, 700'000u);
    EXPECT_EQ(ChangeOf(view, "bnModus").enabled, false);
    EXPECT_EQ(textOf(view, "bnModus"), LanguageText(158));
    EXPECT_TRUE(controller(1).commissioning);

    // The refresh learns the mode; a controller without zero-position sequence leaves with one
    // command 66h.
    (void)refreshAfter(1000);
    ASSERT_TRUE(state.commissioningMode);
    EXPECT_EQ(sentBy([&] { view = commands.modeButton(); }), QStringList{"30:066=aa55"});
    EXPECT_TRUE(view.isEmpty());
    EXPECT_FALSE(controller(1).commissioning);
    (void)refreshAfter(1000);
    EXPECT_FALSE(state.commissioningMode);
}

TEST_F(CommandsTest, ZeroPositionSequenceRunsTheDriveAndOffersTheSecondStepPastItsDistance)
{
    struct Case {
        int address;
        int leastMm; // the button comes back past this drive position
        int caption;
    };
    const Case cases[] = {{3, 101, 197}, {5, 41, 389}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        openWindow(c.address);
        host.recorded.answers = {true};
        (void)commands.modeButton();
        (void)refreshAfter(1000);
        ASSERT_TRUE(state.commissioningMode);

        ControllerView view;
        EXPECT_EQ(sentBy([&] { view = commands.modeButton(); }), QStringList{"30:066=aa55"});
        EXPECT_EQ(ChangeOf(view, "bnModus").enabled, false);
        EXPECT_TRUE(state.zeroPositionRun);
        EXPECT_EQ(state.drivePosition, 0);
        EXPECT_TRUE(controller(c.address).zeroPositionRun);

        // Refresh after refresh until the button comes back: only past the distance.
        std::optional<bool> enabled;
        for (int tick = 0; tick < 60 && enabled != true; ++tick) {
            const RefreshResult r = refreshAfter(1000);
            enabled = ChangeOf(r.view, "bnModus").enabled;
            if (enabled == true) {
                EXPECT_GE(state.drivePosition, c.leastMm);
                EXPECT_EQ(textOf(r.view, "bnModus"), LanguageText(c.caption));
            }
        }
        ASSERT_EQ(enabled, true);
        EXPECT_TRUE(controller(c.address).driveMoving);

        EXPECT_EQ(sentBy([&] { view = commands.modeButton(); }), QStringList{"30:066=aa55"});
        EXPECT_FALSE(state.zeroPositionRun);
        EXPECT_FALSE(controller(c.address).commissioning);
        EXPECT_FALSE(controller(c.address).zeroPositionRun);
    }
}

// A chain drive in commissioning, where the finger-bolt buttons run the closing-roller test.
struct RollerTestTest : CommandsTest {
    void SetUp() override
    {
        CommandsTest::SetUp();
        openWindow(2);
        state.commissioningMode = true;
    }
    // The command of each request as "lock lower" ... "unlock upper".
    static QString step(const QString& telegram)
    {
        static const QMap<QString, QString> names{{"30:000=000a", "LL"},
                                                  {"30:000=000c", "LU"},
                                                  {"30:000=000b", "UL"},
                                                  {"30:000=000d", "UU"}};
        return names.value(telegram, telegram);
    }
    QStringList steps() const
    {
        QStringList out;
        for (const QString& t : telegrams())
            out << step(t);
        return out;
    }
};

TEST_F(RollerTestTest, FullRunIsTenCyclesOfFourCommands)
{
    RefreshResult result = commands.fingerBoltButton(false);
    EXPECT_EQ(textOf(result.view, "lblFingerR"), "1. " + LanguageText(335));
    EXPECT_TRUE(host.rollerTimer);
    QStringList labels;
    for (int tick = 0; tick < 50 && host.rollerTimer; ++tick)
        labels << textOf(commands.rollerTestTick().view, "lblFingerR");
    QStringList expected;
    for (int cycle = 0; cycle < 10; ++cycle)
        expected << QStringList{"LL", "LU", "UL", "UU"};
    EXPECT_EQ(steps(), expected);
    EXPECT_FALSE(host.rollerTimer);
    ASSERT_EQ(labels.size(), 39);
    EXPECT_EQ(labels[0], "1. " + LanguageText(335));
    EXPECT_EQ(labels[3], "2. " + LanguageText(335));
    EXPECT_EQ(labels.last(), "10x " + LanguageText(439));
    const auto after = controller(2);
    EXPECT_FALSE(after.upperLocked);
    EXPECT_FALSE(after.lowerLocked);
    EXPECT_EQ(state.rollerTestCycle, 0);
    EXPECT_EQ(state.rollerTestStep, 0);
}

TEST_F(RollerTestTest, StopInTheThirdCycleEndsItAfterItsLastStep)
{
    (void)commands.fingerBoltButton(false);
    for (int tick = 0; tick < 9; ++tick) // to the second step of the third cycle
        (void)commands.rollerTestTick();
    ASSERT_EQ(state.rollerTestCycle, 2);
    h.ports.requests.clear();
    EXPECT_EQ(textOf(commands.fingerBoltButton(true).view, "lblFingerR"), LanguageText(440));
    EXPECT_TRUE(telegrams().isEmpty());
    QStringList labels;
    while (host.rollerTimer)
        labels << textOf(commands.rollerTestTick().view, "lblFingerR");
    EXPECT_EQ(steps(), (QStringList{"UL", "UU"}));
    EXPECT_EQ(labels, (QStringList{LanguageText(440), "10x " + LanguageText(439)}));
    EXPECT_FALSE(state.rollerTestStopRequest);
    EXPECT_FALSE(controller(2).upperLocked);
}

TEST_F(RollerTestTest, StopWhenIdleOnlyChangesTheLabelAndStartWhileRunningKeepsTheCount)
{
    RefreshResult result = commands.fingerBoltButton(true);
    EXPECT_EQ(textOf(result.view, "lblFingerR"), LanguageText(440));
    EXPECT_TRUE(telegrams().isEmpty());
    EXPECT_FALSE(state.rollerTestStopRequest);

    (void)commands.fingerBoltButton(false);
    for (int tick = 0; tick < 5; ++tick)
        (void)commands.rollerTestTick();
    h.ports.requests.clear();
    result = commands.fingerBoltButton(false);
    EXPECT_EQ(steps(), QStringList{"LL"});
    EXPECT_EQ(textOf(result.view, "lblFingerR"), "1. " + LanguageText(335));
    EXPECT_EQ(state.rollerTestCycle, 1);
    EXPECT_TRUE(host.rollerTimer);

    // Closing the window ends the test without a further command; the next start is idle.
    h.ports.requests.clear();
    commands.endRollerTest();
    EXPECT_TRUE(telegrams().isEmpty());
    EXPECT_FALSE(host.rollerTimer);
    EXPECT_EQ(state.rollerTestCycle, 0);
    EXPECT_EQ(state.rollerTestStep, 0);
}

TEST_F(CommandsTest, FingerBoltOutsideCommissioningOrOnStandardTypesIsTheBolt)
{
    openWindow(2);
    state.commissioningMode = false;
    EXPECT_EQ(sentBy([&] { (void)commands.fingerBoltButton(false); }), QStringList{"30:000=000f"});
    EXPECT_FALSE(host.rollerTimer);
    openWindow(1);
    state.commissioningMode = true;
    EXPECT_EQ(sentBy([&] { (void)commands.fingerBoltButton(true); }), QStringList{"30:000=000e"});
    EXPECT_FALSE(host.rollerTimer);
}

} // namespace

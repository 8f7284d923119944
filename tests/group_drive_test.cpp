// The group drive dialog on the simulated bus and the virtual clock: command times and countdown
// texts, the rows driven, the three drive kinds and what the controllers did, the group control
// unit's pause, stopping by the button, the close box and Escape.
#include "ScanHarness.h"
#include "mainwindow/Fmgruppe.h"
#include "sim/BusSetup.h"
#include "texts/Sprachen.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kTickUs = 500'000;

BusSetup busWith(QList<int> addresses, bool groupUnit, int drivePauseS = 3)
{
    BusSetup setup;
    if (groupUnit) {
        setup.groupUnit = GroupUnitSetup{};
        setup.groupUnit->drivePauseS = drivePauseS;
    }
    int ordinal = 0;
    for (int address : addresses)
        setup.controllers << DefaultControllerSetup(ControllerKind::TurnTilt, address, ++ordinal);
    return setup;
}

int dataOf(const TracedRequest& r)
{
    return static_cast<uint8_t>(r.bytes[3]) | static_cast<uint8_t>(r.bytes[4]) << 8;
}

// A scanned bus, the PC connected to it, and the dialog shown on it, ticked by hand.
struct GroupDriveRig {
    explicit GroupDriveRig(const BusSetup& setup) : h(setup)
    {
        SetCurrentLanguage(German);
        (void)h.scan();
        connected = h.pc.Connect(19200, 1, 150);
    }

    void show(int driveKind)
    {
        dialog.setDriveKind(driveKind);
        dialog.show();
    }
    // "Starten" (or "Abbrechen" while running).
    void clickStartStop()
    {
        if (!started) {
            started = true;
            firstRequest = h.ports.requests.size();
            startUs = h.clock.nowUs();
        }
        button()->click();
    }
    // Ticks on the 500 ms grid after "Starten" while the dialog is open, at most `count`;
    // records the status text after each tick.
    void tick(int count)
    {
        for (int i = 0; i < count && dialog.isVisible(); ++i) {
            const uint64_t dueUs = startUs + uint64_t(++ticks) * kTickUs;
            if (h.clock.nowUs() < dueUs)
                h.clock.advanceUs(dueUs - h.clock.nowUs());
            dialog.TimerTimer();
            statuses << status();
        }
    }
    QList<TracedRequest> commands() const { return h.ports.requests.mid(firstRequest); }
    // Milliseconds from "Starten" to each command.
    QList<double> commandTimesMs() const
    {
        QList<double> times;
        for (const TracedRequest& r : commands())
            times << double(r.atUs - startUs) / 1000.0;
        return times;
    }
    QList<int> commandWindows() const
    {
        QList<int> windows;
        for (const TracedRequest& r : commands())
            windows << r.window();
        return windows;
    }
    // The controller's answer to a parameter read (mode 15h) of `number`.
    int parameterOf(int address, int number)
    {
        h.pc.SetWindowAddress(address);
        int mode = 0x15, memory = number, data = 0;
        EXPECT_EQ(h.pc.SendToWindow(mode, memory, data), 0);
        return data;
    }

    QPushButton* button() { return dialog.findChild<QPushButton*>(QStringLiteral("bnStartStop")); }
    QProgressBar* progress()
    {
        return dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    }
    QRadioButton* radio(const char* name)
    {
        return dialog.findChild<QRadioButton*>(QString::fromLatin1(name));
    }
    QTimer* timer() { return dialog.findChild<QTimer*>(QStringLiteral("Timer")); }
    QString status()
    {
        return dialog.findChild<QStatusBar*>(QStringLiteral("StatusBar"))
            ->findChild<QLabel*>(QStringLiteral("StatusPanel"))
            ->text();
    }

    ScanHarness h;
    bool connected = false;
    TfmGruppeFahren dialog{h.pc, h.list};
    bool started = false;
    qsizetype firstRequest = 0;
    uint64_t startUs = 0;
    int ticks = 0;
    QStringList statuses;
};

QString pause(int seconds)
{
    return QStringLiteral("Fahrpause %1 Sekunden").arg(seconds);
}

TEST(GroupDrive, ThreeControllersWithTheFixedPause)
{
    GroupDriveRig rig(busWith({1, 2, 3}, false));
    ASSERT_TRUE(rig.connected);
    ASSERT_EQ(rig.h.list.deviceCount(), 3);
    rig.show(GroupOpen);
    EXPECT_EQ(rig.button()->text(), QStringLiteral("Starten"));
    EXPECT_EQ(rig.progress()->maximum(), 3);

    rig.clickStartStop();
    EXPECT_EQ(rig.button()->text(), QStringLiteral("Abbrechen"));
    EXPECT_TRUE(rig.timer()->isActive());
    EXPECT_EQ(rig.timer()->interval(), 500);
    rig.tick(30);

    const QList<double> times = rig.commandTimesMs();
    ASSERT_EQ(times.size(), 3);
    EXPECT_NEAR(times[0], 500.0, 1.0);
    EXPECT_NEAR(times[1], 4000.0, 1.0);
    EXPECT_NEAR(times[2], 7500.0, 1.0);
    EXPECT_EQ(rig.commandWindows(), (QList<int>{1, 2, 3}));
    // The first command leaves the status blank; each pause counts 3, 2, 2, 1, 1, 0 and the
    // command after it leaves the last text standing.
    const QStringList countdown{pause(3), pause(2), pause(2), pause(1), pause(1), pause(0)};
    const QStringList expected = QStringList{QStringLiteral(" ")} + countdown +
                                 QStringList{pause(0)} + countdown + QStringList{pause(0)};
    EXPECT_EQ(rig.statuses, expected);
    // Closed right after the third command.
    EXPECT_EQ(rig.ticks, 15);
    EXPECT_FALSE(rig.dialog.isVisible());
    EXPECT_EQ(rig.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(rig.timer()->isActive());
    EXPECT_EQ(rig.progress()->value(), 3);
    // The last driven controller stays selected.
    EXPECT_EQ(rig.h.pc.GetWindowAddress(), 3);
}

struct KindCase {
    const char* name;
    int driveKind;
    const char* caption;
    int mode;
    int data;
    bool openFirst;
    int stateAfter;      // parameter 0 once the drives stand
    int positionPercent; // of the full travel
};

class GroupDriveKinds : public ::testing::TestWithParam<KindCase> {};

// With the group control unit in row 1 only the two controllers are driven, and they move.
TEST_P(GroupDriveKinds, DrivesTheControllersAfterTheGroupUnit)
{
    const KindCase c = GetParam();
    GroupDriveRig rig(busWith({1, 2}, true));
    ASSERT_TRUE(rig.connected);
    ASSERT_EQ(rig.h.list.cell(0, 0), QStringLiteral("0"));
    if (c.openFirst) {
        for (int address : {1, 2}) {
            rig.h.pc.SetWindowAddress(address);
            int mode = 0x41, memory = 0, data = 0;
            ASSERT_EQ(rig.h.pc.SendToWindow(mode, memory, data), 0);
        }
        rig.h.clock.advanceUs(30'000'000);
        ASSERT_EQ(rig.parameterOf(1, 0), 5);
    }
    rig.show(c.driveKind);
    EXPECT_EQ(rig.dialog.windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(rig.progress()->maximum(), 2);

    rig.clickStartStop();
    rig.tick(30);
    EXPECT_FALSE(rig.dialog.isVisible());
    EXPECT_EQ(rig.progress()->value(), 2);
    const QList<TracedRequest> commands = rig.commands();
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(rig.commandWindows(), (QList<int>{1, 2}));
    for (const TracedRequest& r : commands) {
        EXPECT_EQ(r.mode(), c.mode);
        EXPECT_EQ(r.memory(), 0);
        EXPECT_EQ(dataOf(r), c.data);
    }

    // The bus afterwards: both drives have run to the commanded position.
    rig.h.clock.advanceUs(30'000'000);
    for (int address : {1, 2}) {
        SCOPED_TRACE(address);
        const int travel = rig.parameterOf(address, 0x0B);
        EXPECT_EQ(rig.parameterOf(address, 0x00), c.stateAfter);
        EXPECT_EQ(rig.parameterOf(address, 0x05), travel * c.positionPercent / 100);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, GroupDriveKinds,
    ::testing::Values(KindCase{"Open", GroupOpen, "Fenstergruppe AUF", 0x41, 0x0000, false, 5, 100},
                      KindCase{"Close", GroupClose, "Fenstergruppe ZU", 0x42, 0x0000, true, 0, 0},
                      KindCase{"HalfOpen", GroupHalfOpen, "Fenstergruppe Spaltlüften 50%", 0x43,
                               0x0500, false, 5, 50}),
    [](const auto& info) { return std::string(info.param.name); });

struct PauseCase {
    int drivePauseS;
    double intervalMs;
};

class GroupUnitPause : public ::testing::TestWithParam<PauseCase> {};

TEST_P(GroupUnitPause, CommandsFollowThePauseAndHalfASecond)
{
    const PauseCase c = GetParam();
    GroupDriveRig rig(busWith({1, 2, 3}, true, c.drivePauseS));
    ASSERT_EQ(rig.h.list.groupDrivePause, c.drivePauseS);
    rig.show(GroupOpen);
    rig.radio("rbGSSek")->setChecked(true);
    rig.clickStartStop();
    rig.tick(200);

    const QList<double> times = rig.commandTimesMs();
    ASSERT_EQ(times.size(), 3);
    EXPECT_NEAR(times[0], 500.0, 1.0);
    EXPECT_NEAR(times[1] - times[0], c.intervalMs, 1.0);
    EXPECT_NEAR(times[2] - times[1], c.intervalMs, 1.0);
    EXPECT_FALSE(rig.dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Pauses, GroupUnitPause,
                         ::testing::Values(PauseCase{0, 500.0}, PauseCase{2, 2500.0},
                                           PauseCase{20, 20500.0}),
                         [](const auto& info) {
                             return "Pause" + std::to_string(info.param.drivePauseS) + "s";
                         });

TEST(GroupDrive, EachShowingStartsIdleAndKeepsThePauseChoice)
{
    GroupDriveRig rig(busWith({1, 2, 3}, true, 20));
    rig.show(GroupOpen);
    EXPECT_TRUE(rig.radio("rb3Sek")->isChecked());
    EXPECT_EQ(rig.radio("rb3Sek")->text(), QStringLiteral("3 Sekunden"));
    EXPECT_EQ(rig.radio("rbGSSek")->text(), QStringLiteral("20 Sekunden (Gruppensteuergerät)"));
    rig.radio("rbGSSek")->setChecked(true);
    rig.clickStartStop();
    rig.tick(3);
    ASSERT_EQ(rig.progress()->value(), 1);
    rig.clickStartStop();
    ASSERT_FALSE(rig.dialog.isVisible());

    rig.show(GroupClose);
    EXPECT_TRUE(rig.radio("rbGSSek")->isChecked());
    EXPECT_EQ(rig.progress()->value(), 0);
    EXPECT_EQ(rig.button()->text(), QStringLiteral("Starten"));
    EXPECT_EQ(rig.status(), QStringLiteral(" "));
    EXPECT_EQ(rig.dialog.windowTitle(), QStringLiteral("Fenstergruppe ZU"));
    EXPECT_FALSE(rig.timer()->isActive());
}

enum class CloseBy { Button, CloseBox, Escape };

class StoppingTheSequence : public ::testing::TestWithParam<CloseBy> {};

// Closed between two commands, the dialog is gone at once and sends nothing more; the command
// already sent stays in effect.
TEST_P(StoppingTheSequence, ClosingBetweenTwoCommandsStopsIt)
{
    GroupDriveRig rig(busWith({1, 2, 3}, false));
    rig.show(GroupOpen);
    rig.clickStartStop();
    rig.tick(4);
    ASSERT_EQ(rig.commands().size(), 1);
    ASSERT_TRUE(rig.dialog.isVisible());

    switch (GetParam()) {
    case CloseBy::Button:
        rig.clickStartStop();
        break;
    case CloseBy::CloseBox:
        rig.dialog.close();
        break;
    case CloseBy::Escape:
        QTest::keyClick(&rig.dialog, Qt::Key_Escape);
        break;
    }
    EXPECT_FALSE(rig.dialog.isVisible());
    EXPECT_FALSE(rig.timer()->isActive());
    EXPECT_EQ(rig.dialog.result(),
              GetParam() == CloseBy::Button ? QDialog::Accepted : QDialog::Rejected);
    // Ticks that were already on their way find the sequence stopped.
    for (int i = 0; i < 10; ++i)
        rig.dialog.TimerTimer();
    rig.h.clock.advanceUs(30'000'000);
    EXPECT_EQ(rig.commands().size(), 1);
    EXPECT_EQ(rig.parameterOf(1, 0x00), 5);
    EXPECT_EQ(rig.parameterOf(2, 0x00), 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, StoppingTheSequence,
                         ::testing::Values(CloseBy::Button, CloseBy::CloseBox, CloseBy::Escape),
                         [](const auto& info) {
                             switch (info.param) {
                             case CloseBy::Button:
                                 return std::string("Button");
                             case CloseBy::CloseBox:
                                 return std::string("CloseBox");
                             case CloseBy::Escape:
                                 return std::string("Escape");
                             }
                             return std::string();
                         });

TEST(GroupDrive, ListWithoutControllersEndsWithoutACommand)
{
    for (const bool groupUnit : {false, true}) {
        SCOPED_TRACE(groupUnit);
        GroupDriveRig rig(busWith({}, groupUnit));
        ASSERT_EQ(rig.h.list.deviceCount(), groupUnit ? 1 : 0);
        rig.show(GroupOpen);
        rig.clickStartStop();
        rig.tick(30);
        EXPECT_EQ(rig.ticks, 1);
        EXPECT_TRUE(rig.commands().isEmpty());
        EXPECT_FALSE(rig.dialog.isVisible());
    }
}

TEST(GroupDrive, LanguageTextsOfTheDialog)
{
    GroupDriveRig rig(busWith({1, 2}, false));
    SetCurrentLanguage(English);
    rig.dialog.SetLanguage();
    rig.show(GroupHalfOpen);
    EXPECT_EQ(rig.dialog.windowTitle(), QStringLiteral("Window group gap ventilation 50%"));
    EXPECT_EQ(rig.radio("rbGSSek")->text(), QStringLiteral("0 seconds (Group control device)"));
    EXPECT_EQ(rig.button()->text(), QStringLiteral("Start"));
    rig.clickStartStop();
    rig.tick(2);
    EXPECT_EQ(rig.status(), QStringLiteral("Travel pause 3 seconds"));
    SetCurrentLanguage(German);
}

} // namespace

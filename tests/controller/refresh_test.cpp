// One refresh of the controller window against the simulated default bus on the virtual clock:
// which values it reads in which order for each controller type, its timing, and its failures.
#include "buslink/ParameterTable.h"
#include "controller/core/ControllerRefresh.h"
#include "sim/BusSetup.h"
#include "tests/ScanHarness.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct RecordingRefreshHost final : RefreshHost {
    int eventRuns = 0;
    int reconnects = 0;
    bool rollerTest = false;
    bool isClosed = false;
    std::function<void()> onEvents;

    void processEvents() override
    {
        ++eventRuns;
        if (onEvents)
            onEvents();
    }
    bool closed() const override { return isClosed; }
    bool rollerTestRunning() const override { return rollerTest; }
    void reconnect() override { ++reconnects; }
};

// A controller of the default bus opened as the main window opens it, with its window state.
struct RefreshTest : ::testing::Test {
    explicit RefreshTest(const BusSetup& setup = DefaultBusSetup()) : h(setup) {}

    void SetUp() override { SetCurrentLanguage(German); }
    void openController(int address)
    {
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        h.pc.SetWindowAddress(address);
        (void)refresh.open();
        h.pc.StartPolling();
        (void)refresh.run();
    }
    // One refresh as the refresh timer runs it: polling paused around it.
    RefreshResult tick()
    {
        h.pc.PausePolling();
        RefreshResult r = refresh.run();
        h.pc.ResumePolling();
        return r;
    }
    // The reads of `run`, as parameter numbers ("P12") and EEPROM bytes ("E185").
    QStringList readsOf(const std::function<void()>& run)
    {
        h.ports.requests.clear();
        run();
        QStringList reads;
        for (const TracedRequest& r : h.ports.requests)
            reads << label(r);
        return reads;
    }
    static QString label(const TracedRequest& r)
    {
        for (int index = 0; index < kParameterCount; ++index) {
            const TStrgItem item = InitialParameter(index);
            if (item.mode == r.mode() && item.memoryAddress == r.memory() && item.mode != 0x08)
                return QStringLiteral("P%1").arg(index);
        }
        if (r.mode() == 0x08) {
            for (int index = 0; index < kParameterCount; ++index) {
                if (InitialParameter(index).mode == 0x08 &&
                    InitialParameter(index).memoryAddress == r.memory())
                    return QStringLiteral("P%1").arg(index);
            }
            return QStringLiteral("E%1").arg(r.memory());
        }
        return QStringLiteral("%1:%2").arg(r.mode(), 2, 16).arg(r.memory(), 3, 16);
    }

    ScanHarness h;
    ControllerState state;
    RecordingRefreshHost host;
    ControllerRefresh refresh{h.pc, state, host};
};

QStringList split(const char* reads)
{
    return QString::fromLatin1(reads).split(u' ');
}

TEST_F(RefreshTest, SteadyRefreshReadsInTheFixedOrderForEachControllerType)
{
    struct Case {
        int address;
        int type;
        const char* reads;
    };
    const Case cases[] = {
        // Standard turn/tilt controller, variant AAh: window kind, no chain values.
        {1, 1, "P0 P2 P3 P4 P21 P1 P0 P23 P26 P25 P48 P49 P13 P9 P5 P6 P12"},
        // Chain drive, type 4, variant 55h: opening width, pole reversal, release.
        {2, 4, "P0 P2 P3 P4 P21 P0 P23 P37 E185 P38 P26 P25 P48 P49 P13 P9 P5 P6 P12"},
        // Sliding drive: its opening width is parameter 22.
        {4, 7, "P0 P2 P3 P4 P21 P0 P23 P22 P26 P25 P48 P49 P13 P9 P5 P6 P12"},
        // PAF master: the slave group, and the slave's safety-edge values.
        {5, 8,
         "P0 P2 P3 P4 P21 P0 P23 P37 E185 P38 P43 P46 P44 P45 P54 P53 P26 P25 P50 P51 P13 "
         "P9 P5 P6 P12"},
    };
    for (const Case& c : cases) {
        state = ControllerState{};
        openController(c.address);
        EXPECT_EQ(state.controllerType, c.type);
        (void)tick();
        // The third refresh after the opening neither rebuilds the picture nor reads slow values.
        EXPECT_EQ(readsOf([&] { (void)tick(); }), split(c.reads)) << "address " << c.address;
        h.pc.Disconnect();
    }
}

BusSetup defaultBusWithoutSafetyEdges()
{
    BusSetup setup = DefaultBusSetup();
    for (ControllerSetup& controller : setup.controllers)
        controller.safetyEdge = EdgeCondition::None;
    return setup;
}

struct RefreshWithoutSafetyEdgeTest : RefreshTest {
    RefreshWithoutSafetyEdgeTest() : RefreshTest(defaultBusWithoutSafetyEdges()) {}
};

TEST_F(RefreshWithoutSafetyEdgeTest, OnlyItsPresenceIsRead)
{
    openController(1);
    (void)tick();
    EXPECT_EQ(readsOf([&] { (void)tick(); }), split("P0 P2 P3 P4 P21 P1 P0 P23 P26 P9 P5 P6 P12"));
    EXPECT_EQ(state.safetyEdgeState, 0);
}

TEST_F(RefreshTest, FailedEventReadShowsOnlyTheMissingCommunication)
{
    openController(1);
    (void)tick();
    const TStrgItem events = InitialParameter(ParEventBits);
    // Parameter reads get no second try.
    h.bus.failRequests({.mode = uint8_t(events.mode), .window = 1, .memory = events.memoryAddress},
                       RequestFault::silence(), 1);
    const RefreshResult r = tick();
    EXPECT_EQ(r.view.changes().keys(),
              (QStringList{QStringLiteral("StatusBar"), QStringLiteral("StatusBar.0"),
                           QStringLiteral("StatusBar.1")}));
    EXPECT_EQ(r.view.changes().value(QStringLiteral("StatusBar.0")).text, LanguageText(121));
    EXPECT_FALSE(r.picture);
    EXPECT_EQ(state.slowValueCounter, 0);
    // Four more good refreshes before the slow values come again.
    QList<bool> slow;
    for (int i = 0; i < 5; ++i) {
        slow << readsOf([&] { (void)tick(); }).contains(QStringLiteral("E37"));
    }
    EXPECT_EQ(slow, (QList<bool>{false, false, false, true, false}));
}

TEST_F(RefreshTest, LayoutSetUpWaitsForTheVariantByte)
{
    // Parameter 31 fails on the first two refreshes.
    const TStrgItem variant = InitialParameter(ParVariant);
    h.bus.failRequests(
        {.mode = uint8_t(variant.mode), .window = 2, .memory = variant.memoryAddress},
        RequestFault::silence(), 2);
    openController(2);
    EXPECT_FALSE(state.layoutSetUp);
    // The rest of the refresh decoded all the same.
    EXPECT_EQ(state.controllerType, 4);
    RefreshResult r = tick();
    EXPECT_FALSE(state.layoutSetUp);
    EXPECT_FALSE(r.options);
    EXPECT_TRUE(r.view.changes().contains(QStringLiteral("lblFensterZustand")) ||
                r.view.changes().contains(QStringLiteral("lblVcc")));
    r = tick();
    EXPECT_TRUE(state.layoutSetUp);
    ASSERT_TRUE(r.options);
    EXPECT_EQ(state.variantByte, 0x55);
    EXPECT_EQ(r.view.changes().value(QStringLiteral("lblWinTyp")).text, LanguageText(46));
}

TEST_F(RefreshTest, UnreadableControllerTypeGivesTheStandardLayout)
{
    h.bus.failRequests({.mode = 0x08, .window = 2, .memory = 45}, RequestFault::wrongChecksum(), 2);
    ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
    h.pc.SetWindowAddress(2);
    (void)refresh.open();
    h.pc.StartPolling();
    const RefreshResult r = refresh.run();
    EXPECT_EQ(state.controllerType, 1);
    const QString label22 = *r.view.changes().value(QStringLiteral("Label22")).text;
    EXPECT_TRUE(label22.endsWith(QStringLiteral(", 1"))) << label22.toStdString();
    EXPECT_EQ(r.view.changes().value(QStringLiteral("Label14")).text,
              QStringLiteral("Fenestrix-Typ:"));
}

TEST_F(RefreshTest, PictureIsRebuiltOnEveryFifthSteadyRefreshWithItsTwoReads)
{
    openController(1);
    QList<bool> rebuilt;
    QList<bool> radioRead;
    for (int i = 0; i < 10; ++i) {
        RefreshResult r;
        const QStringList reads = readsOf([&] { r = tick(); });
        rebuilt << r.picture.has_value();
        radioRead << (reads.contains(QStringLiteral("P32")) &&
                      reads.contains(QStringLiteral("P33")));
    }
    const QList<bool> everyFifth{false, false, false, false, true,
                                 false, false, false, false, true};
    EXPECT_EQ(rebuilt, everyFifth);
    EXPECT_EQ(radioRead, everyFifth);
}

TEST_F(RefreshTest, SlowValuesOnTheFirstRefreshAndEveryFourth)
{
    QStringList first;
    ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
    h.pc.SetWindowAddress(2);
    (void)refresh.open();
    h.pc.StartPolling();
    h.pc.PausePolling();
    first = readsOf([&] { (void)refresh.run(); });
    // After the set-up (type byte, variant, option lists, ...) the slow values close the refresh.
    const QStringList slow = split("P30 E37 P10 P11 P7 P8 P14 P15 P16 P17 P18 P35 P36 P19 P20");
    ASSERT_GE(first.size(), slow.size());
    EXPECT_EQ(first.mid(first.size() - slow.size()), slow);
    EXPECT_EQ(first.mid(0, 2), split("E45 P31"));
    QList<bool> slowRefreshes;
    for (int i = 0; i < 8; ++i)
        slowRefreshes << readsOf([&] { (void)tick(); }).contains(QStringLiteral("E37"));
    EXPECT_EQ(slowRefreshes, (QList<bool>{false, false, false, true, false, false, false, true}));
}

TEST_F(RefreshTest, VersionWatchReconnectsOnTheThirdMismatch)
{
    openController(1);
    state.softwareVersion = 0x0400; // the version at opening differs from what the controller says
    int slowSteps = 0;
    while (slowSteps < 3) {
        const QStringList reads = readsOf([&] { (void)tick(); });
        slowSteps += reads.contains(QStringLiteral("E37")) ? 1 : 0;
        EXPECT_EQ(host.reconnects, slowSteps == 3 ? 1 : 0);
    }
    EXPECT_EQ(state.versionMismatches, 0);
}

TEST_F(RefreshTest, EventsRunBetweenTelegramsAndAClosedWindowReadsNoMore)
{
    openController(1);
    host.eventRuns = 0;
    const QStringList reads = readsOf([&] { (void)tick(); });
    EXPECT_EQ(host.eventRuns, reads.size());
    // The window closes while the fifth read is under way.
    host.onEvents = [this] {
        if (h.ports.requests.size() == 5)
            host.isClosed = true;
    };
    EXPECT_EQ(readsOf([&] { (void)tick(); }).size(), 5);
}

TEST_F(RefreshTest, OpeningReadsValuesOfThisControllerNotTheCacheOfTheOneBefore)
{
    openController(1);
    for (int i = 0; i < 20; ++i)
        (void)h.pc.PollNext(); // the main window's polling fills the cache from controller 1
    h.pc.StopPolling();
    state.layoutSetUp = false;
    h.pc.SetWindowAddress(2);
    (void)refresh.open();
    h.pc.StartPolling();
    const QStringList reads = readsOf([&] { (void)refresh.run(); });
    // Cyclic entries (the supply voltage among them) are read from controller 2 itself.
    EXPECT_TRUE(reads.contains(QStringLiteral("P9")));
    for (const TracedRequest& r : h.ports.requests)
        EXPECT_EQ(r.window(), 2);
}

TEST_F(RefreshTest, WindowAddressAndOpenButtonCaption)
{
    EXPECT_EQ(WindowAddressText(35), QStringLiteral("35"));
    EXPECT_EQ(WindowAddressText(36), QStringLiteral("24h"));
    EXPECT_EQ(WindowAddressText(63), QStringLiteral("3Fh"));
    openController(2); // type 4, version 7.03, parameter 42 reads 1
    h.ports.requests.clear();
    EXPECT_EQ(refresh.winAufCaption(), LanguageText(395));
    EXPECT_EQ(readsOf([&] { (void)refresh.winAufCaption(); }), split("P42"));
}

} // namespace

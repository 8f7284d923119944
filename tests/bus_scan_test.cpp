// The bus scan against the simulated bus on the virtual clock: rows, summaries, gaps, faults,
// cancel, and the telegrams and waits of a scan.
#include "ScanHarness.h"
#include "sim/BusSetup.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

BusSetup busWith(QList<int> addresses, bool groupUnit)
{
    BusSetup setup;
    if (groupUnit)
        setup.groupUnit = GroupUnitSetup{};
    int ordinal = 0;
    for (int address : addresses)
        setup.controllers << DefaultControllerSetup(ControllerKind::TurnTilt, address, ++ordinal);
    return setup;
}

struct BusScanTest : ::testing::Test {
    void SetUp() override { SetCurrentLanguage(German); }
};

TEST_F(BusScanTest, GroupUnitAndThreeControllers)
{
    ScanHarness h(busWith({1, 2, 3}, true));
    const ScanResult result = h.scan();
    EXPECT_TRUE(result.portOpened);
    EXPECT_EQ(result.summary, QStringLiteral("3 Fenster, Gruppensteuergerät"));
    EXPECT_FALSE(h.host.alarm);
    ASSERT_EQ(h.list.deviceCount(), 4);
    EXPECT_EQ(h.list.cell(0, 0), QStringLiteral("0"));
    EXPECT_EQ(h.list.cell(3, 0), QStringLiteral("3"));
    EXPECT_EQ(h.list.cell(1, 7), QStringLiteral(" Normalbetrieb "));
    EXPECT_EQ(h.list.groupDrivePause, 3);
    EXPECT_EQ(h.host.connects, 1);
    EXPECT_EQ(h.host.recordedProgress.kind, 1);
    EXPECT_EQ(h.host.recordedProgress.maximum, 31);
    EXPECT_FALSE(h.host.recordedProgress.shown);
}

TEST_F(BusScanTest, GapsAreReportedBeforeTheNextProbe)
{
    struct Case {
        QList<int> addresses;
        bool gap;
        const char* summary;
    };
    const Case cases[] = {
        {{1, 3}, true, "2 Fenster, Achtung Adresslücke"},
        {{1, 30}, false, "2 Fenster"}, // the gap before 30 is never tested
        {{1, 2, 63}, true, "3 Fenster, Achtung Adresslücke"},
        {{}, false, "keine Fenster"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.summary);
        ScanHarness h(busWith(c.addresses, false));
        EXPECT_EQ(h.scan().summary, QString::fromUtf8(c.summary));
        EXPECT_EQ(h.host.alarm, c.gap);
        EXPECT_EQ(h.list.deviceCount(), c.addresses.size());
    }
}

TEST_F(BusScanTest, Address3FIsListedInHex)
{
    ScanHarness h(busWith({63}, false));
    h.scan();
    ASSERT_EQ(h.list.deviceCount(), 1);
    EXPECT_EQ(h.list.cell(0, 0), QStringLiteral("3Fh"));
    EXPECT_EQ(h.list.rowAddress(0), 63);
}

TEST_F(BusScanTest, VersionDependentChainLengthAndNewGroupUnit)
{
    BusSetup setup = busWith({}, true);
    setup.groupUnit->software = 0x0310;
    ControllerSetup chain = DefaultControllerSetup(ControllerKind::ChainDrive, 1, 1);
    chain.software = 0x0412;
    chain.parameters[1] = 4; // window kind 4
    setup.controllers << chain;
    ScanHarness h(setup);
    h.scan();
    ASSERT_EQ(h.list.deviceCount(), 2);
    EXPECT_EQ(h.list.cell(0, 2), QStringLiteral("neu"));
    EXPECT_EQ(h.list.cell(0, 5), QStringLiteral("3.16"));
    EXPECT_EQ(h.list.cell(1, 3), QStringLiteral("200 mm  "));
    EXPECT_EQ(h.list.cell(1, 5), QStringLiteral("4.12"));
}

TEST_F(BusScanTest, GarbledRepliesGiveRowsWithQuestionMarks)
{
    BusSetup setup = busWith({1, 2}, false);
    setup.controllers[1].faults.wrongChecksum = true;
    // Two controllers on address 3: their replies collide.
    setup.controllers << DefaultControllerSetup(ControllerKind::TurnTilt, 3, 3)
                      << DefaultControllerSetup(ControllerKind::SmokeVent, 3, 4);
    ScanHarness h(setup);
    h.scan();
    ASSERT_EQ(h.list.deviceCount(), 3);
    EXPECT_EQ(h.list.cell(1, 7), QStringLiteral(" Kommunikation CKS-ERR! "));
    EXPECT_EQ(h.list.cell(1, 1), QStringLiteral(" ?"));
    EXPECT_EQ(h.list.cell(2, 7), QStringLiteral(" mehrfach vorhanden! "));
    EXPECT_EQ(h.list.cell(2, 4), QStringLiteral("?"));
}

TEST_F(BusScanTest, BusThatNeverFallsSilentStopsTheScanWithOneMessage)
{
    BusSetup setup = busWith({1, 2}, false);
    setup.neverSilent = true;
    ScanHarness h(setup);
    h.scan();
    EXPECT_EQ(h.host.recorded.shown,
              QStringList{QStringLiteral("error: Zu viele fremde Buskommunikation")});
    EXPECT_EQ(h.list.deviceCount(), 0);
    EXPECT_TRUE(h.ports.requests.isEmpty()); // nothing goes out on a busy bus
}

TEST_F(BusScanTest, CancelDuringAddress7EndsTheScanThere)
{
    ScanHarness h(busWith({1, 2, 3, 9}, false));
    h.host.recordedProgress.onPosition = [&](int address) {
        if (address == 7)
            h.host.recordedProgress.abortFlag = true;
    };
    h.scan();
    QList<int> probed = h.probedAddresses();
    probed.removeAll(63);
    EXPECT_EQ(*std::max_element(probed.begin(), probed.end()), 7);
    // One attempt at 7: its version probe and the one retry inside it, no second attempt.
    EXPECT_EQ(probed.count(7), 2);
    EXPECT_EQ(h.list.deviceCount(), 3);
}

TEST_F(BusScanTest, CancelledStartDialogLeavesTheListAndCountsOldRows)
{
    ScanHarness h(busWith({1}, true));
    h.scan();
    ASSERT_EQ(h.list.deviceCount(), 2);
    h.host.startAnswer = false;
    const ScanResult result = h.scan();
    EXPECT_EQ(h.list.deviceCount(), 2);
    EXPECT_EQ(result.summary, QStringLiteral("2 Fenster")); // without the group unit count
    EXPECT_EQ(h.host.connects, 2);
}

TEST_F(BusScanTest, PortThatDoesNotOpenGivesTheMessage)
{
    ScanHarness h(busWith({1}, false));
    const ScanResult result = h.scan(4);
    EXPECT_FALSE(result.portOpened);
    EXPECT_EQ(
        h.host.recorded.shown,
        QStringList{QStringLiteral("error: Serielle Schnittstelle kann nicht geöffnet werden!")});
}

TEST_F(BusScanTest, TelegramsOfAControllerProbeInOrder)
{
    ScanHarness h(busWith({1}, false));
    h.scan();
    // From the version probe of address 1 to the next keep-alive.
    int first = 0;
    while (!(h.ports.requests[first].mode() == 0x76 && h.ports.requests[first].window() == 1))
        ++first;
    QStringList sequence;
    for (int i = first; h.ports.requests[i].mode() != 0x4F; ++i)
        sequence << QStringLiteral("%1/%2")
                        .arg(h.ports.requests[i].mode(), 2, 16, QChar('0'))
                        .arg(h.ports.requests[i].memory(), 3, 16, QChar('0'));
    const QStringList expected{"76/000", "08/010", "08/011", "15/000", "15/010", "08/017", "08/018",
                               "08/019", "08/01a", "15/019", "15/00f", "15/007", "15/002"};
    EXPECT_EQ(sequence, expected);
}

TEST_F(BusScanTest, EventBitsOfAFailedReadAreNotShown)
{
    // Both controllers have events; the event read of controller 2 fails with a wrong checksum,
    // which still delivers six bytes whose data must not be taken.
    BusSetup setup = busWith({1, 2}, false);
    for (ControllerSetup& c : setup.controllers)
        c.events = 0x0004;
    ScanHarness h(setup);
    const TStrgItem events = InitialParameter(ParEventBits);
    h.bus.failRequests({.mode = uint8_t(events.mode), .window = 2, .memory = events.memoryAddress},
                       RequestFault::wrongChecksum(), 1);
    h.scan();
    ASSERT_EQ(h.list.deviceCount(), 2);
    EXPECT_EQ(h.list.device(0)->eventBits, 0x0004);
    EXPECT_EQ(h.list.cell(0, 7), QStringLiteral(" Normalbetrieb Ereignisse vorhanden"));
    EXPECT_EQ(h.list.device(1)->eventBits, 0);
    EXPECT_EQ(h.list.cell(1, 7), QStringLiteral(" Normalbetrieb "));
    EXPECT_EQ(StatusColourOf(*h.list.device(1)), StatusColour::Normal);
}

TEST_F(BusScanTest, FailedFollowUpReadShowsTheDataWordSent)
{
    // The window kind (sent with data 0) gets no answer: the row shows kind 0, "nicht bekannt".
    ScanHarness h(busWith({1}, false));
    const TStrgItem kind = InitialParameter(ParWindowKind);
    h.bus.failRequests({.mode = uint8_t(kind.mode), .window = 1, .memory = kind.memoryAddress},
                       RequestFault::silence(), 1);
    h.scan();
    ASSERT_EQ(h.list.deviceCount(), 1);
    EXPECT_EQ(h.list.device(0)->windowKind, kind.data);
    EXPECT_EQ(h.list.cell(0, 1), QStringLiteral(" nicht bekannt"));
}

TEST_F(BusScanTest, GroupUnitThatAnswersOnlyTheSecondTryIsFound)
{
    ScanHarness h(busWith({1}, true));
    h.bus.failRequests({.mode = 0x08, .window = 0, .memory = 0x0E}, RequestFault::shortReply(3), 1);
    const ScanResult result = h.scan();
    ASSERT_EQ(h.list.deviceCount(), 2);
    EXPECT_TRUE(h.list.device(0)->isGroupUnit());
    EXPECT_EQ(result.summary, QStringLiteral("1 Fenster, Gruppensteuergerät"));
    // The second try comes 50 ms after the first one's 100 ms time limit.
    QList<uint64_t> tries;
    for (const TracedRequest& r : h.ports.requests) {
        if (r.mode() == 0x08 && r.window() == 0 && r.memory() == 0x0E)
            tries << r.atUs;
    }
    ASSERT_EQ(tries.size(), 2);
    EXPECT_NEAR((tries[1] - tries[0]) / 1000.0, 150, 5);
}

TEST_F(BusScanTest, EmptyBusTakesTheSumOfItsWaitsAndTimeLimits)
{
    ScanHarness h(busWith({}, false));
    h.scan();
    // Keep-alives 2 x (100 + 50), group unit 100 + 50 + 100, 3Fh 2 x 100, 50, and per address
    // 2 x (keep-alive 100 + probe 2 x 100 + 100) + 50.
    const double expectedMs = 300 + 250 + 200 + 50 + 30 * 850;
    EXPECT_NEAR(h.clock.nowUs() / 1000.0, expectedMs, expectedMs * 0.04);
    EXPECT_GE(h.clock.nowUs() / 1000.0, expectedMs);
    // From the second keep-alive to the first probe of address 1: its time limit, 50 ms, the
    // group unit's two tries with 50 ms between them, the two tries at 3Fh and 50 ms.
    QList<uint64_t> keepAlives;
    for (const TracedRequest& r : h.ports.requests)
        if (r.mode() == 0x4F)
            keepAlives << r.atUs;
    ASSERT_EQ(keepAlives.size(), 2 + 60);
    EXPECT_NEAR((keepAlives[2] - keepAlives[1]) / 1000.0, 100 + 50 + 100 + 50 + 100 + 200 + 50, 25);
}

} // namespace

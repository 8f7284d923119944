// Bus addressing on the simulated bus and the virtual clock: change address, readdressing in two
// phases, and emergency addressing; the telegrams, and the bus afterwards.
#include "RecordingSerial.h"
#include "ScanHarness.h"
#include "mainwindow/core/Addressing.h"
#include "sim/BusSetup.h"
#include "sim/SimulatedController.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct RecordedAddressingHost final : AddressingHost {
    RecordedMessages recorded;
    RecordedProgress recordedProgress;
    QList<std::optional<int>> newAddresses; // answers of the value dialog
    QStringList statuses;
    int disconnects = 0;
    bool statusKept = true;           // by the last disconnect
    TFensterSteuerung* bus = nullptr; // sends the keep-alives, disconnected when the flow asks

    void SendKeepAlive() override
    {
        if (bus)
            bus->SendKeepAlive();
    }
    void DisconnectBus(bool keepStatusText) override
    {
        ++disconnects;
        statusKept = keepStatusText;
        if (bus)
            bus->Disconnect();
    }
    void processEvents() override {}
    void setProgressStatus(const QString& text) override { statuses << text; }
    std::optional<int> askNewAddress(int) override
    {
        return newAddresses.isEmpty() ? std::nullopt : newAddresses.takeFirst();
    }
    ProgressReporter& progress() override { return recordedProgress; }
    UserMessages& messages() override { return recorded; }
};

BusSetup controllersAt(QList<int> addresses)
{
    BusSetup setup;
    int ordinal = 0;
    for (int address : addresses)
        setup.controllers << DefaultControllerSetup(ControllerKind::TurnTilt, address, ++ordinal);
    return setup;
}

struct AddressingTest : ::testing::Test {
    explicit AddressingTest(QList<int> addresses = {1, 2, 3}) : h(controllersAt(addresses)) {}
    void SetUp() override
    {
        SetCurrentLanguage(German);
        h.scan();
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        h.ports.requests.clear();
        host.bus = &h.pc;
    }
    // Address writes (EEPROM 34h) as "from->to", in order.
    QStringList addressWrites() const
    {
        QStringList writes;
        for (const TracedRequest& r : h.ports.requests) {
            if (r.mode() == 0x09 && r.memory() == 0x34)
                writes << QStringLiteral("%1->%2")
                              .arg(r.window())
                              .arg(static_cast<uint8_t>(r.bytes[3]));
        }
        return writes;
    }
    // Every request as mode, window and memory address ("09 1:34h"); writes add "=value".
    QStringList telegrams() const
    {
        QStringList lines;
        for (const TracedRequest& r : h.ports.requests) {
            QString line = QStringLiteral("%1 %2:%3h")
                               .arg(r.mode(), 2, 16, QLatin1Char('0'))
                               .arg(r.window())
                               .arg(r.memory(), 0, 16)
                               .toUpper();
            if (r.mode() == 0x09)
                line += QStringLiteral("=%1").arg(static_cast<uint8_t>(r.bytes[3]));
            lines << line;
        }
        return lines;
    }
    // The serial number of the controller that answers at each address now.
    QList<int> serialsAt(QList<int> addresses)
    {
        QList<int> serials;
        for (int address : addresses) {
            const SimulatedController* c = h.bus.controllerAt(address);
            serials << (c ? c->serial() : -1);
        }
        return serials;
    }

    ScanHarness h;
    RecordedAddressingHost host;
    BusAddressing addressing{h.clock, h.ports, h.pc, h.list, host};
};

TEST(TemporaryAddresses, SkipForty)
{
    EXPECT_EQ(BusAddressing::TemporaryAddress(1), 32);
    EXPECT_EQ(BusAddressing::TemporaryAddress(8), 39);
    EXPECT_EQ(BusAddressing::TemporaryAddress(9), 41);
    EXPECT_EQ(BusAddressing::TemporaryAddress(30), 62);
}

TEST(ReaddressingPlan, Validation)
{
    struct Case {
        QList<int> old;
        QList<int> planned;
        int errors;
    };
    const Case cases[] = {
        {{1, 2}, {2, 1}, 0},       // a swap collides only with its partner's old address
        {{1, 5}, {5, 5}, 1},       // 5 while an unchanged controller keeps 5
        {{1, 2, 3}, {1, 2, 3}, 0}, // nothing changed
        {{1, 2}, {63, 2}, 16},     // above 30
        {{1, 2, 3}, {4, 4, 3}, 2}, // two changed to the same address
    };
    for (const Case& c : cases)
        EXPECT_EQ(BusAddressing::PlanErrors(c.old, c.planned), c.errors) << c.planned[0];
}

TEST_F(AddressingTest, SwapGoesThroughTemporaryAddressesAndTheBusFollows)
{
    const QList<int> before = serialsAt({1, 2, 3});
    addressing.enterReaddressing();
    host.newAddresses = {2, 1};
    addressing.changeAddress(0);
    addressing.changeAddress(1);
    EXPECT_EQ(h.list.cell(0, 0), QStringLiteral("2"));
    EXPECT_TRUE(h.ports.requests.isEmpty()); // planning sends nothing
    host.recorded.answers = {true};
    ASSERT_TRUE(addressing.applyReaddressing());
    // Each changed controller gets a keep-alive before its write, read-back and take-over; two
    // more keep-alives lie between the phases.
    const QStringList phase1{"4F 0:0H", "09 1:34H=32", "08 1:34H", "30 1:33H",
                             "4F 0:0H", "09 2:34H=33", "08 2:34H", "30 2:33H"};
    const QStringList between{"4F 0:0H", "4F 0:0H"};
    const QStringList phase2{"4F 0:0H", "09 32:34H=2", "08 32:34H", "30 32:33H",
                             "4F 0:0H", "09 33:34H=1", "08 33:34H", "30 33:33H"};
    EXPECT_EQ(telegrams(), phase1 + between + phase2);
    EXPECT_EQ(serialsAt({1, 2, 3}), (QList<int>{before[1], before[0], before[2]}));
    EXPECT_EQ(host.recordedProgress.kind, 4);
    EXPECT_EQ(host.recordedProgress.positions, (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(addressing.readdressing());
}

TEST_F(AddressingTest, InvalidPlanIsRefusedAndReaddressingGoesOn)
{
    addressing.enterReaddressing();
    host.newAddresses = {3};
    addressing.changeAddress(0); // 1 -> 3 while 3 stays
    EXPECT_FALSE(addressing.applyReaddressing());
    EXPECT_TRUE(addressing.readdressing());
    ASSERT_EQ(host.recorded.shown.size(), 1);
    EXPECT_TRUE(
        host.recorded.shown[0].startsWith(QStringLiteral("error: Fehler! Neue Adressvergabe")));
    EXPECT_TRUE(h.ports.requests.isEmpty());
    // Abort puts the old address back.
    addressing.abortReaddressing();
    EXPECT_EQ(h.list.cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(addressing.plannedAddresses(), (QList<int>{1, 2, 3}));
}

TEST_F(AddressingTest, UnchangedPlanAsksAndSendsNothing)
{
    addressing.enterReaddressing();
    host.recorded.answers = {true};
    EXPECT_TRUE(addressing.applyReaddressing());
    EXPECT_EQ(host.recorded.shown.size(), 1); // the question
    EXPECT_TRUE(addressWrites().isEmpty());
}

TEST_F(AddressingTest, ChangeAddressWritesAtOnceAfterTheQuestion)
{
    host.newAddresses = {2};
    addressing.changeAddress(2); // 2 is in the list
    EXPECT_EQ(host.recorded.shown,
              QStringList{QStringLiteral("error: Diese Adresse ist am Bus schon vorhanden!")});
    EXPECT_TRUE(h.ports.requests.isEmpty());

    host.newAddresses = {7};
    host.recorded.answers = {false};
    addressing.changeAddress(2);
    EXPECT_TRUE(h.ports.requests.isEmpty());

    const int serial = serialsAt({3})[0];
    host.newAddresses = {7};
    host.recorded.answers = {true};
    addressing.changeAddress(2);
    EXPECT_EQ(addressWrites(), QStringList{"3->7"});
    EXPECT_EQ(host.recorded.questionButtons,
              QList<UserMessages::Buttons>(2, UserMessages::Buttons::YesNoCancel));
    EXPECT_EQ(h.list.cell(2, 0), QStringLiteral("7"));
    EXPECT_EQ(serialsAt({7})[0], serial);
    // The command that makes the address take effect comes 123 ms after the write.
    const auto& r = h.ports.requests;
    ASSERT_GE(r.size(), 2);
    EXPECT_EQ(r.last().mode(), 0x30);
    EXPECT_GE(r.last().atUs - r[r.size() - 2].atUs, 123'000u);
}

TEST_F(AddressingTest, ReaddressingWritesAgainWhenTheReadBackFails)
{
    // The first write of 1 -> 32 is answered but lost, and its read-back gets no answer (both
    // tries). Only a second write brings the controller to its temporary address.
    h.bus.loseEepromWrites({.mode = 0x09, .window = 1, .memory = 0x34}, 1);
    h.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x34}, RequestFault::silence(), 2);
    const int serial = serialsAt({1})[0];
    addressing.enterReaddressing();
    host.newAddresses = {5};
    addressing.changeAddress(0);
    host.recorded.answers = {true};
    ASSERT_TRUE(addressing.applyReaddressing());
    EXPECT_EQ(addressWrites(), (QStringList{"1->32", "1->32", "32->5"}));
    EXPECT_EQ(serialsAt({5})[0], serial);
}

TEST_F(AddressingTest, ChangeAddressThatWasNotWrittenKeepsTheListAndSaysSo)
{
    // Neither try of the write gets an answer.
    h.bus.failRequests({.mode = 0x09, .window = 3, .memory = 0x34}, RequestFault::silence());
    host.newAddresses = {7};
    host.recorded.answers = {true};
    addressing.changeAddress(2);
    EXPECT_EQ(h.list.cell(2, 0), QStringLiteral("3"));
    EXPECT_EQ(host.recorded.shown.last(), QStringLiteral("error: ") + LanguageText(285));
    // The telegrams are those of a write that went through: the write (and its retry), then
    // 123 ms later the take-over.
    EXPECT_EQ(telegrams(), (QStringList{"09 3:34H=7", "09 3:34H=7", "30 3:33H"}));
}

TEST_F(AddressingTest, PlanIgnoresRowsAddedAfterReaddressingBegan)
{
    addressing.enterReaddressing();
    TFensterInfo late;
    late.address = 9;
    h.list.AddWindowRow(late);
    host.newAddresses = {12};
    addressing.changeAddress(3);
    EXPECT_EQ(addressing.plannedAddresses(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(h.list.cell(3, 0), QStringLiteral("9"));
}

TEST_F(AddressingTest, Value63IsWrittenOnlyOutsideReaddressing)
{
    host.newAddresses = {63};
    host.recorded.answers = {true};
    addressing.changeAddress(0);
    EXPECT_EQ(addressWrites(), QStringList{"1->63"});
    EXPECT_EQ(h.list.cell(0, 0), QStringLiteral("3Fh")); // the list shows every address by one rule

    h.ports.requests.clear();
    addressing.enterReaddressing();
    host.newAddresses = {63};
    addressing.changeAddress(1);
    EXPECT_EQ(addressing.plannedAddresses()[1], 2);
    EXPECT_EQ(h.list.cell(1, 0), QStringLiteral("2"));
}

TEST_F(AddressingTest, EmergencyAddressingNumbersEveryControllerAndEndsOnSilence)
{
    host.recorded.answers = {true};
    EXPECT_EQ(addressing.emergencyAddressing({1, 19200}), BusAddressing::EmergencyEnd::Finished);
    QList<int> emergency;
    bool endSent = false;
    for (const TracedRequest& r : h.ports.requests) {
        if (r.mode() == 0x60)
            emergency << static_cast<uint8_t>(r.bytes[2]);
        endSent = endSent || (r.mode() == 0x65 && r.bytes[1] == char(0xA0));
    }
    EXPECT_EQ(emergency, (QList<int>{1, 2, 3, 4}));
    EXPECT_TRUE(endSent);
    QList<int> serials = serialsAt({1, 2, 3});
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(std::unique(serials.begin(), serials.end()), serials.end());
    EXPECT_NE(serials.first(), -1);
    EXPECT_EQ(host.statuses.first(), QStringLiteral("Vergabe von Adresse 1"));
    EXPECT_EQ(host.statuses.last(), QStringLiteral(" "));
    EXPECT_EQ(host.recordedProgress.kind, 3);
}

TEST_F(AddressingTest, EmergencyAddressingCancelStillEndsTheRun)
{
    host.recorded.answers = {true};
    host.recordedProgress.onPosition = [&](int n) {
        if (n == 2)
            host.recordedProgress.abortFlag = true;
    };
    addressing.emergencyAddressing({1, 19200});
    QList<int> modes;
    for (const TracedRequest& r : h.ports.requests)
        modes << r.mode();
    EXPECT_EQ(modes, (QList<int>{0x4F, 0x60, 0x65}));
}

TEST_F(AddressingTest, EmergencyAddressingNotConfirmedOrPortMissing)
{
    EXPECT_EQ(addressing.emergencyAddressing({1, 19200}),
              BusAddressing::EmergencyEnd::NotConfirmed);
    EXPECT_EQ(host.disconnects, 0);
    host.recorded.answers = {true};
    EXPECT_EQ(addressing.emergencyAddressing({5, 19200}), BusAddressing::EmergencyEnd::PortFailed);
    EXPECT_TRUE(host.recorded.shown.last().contains(QStringLiteral("Serielle Schnittstelle")));
    EXPECT_TRUE(h.ports.requests.isEmpty());
    // Every addressing question offers Yes, No and Cancel.
    EXPECT_EQ(host.recorded.questionButtons,
              QList<UserMessages::Buttons>(2, UserMessages::Buttons::YesNoCancel));
    // The link is closed after the failed open, and the status says so.
    EXPECT_FALSE(h.pc.IsConnected());
    EXPECT_FALSE(host.statusKept);
}

TEST(EmergencyAddressing, EmptyBusAndWrongAnswer)
{
    SetCurrentLanguage(German);
    {
        ScanHarness h(BusSetup{});
        RecordedAddressingHost host;
        BusAddressing addressing{h.clock, h.ports, h.pc, h.list, host};
        host.recorded.answers = {true};
        const uint64_t start = h.clock.nowUs();
        EXPECT_EQ(addressing.emergencyAddressing({1, 19200}),
                  BusAddressing::EmergencyEnd::Finished);
        // n = 1 waits its whole 2 s for an answer.
        EXPECT_GE(h.clock.nowUs() - start, 2'000'000u);
        EXPECT_LT(h.clock.nowUs() - start, 2'200'000u);
    }
    {
        // A device that answers the request for 1 with the number 2.
        VirtualClock clock;
        ScriptedLine line{clock};
        ScriptedPorts ports{line, {1}};
        line.responder = [](const QByteArray& request) {
            if (static_cast<uint8_t>(request[0]) != 0x60)
                return QByteArray();
            const Telegram t = MakeTelegram(0x63, 0x02A0, 0);
            return QByteArray(reinterpret_cast<const char*>(t.data()), 6);
        };
        TFensterSteuerung pc(clock, ports, QStringLiteral("/nonexistent/Fenestrix.ini"));
        WindowListModel list;
        RecordedAddressingHost host;
        BusAddressing addressing{clock, ports, pc, list, host};
        host.recorded.answers = {true};
        EXPECT_EQ(addressing.emergencyAddressing({1, 19200}),
                  BusAddressing::EmergencyEnd::WrongAnswer);
        EXPECT_EQ(host.recorded.shown.last(),
                  QStringLiteral("warning: Meldung: Abbruch!\nFalsche Antwort."));
    }
}

} // namespace

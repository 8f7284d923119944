// The group control unit's settings and production data against the simulated group control
// unit on the virtual clock: the mappings, the read sequence with its pauses and its failures,
// the apply of only the changed settings, and the production data formats.
#include "groupunit/core/GroupUnitMappings.h"
#include "groupunit/core/GroupUnitProductionData.h"
#include "groupunit/core/GroupUnitSettings.h"
#include "tests/OpenController.h"

#include <functional>

namespace {

TEST(GroupUnitMappings, ListEntriesOfStoredValuesAndBack)
{
    struct Case {
        const char* name;
        std::function<int(int)> index;
        QList<std::pair<int, int>> valueToIndex;
    };
    const Case cases[] = {
        {"gap width",
         GapWidthIndex,
         {{55, 4}, {100, 9}, {10, 0}, {5, 0}, {0, 0}, {19, 0}, {20, 1}}},
        {"interval",
         IntervalIndex,
         {{75, 6}, {200, 8}, {201, 9}, {5, 0}, {70, 6}, {110, 6}, {111, 7}, {130, 7}, {131, 8}}},
        {"automatic time",
         AutomaticTimeIndex,
         {{17, 1},
          {14, 0},
          {15, 1},
          {29, 2},
          {30, 3},
          {44, 3},
          {45, 4},
          {59, 4},
          {60, 5},
          {90, 5}}},
    };
    for (const Case& c : cases) {
        for (const auto& [value, index] : c.valueToIndex)
            EXPECT_EQ(c.index(value), index) << c.name << " " << value;
    }
    EXPECT_EQ(GapWidthValue(9), 100);
    EXPECT_EQ(GapWidthValue(0), 10);
    EXPECT_EQ(IntervalValue(6), 90);
    EXPECT_EQ(IntervalValue(9), 240);
    EXPECT_EQ(AutomaticTimeValue(1), 15);
    for (int index = 0; index < 10; ++index)
        EXPECT_EQ(IntervalIndex(IntervalValue(index)), index);
    for (int index = 0; index < 6; ++index)
        EXPECT_EQ(AutomaticTimeIndex(AutomaticTimeValue(index)), index);
    EXPECT_TRUE(IsNotConfigurable(0xFF));
    EXPECT_TRUE(IsNotConfigurable(0x01FF));
    EXPECT_FALSE(IsNotConfigurable(0xFE));
}

TEST(GroupUnitMappings, FunctionNumberingByVersionWord)
{
    EXPECT_FALSE(ExtendedFunctionNumbering(0x0012));
    EXPECT_FALSE(ExtendedFunctionNumbering(0x0F01));
    EXPECT_TRUE(ExtendedFunctionNumbering(0x1002));
    EXPECT_TRUE(ExtendedFunctionNumbering(0x0003));
    EXPECT_TRUE(ExtendedFunctionNumbering(std::nullopt));
    // Old numbering: X15 from 0, X16 only "Lüftungssperre".
    EXPECT_EQ(InputFunctionIndex(3, false, 12), 3);
    EXPECT_EQ(InputFunctionIndex(5, false, 1), 0);
    EXPECT_EQ(X15FunctionValue(3, false), 3);
    // Extended numbering: from 1; X16's 0 and 1 are both "Lüftungssperre".
    EXPECT_EQ(InputFunctionIndex(3, true, 12), 2);
    EXPECT_EQ(InputFunctionIndex(0, true, 12), 0);
    EXPECT_EQ(InputFunctionIndex(1, true, 12), 0);
    EXPECT_EQ(InputFunctionIndex(13, true, 12), 0);
    EXPECT_EQ(X15FunctionValue(0, true), 1);
    EXPECT_EQ(X16FunctionValue(0, true), 0);
    EXPECT_EQ(X16FunctionValue(2, true), 3);
    EXPECT_TRUE(ResetsToFirstEntry(2, 2));
    EXPECT_FALSE(ResetsToFirstEntry(0, 0));
    EXPECT_FALSE(ResetsToFirstEntry(2, 3));
}

BusSetup groupUnitWith(QMap<int, uint8_t> eeprom, uint16_t versionWord = 0x1002)
{
    BusSetup setup = DefaultBusSetup();
    setup.groupUnit->eeprom.insert(eeprom);
    setup.groupUnit->versionWord = versionWord;
    return setup;
}

struct RecordedGroupUnitHost final : GroupUnitHost {
    RecordedMessages recorded;
    QList<int> pauses;
    UserMessages& messages() override { return recorded; }
    void setGroupDrivePause(int seconds) override { pauses << seconds; }
};

struct GroupUnitTest : OpenControllerTest {
    explicit GroupUnitTest(const BusSetup& setup = DefaultBusSetup()) : OpenControllerTest(setup) {}
    GroupUnitChoice choiceOf(const GroupUnitReading& r) const
    {
        GroupUnitChoice choice;
        choice.drivePause = r.drivePause.value_or(0);
        for (int l = 0; l < kGroupUnitLists; ++l) {
            choice.index[l] = r.index[l].value_or(-1);
            choice.enabled[l] = r.enabled[l];
        }
        return choice;
    }
    GroupUnitSettings settings{h.pc, h.clock};
    RecordedGroupUnitHost host;
};

TEST_F(GroupUnitTest, ReadSequenceWithItsPausesAndMappedSettings)
{
    open(1); // the controller window's address stays
    const GroupUnitReading r = settings.read();
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(telegrams(),
              (QStringList{"16:000=0000", "08:020=0000", "08:021=0000", "08:02c=0000",
                           "08:100=0000", "08:02d=0000", "08:030=0000", "08:035=0000",
                           "0e:000=0100", "14:000=0000", "08:031=0000", "08:032=0000"}));
    for (qsizetype i = 1; i < h.ports.requests.size(); ++i)
        EXPECT_GE(h.ports.requests[i].atUs - h.ports.requests[i - 1].atUs, 50'000u) << i;
    for (const TracedRequest& request : h.ports.requests)
        EXPECT_EQ(request.window(), 0);
    EXPECT_EQ(h.pc.GetWindowAddress(), 1);
    EXPECT_EQ(r.status, QStringLiteral("01h"));
    EXPECT_EQ(r.addressingRuns, QStringLiteral("2"));
    EXPECT_EQ(r.windowsDetected, QStringLiteral("5"));
    EXPECT_EQ(r.drivePause, 3);
    // The default unit: 50 %, 30 minutes, 20 seconds, X15 1 = "Drehsperre", X16 0.
    EXPECT_EQ(r.index, (std::array<std::optional<int>, kGroupUnitLists>{4, 2, 2, 0, 0}));
    EXPECT_TRUE(r.extendedNumbering);
}

TEST(GroupUnitRead, VersionWordsAndNonConfigurableSettings)
{
    struct Case {
        uint16_t version;
        QMap<int, uint8_t> eeprom;
        std::array<std::optional<int>, kGroupUnitLists> index;
        std::array<bool, kGroupUnitLists> enabled;
        bool extended;
    };
    const Case cases[] = {
        {0x0012, {{0x31, 3}, {0x32, 5}}, {4, 2, 2, 3, 0}, {true, true, true, true, true}, false},
        {0x1002, {{0x31, 3}, {0x32, 1}}, {4, 2, 2, 2, 0}, {true, true, true, true, true}, true},
        {0x1002,
         {{0x2D, 0xFF}, {0x35, 0xFF}, {0x31, 0}},
         {std::nullopt, 2, std::nullopt, 0, 0},
         {false, true, false, true, true},
         true},
        // A width beyond the list selects nothing.
        {0x1002, {{0x2D, 150}}, {-1, 2, 2, 0, 0}, {true, true, true, true, true}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        ScanHarness h(groupUnitWith(c.eeprom, c.version));
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        GroupUnitSettings settings(h.pc, h.clock);
        const GroupUnitReading r = settings.read();
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(r.index, c.index);
        EXPECT_EQ(r.enabled, c.enabled);
        EXPECT_EQ(r.extendedNumbering, c.extended);
        // Taken over unchanged, nothing is written, not even the width nobody chose.
        GroupUnitChoice unchanged{.drivePause = r.drivePause.value_or(0)};
        for (int l = 0; l < kGroupUnitLists; ++l) {
            unchanged.index[l] = r.index[l].value_or(-1);
            unchanged.enabled[l] = r.enabled[l];
        }
        RecordedGroupUnitHost host;
        h.ports.requests.clear();
        settings.apply(unchanged, host);
        EXPECT_TRUE(h.ports.requests.isEmpty());
    }
}

TEST(GroupUnitRead, FailuresMarkTheReadingIncomplete)
{
    struct Case {
        const char* name;
        RequestMatch failing;
        int times;
        bool complete;
    };
    const Case cases[] = {
        // The status telegram is sent once more and then succeeds.
        {"status once", {.mode = 0x16, .window = 0}, 1, true},
        {"status twice", {.mode = 0x16, .window = 0}, 4, false},
        {"interval", {.mode = 0x08, .window = 0, .memory = 0x30}, 2, false},
        {"0Eh", {.mode = 0x0E, .window = 0}, 2, false},
        // The version word's failure is not one: the numbering stays extended.
        {"14h", {.mode = 0x14, .window = 0}, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScanHarness h(DefaultBusSetup());
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        h.ports.requests.clear();
        h.bus.failRequests(c.failing, RequestFault::silence(), c.times);
        GroupUnitSettings settings(h.pc, h.clock);
        const GroupUnitReading r = settings.read();
        EXPECT_EQ(r.complete, c.complete);
        EXPECT_TRUE(r.extendedNumbering);
        // Each telegram the access object retries once; count the distinct exchanges.
        QStringList distinct;
        for (const TracedRequest& request : h.ports.requests)
            distinct << requestText(request);
        distinct.removeDuplicates();
        EXPECT_EQ(distinct.size(), 12);
        for (const TracedRequest& request : h.ports.requests)
            EXPECT_NE(request.mode(), 0x09) << "nothing is written while reading";
    }
}

TEST_F(GroupUnitTest, ApplyWritesOnlyChangesInItsOrder)
{
    open(1);
    const GroupUnitReading r = settings.read();
    GroupUnitChoice choice = choiceOf(r);
    h.ports.requests.clear();
    settings.apply(choice, host);
    EXPECT_TRUE(telegrams().isEmpty());
    EXPECT_EQ(host.recorded.shown,
              QStringList{"notice: " + LanguageText(116) + ": " + LanguageText(280)});

    choice.drivePause = 7;
    choice.index[GapWidth] = 9;      // 100 %
    choice.index[AutomaticTime] = 1; // 15 s
    choice.index[InputX15] = 2;      // "Spaltlüften", stored as 3
    host.recorded.shown.clear();
    settings.apply(choice, host);
    EXPECT_EQ(telegrams(),
              (QStringList{"09:100=0007", "09:02d=0064", "09:035=000f", "09:031=0003"}));
    EXPECT_GE(h.clock.nowUs() - h.ports.requests.last().atUs, 50'000u);
    EXPECT_EQ(host.recorded.shown,
              QStringList{"notice: " + LanguageText(116) + ": " + LanguageText(314)});
    EXPECT_EQ(host.pauses, QList<int>{7});

    // Written values count as read: the same choice sends nothing.
    h.ports.requests.clear();
    settings.apply(choice, host);
    EXPECT_TRUE(telegrams().isEmpty());
}

TEST_F(GroupUnitTest, FailedWriteIsReportedAndOnlyItIsTriedAgain)
{
    open(1);
    GroupUnitChoice choice = choiceOf(settings.read());
    choice.drivePause = 9;
    choice.index[Interval] = 9;
    h.bus.failRequests({.mode = 0x09, .window = 0, .memory = 0x30}, RequestFault::silence(), 2);
    h.ports.requests.clear();
    settings.apply(choice, host);
    EXPECT_EQ(host.recorded.shown.last(), "error: " + LanguageText(299));
    EXPECT_EQ(host.pauses, QList<int>{9});
    h.ports.requests.clear();
    settings.apply(choice, host);
    EXPECT_EQ(telegrams(), QStringList{"09:030=00f0"});
    EXPECT_EQ(host.recorded.shown.last(),
              "notice: " + LanguageText(116) + ": " + LanguageText(314));
}

TEST_F(GroupUnitTest, ProductionDataFormats)
{
    ScanHarness unit(groupUnitWith({{0x04, 0x14},
                                    {0x05, 0x23},
                                    {0x06, 0x21},
                                    {0x0B, 0x00},
                                    {0x0E, 0x0A},
                                    {0x0F, 0x02},
                                    {0x10, 0x14},
                                    {0x11, 0xF1},
                                    {0x12, 0x2A},
                                    {0x13, 0x0B},
                                    {0x14, 0xC0}}));
    ASSERT_TRUE(unit.pc.Connect(19200, 1, 150));
    unit.pc.SetWindowAddress(3);
    QMap<QString, QString> fields;
    for (const auto& [label, text] : ReadGroupUnitProductionData(unit.pc))
        fields[label] = text;
    EXPECT_EQ(unit.pc.GetWindowAddress(), 0);
    EXPECT_EQ(fields.value("lblICTdatum"), QStringLiteral("123, 14 / 2"));
    EXPECT_EQ(fields.value("lblIObyte"), QStringLiteral("00"));
    EXPECT_EQ(fields.value("lblSWIndexICT"), QStringLiteral("2.10"));
    EXPECT_EQ(fields.value("lblSNr"), QStringLiteral("20 12a c00b"));
    EXPECT_EQ(fields.value("lblArtikelNr"), QStringLiteral("480110"));
    EXPECT_EQ(fields.value("lblDatum"), QStringLiteral("05.03.24"));
    EXPECT_EQ(fields.value("lblZeit"), QStringLiteral("14:30"));

    ScanHarness plain(groupUnitWith({{0x15, 0x01}, {0x16, 0x02}, {0x17, 0x03}, {0x18, 0x04}}));
    ASSERT_TRUE(plain.pc.Connect(19200, 1, 150));
    plain.bus.failRequests({.mode = 0x08, .window = 0, .memory = 0x25}, RequestFault::silence(), 2);
    fields.clear();
    for (const auto& [label, text] : ReadGroupUnitProductionData(plain.pc))
        fields[label] = text;
    EXPECT_EQ(fields.value("lblIObyte"), QStringLiteral("i.o."));
    EXPECT_EQ(fields.value("lblArtikelNr"), QStringLiteral("Error"));
    EXPECT_EQ(fields.value("lblZeit"), QStringLiteral("?"));
    EXPECT_EQ(fields.value("lblDatum"), QStringLiteral("05.03.24"));
}

} // namespace

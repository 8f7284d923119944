// The production data, the event list and the status list against the simulated default bus on
// the virtual clock, and the description files of the source tree.
#include "service/core/EepromDescriptions.h"
#include "service/core/EventList.h"
#include "service/core/ProductionData.h"
#include "service/core/StatusList.h"
#include "tests/OpenController.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

BusSetup withEeprom(int address, QMap<int, uint8_t> bytes)
{
    BusSetup setup = DefaultBusSetup();
    setup.controllers[address - 1].eeprom.insert(bytes);
    return setup;
}

QMap<QString, QString> fieldsOf(const ProductionFields& fields)
{
    QMap<QString, QString> map;
    for (const auto& [label, text] : fields)
        map[label] = text;
    return map;
}

TEST(ProductionData, FieldsInTheirFormatsAndTheFixedReadOrder)
{
    ScanHarness h(withEeprom(1, {{0x00, 0xAA},
                                 {0x01, 0x07},
                                 {0x02, 0x05},
                                 {0x03, 0x01},
                                 {0x04, 0x14},
                                 {0x05, 0x23},
                                 {0x06, 0x21},
                                 {0x07, 0x34},
                                 {0x08, 0x12},
                                 {0x09, 0x03},
                                 {0x0A, 0x1B},
                                 {0x0B, 0xAA},
                                 {0x10, 0x01},
                                 {0x11, 0x03},
                                 {0x12, 0x24},
                                 {0x13, 0x56},
                                 {0x14, 0xF4},
                                 {0x15, 0x89},
                                 {0x16, 0x47}}));
    ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
    h.pc.SetWindowAddress(1);
    h.ports.requests.clear();
    const QMap<QString, QString> fields = fieldsOf(ReadProductionData(h.pc));
    const QMap<QString, QString> expected{{"lblVariante", "AA"},
                                          {"lbl298er", "07"},
                                          {"lblSW", "1.05"},
                                          {"lblICTdatum", "123, 14 / 2"},
                                          {"lblLfdNr", "1234"},
                                          {"lblPruefgeraet", "03 / 1B"},
                                          {"lblIObyte", "AA"},
                                          {"lblSNr", "24 456 4789"},
                                          {"lblHW", "0301"},
                                          {"lblSW1", "5.12"},
                                          {"lblArtikelNr", fields.value("lblArtikelNr")}};
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(fields.value("lblArtikelNr"), QStringLiteral("480101"));
    QStringList order;
    for (const TracedRequest& r : h.ports.requests)
        order << QString::number(r.memory(), 16) + (r.mode() == 0x08 ? "" : "p");
    // The 23 bytes, then parameter 30 (the software version telegram, "0p").
    EXPECT_EQ(order.join(u' '), QStringLiteral("0 1 2 3 4 5 6 8 7 9 a b 17 18 19 1a 12 13 14 16 15 "
                                               "10 11 0p"));
}

TEST(ProductionData, SerialUsesTheLowNibbleOf14hAndAFailedByteShowsQuestionMark)
{
    ScanHarness h(withEeprom(1, {{0x14, 0x04}}));
    ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
    h.pc.SetWindowAddress(1);
    const QString low = fieldsOf(ReadProductionData(h.pc)).value("lblSNr");
    ScanHarness high(withEeprom(1, {{0x14, 0xF4}}));
    ASSERT_TRUE(high.pc.Connect(19200, 1, 150));
    high.pc.SetWindowAddress(1);
    EXPECT_EQ(fieldsOf(ReadProductionData(high.pc)).value("lblSNr"), low);

    high.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x05}, RequestFault::silence(), 2);
    const QMap<QString, QString> fields = fieldsOf(ReadProductionData(high.pc));
    EXPECT_EQ(fields.value("lblICTdatum"), QStringLiteral("?"));
    EXPECT_EQ(fields.value("lblSNr"), low);
}

TEST(EventList, CaptionTextsAndWidth)
{
    SetCurrentLanguage(German);
    EXPECT_EQ(EventListCaption({.master = 0x0005, .slave = 0}),
              QStringLiteral(" Aktive Ereignisse (0005h / 0000h): "));
    const QStringList paf = EventBitTexts(8);
    const QStringList other = EventBitTexts(9);
    ASSERT_EQ(paf.size(), 16);
    EXPECT_EQ(paf[0], LanguageText(435) + " (M) / " + LanguageText(118) + " (S)");
    EXPECT_EQ(paf[2], LanguageText(436) + " (M) / " + LanguageText(243) + " (S)");
    EXPECT_EQ(other[0], LanguageText(118));
    EXPECT_EQ(paf.mid(3), other.mid(3));
    EXPECT_EQ(other[15], LanguageText(3));
    EXPECT_EQ(EventListWidth(French), 600);
    EXPECT_EQ(EventListWidth(7), 600);
    EXPECT_EQ(EventListWidth(German), 500);
}

struct RecordedList final : StatusListHost {
    QMap<int, std::pair<QString, QString>> entries;
    int stopAfter = -1; // entries shown before the controller window closes
    void processEvents() override {}
    bool stopped() const override { return stopAfter >= 0 && entries.size() >= stopAfter; }
    void showEntry(int index, const QString& name, const QString& value) override
    {
        entries[index] = {name, value};
    }
};

TEST_F(OpenControllerTest, StatusListReadsEveryEntryWithItsDigitsWithPollingPaused)
{
    open(5);
    h.pc.StartPolling();
    RecordedList list;
    EXPECT_TRUE(FillStatusList(h.pc, list));
    ASSERT_EQ(list.entries.size(), 56);
    EXPECT_EQ(list.entries[0].second.size(), 3);            // "00h"
    EXPECT_EQ(list.entries[ParEventBits].second.size(), 5); // a word: "0000h"
    EXPECT_EQ(list.entries[ParSoftwareVersion].second, QStringLiteral("0702h"));
    EXPECT_EQ(list.entries[0].first, InitialParameter(0).name);
    EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingRunning);
    // Every entry was read from the controller, none from the cache.
    EXPECT_GE(h.ports.requests.size(), 56);

    // Unplugged: "?" in every value cell.
    h.memoryPorts.unplug();
    RecordedList unplugged;
    EXPECT_TRUE(FillStatusList(h.pc, unplugged));
    for (int index = 0; index < 56; ++index)
        EXPECT_EQ(unplugged.entries[index].second, QStringLiteral("?")) << index;
}

TEST_F(OpenControllerTest, StatusListStopsWhenTheControllerWindowCloses)
{
    open(1);
    h.pc.StartPolling();
    RecordedList list;
    list.stopAfter = 10;
    EXPECT_FALSE(FillStatusList(h.pc, list));
    EXPECT_EQ(list.entries.size(), 10);
    EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingRunning);
}

TEST_F(OpenControllerTest, EventWordsOfAPafMasterAndItsSlave)
{
    open(5);
    h.clock.advanceUs(25'000'000); // inside the master's recurring strand event
    const EventWords words = ReadEventWords(h.pc);
    EXPECT_EQ(words.master & 0x0008, 0x0008);
    EXPECT_EQ(EventListCaption(words).mid(0, 22), QStringLiteral(" Aktive Ereignisse (00"));
}

TEST(DescriptionFiles, EveryFileOfTheSourceTreeIsAPageOfWindows1252Lines)
{
    const QDir dir(QStringLiteral(EEPROM_DESCRIPTION_DIR));
    QStringList names;
    for (int page = 0; page < 4; ++page)
        for (int type : {1, 3, 5, 7, 8})
            for (int variant : {0x55, 0xAA})
                names << DescriptionFileName(page, variant, type);
    names.removeDuplicates();
    ASSERT_EQ(names.size(), 9);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // Windows-1252 leaves five byte values undefined; no UTF-8 either.
        for (const char c : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
            EXPECT_FALSE(bytes.contains(c));
        EXPECT_FALSE(bytes.contains("\xC3"));
        const QList<QByteArray> lines = bytes.split('\n');
        ASSERT_EQ(lines.size(), 65);
        EXPECT_TRUE(lines.last().isEmpty());
        for (qsizetype i = 0; i < 64; ++i) {
            EXPECT_TRUE(lines[i].endsWith('\r')) << i;
            EXPECT_FALSE(lines[i].chopped(1).contains('\r')) << i;
            EXPECT_LE(lines[i].size() - 1, 498) << i;
            EXPECT_FALSE(lines[i].chopped(1).isEmpty()) << i;
        }
        EXPECT_EQ(DescriptionLines(bytes).size(), 64);
    }
}

} // namespace

// The bus monitor without windows: the decoding of every mode the tool sends, the outcome of each
// fault of the simulator on both ways to the bus, the ring's bound, and the monitor lines'
// filter and saved bytes.
#include "QtPrint.h"
#include "ScanHarness.h"
#include "buslink/ParameterTable.h"
#include "buslink/Zuzevsave.h"
#include "mainwindow/core/TelegramDecode.h"
#include "mainwindow/core/TraceTableModel.h"
#include "sim/BusSetup.h"
#include "texts/Sprachen.h"

#include <QBuffer>
#include <QElapsedTimer>

#include <iostream>

#include <gtest/gtest.h>

namespace {

TraceRecord exchange(std::array<uint8_t, 6> request, std::array<uint8_t, 6> reply,
                     TraceOutcome outcome = TraceOutcome::Answered, int replyLength = 6)
{
    TraceRecord record;
    record.request = request;
    record.reply = reply;
    record.replyLength = replyLength;
    record.outcome = outcome;
    return record;
}

std::array<uint8_t, 6> telegram(int mode, int window, int memory, int data)
{
    // Window and the memory's high bits in byte 1, the memory's low byte in byte 2.
    std::array<uint8_t, 6> bytes{uint8_t(mode),          uint8_t(window << 2 | memory >> 8),
                                 uint8_t(memory & 0xFF), uint8_t(data & 0xFF),
                                 uint8_t(data >> 8),     0};
    bytes[5] = TelegramChecksum(bytes.data());
    return bytes;
}

TEST(TelegramDecode, EveryModeTheToolSendsHasItsNameAndTheRestTheirNumber)
{
    SetCurrentLanguage(German);
    struct Case {
        int mode;
        int memory;
        int data;
        const char* mode_;
        const char* meaning; // of the request line
    };
    const Case cases[] = {
        {0x06, 0x21, 0, "06h EEPROM-Wort lesen", ""},
        {0x07, 0x21, 0x1234, "07h EEPROM-Wort schreiben", ""},
        {0x08, 0x25, 0, "08h EEPROM lesen", "EEPROM 25h"},
        {0x09, 0x25, 3, "09h EEPROM schreiben", "EEPROM 25h = 03h"},
        {0x0E, 0, 0x0100, "0Eh Gruppensteuergerät abfragen", ""},
        {0x13, 0, 0x1122, "13h Fensterbefehl", ""},
        {0x14, 0, 0, "14h Versionswort", ""},
        {0x15, 0x04, 0, "15h Parameter lesen", "Versorgungsspannung"},
        {0x16, 0, 0, "16h Gruppensteuergerät Status", ""},
        {0x30, 0, 0x0A, "30h Befehl", "verriegeln unterer Strang"},
        {0x30, 0, 0x10, "30h Befehl", "auffahren"},
        {0x30, 0x66, 0xAA55, "30h Befehl", ""},
        {0x40, 0, 0, "40h Status und Ereignisse", "Zustand und Ereignisse"},
        {0x41, 0, 0, "41h Fenster öffnen", ""},
        {0x42, 0, 0, "42h Fenster schließen", ""},
        {0x43, 0, 0xAA00, "43h Fahren auf Position", ""},
        {0x44, 0, 0, "44h Fenster Stopp", ""},
        {0x4F, 0, 1, "4Fh Lebenszeichen", ""},
        {0x60, 1, 0, "60h Notadressierung", ""},
        {0x65, 0, 0, "65h Notadressierung beenden", ""},
        {0x76, 0, 1, "76h Software-Version", "SW-Version"},
        {0x5A, 0, 0, "5Ah", ""},
    };
    for (const Case& c : cases) {
        const TraceRecord record =
            exchange(telegram(c.mode, 2, c.memory, c.data), telegram(c.mode, 2, c.memory, c.data));
        const QStringList request = MonitorLine(record, 0, std::nullopt);
        EXPECT_EQ(request[ColMode], QString::fromUtf8(c.mode_)) << c.mode;
        EXPECT_EQ(request[ColMeaning], QString::fromUtf8(c.meaning)) << c.mode;
        EXPECT_EQ(request[ColWindow], QStringLiteral("2"));
        EXPECT_EQ(request[ColDirection], QStringLiteral("Anfrage"));
        EXPECT_TRUE(request[ColOutcome].isEmpty());
    }
    // The reply of a parameter read names its value.
    const TraceRecord supply = exchange(telegram(0x15, 1, 0x04, 0), telegram(0x15, 1, 0x04, 700));
    const QStringList reply = MonitorLine(supply, 1, std::nullopt);
    EXPECT_EQ(reply[ColMeaning], QStringLiteral("Versorgungsspannung = 26.2V"));
    EXPECT_EQ(reply[ColData], QStringLiteral("02BCh"));
    EXPECT_EQ(reply[ColOutcome], QStringLiteral("beantwortet"));
    // A short reply shows its bytes and no data.
    const TraceRecord shortReply = exchange(
        telegram(0x15, 1, 0x04, 0), telegram(0x15, 1, 0x04, 700), TraceOutcome::ShortReply, 3);
    const QStringList cut = MonitorLine(shortReply, 1, std::nullopt);
    EXPECT_EQ(cut[ColBytes], QStringLiteral("15 04 04"));
    EXPECT_TRUE(cut[ColData].isEmpty());
    EXPECT_EQ(cut[ColOutcome], QStringLiteral("Antwort unvollständig"));
    const TraceRecord corrupted = exchange(telegram(0x15, 1, 0x04, 0), telegram(0x15, 1, 0x04, 700),
                                           TraceOutcome::WrongChecksum);
    const QStringList bad = MonitorLine(corrupted, 1, std::nullopt);
    EXPECT_EQ(bad[ColBytes].size(), 17);
    EXPECT_TRUE(bad[ColData].isEmpty());
    EXPECT_TRUE(bad[ColMeaning].isEmpty());
}

TEST(TelegramTraceOutcomes, EachFaultOfTheSimulatorOnTheTelegramLink)
{
    struct Case {
        const char* name;
        RequestFault fault;
        TraceOutcome outcome;
        int replyLength;
    };
    const Case cases[] = {
        {"silence", RequestFault::silence(), TraceOutcome::NoAnswer, 0},
        {"checksum", RequestFault::wrongChecksum(), TraceOutcome::WrongChecksum, 6},
        {"short", RequestFault::shortReply(3), TraceOutcome::ShortReply, 3},
        {"one stray byte", RequestFault::strayBytes(1), TraceOutcome::Resynchronised, 6},
        {"three stray bytes", RequestFault::strayBytes(3), TraceOutcome::BusBusy, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScanHarness h(DefaultBusSetup());
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        h.pc.SetWindowAddress(1);
        h.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x25}, c.fault, 1);
        TelegramTrace::program().clear();
        int value = 0;
        (void)h.pc.ReadEepromByte(0x25, value);
        const std::vector<TraceRecord> records = TelegramTrace::program().records();
        ASSERT_GE(records.size(), 1u);
        EXPECT_EQ(records[0].outcome, c.outcome);
        EXPECT_EQ(records[0].replyLength, c.replyLength);
        EXPECT_EQ(records[0].link, TraceLink::Telegram);
        EXPECT_EQ(records[0].request[0], 0x08);
    }
}

TEST(TelegramTraceOutcomes, TheRawPortTellsABusyBusAndMissingReplies)
{
    BusSetup busy = DefaultBusSetup();
    busy.neverSilent = true;
    for (const auto& [setup, outcome] : {std::pair{busy, TraceOutcome::BusBusy},
                                         std::pair{DefaultBusSetup(), TraceOutcome::NoAnswer}}) {
        ScanHarness h(setup);
        TZuzevSave raw(h.clock, h.ports, QString());
        ASSERT_EQ(raw.RawOpen(1, 19200, 100), 0);
        TelegramTrace::program().clear();
        int mode = 0x76, field = 30 << 2, data = 1; // no controller at 30
        (void)raw.RawTransmit(mode, field, data);
        const std::vector<TraceRecord> records = TelegramTrace::program().records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].outcome, outcome);
        EXPECT_EQ(records[0].link, TraceLink::Raw);
    }
}

TEST(TelegramTrace, TheRingKeepsTheNewestWithinItsBound)
{
    TelegramTrace trace(5);
    for (int i = 0; i < 12; ++i)
        trace.add(exchange(telegram(0x40, i, 0, 0), {}));
    const std::vector<TraceRecord> kept = trace.records();
    ASSERT_EQ(kept.size(), 5u);
    EXPECT_EQ(kept.front().sequence, 8u);
    EXPECT_EQ(kept.back().sequence, 12u);
    EXPECT_EQ(kept.front().request[1] >> 2, 7);
    const std::vector<TraceRecord> after = trace.recordsAfter(10);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].sequence, 11u);
    EXPECT_TRUE(trace.recordsAfter(12).empty());
    EXPECT_EQ(TelegramTrace::kCapacity, 100'000u);
}

TEST(TraceTableModel, FilterCountsAndSavedBytes)
{
    SetCurrentLanguage(German);
    TelegramTrace trace(4);
    TraceTableModel model(trace);
    const auto add = [&](int window, TraceOutcome outcome) {
        TraceRecord r = exchange(telegram(0x40, window, 0, 0), telegram(0x40, window, 0, 0x0100),
                                 outcome, outcome == TraceOutcome::NoAnswer ? 0 : 6);
        r.wallMs = 1'700'000'000'123;
        trace.add(r);
    };
    add(1, TraceOutcome::Answered);
    add(2, TraceOutcome::NoAnswer);
    add(2, TraceOutcome::Answered);
    model.takeNew();
    EXPECT_EQ(model.rowCount(), 6);
    model.setFilter(2, true);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.line(1)[ColOutcome], QStringLiteral("keine Antwort"));
    EXPECT_TRUE(model.index(1, 0).data(TraceTableModel::FailureRole).toBool());
    EXPECT_EQ(model.outcomeCounts()[size_t(TraceOutcome::Answered)], 2);
    EXPECT_EQ(model.find(QStringLiteral("KEINE ANTWORT"), 0), 1);

    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    model.writeCsv(csv, model.allRows());
    const QList<QByteArray> csvLines = csv.data().split('\n');
    ASSERT_EQ(csvLines.size(), 4);
    EXPECT_EQ(csvLines[0], "\"Zeit\",\"+ms\",\"Richtung\",\"Bytes\",\"Modus\",\"Fenster\","
                           "\"Adresse\",\"Daten\",\"Beschreibung\",\"Ergebnis\"\r");
    EXPECT_TRUE(csvLines[2].endsWith(",\"keine Antwort\"\r")) << csvLines[2].constData();
    EXPECT_TRUE(csvLines[1].contains("\"40 08 00 00 00 48\"")) << csvLines[1].constData();

    QBuffer text;
    text.open(QIODevice::WriteOnly);
    model.writeText(text, {1});
    EXPECT_EQ(text.data().count('\n'), 2);
    EXPECT_TRUE(text.data().contains(
        QStringLiteral("\tAntwort\t\t40h Status und Ereignisse\t2\t000h\t\t\tkeine Antwort\n")
            .toUtf8()));

    // The ring's bound reaches the model: the oldest exchanges leave it.
    model.setFilter(std::nullopt, false);
    for (int i = 0; i < 3; ++i)
        add(3, TraceOutcome::Answered);
    model.takeNew();
    EXPECT_EQ(model.rowCount(), 8);
    EXPECT_EQ(model.outcomeCounts()[size_t(TraceOutcome::NoAnswer)], 0);
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(trace.records().empty());
}

TEST(TraceTableModel, AFullRingOfOneHundredThousandExchanges)
{
    TelegramTrace trace;
    TraceTableModel model(trace);
    for (int i = 0; i < int(TelegramTrace::kCapacity) + 10; ++i)
        trace.add(exchange(telegram(0x15, i % 31, 0x04, 0), telegram(0x15, i % 31, 0x04, 700)));
    QElapsedTimer timer;
    timer.start();
    model.takeNew();
    // A screenful of lines anywhere in the list, as scrolling asks for them.
    for (int row = 199'960; row < 200'000; ++row)
        (void)model.data(model.index(row, ColMeaning), Qt::DisplayRole);
    std::cout << "taking over " << TelegramTrace::kCapacity
              << " exchanges and a screenful: " << timer.elapsed() << " ms" << std::endl;
    EXPECT_EQ(model.rowCount(), 200'000);
    EXPECT_EQ(trace.records().front().sequence, 11u);
    EXPECT_EQ(model.line(199'999)[ColMeaning], ParameterName(9) + QStringLiteral(" = 26.2V"));
}

} // namespace

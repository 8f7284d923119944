// The commissioning report on the simulated bus and the virtual clock: every device with its own
// values worded as the windows word them, a controller that does not answer or answers only in
// part, the group control unit, cancel, and the PDF file written whole or not at all.
#include "controller/core/BackupRead.h"
#include "report/ReportPdf.h"
#include "report/core/ReportRead.h"
#include "tests/RecordedFlowHost.h"
#include "texts/ReportText.h"
#include "texts/Sprachen.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The default bus; the turn/tilt controller reports undervoltage and a blocked drive, the chain
// drive has its third opening width, and the PAF master's recurring event is left out.
BusSetup reportBus()
{
    BusSetup bus = DefaultBusSetup();
    bus.controllers[0].events = 0x0022;
    bus.controllers[1].eeprom.insert(0x25, 3);
    bus.controllers[4].eventSchedule.clear();
    return bus;
}

// The value under `caption` in any group of `section`, "(none)" when there is none.
QString valueOf(const ReportSection& section, const QString& caption)
{
    for (const ReportGroup& group : section.groups) {
        for (const ReportRow& row : group.rows) {
            if (row.caption == caption)
                return row.value;
        }
    }
    return QStringLiteral("(none)");
}

QStringList headings(const ReportSection& section)
{
    QStringList out;
    for (const ReportGroup& group : section.groups)
        out << group.heading;
    return out;
}

QStringList unreadCaptions(const ReportSection& section)
{
    QStringList out;
    for (const ReportGroup& group : section.groups) {
        for (const ReportRow& row : group.rows) {
            if (row.value == kUnreadValue)
                out << row.caption;
        }
    }
    return out;
}

struct ReportTest : ::testing::Test {
    explicit ReportTest(const BusSetup& setup = reportBus()) : h(setup), setup(setup) {}

    void SetUp() override
    {
        SetCurrentLanguage(German);
        h.scan();
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        h.pc.SetWindowAddress(4);
        h.ports.requests.clear();
    }
    std::optional<CommissioningReport> read()
    {
        ReportRead reading(h.pc, h.clock, host);
        return reading.read(h.list, visit);
    }
    // The section of the controller at `address` (the group control unit is row 0).
    static const ReportSection& controller(const CommissioningReport& report, int address)
    {
        return report.sections.at(address);
    }
    int requestsTo(int window) const
    {
        int count = 0;
        for (const TracedRequest& r : h.ports.requests)
            count += r.window() == window ? 1 : 0;
        return count;
    }

    ScanHarness h;
    BusSetup setup;
    RecordedFlowHost host;
    ReportVisit visit{QStringLiteral("Rathaus Musterstadt"), QStringLiteral("M. Muster"),
                      QDateTime(QDate(2024, 3, 5), QTime(14, 30)), BusConnection{1, 19200}};
};

TEST_F(ReportTest, EveryControllerIsReportedWithItsOwnValuesAndNothingUnread)
{
    const auto report = read();
    ASSERT_TRUE(report);
    ASSERT_EQ(report->sections.size(), 6);
    for (const ControllerSetup& c : setup.controllers) {
        SCOPED_TRACE(c.address);
        const ReportSection& section = controller(*report, c.address);
        EXPECT_EQ(section.title, QStringLiteral("Fenestrix Adresse %1 – %2")
                                     .arg(c.address)
                                     .arg(h.list.cell(c.address, 1).trimmed()));
        EXPECT_TRUE(section.note.isEmpty()) << section.note.toStdString();
        EXPECT_EQ(unreadCaptions(section), QStringList());
        EXPECT_EQ(valueOf(section, QStringLiteral("Steuergeräte-Adresse")),
                  QString::number(c.address));
        EXPECT_EQ(valueOf(section, QStringLiteral("Veltra Artikelnr.")),
                  ArticleText(c.articleCode));
        EXPECT_TRUE(
            valueOf(section, QStringLiteral("Seriennummer")).endsWith(QString::number(c.serial)));
        EXPECT_EQ(valueOf(section, QStringLiteral("SW-Stand")),
                  QString::asprintf("%X.%02X", c.software >> 8, c.software & 0xFF));
        EXPECT_EQ(valueOf(section, QStringLiteral("HW-Stand")),
                  QString::asprintf("%04X", c.hardware));
        EXPECT_EQ(valueOf(section, QStringLiteral("Fensterzustand")),
                  QStringLiteral("Z00 - ") + LanguageText(381));
        EXPECT_TRUE(
            valueOf(section, QStringLiteral("Betriebsspannung")).endsWith(QStringLiteral(" Volt")));
        // Only the PAF master has the slave's group.
        EXPECT_EQ(headings(section).contains(QStringLiteral("PAF-Slave")), c.type == 8);
    }
}

TEST_F(ReportTest, EventsAndSettingsAreWordedAsTheWindowsWordThem)
{
    const auto report = read();
    ASSERT_TRUE(report);
    const ReportSection& turnTilt = controller(*report, 1);
    EXPECT_EQ(valueOf(turnTilt, QStringLiteral("Aktive Ereignisse (0022h / 0000h)")),
              LanguageText(249) + u'\n' + LanguageText(30));
    EXPECT_EQ(valueOf(turnTilt, QStringLiteral("Automatisches Verriegeln")),
              QStringLiteral("aktiviert"));
    EXPECT_EQ(valueOf(turnTilt, QStringLiteral("PWM-Reduzierungsstufe Zufahrt")),
              QStringLiteral("(none)"));

    // The chain drive's box selections: its third opening width, PWM levels 2 and 1.
    const ReportSection& chain = controller(*report, 2);
    EXPECT_EQ(valueOf(chain, QStringLiteral("Öffnungsweite")), QStringLiteral("70 mm"));
    EXPECT_EQ(valueOf(chain, QStringLiteral("PWM-Reduzierungsstufe Zufahrt")),
              QStringLiteral("26V"));
    EXPECT_EQ(valueOf(chain, QStringLiteral("PWM-Reduzierungsstufe Auffahrt")),
              QStringLiteral("27V"));
    EXPECT_EQ(valueOf(chain, QStringLiteral("Aktive Ereignisse (0000h / 0000h)")),
              ReportLanguageText(ReportText::NoEvents));

    // The list as the main window shows it: events red, normal operation green.
    ASSERT_EQ(report->windowList.rows.size(), 6);
    EXPECT_EQ(report->windowList.rows[0][0].text, QStringLiteral("0"));
    EXPECT_EQ(report->windowList.rows[0][7].colour, StatusColour::Plain);
    EXPECT_EQ(report->windowList.rows[1][7].colour, StatusColour::Events);
    EXPECT_EQ(report->windowList.rows[2][7].colour, StatusColour::Normal);
    EXPECT_EQ(report->windowList.header[0], LanguageText(4));

    const QList<ReportRow> cover{
        {QStringLiteral("Standort"), QStringLiteral("Rathaus Musterstadt")},
        {QStringLiteral("Techniker"), QStringLiteral("M. Muster")},
        {QStringLiteral("Datum und Uhrzeit"), QStringLiteral("Dienstag, 5. März 2024, 14:30")},
        {QStringLiteral("Version"), ToolVersionText()},
        {LanguageText(219), QStringLiteral("COM1, 19200 Baud")},
        {QStringLiteral("Ergebnis der Bussuche"), QStringLiteral("5 Fenster, Gruppensteuergerät")}};
    EXPECT_EQ(report->cover, cover);
}

TEST_F(ReportTest, ReportOnlyReadsFreshValuesAndPutsTheBusBack)
{
    const uint32_t start = h.clock.tickMs();
    ASSERT_TRUE(read());
    const qsizetype withoutPolling = h.ports.requests.size();
    const uint32_t took = h.clock.tickMs() - start;
    // A controller window left polling on: no value may come from its cache.
    (void)h.pc.StartPolling();
    h.ports.requests.clear();
    host.recordedProgress.positions.clear();
    ASSERT_TRUE(read());
    EXPECT_EQ(h.ports.requests.size(), withoutPolling);
    const QSet<int> reading{0x08, 0x15, 0x76};
    const QSet<int> groupUnitReading{0x0E, 0x14, 0x16};
    for (const TracedRequest& r : h.ports.requests) {
        EXPECT_TRUE(reading.contains(r.mode()) ||
                    (r.window() == 0 && groupUnitReading.contains(r.mode())))
            << requestText(r).toStdString();
    }
    // About eighty reads per controller, each through the access object's pacing.
    EXPECT_LT(h.ports.requests.size(), 5 * 100 + 20);
    EXPECT_LT(took, 20'000u);
    EXPECT_EQ(h.pc.GetWindowAddress(), 4);
    EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingRunning);
    EXPECT_EQ(host.recordedProgress.positions, (QList<int>{1, 2, 3, 4, 5, 6}));
    RecordProperty("telegrams", int(withoutPolling));
    RecordProperty("virtual_ms", int(took));
}

TEST_F(ReportTest, ControllerThatDoesNotAnswerIsListedWithThatFact)
{
    h.bus.failRequests(RequestMatch{.window = 3}, RequestFault::silence());
    const auto report = read();
    ASSERT_TRUE(report);
    const ReportSection& silent = controller(*report, 3);
    EXPECT_EQ(silent.note, ReportLanguageText(ReportText::NoAnswer));
    // What the scan found stands in for what could not be read, and nothing more is asked.
    EXPECT_EQ(valueOf(silent, LanguageText(4)), QStringLiteral("3"));
    EXPECT_EQ(
        valueOf(silent, h.list.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString().trimmed()),
        ArticleText(setup.controllers[2].articleCode));
    EXPECT_EQ(requestsTo(3), 2);
    for (int address : {1, 2, 4, 5})
        EXPECT_TRUE(controller(*report, address).note.isEmpty()) << address;
}

TEST_F(ReportTest, ControllerThatAnswersOnlyInPartHasItsGapsMarked)
{
    h.bus.failRequests(RequestMatch{.mode = 0x08, .window = 2}, RequestFault::silence());
    const auto report = read();
    ASSERT_TRUE(report);
    const ReportSection& partial = controller(*report, 2);
    EXPECT_EQ(partial.note, ReportLanguageText(ReportText::Incomplete));
    EXPECT_EQ(valueOf(partial, QStringLiteral("Veltra Artikelnr.")), kUnreadValue);
    EXPECT_EQ(valueOf(partial, QStringLiteral("Fensterzustand")),
              QStringLiteral("Z00 - ") + LanguageText(381));
}

struct GroupUnitReportTest : ReportTest {
    static BusSetup bus()
    {
        BusSetup setup = reportBus();
        setup.groupUnit->eeprom.insert(0x32, 0xFF); // X16 cannot be configured
        return setup;
    }
    GroupUnitReportTest() : ReportTest(bus()) {}
};

TEST_F(GroupUnitReportTest, GroupControlUnitIsReportedAsItsDialogShowsIt)
{
    const auto report = read();
    ASSERT_TRUE(report);
    const ReportSection& unit = report->sections.at(0);
    EXPECT_EQ(unit.title, LanguageText(111));
    EXPECT_TRUE(unit.note.isEmpty());
    const std::pair<const char*, const char*> expected[] = {
        {"Gruppensteuergerät Status", "01h"}, {"Anzahl der Adressvergabedurchläufe", "2"},
        {"Anzahl erkannter Fenster", "5"},    {"Fahrpause", "3 Sekunden"},
        {"Öffnungsweite Spaltlüften", "50%"}, {"Zeitintervall Lüften", "30 Minute(n)"},
        {"Funktionsauswahl X16", "n.v."},
    };
    for (const auto& [caption, value] : expected)
        EXPECT_EQ(valueOf(unit, QString::fromUtf8(caption)), QString::fromUtf8(value)) << caption;
}

TEST_F(ReportTest, CancelStopsTheReadsAndLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    {
        QFile before(path);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("earlier report");
    }
    int events = 0;
    qsizetype requestsAtCancel = 0;
    host.onEvents = [&] {
        // In the middle of the second controller's refresh.
        if (++events == 40) {
            host.recordedProgress.abortFlag = true;
            requestsAtCancel = h.ports.requests.size();
        }
    };
    ReportRead reading(h.pc, h.clock, host);
    EXPECT_FALSE(SaveReport(reading, h.list, visit, path, host.recorded));
    EXPECT_EQ(h.ports.requests.size(), requestsAtCancel);
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("earlier report"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("bericht.pdf")});
    EXPECT_EQ(host.recorded.shown, QStringList{QStringLiteral("warning: Warnung: ") +
                                               ReportLanguageText(ReportText::Cancelled)});
}

TEST_F(ReportTest, PdfHasATitlePageAndAPagePerDeviceOrIsNotWrittenAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    ReportRead reading(h.pc, h.clock, host);
    ASSERT_TRUE(SaveReport(reading, h.list, visit, path, host.recorded));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))),
        1 + 6);

    const auto report = read();
    ASSERT_TRUE(report);
    const QString unwritable = dir.filePath(QStringLiteral("missing/bericht.pdf"));
    EXPECT_FALSE(WriteReportPdf(*report, unwritable));
    EXPECT_FALSE(QFile::exists(unwritable));
}

} // namespace

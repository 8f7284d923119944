// The window list export on the simulated bus and the virtual clock: the file byte for byte,
// the bus traffic behind it, a list without controllers, cancel, English, and files that fail:
// a cancelled or failed report leaves the file that was there.
#include "ScanHarness.h"
#include "mainwindow/core/ListExport.h"
#include "sim/BusSetup.h"
#include "texts/BackupText.h"
#include "texts/Sprachen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr int kUndervoltageLimitHigh = 0x24;

// Every controller answers every parameter-table entry with a value of its own: the mode-15h
// parameter number n with address x 1000 + n, the EEPROM bytes with address x 32 + their rank.
// The high byte of the undervoltage limit stays small so that no event shows up.
uint16_t pinnedValue(int address, int index)
{
    const TStrgItem item = InitialParameter(index);
    if (item.mode == 0x15)
        return static_cast<uint16_t>(address * 1000 + item.memoryAddress);
    if (item.memoryAddress == kUndervoltageLimitHigh)
        return static_cast<uint16_t>(address);
    int rank = 0;
    for (int i = 0; i < index; ++i)
        rank += InitialParameter(i).mode == 0x08 ? 1 : 0;
    return static_cast<uint16_t>(address * 32 + rank);
}

ControllerSetup pinnedController(ControllerKind kind, int address, uint16_t serial)
{
    ControllerSetup setup = DefaultControllerSetup(kind, address, address);
    setup.serial = serial;
    for (int index = 0; index < kParameterCount; ++index) {
        const TStrgItem item = InitialParameter(index);
        if (item.mode == 0x15)
            setup.parameters[item.memoryAddress] = pinnedValue(address, index);
        else if (item.mode == 0x08)
            setup.eeprom[item.memoryAddress] = static_cast<uint8_t>(pinnedValue(address, index));
    }
    return setup;
}

// The group control unit, a turn/tilt controller (serial 4711) at 1 and a chain drive at 2.
BusSetup smallBus()
{
    BusSetup setup;
    setup.groupUnit = GroupUnitSetup{};
    setup.controllers << pinnedController(ControllerKind::TurnTilt, 1, 4711)
                      << pinnedController(ControllerKind::ChainDrive, 2, 815);
    return setup;
}

// The display text each controller of smallBus() gives for entry `index`.
QByteArray expectedText(int address, int index)
{
    switch (index) {
    case ParSupplyVoltage:
        return address == 1 ? "37.6V" : "75.0V"; // 1004 and 2004 x 37.43 mV
    case ParSoftwareVersion:
        return address == 1 ? "5.12" : "7.03";
    case ParStatusEvents:
        return "0"; // closed and locked, no events
    default:
        return QByteArray::number(pinnedValue(address, index));
    }
}

// The report of smallBus() as the file must hold it, up to and including parameter line
// `lastIndex`, with parameter names in the current language.
QByteArray expectedReport(int lastIndex = kParameterCount - 1)
{
    const int articleLow = pinnedValue(1, 34); // parameter 34 is EEPROM 1Ah
    QByteArray report = "Veltra Fenestrix Fensterliste\r\n\r\n"
                        "   Datum: 5.3.2014\r\n"
                        "\r\n- - - - - - - - - - - - - - - -\r\n\r\n"
                        "Fenestrix Adresse" +
                        QByteArray(24, ' ') +
                        "\t\t 1 \t\t 2 \t\t\r\n"
                        // produced 2024-03-05, tested a day later: day 066 of 2024, shift 2
                        "Fertigungsdatum:  066, 24 / 2\r\n"
                        "Serial Nummer:  4711\r\n"
                        "Artikelnr. KI  07 3100 " +
                        QByteArray::number(articleLow, 16).toUpper() + "\r\n";
    for (int index = 0; index <= lastIndex; ++index) {
        report += ParameterName(index).toLatin1();
        for (int address : {1, 2})
            report += "\t\t " + expectedText(address, index) + " ";
        report += "\r\n";
    }
    return report;
}

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct ListExportTest : ::testing::Test {
    explicit ListExportTest(const BusSetup& setup = smallBus()) : h(setup) {}

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        useLanguage(German);
        h.scan();
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        h.pc.SetWindowAddress(1); // as after opening controller 1
        // The controller window left polling on: the export must read past the cache.
        (void)h.pc.StartPolling();
        h.ports.requests.clear();
    }
    void useLanguage(int language)
    {
        SetCurrentLanguage(language);
        h.pc.RenameParameters();
    }
    ListExport::Outcome exportTo(const QString& path)
    {
        return exporter.writeFile(path, QDate(2014, 3, 5));
    }
    QString reportPath() const { return dir.filePath(QStringLiteral("liste.txt")); }
    QList<int> requestModes() const
    {
        QList<int> modes;
        for (const TracedRequest& r : h.ports.requests)
            modes << r.mode();
        return modes;
    }

    QTemporaryDir dir;
    ScanHarness h;
    RecordedProgress progress;
    RecordedMessages messages;
    std::function<void()> onProcessEvents = [] {};
    int processed = 0;
    ListExport exporter{h.pc, h.list, progress, messages, [this] {
                            ++processed;
                            onProcessEvents();
                        }};
};

TEST_F(ListExportTest, ReportOfASmallBusByteForByte)
{
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Written);
    const QByteArray report = fileContents(reportPath());
    EXPECT_EQ(report, expectedReport());
    // Windows-1252 letters and the layout of one line, spelt out.
    EXPECT_TRUE(report.contains("\r\nFl\xFC"
                                "gelposition\t\t 1003 \t\t 2003 \r\n"));
    EXPECT_TRUE(report.contains("\r\n\xD6"
                                "ffnungszyklen Kippen L\t\t "));
    EXPECT_FALSE(report.contains("\n\n")); // every line feed comes with its CR
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ListExportTest, ReadsProductionDataOnceAndEveryParameterFreshForEachController)
{
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Written);
    const QList<TracedRequest>& sent = h.ports.requests;
    ASSERT_EQ(sent.size(), 9 + kParameterCount * 2);
    QStringList production;
    for (int i = 0; i < 9; ++i)
        production << QStringLiteral("%1@%2").arg(sent[i].memory(), 0, 16).arg(sent[i].window());
    EXPECT_EQ(production, (QStringList{"12@1", "13@1", "14@1", "16@1", "15@1", "17@1", "18@1",
                                       "19@1", "1a@1"}));
    for (int index = 0; index < kParameterCount; ++index) {
        const TStrgItem item = InitialParameter(index);
        for (int column = 0; column < 2; ++column) {
            const TracedRequest& r = sent[9 + index * 2 + column];
            EXPECT_EQ(r.mode(), item.mode) << index;
            EXPECT_EQ(r.memory(), item.memoryAddress) << index;
            EXPECT_EQ(r.window(), column + 1) << index;
        }
    }
    EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingOff); // and it stays off
    EXPECT_EQ(h.pc.GetWindowAddress(), 2);
    // Progress: kind 0, one step per parameter, and the bar is full only at the end.
    EXPECT_EQ(progress.kind, ProgressReporter::Export);
    EXPECT_EQ(progress.maximum, kParameterCount);
    ASSERT_EQ(progress.positions.size(), kParameterCount);
    EXPECT_EQ(progress.positions.mid(0, 4), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(progress.positions.last(), kParameterCount);
    EXPECT_FALSE(progress.shown);
    EXPECT_EQ(processed, 1 + kParameterCount * 2); // once at the start, then once per value
}

TEST_F(ListExportTest, CancelledExportLeavesThePreviousFileAndAPipeGetsTheAbortNote)
{
    // The user presses "Abbrechen" while parameter 10 of controller 1 is due.
    onProcessEvents = [this] {
        if (h.ports.requests.size() == 9 + 10 * 2)
            progress.abortFlag = true;
    };
    QFile previous(reportPath());
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("the report of yesterday\r\n");
    previous.close();
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Cancelled);
    EXPECT_EQ(fileContents(reportPath()), "the report of yesterday\r\n");
    EXPECT_EQ(messages.shown, QStringList{"notice: " + LanguageText(116) + ": " +
                                          BackupLanguageText(BackupText::ReadCancelled)});
    EXPECT_EQ(h.ports.requests.size(), 9 + 10 * 2 + 1); // nothing read after the cancel
    EXPECT_FALSE(progress.shown);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"liste.txt"});

    // A pipe cannot be taken back: what was sent ends with the abort note.
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile reader(fifo);
    QByteArray received;
    std::thread drain([&] {
        if (reader.open(QIODevice::ReadOnly))
            received = reader.readAll();
    });
    h.ports.requests.clear();
    progress.abortFlag = false;
    ASSERT_EQ(exportTo(fifo), ListExport::Outcome::Cancelled);
    drain.join();
    QByteArray expected = expectedReport(9);
    expected += ParameterName(10).toLatin1() + "\t\t " + expectedText(1, 10) + " \r\n";
    expected += "\r\nUNVOLLST\xC4NDIG, da User-Abbruch!\r\n";
    EXPECT_EQ(received, expected);
}

TEST_F(ListExportTest, ExportThatRunsOutOfDiskLeavesThePreviousFile)
{
    // A disk of 8 KiB whose first block holds the report of yesterday.
    const QString disk = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    if (mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=8k") != 0)
        GTEST_SKIP() << "no tmpfs to fill: " << std::strerror(errno);
    const auto unmount = qScopeGuard([&] { umount(QFile::encodeName(disk).constData()); });
    const QString path = QDir(disk).filePath(QStringLiteral("liste.txt"));
    QFile previous(path);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("the report of yesterday\r\n");
    previous.close();
    QFile filler(QDir(disk).filePath(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    filler.write(QByteArray(4096, 'x'));
    filler.close();

    EXPECT_EQ(exportTo(path), ListExport::Outcome::WriteFailed);
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("error: Datei kann nicht geöffnet werden!")});
    EXPECT_EQ(fileContents(path), "the report of yesterday\r\n");
    EXPECT_EQ(QDir(disk).entryList(QDir::Files), (QStringList{"filler", "liste.txt"}));
}

TEST_F(ListExportTest, EnglishNamesWithGermanFixedWords)
{
    useLanguage(English);
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Written);
    const QByteArray report = fileContents(reportPath());
    EXPECT_EQ(report, expectedReport());
    EXPECT_TRUE(report.startsWith("Veltra Fenestrix Fensterliste\r\n"));
    EXPECT_TRUE(report.contains("\r\nWindow state\t\t 1000 \t\t 2000 \r\n"));
    EXPECT_TRUE(report.contains("\r\nSupply voltage\t\t 37.6V \t\t 75.0V \r\n"));
    EXPECT_FALSE(report.contains("Fensterzustand"));
}

TEST_F(ListExportTest, FileThatCannotBeOpenedReadsNothing)
{
    const QString path = dir.filePath(QStringLiteral("missing-folder/liste.txt"));
    EXPECT_EQ(exportTo(path), ListExport::Outcome::FileNotOpened);
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("error: Datei kann nicht geöffnet werden!")});
    EXPECT_TRUE(h.ports.requests.isEmpty());
    EXPECT_EQ(progress.kind, -1); // the progress dialog never came up
    EXPECT_EQ(h.pc.pollingState(), TFensterSteuerung::PollingRunning);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ListExportTest, FullDiskIsReportedNotPassedOffAsAReport)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(exportTo(QStringLiteral("/dev/full")), ListExport::Outcome::WriteFailed);
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("error: Datei kann nicht geöffnet werden!")});
}

struct GroupUnitOnlyExportTest : ListExportTest {
    GroupUnitOnlyExportTest() : ListExportTest(groupUnitOnly()) {}
    static BusSetup groupUnitOnly()
    {
        BusSetup setup;
        setup.groupUnit = GroupUnitSetup{};
        return setup;
    }
};

TEST_F(GroupUnitOnlyExportTest, AddressLineEndsAfterTheTabsAndParameterLinesHoldOnlyNames)
{
    ASSERT_EQ(h.list.deviceCount(), 1);
    h.pc.SetWindowAddress(0); // the group control unit answers the production data reads
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Written);
    const QList<QByteArray> lines = fileContents(reportPath()).split('\n');
    ASSERT_EQ(lines.size(), 7 + 3 + kParameterCount + 1); // the last line feed ends the file
    EXPECT_EQ(lines[6], "Fenestrix Adresse" + QByteArray(24, ' ') + "\t\t\r");
    for (int index = 0; index < kParameterCount; ++index)
        EXPECT_EQ(lines[10 + index], ParameterName(index).toLatin1() + "\r");
    EXPECT_EQ(lines.last(), "");
    // Without a controller the production lines have nothing to describe.
    EXPECT_EQ(lines[7], "Fertigungsdatum:  ?\r");
    EXPECT_EQ(lines[8], "Serial Nummer:  ?\r");
    EXPECT_EQ(lines[9], "Artikelnr. KI  ?\r");
    EXPECT_TRUE(requestModes().isEmpty());
    EXPECT_EQ(progress.maximum, kParameterCount);
}

TEST_F(ListExportTest, FailedReadsAreWrittenAsQuestionMarks)
{
    // Controller 2 never answers parameter 0; the serial number of controller 1 is unreadable.
    const TStrgItem state = InitialParameter(ParState);
    h.bus.failRequests({.mode = uint8_t(state.mode), .window = 2, .memory = state.memoryAddress},
                       RequestFault::silence());
    h.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x15}, RequestFault::wrongChecksum());
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Written);
    const QByteArray report = fileContents(reportPath());
    EXPECT_TRUE(report.contains("\r\n" + ParameterName(ParState).toLatin1() + "\t\t " +
                                expectedText(1, ParState) + " \t\t ? \r\n"));
    EXPECT_TRUE(report.contains("\r\nSerial Nummer:  ?\r\n"));
    EXPECT_TRUE(report.contains("\r\nFertigungsdatum:  066, 24 / 2\r\n"));
    // Every other value is the controller's own.
    QByteArray expected = expectedReport();
    expected.replace("Serial Nummer:  4711", "Serial Nummer:  ?");
    expected.replace(ParameterName(ParState).toLatin1() + "\t\t " + expectedText(1, ParState) +
                         " \t\t " + expectedText(2, ParState),
                     ParameterName(ParState).toLatin1() + "\t\t " + expectedText(1, ParState) +
                         " \t\t ?");
    EXPECT_EQ(report, expected);
}

TEST_F(ListExportTest, ProductionLinesDescribeTheControllerOpenedLastElseTheFirst)
{
    const auto productionWindows = [this] {
        QList<int> windows;
        for (const TracedRequest& r : h.ports.requests.mid(0, 9))
            windows << r.window();
        return windows;
    };
    exporter.setProductionController(2);
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Written);
    EXPECT_EQ(productionWindows(), QList<int>(9, 2));
    EXPECT_TRUE(fileContents(reportPath()).contains("\r\nSerial Nummer:  0815\r\n"));

    // A controller that is no longer listed: the first one of the list.
    h.ports.requests.clear();
    h.pc.SetWindowAddress(2);
    exporter.setProductionController(9);
    ASSERT_EQ(exportTo(reportPath()), ListExport::Outcome::Written);
    EXPECT_EQ(productionWindows(), QList<int>(9, 1));
}

} // namespace

// End to end in real time: "fenestrix --scan" against "fenestrix-sim" over a pseudo-terminal.
#include "ProgramRuns.h"
#include "controller/core/ControllerBackup.h"
#include "texts/Sprachen.h"
#include <QDate>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(EndToEnd, ScanOfTheDefaultBusListsItsDevices)
{
    QTemporaryDir ports, work;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM2"))}));
    {
        QFile ini(work.filePath(QStringLiteral("Fenestrix.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("COM2\n19200\nSprache1\n");
    }
    const ScanRun run = runScan(work.path(), ports.path(), {});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8) << run.out.toStdString();
    const auto english = [](int id) { return LanguageTable::builtIn().text(English, id); };
    // English, from the settings file.
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral(" %1\t").arg(english(4))));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("0\t")));
    for (int row = 1; row <= 5; ++row) {
        const QStringList cells = lines[row + 1].split(u'\t');
        ASSERT_EQ(cells.size(), 8);
        EXPECT_EQ(cells[0], QString::number(row));
        EXPECT_EQ(cells[4], QStringLiteral("Z00"));
    }
    EXPECT_EQ(lines[7], QStringLiteral("5 %1, %2").arg(english(kTextWindowsPlural), english(111)));
    // The settings file is read, never written.
    QFile ini(work.filePath(QStringLiteral("Fenestrix.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), QByteArray("COM2\n19200\nSprache1\n"));
}

TEST(EndToEnd, ScanWithExportWritesTheReportOfTheScannedList)
{
    QTemporaryDir ports, work;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM3"))}));
    const QString reportPath = work.filePath(QStringLiteral("liste.txt"));
    const QDate before = QDate::currentDate();
    const ScanRun run = runScan(
        work.path(), ports.path(),
        {QStringLiteral("--port"), QStringLiteral("3"), QStringLiteral("--export"), reportPath});
    const QDate after = QDate::currentDate();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Standard output is the scan's, as without --export (German: no settings file).
    const QStringList out = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 8) << run.out.toStdString();
    EXPECT_EQ(out[7], QStringLiteral("5 Fenster, Gruppensteuergerät"));

    QFile file(reportPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray report = file.readAll();
    EXPECT_EQ(report.count("\n"), report.count("\r\n"));
    const QList<QByteArray> lines = report.split('\n');
    ASSERT_EQ(lines.size(), 10 + 56 + 1) << report.constData();
    EXPECT_EQ(lines[0], "Veltra Fenestrix Fensterliste\r");
    const auto dateLine = [](const QDate& d) {
        return QStringLiteral("   Datum: %1.%2.%3\r").arg(d.day()).arg(d.month()).arg(d.year());
    };
    const QString date = QString::fromLatin1(lines[2]);
    EXPECT_TRUE(date == dateLine(before) || date == dateLine(after)) << lines[2].constData();
    // The group control unit is left out; the five controllers in list order.
    EXPECT_EQ(lines[6], "Fenestrix Adresse" + QByteArray(24, ' ') +
                            "\t\t 1 \t\t 2 \t\t 3 \t\t 4 \t\t 5 \t\t\r");
    EXPECT_TRUE(lines[7].startsWith("Fertigungsdatum:  "));
    EXPECT_EQ(lines[10], "Fensterzustand\t\t 0 \t\t 0 \t\t 0 \t\t 0 \t\t 0 \r");
    EXPECT_TRUE(lines[10 + 5].startsWith("Fl\xFC"
                                         "gelposition\t\t")); // Windows-1252
    EXPECT_EQ(lines[10 + 30], "SW-Version\t\t 5.12 \t\t 7.03 \t\t 5.20 \t\t 6.10 \t\t 7.02 \r");
}

TEST(EndToEnd, ScanWithTraceWritesEveryTelegramDecoded)
{
    QTemporaryDir ports, work;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM4"))}));
    const QString tracePath = work.filePath(QStringLiteral("trace.txt"));
    const ScanRun run = runScan(
        work.path(), ports.path(),
        {QStringLiteral("--port"), QStringLiteral("4"), QStringLiteral("--trace"), tracePath});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(tracePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 100);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Zeit\t+ms\tRichtung\tBytes")));
    // A request line and a reply line per telegram; every line has the ten columns.
    EXPECT_EQ((lines.size() - 1) % 2, 0);
    for (const QString& line : lines)
        ASSERT_EQ(line.count(u'\t'), 9) << line.toStdString();
    // Window 1 answers its software version; an empty address does not.
    EXPECT_TRUE(
        lines.filter(QStringLiteral("\tAntwort\t76 04 00 12 05 65\t76h Software-Version\t1\t"))
            .size() >= 1);
    EXPECT_FALSE(lines.filter(QStringLiteral("keine Antwort")).isEmpty());
    EXPECT_FALSE(lines.filter(QStringLiteral("SW-Version = 5.12")).isEmpty());
}

TEST(EndToEnd, ScanWithBackupSavesEveryControllerFound)
{
    QTemporaryDir ports, work;
    const QString config = work.filePath(QStringLiteral("bus.json"));
    {
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"controllers": [{"kind": "chainDrive", "address": 7},
                                       {"kind": "turnTilt", "address": 2}]})");
    }
    SimulatorProcess sim;
    ASSERT_TRUE(
        sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM5")), config}));
    const QString backupPath = work.filePath(QStringLiteral("anlage.json"));
    const ScanRun run = runScan(
        work.path(), ports.path(),
        {QStringLiteral("--port"), QStringLiteral("5"), QStringLiteral("--backup"), backupPath});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("Die Einstellungen von 2 Steuergeräten wurden gesichert")))
        << run.err.toStdString();
    QFile file(backupPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const BackupFileRead read = ReadBackupFile(file.readAll());
    ASSERT_EQ(read.error, BackupFileError::None);
    ASSERT_EQ(read.file.controllers.size(), 2);
    // In the order the scan found them, each with the bus address it stores.
    const ControllerBackup& turnTilt = read.file.controllers[0];
    const ControllerBackup& chain = read.file.controllers[1];
    EXPECT_EQ(turnTilt.identity.busAddress, 2);
    EXPECT_EQ(turnTilt.bytes[0x34], 2);
    EXPECT_EQ(turnTilt.identity.controllerType, 1);
    EXPECT_EQ(chain.identity.busAddress, 7);
    EXPECT_EQ(chain.bytes[0x34], 7);
    EXPECT_EQ(chain.identity.softwareVersion, 0x0703);
}

TEST(EndToEnd, ScanOfAPortThatDoesNotOpenFails)
{
    QTemporaryDir ports, work;
    ASSERT_TRUE(
        QFile::link(QStringLiteral("/nonexistent/tty"), ports.filePath(QStringLiteral("COM4"))));
    const ScanRun run =
        runScan(work.path(), ports.path(), {QStringLiteral("--port"), QStringLiteral("4")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("Serielle Schnittstelle kann nicht geöffnet werden!")));
}

} // namespace

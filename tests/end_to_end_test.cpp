// End to end in real time: "fenestrix --scan" and "fenestrix --record" against "fenestrix-sim"
// over a pseudo-terminal.
#include "ProgramRuns.h"
#include "controller/core/ControllerBackup.h"
#include "controller/core/RecordingCsv.h"
#include "texts/Sprachen.h"
#include "texts/TrendText.h"
#include <QDate>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

namespace {

// The settings file "Fenestrix.ini" in `work`.
bool writeSettings(const QTemporaryDir& work, const QByteArray& content)
{
    QFile ini(work.filePath(QStringLiteral("Fenestrix.ini")));
    return ini.open(QIODevice::WriteOnly) && ini.write(content) == content.size();
}

TEST(EndToEnd, ScanOfTheDefaultBusListsItsDevices)
{
    QTemporaryDir ports, work;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM2"))}));
    ASSERT_TRUE(writeSettings(work, "COM2\n19200\nSprache1\n"));
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

TEST(EndToEnd, ScanWithReportWritesAPdfWithAPageForEveryController)
{
    QTemporaryDir ports, work;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM6"))}));
    const QString pdfPath = work.filePath(QStringLiteral("bericht.pdf"));
    const ScanRun run =
        runScan(work.path(), ports.path(),
                {QStringLiteral("--port"), QStringLiteral("6"), QStringLiteral("--report"), pdfPath,
                 QStringLiteral("--site"), QStringLiteral("Rathaus Musterstadt"),
                 QStringLiteral("--technician"), QStringLiteral("M. Muster")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList scanned = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(scanned.size(), 8) << run.out.toStdString();

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    ASSERT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
    const QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\f');
    ASSERT_GE(pages.size(), 7);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Rathaus Musterstadt")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("M. Muster")));
    // The list's controllers, each on a page of its own with its article and its state.
    for (int row = 2; row < 7; ++row) {
        const QStringList cells = scanned[row].split(u'\t');
        const QString title = QStringLiteral("Fenestrix Adresse %1 – ").arg(cells[0]);
        const auto page = std::find_if(pages.begin(), pages.end(),
                                       [&](const QString& p) { return p.contains(title); });
        ASSERT_NE(page, pages.end()) << title.toStdString();
        EXPECT_TRUE(page->contains(cells[2])) << cells[2].toStdString();
        EXPECT_TRUE(page->contains(QStringLiteral("Z00 - Fenster ist verriegelt")));
    }
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

// "fenestrix --record" of the chain drive at address 2, started in `work` on the ports of
// `portsDir`.
struct RecordingProcess {
    QProcess process;
    QString csvPath;
    RecordingProcess(const QString& work, const QString& portsDir)
        : csvPath(QDir(work).filePath(QStringLiteral("nacht.csv")))
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FENESTRIX_PORTS"), portsDir);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(work);
        process.start(
            QStringLiteral(FENESTRIX_PROGRAM),
            {QStringLiteral("--record"), QStringLiteral("2"), QStringLiteral("--csv"), csvPath});
    }
    // Records for `ms`, and says whether it was still recording then.
    bool runsFor(int ms) { return process.waitForStarted(5000) && !process.waitForFinished(ms); }
    int exitCode()
    {
        process.waitForFinished(10000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QList<QByteArray> lines() const
    {
        QFile file(csvPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>{};
    }
};

TEST(EndToEnd, RecordingWritesARowPerRefreshUntilSigterm)
{
    QTemporaryDir ports, work;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM6"))}));
    ASSERT_TRUE(writeSettings(work, "COM6\n19200\nSprache1\n"));
    RecordingProcess recording(work.path(), ports.path());
    ASSERT_TRUE(recording.runsFor(10000));
    recording.process.terminate();
    EXPECT_EQ(recording.exitCode(), 0);
    const QString err = QString::fromUtf8(recording.process.readAllStandardError());

    SetCurrentLanguage(English);
    const QList<QByteArray> lines = recording.lines();
    ASSERT_GE(lines.size(), 3);
    // CR LF after every row, the last one too.
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(lines[0] + '\n', CsvRecord(RecordingHeader()));
    const QList<QByteArray> rows = lines.mid(1, lines.size() - 2);
    QList<qint64> times;
    for (const QByteArray& row : rows) {
        const QStringList fields = QString::fromUtf8(row.chopped(1)).split(u',');
        ASSERT_EQ(fields.size(), RecordingHeader().size()) << row.constData();
        times << QDateTime::fromString(fields[0], Qt::ISODate).toMSecsSinceEpoch();
        EXPECT_EQ(fields[1], QStringLiteral("0"));
        EXPECT_EQ(fields[2], QStringLiteral("Z00 - ") + LanguageText(381));
        EXPECT_EQ(fields[5], TrendLanguageText(TrendText::NoEvents));
        // A decimal point, and the supply of the default bus.
        EXPECT_NEAR(fields[7].toDouble(), 24.0, 1.0) << fields[7].toStdString();
    }
    // A row per refresh: 1000 ms of the refresh timer and the refresh's own reads apart.
    const qint64 spanMs = times.last() - times.first();
    std::cout << rows.size() << " rows in " << spanMs << " ms, " << lines[1].size()
              << " bytes in the first" << std::endl;
    EXPECT_GE(rows.size(), 6);
    EXPECT_LE(rows.size(), 10);
    EXPECT_GE(spanMs, (rows.size() - 1) * 1000 - 1000);
    EXPECT_TRUE(err.contains(TrendLanguageText(TrendText::RecordingEnded)
                                 .arg(recording.csvPath, QString::number(rows.size()),
                                      QStringLiteral("Z00 - ") + LanguageText(381))))
        << err.toStdString();
    SetCurrentLanguage(German);
}

TEST(EndToEnd, RecordingEndsWithExitStatus1WhenTheAdapterGoesAway)
{
    QTemporaryDir ports, work;
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), ports.filePath(QStringLiteral("COM1"))}));
    RecordingProcess recording(work.path(), ports.path());
    ASSERT_TRUE(recording.runsFor(3000));
    // The pseudo-terminal goes away with the simulator, as an adapter pulled out.
    sim.process.kill();
    EXPECT_EQ(recording.exitCode(), 1);
    const QList<QByteArray> lines = recording.lines();
    // The header and the rows so far, each whole.
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines.last().isEmpty());
    for (const QByteArray& line : lines.mid(0, lines.size() - 1))
        EXPECT_TRUE(line.endsWith('\r'));
}

} // namespace

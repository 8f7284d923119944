// End to end in real time through ser2net: "fenestrix --scan" over raw TCP and over RFC 2217
// finds what it finds over the pseudo-terminal with the same telegrams, and over RFC 2217 the
// rate the tool asks for reaches the terminal, as the simulator's log shows.
#include "ProgramRuns.h"
#include "Ser2netProcess.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>
#include <map>

namespace {

// A bus whose replies do not change with time: no noise on the supply, no scheduled events.
constexpr char kBus[] = R"({"groupUnit": {},
    "controllers": [{"kind": "turnTilt", "address": 1, "supplyNoiseVolts": 0},
                    {"kind": "chainDrive", "address": 4, "supplyNoiseVolts": 0}]})";

struct LoggedScan {
    ScanRun run;
    QStringList telegrams; // the log's requests and replies without their times
    QStringList rates;     // the log's "line ... baud"
};

enum class Over { Terminal, RawTcp, Rfc2217 };

// Scans the bus once through `over`; ser2net opens the terminal at 38400 baud, so that a rate of
// the tool's shows as a change.
LoggedScan scanThrough(Over over, const QStringList& options = {})
{
    LoggedScan result;
    QTemporaryDir ports, work;
    const QString config = work.filePath(QStringLiteral("bus.json"));
    const QString log = work.filePath(QStringLiteral("bus.log"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(kBus) < 0)
        return result;
    file.close();
    const QString terminal = ports.filePath(QStringLiteral("COM2"));
    SimulatorProcess sim;
    EXPECT_TRUE(
        sim.start({QStringLiteral("--link"), terminal, QStringLiteral("--log"), log, config}));
    std::optional<Ser2netProcess> gateway;
    QString port = QStringLiteral("2");
    if (over != Over::Terminal) {
        gateway.emplace(over == Over::Rfc2217 ? NetworkPort::Protocol::Rfc2217
                                              : NetworkPort::Protocol::RawTcp,
                        terminal, QStringLiteral("38400n81"));
        EXPECT_TRUE(gateway->listening()) << gateway->output().toStdString();
        port = gateway->address();
    }
    result.run =
        runScan(work.path(), ports.path(), QStringList{QStringLiteral("--port"), port} + options);
    QFile written(log);
    EXPECT_TRUE(written.open(QIODevice::ReadOnly));
    static const QRegularExpression time(QStringLiteral(R"(^\s*\d+\.\d+ )"));
    for (const QString& line :
         QString::fromLatin1(written.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QString entry = QString(line).remove(time);
        (entry.startsWith(QStringLiteral("line ")) ? result.rates : result.telegrams) << entry;
    }
    return result;
}

// Where two logs part, with the lines around; empty when they are the same.
QString firstDifference(const QStringList& a, const QStringList& b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return QString();
    const auto around = [i](const QStringList& lines) {
        return lines.mid(std::max<qsizetype>(0, i - 3), 6).join(QStringLiteral(" | "));
    };
    return QStringLiteral("line %1 of %2/%3: %4  <>  %5")
        .arg(i)
        .arg(a.size())
        .arg(b.size())
        .arg(around(a), around(b));
}

TEST(Ser2netEndToEnd, ScanFindsTheSameDevicesWithTheSameTelegramsAsOverTheTerminal)
{
    // The three scans, each on a bus of its own, run side by side.
    auto throughRawTcp = std::async(std::launch::async, scanThrough, Over::RawTcp, QStringList());
    auto throughRfc2217 = std::async(std::launch::async, scanThrough, Over::Rfc2217, QStringList());
    const LoggedScan terminal = scanThrough(Over::Terminal);
    std::map<Over, LoggedScan> gateways;
    gateways[Over::RawTcp] = throughRawTcp.get();
    gateways[Over::Rfc2217] = throughRfc2217.get();
    ASSERT_EQ(terminal.run.exitCode, 0) << terminal.run.err.toStdString();
    ASSERT_GT(terminal.telegrams.size(), 100);
    EXPECT_TRUE(terminal.run.out.contains(QStringLiteral("2 Fenster, Gruppensteuergerät")))
        << terminal.run.out.toStdString();
    EXPECT_EQ(terminal.rates, QStringList{QStringLiteral("line 19200 baud")});

    for (const auto& [over, gateway] : gateways) {
        SCOPED_TRACE(over == Over::RawTcp ? "raw TCP" : "RFC 2217");
        EXPECT_EQ(gateway.run.exitCode, 0) << gateway.run.err.toStdString();
        EXPECT_EQ(gateway.run.out, terminal.run.out);
        EXPECT_EQ(firstDifference(gateway.telegrams, terminal.telegrams), QString());
        // Over raw TCP the line is ser2net's; over RFC 2217 the tool sets it.
        EXPECT_EQ(gateway.rates,
                  QStringList{over == Over::RawTcp ? QStringLiteral("line 38400 baud")
                                                   : QStringLiteral("line 19200 baud")});
    }
}

TEST(Ser2netEndToEnd, Rfc2217SetsTheRateTheToolIsSetTo)
{
    const LoggedScan scan =
        scanThrough(Over::Rfc2217, {QStringLiteral("--baud"), QStringLiteral("9600")});
    EXPECT_EQ(scan.run.exitCode, 0) << scan.run.err.toStdString();
    EXPECT_TRUE(scan.run.out.contains(QStringLiteral("2 Fenster, Gruppensteuergerät")));
    EXPECT_EQ(scan.rates, QStringList{QStringLiteral("line 9600 baud")});
}

TEST(Ser2netEndToEnd, ScanOfAGatewayThatIsNotThereSaysWhy)
{
    QTemporaryDir ports, work;
    QString address;
    {
        // ser2net listened there a moment ago.
        Ser2netProcess gone(NetworkPort::Protocol::RawTcp, ports.filePath(QStringLiteral("COM2")));
        ASSERT_TRUE(gone.listening());
        address = gone.address();
    }
    const ScanRun run = runScan(work.path(), ports.path(), {QStringLiteral("--port"), address});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(address + QStringLiteral(": Verbindung abgewiesen.")))
        << run.err.toStdString();
}

} // namespace

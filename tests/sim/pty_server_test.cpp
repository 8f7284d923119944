// The simulator in real time over a pseudo-terminal, reached through the machine's serial-port
// code as the tool reaches it: the access object, reopening, stray bytes, faults switched live,
// and the fenestrix-sim program with its link and log.
#include "buslink/Veltradt.h"
#include "platform/ComPortMap.h"
#include "platform/QtSerialDevice.h"
#include "sim/PtyBusServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QString kNoSettings = QStringLiteral("/nonexistent/Fenestrix.ini");

// The serial-port code expects the application object that the tool always has.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "sim_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// One request and its reply on a port of our own, as a raw exchange does it.
QByteArray exchange(QtSerialDevice& port, int mode, int field, int data)
{
    const Telegram t = MakeTelegram(unsigned(mode), unsigned(field), unsigned(data));
    if (port.write(t.data(), 6) != 6)
        return {};
    uint8_t reply[6];
    const int n = port.read(reply, 6, 150);
    return QByteArray(reinterpret_cast<const char*>(reply), std::max(0, n));
}

QByteArray telegramBytes(int mode, int field, int data)
{
    const Telegram t = MakeTelegram(unsigned(mode), unsigned(field), unsigned(data));
    return QByteArray(reinterpret_cast<const char*>(t.data()), 6);
}

struct PtyServerTest : ::testing::Test {
    void SetUp() override
    {
        ensureApplication();
        QString error;
        ASSERT_TRUE(server.start(&error)) << error.toStdString();
        ASSERT_TRUE(QFile::link(server.slavePath(), folder.filePath(QStringLiteral("COM1"))));
        qputenv("FENESTRIX_PORTS", folder.path().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("FENESTRIX_PORTS"); }

    PtyBusServer server{std::make_unique<SimulatedBus>(DefaultBusSetup())};
    QTemporaryDir folder;
    RealClock clock;
    QtSerialPorts ports;
};

TEST_F(PtyServerTest, AccessObjectReadsAndReconnectsThroughTheTerminal)
{
    TFensterSteuerung pc(clock, ports, kNoSettings);
    ASSERT_TRUE(pc.Connect(19200, 1, 150));
    pc.SetWindowAddress(2);
    int value = 0;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(pc.GetParameterValue(ParSoftwareVersion, value), TFensterSteuerung::ParOk);
    EXPECT_EQ(value, 0x0703);
    EXPECT_LT(timer.elapsed(), 100) << "a reply comes within a few milliseconds";

    // The tool closes and reopens the port; the simulator sees no hang-up and keeps serving.
    pc.Disconnect();
    ASSERT_TRUE(pc.Connect(19200, 1, 150));
    pc.SetWindowAddress(5);
    EXPECT_EQ(pc.ReadEepromByte(0x2D, value), 0);
    EXPECT_EQ(value, 8);
    int mode = 0x4F, field = 0, data = 1;
    EXPECT_EQ(pc.SendTelegram(mode, field, data), 0);
}

TEST_F(PtyServerTest, StrayByteBeforeARequestDoesNotShiftIt)
{
    QtSerialDevice port;
    ASSERT_TRUE(port.open(server.slavePath()));
    ASSERT_TRUE(port.applyLine(LineSettings{19200}));
    const uint8_t switchByte = 0x13;
    ASSERT_EQ(port.write(&switchByte, 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(exchange(port, 0x76, MakeBusAddress(3, 0), 1).toHex(),
              telegramBytes(0x76, MakeBusAddress(3, 0), 0x0520).toHex());
}

TEST_F(PtyServerTest, FaultSwitchedOnWhileServing)
{
    TFensterSteuerung pc(clock, ports, kNoSettings);
    ASSERT_TRUE(pc.Connect(19200, 1, 150));
    pc.SetWindowAddress(1);
    int value = 0;
    ASSERT_EQ(pc.GetParameterValue(ParWindowKind, value), TFensterSteuerung::ParOk);
    server.withBus([](SimulatedBus& bus) {
        ReplyFaults faults;
        faults.wrongChecksum = true;
        bus.controllerAt(1)->setFaults(faults);
    });
    EXPECT_EQ(pc.GetParameterValue(ParWindowKind, value), TFensterSteuerung::ParReadFailed);
    EXPECT_EQ(pc.lastError(), CZuzev::ErrChecksum);
}

TEST(SimulatorProgram, ServesItsConfigOnTheLinkAndCleansUpOnSigterm)
{
    ensureApplication();
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("bus.json"));
    const QString link = folder.filePath(QStringLiteral("COM1"));
    const QString log = folder.filePath(QStringLiteral("bus.log"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"controllers": [{"kind": "slidingDrive", "address": 7}]})");
    file.close();

    QProcess sim;
    sim.start(QStringLiteral(FENESTRIX_SIM_PROGRAM),
              {QStringLiteral("--link"), link, QStringLiteral("--log"), log, config});
    ASSERT_TRUE(sim.waitForReadyRead(2000)) << sim.readAllStandardError().toStdString();
    const QString terminal = QString::fromLocal8Bit(sim.readLine()).trimmed();
    EXPECT_TRUE(terminal.startsWith(QStringLiteral("/dev/pts/"))) << terminal.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), terminal);

    QtSerialDevice port;
    ASSERT_TRUE(port.open(link));
    ASSERT_TRUE(port.applyLine(LineSettings{19200}));
    EXPECT_EQ(exchange(port, 0x15, MakeBusAddress(7, 0x10), 0).toHex(),
              telegramBytes(0x15, MakeBusAddress(7, 0x10), 7).toHex());
    EXPECT_TRUE(exchange(port, 0x76, MakeBusAddress(1, 0), 1).isEmpty());
    port.close();

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(2000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    QFile written(log);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray lines = written.readAll();
    EXPECT_TRUE(lines.contains("PC>  15 1C 10 00 00 19")) << lines.constData();
    EXPECT_TRUE(lines.contains("<bus 15 1C 10 07 00 1E")) << lines.constData();
}

TEST(SimulatorProgram, RefusesABadConfigWithAMessage)
{
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("bus.json"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"controllers": [{"address": 40}]})");
    file.close();
    QProcess sim;
    sim.start(QStringLiteral(FENESTRIX_SIM_PROGRAM), {config});
    ASSERT_TRUE(sim.waitForFinished(2000));
    EXPECT_EQ(sim.exitCode(), 1);
    EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(
        sim.readAllStandardError().contains("controllers[0].address: must be 1..30 or 3Fh"));
}

} // namespace

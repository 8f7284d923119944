// End to end in real time: a readdressing swap against "fenestrix-sim" over a pseudo-terminal,
// checked by reading the serial numbers at the addresses afterwards.
#include "RecordedMessages.h"
#include "ScanHarness.h"
#include "buslink/Veltradt.h"
#include "mainwindow/core/Addressing.h"
#include "platform/ComPortMap.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LiveHost final : AddressingHost {
    explicit LiveHost(TFensterSteuerung& bus) : bus(bus) {}
    TFensterSteuerung& bus;
    RecordedMessages recorded;
    RecordedProgress recordedProgress;
    QList<std::optional<int>> newAddresses;

    void SendKeepAlive() override
    {
        int mode = 0x4F, field = 0, data = 1;
        (void)bus.SendTelegram(mode, field, data);
    }
    void DisconnectBus(bool) override { bus.Disconnect(); }
    void processEvents() override {}
    void setProgressStatus(const QString&) override {}
    std::optional<int> askNewAddress(int) override { return newAddresses.takeFirst(); }
    ProgressReporter& progress() override { return recordedProgress; }
    UserMessages& messages() override { return recorded; }
};

// The serial number of the controller at `address` (EEPROM 15h, 16h), or -1.
int serialAt(TFensterSteuerung& bus, int address)
{
    bus.SetWindowAddress(address);
    int low = 0, high = 0;
    if (bus.ReadEepromByte(0x15, low) != 0 || bus.ReadEepromByte(0x16, high) != 0)
        return -1;
    return (low & 0xFF) + 256 * (high & 0xFF);
}

TEST(ReaddressingEndToEnd, SwapOfTwoControllersOnTheSimulatedBus)
{
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("bus.json")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(R"({"controllers": [{"kind": "turnTilt", "address": 1, "serial": 1111},
                                     {"kind": "chainDrive", "address": 2, "serial": 2222}]})");
    config.close();

    QProcess sim;
    sim.start(QStringLiteral(FENESTRIX_SIM_PROGRAM),
              {QStringLiteral("--link"), dir.filePath(QStringLiteral("COM1")), config.fileName()});
    ASSERT_TRUE(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
    qputenv("FENESTRIX_PORTS", dir.path().toLocal8Bit());

    RealClock clock;
    QtSerialPorts ports;
    TFensterSteuerung bus(clock, ports, dir.filePath(QStringLiteral("Fenestrix.ini")));
    ASSERT_TRUE(bus.Connect(19200, 1, 150));
    const int first = serialAt(bus, 1), second = serialAt(bus, 2);
    ASSERT_NE(first, -1);
    ASSERT_NE(second, -1);
    ASSERT_NE(first, second);

    WindowListModel list;
    for (int address : {1, 2}) {
        TFensterInfo info;
        info.address = address;
        list.AddWindowRow(info);
    }
    LiveHost host(bus);
    BusAddressing addressing(clock, ports, bus, list, host);
    addressing.enterReaddressing();
    host.newAddresses = {2, 1};
    addressing.changeAddress(0);
    addressing.changeAddress(1);
    host.recorded.answers = {true};
    ASSERT_TRUE(addressing.applyReaddressing());

    EXPECT_EQ(serialAt(bus, 1), second);
    EXPECT_EQ(serialAt(bus, 2), first);
    EXPECT_EQ(serialAt(bus, 32), -1); // no controller stayed on a temporary address
    bus.Disconnect();
    qunsetenv("FENESTRIX_PORTS");
    sim.terminate();
    sim.waitForFinished(5000);
}

} // namespace

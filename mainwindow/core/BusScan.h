// The bus scan: probes the group control unit, address 3Fh and addresses 1 to 30 over a raw port
// of its own and fills the window list; reports to its host through a narrow interface.
#pragma once

#include "WindowListModel.h"
#include "platform/BusPort.h"

#include <QString>

#include <optional>

class Clock;
class SerialPorts;
class TFensterSteuerung;
class TZuzevSave;
class UserMessages;
class ProgressReporter;

// What the scan needs of the window that runs it.
class BusScanHost {
public:
    virtual ~BusScanHost() = default;
    // Off: "Beenden", "Info", "Fenster suchen", "Liste erstellen", "Eigenschaften",
    // "Notadressierung"; on: the same except "Eigenschaften", which the reconnect decides.
    virtual void setScanCommandsEnabled(bool enabled) = 0;
    virtual void DisconnectBus(bool keepStatusText) = 0;
    virtual void ConnectBus() = 0;
    // The start dialog; true when the user started the scan.
    [[nodiscard]] virtual bool confirmScanStart() = 0;
    virtual void processEvents() = 0;
    // The second status panel and the status bar's colour.
    virtual void setScanStatus(const QString& text, bool alarm) = 0;
    virtual ProgressReporter& progress() = 0;
    virtual UserMessages& messages() = 0;
};

struct ScanResult {
    bool portOpened = false;
    QString summary; // as the status bar shows it
};

struct BusConnection {
    int comPort = 1;
    uint32_t baud = 19200;
    // The gateway last entered, kept while the COM port is in use; the port when `overNetwork`.
    std::optional<NetworkPort> gateway = std::nullopt;
    bool overNetwork = false;

    // The port in use: the gateway, or the COM port.
    [[nodiscard]] BusPort port() const
    {
        return overNetwork && gateway ? BusPort(*gateway) : BusPort(comPort);
    }
    // Makes `port` the port in use; a gateway is remembered, a COM number keeps the gateway.
    void use(const BusPort& port)
    {
        overNetwork = port.network() != nullptr;
        if (overNetwork)
            gateway = *port.network();
        else
            comPort = port.comNumber();
    }
};
// The port as the status bar names it: "COM1, 19200 Baud", "rfc2217://host:4001, 19200 Baud",
// "tcp://host:4001".
[[nodiscard]] QString PortText(const BusConnection& connection);

class BusScan {
public:
    BusScan(Clock& clock, SerialPorts& ports, TFensterSteuerung& bus, WindowListModel& list,
            BusScanHost& host);

    // The whole scan, from the start dialog to the reconnect.
    ScanResult run(const BusConnection& connection);
    // Probes one address; appends a row when it answered. 1 when the bus is busy, else 0.
    int QueryWindow(int address, TZuzevSave& port);

private:
    void scanGroupUnit(TZuzevSave& port);
    void scanControllers(TZuzevSave& port);
    void gapTest();

    Clock& m_clock;
    SerialPorts& m_ports;
    TFensterSteuerung& m_bus;
    WindowListModel& m_list;
    BusScanHost& m_host;
    bool m_busyReported = false;
    int m_gapSkip = 0;
};

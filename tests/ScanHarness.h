// A bus scan on the simulated bus and the virtual clock, with a host that records what the
// scan shows and a trace of every byte the PC writes.
#pragma once

#include "RecordedMessages.h"
#include "buslink/Veltradt.h"
#include "mainwindow/core/BusScan.h"
#include "sim/MemoryBusPorts.h"
#include "sim/SimulatedBus.h"
#include "texts/ProgressReporter.h"

#include <functional>

struct RecordedProgress final : ProgressReporter {
    int kind = -1;
    int maximum = 0;
    QList<int> positions;
    bool abortFlag = false;
    bool shown = false;
    std::function<void(int)> onPosition;

    void PrepareProgress(int k, int m) override { kind = k, maximum = m, abortFlag = false; }
    void showProgress() override { shown = true; }
    void setPosition(int p) override
    {
        positions << p;
        if (onPosition)
            onPosition(p);
    }
    bool aborted() const override { return abortFlag; }
    void closeProgress() override { shown = false; }
};

struct RecordedScanHost final : BusScanHost {
    RecordedMessages recorded;
    RecordedProgress recordedProgress;
    bool startAnswer = true;
    QStringList statuses;
    bool alarm = false;
    int connects = 0;

    void setScanCommandsEnabled(bool) override {}
    void DisconnectBus(bool) override {}
    void ConnectBus() override { ++connects; }
    bool confirmScanStart() override { return startAnswer; }
    void processEvents() override {}
    void setScanStatus(const QString& text, bool a) override { statuses << text, alarm = a; }
    ProgressReporter& progress() override { return recordedProgress; }
    UserMessages& messages() override { return recorded; }
};

// Every request the PC wrote, as the six bytes and the time its first byte went out.
struct TracedRequest {
    QByteArray bytes;
    uint64_t atUs;
    int mode() const { return static_cast<uint8_t>(bytes[0]); }
    int window() const { return static_cast<uint8_t>(bytes[1]) >> 2; }
    int memory() const
    {
        return ((static_cast<uint8_t>(bytes[1]) & 3) << 8) | static_cast<uint8_t>(bytes[2]);
    }
};

// A request as "mode:memory=data" in hex, e.g. "09:025=0003".
inline QString requestText(const TracedRequest& r)
{
    const int data = static_cast<uint8_t>(r.bytes[3]) | (static_cast<uint8_t>(r.bytes[4]) << 8);
    return QStringLiteral("%1:%2=%3")
        .arg(r.mode(), 2, 16, QChar(u'0'))
        .arg(r.memory(), 3, 16, QChar(u'0'))
        .arg(data, 4, 16, QChar(u'0'));
}

class TracingPorts final : public SerialPorts {
public:
    TracingPorts(SerialPorts& inner, VirtualClock& clock) : m_inner(inner), m_clock(clock) {}
    std::unique_ptr<SerialDevice> createDevice() override;
    QString devicePath(int number) const override { return m_inner.devicePath(number); }
    QList<TracedRequest> requests;

private:
    friend class TracingDevice;
    SerialPorts& m_inner;
    VirtualClock& m_clock;
    QByteArray m_pending;
    uint64_t m_pendingStartUs = 0;
};

struct ScanHarness {
    explicit ScanHarness(const BusSetup& setup);
    ScanResult scan(int comPort = 1);
    // Addresses probed with the software-version telegram, in order.
    QList<int> probedAddresses() const;

    VirtualClock clock;
    SimulatedBus bus;
    MemoryBusPorts memoryPorts;
    TracingPorts ports;
    TFensterSteuerung pc;
    WindowListModel list;
    RecordedScanHost host;
};

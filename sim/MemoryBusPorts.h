// The simulated bus as serial ports on the virtual clock, for unit tests: the PC's port reaches
// the bus through memory, and each read advances the clock to the moment its bytes are there.
#pragma once

#include "BusLine.h"
#include "platform/Clock.h"
#include "platform/SerialDevice.h"

#include <QList>

class MemoryBusPorts final : public SerialPorts {
public:
    // The bus is reachable through the COM port numbers `ports`; other numbers fail to open.
    MemoryBusPorts(VirtualClock& clock, SimulatedBus& bus, QList<int> ports = {1});

    [[nodiscard]] std::unique_ptr<SerialDevice> createDevice() override;
    [[nodiscard]] QString devicePath(int number) const override;

    [[nodiscard]] BusLine& line() { return m_line; }

    // Takes the adapter away, as pulling a USB plug does: an open port is lost, and no port
    // opens until `plugIn`.
    void unplug();
    void plugIn() { m_present = true; }

private:
    friend class MemorySerialDevice;

    VirtualClock& m_clock;
    BusLine m_line;
    QList<int> m_ports;
    bool m_inUse = false; // ports open exclusively
    bool m_present = true;
    int m_unplugs = 0; // a port opened before the last unplug is lost
    LineSettings m_settings;
    uint64_t m_transmitFreeUs = 0; // when the PC's last written byte has left the port
};

// One port on the in-memory bus. Reads return when all bytes arrived or the time-out ran out,
// with the virtual clock moved to that moment; writes take the bytes' transmission time.
class MemorySerialDevice final : public SerialDevice {
public:
    explicit MemorySerialDevice(MemoryBusPorts& ports) : m_ports(ports) {}
    ~MemorySerialDevice() override { close(); }

    bool open(const QString& path) override;
    bool isOpen() const override { return m_open && !lost(); }
    void close() override;
    bool lost() const override { return m_open && m_unplugsAtOpen != m_ports.m_unplugs; }
    bool readLine(LineSettings& settings) override;
    bool applyLine(const LineSettings& settings) override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    int read(uint8_t* buffer, int count, int timeoutMs) override;
    int write(const uint8_t* buffer, int count) override;
    bool purge() override;

private:
    MemoryBusPorts& m_ports;
    bool m_open = false;
    int m_unplugsAtOpen = 0;
};

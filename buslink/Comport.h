// A plain serial port with single-byte reads and writes and a log of every byte received
// ("Debug.dat"); used by the bus scan, the emergency addressing and the port probe.
#pragma once

#include "platform/SerialDevice.h"

#include <QFile>

#include <cstdint>
#include <memory>

class TCOMport {
public:
    // A single-byte read gives up after 1 ms without data.
    static constexpr int kByteTimeoutMs = 1;

    // An empty log path keeps no byte log.
    explicit TCOMport(SerialPorts& ports, QString logPath = QStringLiteral("Debug.dat"));
    virtual ~TCOMport();
    TCOMport(const TCOMport&) = delete;
    TCOMport& operator=(const TCOMport&) = delete;

    // Parity code 0..4 (none, odd, even, mark, space), stop-bit code 0..2 (1, 1.5, 2); other
    // codes and unlisted baud rates fall back to none, one stop bit and 9600 baud.
    [[nodiscard]] bool Open(const BusPort& port, uint32_t baud, int parity, int stopBits);
    void Close();
    [[nodiscard]] bool WriteByte(uint8_t byte);
    // Waits up to the port's read time-out of 1 ms for a byte, or only `timeoutMs`.
    [[nodiscard]] bool ReadByte(uint8_t& byte, int timeoutMs = kByteTimeoutMs);
    [[nodiscard]] bool isOpen() const { return m_port != nullptr; }
    // Whether the port's device vanished while open; reads and writes then fail at once.
    [[nodiscard]] bool deviceLost() const { return m_port && m_port->lost(); }
    // Why the last Open failed, where the device could tell (a network gateway).
    [[nodiscard]] DeviceFailure openFailure() const { return m_openFailure; }

    // The baud rate that Open applies for a requested rate.
    [[nodiscard]] static uint32_t SupportedBaud(uint32_t baud);

private:
    SerialPorts& m_ports;
    std::unique_ptr<SerialDevice> m_port;
    QString m_logPath;
    QFile m_log;
    DeviceFailure m_openFailure = DeviceFailure::None;
};

// A serial line as the bus code needs it: exclusive open, line settings, DTR/RTS, timed reads.
// Implemented over QSerialPort for real ports, over TCP for network gateways and by the
// simulator's in-memory line for tests.
#pragma once

#include "BusPort.h"

#include <QString>

#include <cstdint>
#include <memory>

enum class Parity { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits { One = 0, OneAndHalf = 1, Two = 2 };

// Why a device did not open or did not take its line settings, where it can tell more than that.
enum class DeviceFailure {
    None,
    HostNotFound,
    Refused,
    TimedOut,
    NoComPortOption,
    LineRefused,
    Closed
};

struct LineSettings {
    uint32_t baud = 9600;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Opens an existing device for exclusive reading and writing.
    [[nodiscard]] virtual bool open(const QString& path) = 0;
    [[nodiscard]] virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Whether the open device has vanished: a USB adapter pulled, the far end of a
    // pseudo-terminal closed. A lost device counts as closed, so reads and writes fail at once;
    // close and open clear the state.
    [[nodiscard]] virtual bool lost() const = 0;

    // Reads the line settings in force; false when the device cannot report them.
    [[nodiscard]] virtual bool readLine(LineSettings& settings) = 0;
    // Applies baud rate, 8 data bits, parity and stop bits.
    [[nodiscard]] virtual bool applyLine(const LineSettings& settings) = 0;
    // Modem control lines; a line that cannot carry them (a pseudo-terminal) reports false.
    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;

    // Reads up to `count` bytes; returns when all arrived or `timeoutMs` in total ran out.
    // Returns the number of bytes read, or -1 when the read itself failed.
    [[nodiscard]] virtual int read(uint8_t* buffer, int count, int timeoutMs) = 0;
    // Writes the bytes; returns how many went out, or -1 when the write failed.
    [[nodiscard]] virtual int write(const uint8_t* buffer, int count) = 0;
    // Drops pending input and output.
    virtual bool purge() = 0;
    // Why the last open or line setting failed; None where the device has nothing to add.
    [[nodiscard]] virtual DeviceFailure failure() const { return DeviceFailure::None; }
};

// Where serial devices come from: the machine's ports, or a simulated bus in tests.
class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    [[nodiscard]] virtual std::unique_ptr<SerialDevice> createDevice() = 0;
    // The device path of COM port `number`.
    [[nodiscard]] virtual QString devicePath(int number) const = 0;
    // A device that reaches a serial gateway on the network; none where only local lines exist.
    [[nodiscard]] virtual std::unique_ptr<SerialDevice> createNetworkDevice() { return nullptr; }

    // Opens `port`: a COM number's local line, or the network device with the gateway's address.
    // Null when it did not open; `failure` then says why, where the device could tell.
    [[nodiscard]] std::unique_ptr<SerialDevice> open(const BusPort& port, DeviceFailure& failure)
    {
        failure = DeviceFailure::None;
        auto device = port.network() ? createNetworkDevice() : createDevice();
        if (device && device->open(port.network() ? port.text() : devicePath(port.comNumber())))
            return device;
        if (device)
            failure = device->failure();
        return nullptr;
    }
};

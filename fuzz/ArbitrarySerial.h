// A serial device whose far end says whatever the fuzzer's input says: each read delivers as many
// input bytes as the input decides, fails, or finds the device gone; time passes on a VirtualClock.
#pragma once

#include "platform/Clock.h"
#include "platform/SerialDevice.h"

#include <fuzzer/FuzzedDataProvider.h>

class ArbitrarySerialDevice final : public SerialDevice {
public:
    ArbitrarySerialDevice(FuzzedDataProvider& input, VirtualClock& clock)
        : m_input(input), m_clock(clock)
    {}

    bool open(const QString&) override;
    bool isOpen() const override { return m_open && !m_lost; }
    void close() override { m_open = m_lost = false; }
    bool lost() const override { return m_open && m_lost; }
    bool readLine(LineSettings&) override { return isOpen(); }
    bool applyLine(const LineSettings&) override { return isOpen(); }
    bool setDtr(bool) override { return isOpen(); }
    bool setRts(bool) override { return isOpen(); }
    int read(uint8_t* buffer, int count, int timeoutMs) override;
    int write(const uint8_t* buffer, int count) override;
    bool purge() override { return isOpen(); }

private:
    FuzzedDataProvider& m_input;
    VirtualClock& m_clock;
    bool m_open = false;
    bool m_lost = false;
};

// Every port number names one such device.
class ArbitrarySerialPorts final : public SerialPorts {
public:
    ArbitrarySerialPorts(FuzzedDataProvider& input, VirtualClock& clock)
        : m_input(input), m_clock(clock)
    {}
    std::unique_ptr<SerialDevice> createDevice() override
    {
        return std::make_unique<ArbitrarySerialDevice>(m_input, m_clock);
    }
    QString devicePath(int number) const override { return QStringLiteral("fuzz:%1").arg(number); }

private:
    FuzzedDataProvider& m_input;
    VirtualClock& m_clock;
};

// A fuzz input as a serial line: the ports and the virtual clock their devices wait on.
struct ArbitraryLine {
    ArbitraryLine(const uint8_t* data, size_t size) : input(data, size) {}

    FuzzedDataProvider input;
    VirtualClock clock;
    ArbitrarySerialPorts ports{input, clock};
};

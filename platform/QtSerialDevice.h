// SerialDevice over QSerialPort with blocking waits, for USB adapters, built-in ports and Linux
// pseudo-terminals; notices a device that vanishes, also between exchanges when an event loop runs.
#pragma once

#include "SerialDevice.h"

#include <QSerialPort>
#include <QSocketNotifier>

#include <memory>

class QtSerialDevice final : public SerialDevice {
public:
    bool open(const QString& path) override;
    bool isOpen() const override { return m_port.isOpen(); }
    void close() override;
    bool lost() const override { return m_lost; }
    bool readLine(LineSettings& settings) override;
    bool applyLine(const LineSettings& settings) override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    int read(uint8_t* buffer, int count, int timeoutMs) override;
    int write(const uint8_t* buffer, int count) override;
    bool purge() override;

    // Why the last open failed, in words for the user.
    [[nodiscard]] QString errorText() const { return m_port.errorString(); }
    [[nodiscard]] QSerialPort::SerialPortError error() const { return m_port.error(); }

private:
    // Whether the driver reports the device gone or the line has hung up.
    [[nodiscard]] bool deviceGone() const;
    // When the device has gone: marks it lost and closes the port, whose own read notifier
    // would otherwise fire without end in the event loop. Returns whether the device is lost.
    bool loseIfGone();
    void watchForHangUp();

    QSerialPort m_port;
    // Fires when the line hangs up while the event loop runs between exchanges.
    std::unique_ptr<QSocketNotifier> m_hangUpWatch;
    bool m_lost = false;
};

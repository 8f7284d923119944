// SerialDevice over QSerialPort, used without an event loop (blocking waits).
// Works on USB adapters, built-in ports and Linux pseudo-terminals.
#pragma once

#include "SerialDevice.h"

#include <QSerialPort>

class QtSerialDevice final : public SerialDevice {
public:
    bool open(const QString& path) override;
    bool isOpen() const override { return m_port.isOpen(); }
    void close() override;
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
    QSerialPort m_port;
};

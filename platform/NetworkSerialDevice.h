// SerialDevice over a TCP connection to a serial gateway (a device server, ser2net): raw TCP, where
// the bytes pass as they are, or Telnet with RFC 2217, where line settings, DTR/RTS and purges
// travel as Telnet commands around the data. Connecting takes at most 3 s.
#pragma once

#include "Rfc2217Framing.h"
#include "SerialDevice.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

#include <optional>

class NetworkSerialDevice final : public SerialDevice {
public:
    static constexpr int kConnectTimeMs = 3000;

    NetworkSerialDevice();
    ~NetworkSerialDevice() override;

    // `path` is the gateway's address, "tcp://HOST:PORT" or "rfc2217://HOST:PORT".
    bool open(const QString& path) override;
    bool isOpen() const override;
    void close() override;
    bool lost() const override { return m_lost; }
    // The settings last applied; over raw TCP the gateway's own settings are not known.
    bool readLine(LineSettings& settings) override;
    bool applyLine(const LineSettings& settings) override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    int read(uint8_t* buffer, int count, int timeoutMs) override;
    int write(const uint8_t* buffer, int count) override;
    bool purge() override;
    DeviceFailure failure() const override { return m_failure; }

private:
    bool connectTo(const NetworkPort& port);
    bool negotiate();
    // Takes what the gateway has sent into the data, waiting for something new until `deadline`
    // when nothing is there; false when the connection has ended, which loses the device.
    bool receive(QDeadlineTimer deadline);
    // Sends `bytes` after the data not sent yet.
    bool send(const QByteArray& bytes);
    bool sendUnsent() { return m_unsent.isEmpty() || send(QByteArray()); }
    bool sendCommand(uint8_t command, const QByteArray& value);
    // Waits for the gateway's reply to `command`, within what is left of connecting, else briefly.
    bool awaitReply(uint8_t command);
    void lose();
    [[nodiscard]] bool rfc2217() const { return m_telnet.has_value(); }

    QTcpSocket m_socket;
    std::optional<Rfc2217Framing> m_telnet;
    // Data received and not yet read.
    QByteArray m_data;
    // Data written and not sent yet (escaped), and how many bytes it was written as.
    QByteArray m_unsent;
    int m_unsentCount = 0;
    LineSettings m_line;
    QDeadlineTimer m_connecting;
    bool m_open = false;
    bool m_lost = false;
    DeviceFailure m_failure = DeviceFailure::None;
};

// ser2net, the Debian package, as a test's gateway: started on a free loopback port with a
// configuration of its own that points at a terminal, and stopped at the end.
#pragma once

#include "platform/BusPort.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class Ser2netProcess {
public:
    // The terminal `device` with the line `line` ("19200n81") as ser2net opens it for a
    // connection; with RFC 2217 the tool sets the line itself.
    Ser2netProcess(NetworkPort::Protocol protocol, const QString& device,
                   const QString& line = QStringLiteral("19200n81"));
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    // Whether ser2net listens; otherwise what it said.
    [[nodiscard]] bool listening() const { return m_listening; }
    [[nodiscard]] QString output() { return QString::fromLocal8Bit(m_process.readAll()); }
    // "tcp://127.0.0.1:PORT" or "rfc2217://127.0.0.1:PORT".
    [[nodiscard]] QString address() const { return NetworkPortText(m_port); }
    [[nodiscard]] const QString& configuration() const { return m_configuration; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    NetworkPort m_port;
    QString m_configuration;
    bool m_listening = false;
};

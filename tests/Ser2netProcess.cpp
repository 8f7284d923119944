#include "Ser2netProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QThread>

namespace {

uint16_t freeLoopbackPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

// Whether a socket listens on the loopback port, as /proc/net/tcp lists it (state 0A), without
// connecting: a connection would make ser2net open the terminal.
bool listensOn(uint16_t port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local =
        QByteArray("0100007F:") + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& row : table.readAll().split('\n')) {
        const QList<QByteArray> fields = row.simplified().split(' ');
        if (fields.size() > 3 && fields[1] == local && fields[3] == "0A")
            return true;
    }
    return false;
}

} // namespace

Ser2netProcess::Ser2netProcess(NetworkPort::Protocol protocol, const QString& device,
                               const QString& line)
    : m_port{protocol, QStringLiteral("127.0.0.1"), freeLoopbackPort()}
{
    const QString accepter = protocol == NetworkPort::Protocol::Rfc2217
                                 ? QStringLiteral("telnet(rfc2217),tcp,127.0.0.1,%1")
                                 : QStringLiteral("tcp,127.0.0.1,%1");
    m_configuration = QStringLiteral("connection: &windowbus\n"
                                     "  accepter: %1\n"
                                     "  connector: serialdev,%2,%3,local\n"
                                     "  options:\n"
                                     "    kickolduser: true\n")
                          .arg(accepter.arg(m_port.port), device, line);
    const QString configPath = m_dir.filePath(QStringLiteral("ser2net.yaml"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly) || config.write(m_configuration.toUtf8()) < 0)
        return;
    config.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // In the foreground, without UUCP lock files, with a pid file of its own.
    m_process.start(QStringLiteral(SER2NET_PROGRAM),
                    {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), configPath,
                     QStringLiteral("-P"), m_dir.filePath(QStringLiteral("ser2net.pid"))});
    if (!m_process.waitForStarted(5000))
        return;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if ((m_listening = listensOn(m_port.port)))
            return;
        QThread::msleep(10);
    }
}

Ser2netProcess::~Ser2netProcess()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

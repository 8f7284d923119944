#include "NetworkSerialDevice.h"

#include "HostLookup.h"

#include <QtEndian>

#include <algorithm>

namespace {

// A write that has not left for the gateway after this long ends the connection.
constexpr int kSocketWriteTimeoutMs = 1000;
// How long a reply to a line setting or a purge may take once connected.
constexpr int kControlReplyMs = 500;
// Written data goes on once a telegram's worth has come together.
constexpr int kTelegramBytes = 6;

int remainingMs(const QDeadlineTimer& deadline)
{
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

} // namespace

NetworkSerialDevice::NetworkSerialDevice()
{
    // The gateway closing the connection is noticed also while the event loop runs between
    // exchanges; after our own close the device is no longer open and nothing is lost.
    QObject::connect(&m_socket, &QAbstractSocket::disconnected, [this] {
        if (m_open)
            lose();
    });
}

NetworkSerialDevice::~NetworkSerialDevice()
{
    close();
}

bool NetworkSerialDevice::open(const QString& path)
{
    close();
    m_failure = DeviceFailure::None;
    const std::optional<NetworkPort> port = ParseNetworkPort(path);
    if (!port) {
        m_failure = DeviceFailure::HostNotFound;
        return false;
    }
    m_connecting = QDeadlineTimer(kConnectTimeMs);
    if (port->protocol == NetworkPort::Protocol::Rfc2217)
        m_telnet.emplace();
    if (!connectTo(*port)) {
        close();
        return false;
    }
    // Each write goes out at once, as on a serial line, instead of waiting to be combined.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_open = true;
    if (rfc2217() && !negotiate()) {
        close();
        return false;
    }
    return true;
}

bool NetworkSerialDevice::connectTo(const NetworkPort& port)
{
    const std::optional<QHostInfo> host = LookUpHost(port.host, m_connecting);
    if (!host) {
        m_failure = DeviceFailure::TimedOut;
        return false;
    }
    m_failure = DeviceFailure::HostNotFound;
    for (const QHostAddress& address : host->addresses()) {
        m_socket.connectToHost(address, port.port);
        if (m_socket.waitForConnected(remainingMs(m_connecting)))
            return true;
        m_failure = m_socket.error() == QAbstractSocket::ConnectionRefusedError
                        ? DeviceFailure::Refused
                        : DeviceFailure::TimedOut;
        m_socket.abort();
        if (m_connecting.hasExpired())
            break;
    }
    return false;
}

// A gateway that refuses COM-PORT-OPTION, or says nothing of it in time, is no RFC 2217 gateway;
// a raw TCP port forwards the request to the bus and stays silent.
bool NetworkSerialDevice::negotiate()
{
    if (!send(m_telnet->opening()))
        return false;
    while (!m_telnet->comPortAgreed()) {
        if (m_telnet->comPortRefused() || m_connecting.hasExpired()) {
            m_failure = DeviceFailure::NoComPortOption;
            return false;
        }
        if (!receive(m_connecting))
            return false;
    }
    return true;
}

bool NetworkSerialDevice::isOpen() const
{
    return m_open && !m_lost;
}

void NetworkSerialDevice::close()
{
    if (isOpen())
        (void)sendUnsent();
    m_open = false;
    m_socket.abort();
    m_telnet.reset();
    m_data.clear();
    m_unsent.clear();
    m_unsentCount = 0;
    m_line = LineSettings{};
    m_lost = false;
}

void NetworkSerialDevice::lose()
{
    m_lost = true;
    m_failure = DeviceFailure::Closed;
}

bool NetworkSerialDevice::receive(QDeadlineTimer deadline)
{
    // With bytes at hand it only looks whether more came, or the end of the connection.
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        (void)m_socket.waitForReadyRead(m_socket.bytesAvailable() > 0 ? 0 : remainingMs(deadline));
    const QByteArray bytes = m_socket.readAll();
    if (m_telnet) {
        const QByteArray answers = m_telnet->receive(bytes, m_data);
        if (!answers.isEmpty())
            (void)send(answers);
    } else {
        m_data += bytes;
    }
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        lose();
    return !m_lost;
}

bool NetworkSerialDevice::send(const QByteArray& more)
{
    const QByteArray bytes = m_unsent + more;
    m_unsent.clear();
    m_unsentCount = 0;
    if (m_socket.write(bytes) != bytes.size()) {
        lose();
        return false;
    }
    while (m_socket.bytesToWrite() > 0) {
        // On a stream nothing can be taken back, so a gateway that takes no data is given up.
        if (!m_socket.waitForBytesWritten(kSocketWriteTimeoutMs)) {
            lose();
            return false;
        }
    }
    return true;
}

bool NetworkSerialDevice::sendCommand(uint8_t command, const QByteArray& value)
{
    m_telnet->forgetReply(command);
    return send(Rfc2217Framing::command(command, value));
}

bool NetworkSerialDevice::awaitReply(uint8_t command)
{
    const QDeadlineTimer deadline =
        m_connecting.hasExpired() ? QDeadlineTimer(kControlReplyMs) : m_connecting;
    while (!m_telnet->reply(command)) {
        if (deadline.hasExpired() || !receive(deadline))
            return false;
    }
    return true;
}

bool NetworkSerialDevice::readLine(LineSettings& settings)
{
    if (!isOpen())
        return false;
    settings = m_line;
    return true;
}

bool NetworkSerialDevice::applyLine(const LineSettings& settings)
{
    if (!isOpen())
        return false;
    if (!rfc2217()) {
        m_line = settings;
        return true;
    }
    // A rate of 0 would ask the gateway for its rate instead of setting one.
    if (settings.baud == 0) {
        m_failure = DeviceFailure::LineRefused;
        return false;
    }
    static constexpr uint8_t parities[] = {1, 2, 3, 4, 5}; // none, odd, even, mark, space
    static constexpr uint8_t stopSizes[] = {1, 3, 2};      // one, one and a half, two
    QByteArray baud(4, '\0');
    qToBigEndian(settings.baud, baud.data());
    // The gateway confirms the rate it took; the other replies are not waited for.
    m_telnet->forgetReply(ComPort::SetBaudRate);
    const QByteArray commands =
        Rfc2217Framing::command(ComPort::SetBaudRate, baud) +
        Rfc2217Framing::command(ComPort::SetDataSize, QByteArray(1, char(8))) +
        Rfc2217Framing::command(ComPort::SetParity,
                                QByteArray(1, char(parities[int(settings.parity)]))) +
        Rfc2217Framing::command(ComPort::SetStopSize,
                                QByteArray(1, char(stopSizes[int(settings.stopBits)]))) +
        Rfc2217Framing::command(ComPort::SetControl, QByteArray(1, char(ComPort::NoFlowControl)));
    const bool taken = send(commands) && awaitReply(ComPort::SetBaudRate) &&
                       m_telnet->reply(ComPort::SetBaudRate) == baud;
    if (!taken) {
        if (!m_lost)
            m_failure = DeviceFailure::LineRefused;
        return false;
    }
    m_line = settings;
    return true;
}

bool NetworkSerialDevice::setDtr(bool on)
{
    // Over raw TCP the gateway sets its lines itself.
    return isOpen() && rfc2217() &&
           sendCommand(ComPort::SetControl,
                       QByteArray(1, char(on ? ComPort::DtrOn : ComPort::DtrOff)));
}

bool NetworkSerialDevice::setRts(bool on)
{
    return isOpen() && rfc2217() &&
           sendCommand(ComPort::SetControl,
                       QByteArray(1, char(on ? ComPort::RtsOn : ComPort::RtsOff)));
}

int NetworkSerialDevice::read(uint8_t* buffer, int count, int timeoutMs)
{
    if (!isOpen() || !sendUnsent())
        return -1;
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    while (m_data.size() < count) {
        if (!receive(deadline))
            return -1;
        if (deadline.hasExpired())
            break;
    }
    const int n = static_cast<int>(std::min<qsizetype>(count, m_data.size()));
    std::copy_n(m_data.constData(), n, reinterpret_cast<char*>(buffer));
    m_data.remove(0, n);
    return n;
}

int NetworkSerialDevice::write(const uint8_t* buffer, int count)
{
    // A gateway that has closed the connection fails the write at once.
    if (!isOpen() || !receive(QDeadlineTimer(0)))
        return -1;
    // What came before a request cannot answer it: a reply later than its time-out would
    // otherwise be read as the reply to the next request.
    m_data.clear();
    // A telegram written a byte at a time (the raw port) goes in one piece, so that the gateway
    // does not put it on the bus with gaps; the next use of the line sends what is left.
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), count);
    m_unsent += rfc2217() ? Rfc2217Framing::escaped(bytes) : bytes;
    m_unsentCount += count;
    return m_unsentCount < kTelegramBytes || sendUnsent() ? count : -1;
}

bool NetworkSerialDevice::purge()
{
    if (!isOpen())
        return false;
    // Over RFC 2217 the gateway drops its buffers too; what it sent before its reply is dropped
    // here with what has arrived, as is what was written and not sent.
    m_unsent.clear();
    m_unsentCount = 0;
    const bool purged =
        !rfc2217() || (sendCommand(ComPort::PurgeData, QByteArray(1, char(ComPort::kPurgeBoth))) &&
                       awaitReply(ComPort::PurgeData));
    if (!receive(QDeadlineTimer(0)))
        return false;
    m_data.clear();
    return purged;
}

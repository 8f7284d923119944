#include "QtSerialDevice.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>

#include <algorithm>
#include <limits>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace {

// A write that has not left the port after this long counts as incomplete.
constexpr int kWriteTimeoutMs = 1000;

} // namespace

bool QtSerialDevice::open(const QString& path)
{
    close();
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    watchForHangUp();
    return true;
}

void QtSerialDevice::close()
{
    m_hangUpWatch.reset();
    if (m_port.isOpen())
        m_port.close();
    m_lost = false;
}

void QtSerialDevice::watchForHangUp()
{
#ifdef Q_OS_UNIX
    // Without an event loop in this thread nothing could deliver the notice; the exchanges then
    // find the loss themselves.
    if (!QAbstractEventDispatcher::instance())
        return;
    // A hung-up terminal reports an error condition, which wakes an exception notifier; data
    // does not.
    m_hangUpWatch = std::make_unique<QSocketNotifier>(m_port.handle(), QSocketNotifier::Exception);
    QObject::connect(m_hangUpWatch.get(), &QSocketNotifier::activated, [this] { loseIfGone(); });
#endif
}

bool QtSerialDevice::deviceGone() const
{
    if (m_port.error() == QSerialPort::ResourceError)
        return true;
#ifdef Q_OS_UNIX
    pollfd line{static_cast<int>(m_port.handle()), 0, 0};
    return ::poll(&line, 1, 0) == 1 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return false;
#endif
}

bool QtSerialDevice::loseIfGone()
{
    if (m_port.isOpen() && deviceGone()) {
        m_lost = true;
        // The watch stops first, so that it never looks at a closed handle.
        if (m_hangUpWatch)
            m_hangUpWatch->setEnabled(false);
        m_port.close();
    }
    return m_lost;
}

bool QtSerialDevice::readLine(LineSettings& settings)
{
    if (!m_port.isOpen())
        return false;
    settings.baud = static_cast<uint32_t>(m_port.baudRate());
    switch (m_port.parity()) {
    case QSerialPort::OddParity:
        settings.parity = Parity::Odd;
        break;
    case QSerialPort::EvenParity:
        settings.parity = Parity::Even;
        break;
    case QSerialPort::MarkParity:
        settings.parity = Parity::Mark;
        break;
    case QSerialPort::SpaceParity:
        settings.parity = Parity::Space;
        break;
    default:
        settings.parity = Parity::None;
        break;
    }
    switch (m_port.stopBits()) {
    case QSerialPort::OneAndHalfStop:
        settings.stopBits = StopBits::OneAndHalf;
        break;
    case QSerialPort::TwoStop:
        settings.stopBits = StopBits::Two;
        break;
    default:
        settings.stopBits = StopBits::One;
        break;
    }
    return true;
}

bool QtSerialDevice::applyLine(const LineSettings& settings)
{
    if (!m_port.isOpen())
        return false;
    static constexpr QSerialPort::Parity parities[] = {
        QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
        QSerialPort::MarkParity, QSerialPort::SpaceParity};
    static constexpr QSerialPort::StopBits stops[] = {
        QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
    // QSerialPort takes the rate as a signed 32-bit number.
    bool ok = settings.baud <= uint32_t(std::numeric_limits<qint32>::max()) &&
              m_port.setBaudRate(static_cast<qint32>(settings.baud));
    ok = m_port.setDataBits(QSerialPort::Data8) && ok;
    ok = m_port.setParity(parities[static_cast<int>(settings.parity)]) && ok;
    // One and a half stop bits exist only on Windows; elsewhere the driver refuses them.
    const bool stopOk = m_port.setStopBits(stops[static_cast<int>(settings.stopBits)]);
    ok = (stopOk || settings.stopBits == StopBits::OneAndHalf) && ok;
    ok = m_port.setFlowControl(QSerialPort::NoFlowControl) && ok;
    m_port.clearError();
    return ok;
}

bool QtSerialDevice::setDtr(bool on)
{
    const bool ok = m_port.isOpen() && m_port.setDataTerminalReady(on);
    m_port.clearError();
    return ok;
}

bool QtSerialDevice::setRts(bool on)
{
    const bool ok = m_port.isOpen() && m_port.setRequestToSend(on);
    m_port.clearError();
    return ok;
}

int QtSerialDevice::read(uint8_t* buffer, int count, int timeoutMs)
{
    if (!m_port.isOpen())
        return -1;
    QElapsedTimer timer;
    timer.start();
    int got = 0;
    for (;;) {
        const qint64 n = m_port.read(reinterpret_cast<char*>(buffer) + got, count - got);
        if (n < 0)
            return -1;
        got += static_cast<int>(n);
        if (got >= count)
            return got;
        // Every wait that brings no data ends the read, so a failing line cannot keep it
        // spinning; once the time is up, one last wait without time picks up what has arrived.
        const qint64 left = std::max<qint64>(0, timeoutMs - timer.elapsed());
        if (!m_port.waitForReadyRead(static_cast<int>(left)))
            break;
    }
    const bool timedOut = m_port.error() == QSerialPort::TimeoutError;
    if (loseIfGone())
        return -1;
    m_port.clearError();
    return (timedOut || got > 0) ? got : -1;
}

int QtSerialDevice::write(const uint8_t* buffer, int count)
{
    if (!m_port.isOpen())
        return -1;
    const qint64 n = m_port.write(reinterpret_cast<const char*>(buffer), count);
    if (n < 0) {
        loseIfGone();
        m_port.clearError();
        return -1;
    }
    while (m_port.bytesToWrite() > 0) {
        if (m_port.waitForBytesWritten(kWriteTimeoutMs))
            continue;
        if (loseIfGone())
            return -1;
        // What did not leave in time is dropped, so that it cannot go out with a later write.
        const qint64 unsent = std::min(n, m_port.bytesToWrite());
        m_port.clear(QSerialPort::Output);
        m_port.clearError();
        return static_cast<int>(n - unsent);
    }
    return static_cast<int>(n);
}

bool QtSerialDevice::purge()
{
    if (!m_port.isOpen())
        return false;
    m_port.readAll();
    const bool ok = m_port.clear(QSerialPort::AllDirections);
    m_port.clearError();
    return ok;
}

#include "QtSerialDevice.h"

#include <QElapsedTimer>

bool QtSerialDevice::open(const QString& path)
{
    if (m_port.isOpen())
        m_port.close();
    m_port.setPortName(path);
    return m_port.open(QIODevice::ReadWrite);
}

void QtSerialDevice::close()
{
    if (m_port.isOpen())
        m_port.close();
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
    bool ok = m_port.setBaudRate(static_cast<qint32>(settings.baud));
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
    while (got < count) {
        const qint64 n = m_port.read(reinterpret_cast<char*>(buffer) + got, count - got);
        if (n < 0)
            return -1;
        got += static_cast<int>(n);
        if (got == count)
            break;
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            break;
        if (!m_port.waitForReadyRead(static_cast<int>(left))) {
            if (m_port.error() != QSerialPort::TimeoutError &&
                m_port.error() != QSerialPort::NoError) {
                m_port.clearError();
                return got > 0 ? got : -1;
            }
            m_port.clearError();
        }
    }
    return got;
}

int QtSerialDevice::write(const uint8_t* buffer, int count)
{
    if (!m_port.isOpen())
        return -1;
    const qint64 n = m_port.write(reinterpret_cast<const char*>(buffer), count);
    if (n < 0)
        return -1;
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(1000)) {
            m_port.clearError();
            return static_cast<int>(n - m_port.bytesToWrite());
        }
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

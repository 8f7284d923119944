#include "Comport.h"

#include <algorithm>
#include <array>

TCOMport::TCOMport(SerialPorts& ports, QString logPath)
    : m_ports(ports), m_logPath(std::move(logPath))
{}

TCOMport::~TCOMport()
{
    Close();
}

uint32_t TCOMport::SupportedBaud(uint32_t baud)
{
    static constexpr std::array<uint32_t, 14> rates{
        110, 300, 600, 1200, 2400, 4800, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return std::find(rates.begin(), rates.end(), baud) != rates.end() ? baud : 9600;
}

bool TCOMport::Open(const BusPort& busPort, uint32_t baud, int parity, int stopBits)
{
    Close();
    m_port = m_ports.open(busPort, m_openFailure);
    if (!m_port)
        return false;

    LineSettings line;
    (void)m_port->readLine(line);
    line.baud = SupportedBaud(baud);
    line.parity = parity >= 0 && parity <= 4 ? static_cast<Parity>(parity) : Parity::None;
    line.stopBits =
        stopBits >= 0 && stopBits <= 2 ? static_cast<StopBits>(stopBits) : StopBits::One;
    if (!m_port->applyLine(line)) {
        m_openFailure = m_port->failure();
        Close();
        return false;
    }
    if (!m_logPath.isEmpty()) {
        m_log.setFileName(m_logPath);
        // Without a log file the port still works.
        (void)m_log.open(QIODevice::Append);
    }
    return true;
}

void TCOMport::Close()
{
    if (m_log.isOpen())
        m_log.close();
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
}

bool TCOMport::WriteByte(uint8_t byte)
{
    return m_port && m_port->write(&byte, 1) == 1;
}

bool TCOMport::ReadByte(uint8_t& byte, int timeoutMs)
{
    if (!m_port || m_port->read(&byte, 1, timeoutMs) != 1)
        return false;
    if (m_log.isOpen()) {
        m_log.write(QByteArray::number(byte, 16).toUpper().rightJustified(2, '0') + "h ");
        m_log.flush();
    }
    return true;
}

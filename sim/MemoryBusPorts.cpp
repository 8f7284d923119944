#include "MemoryBusPorts.h"

namespace {

const QString kPathPrefix = QStringLiteral("simbus:COM");

} // namespace

MemoryBusPorts::MemoryBusPorts(VirtualClock& clock, SimulatedBus& bus, QList<int> ports)
    : m_clock(clock), m_line(bus), m_ports(std::move(ports))
{
    m_settings.baud = 19200;
    m_line.setBaud(m_settings.baud);
}

std::unique_ptr<SerialDevice> MemoryBusPorts::createDevice()
{
    return std::make_unique<MemorySerialDevice>(*this);
}

QString MemoryBusPorts::devicePath(int number) const
{
    return m_ports.contains(number) ? kPathPrefix + QString::number(number) : QString();
}

void MemoryBusPorts::unplug()
{
    m_present = false;
    ++m_unplugs;
    // The lost port no longer holds the line.
    m_inUse = false;
}

bool MemorySerialDevice::open(const QString& path)
{
    close();
    if (!path.startsWith(kPathPrefix) || m_ports.m_inUse || !m_ports.m_present ||
        !m_ports.m_ports.contains(path.mid(kPathPrefix.size()).toInt()))
        return false;
    m_ports.m_inUse = true;
    m_open = true;
    m_unplugsAtOpen = m_ports.m_unplugs;
    // A port opens with an empty input buffer.
    m_ports.m_line.discardReadable(m_ports.m_clock.nowUs());
    return true;
}

void MemorySerialDevice::close()
{
    if (isOpen())
        m_ports.m_inUse = false;
    m_open = false;
}

bool MemorySerialDevice::readLine(LineSettings& settings)
{
    if (!isOpen())
        return false;
    settings = m_ports.m_settings;
    return true;
}

bool MemorySerialDevice::applyLine(const LineSettings& settings)
{
    if (!isOpen() || settings.baud == 0)
        return false;
    m_ports.m_settings = settings;
    m_ports.m_line.setBaud(settings.baud);
    return true;
}

bool MemorySerialDevice::setDtr(bool)
{
    return isOpen();
}

bool MemorySerialDevice::setRts(bool)
{
    return isOpen();
}

int MemorySerialDevice::read(uint8_t* buffer, int count, int timeoutMs)
{
    if (!isOpen())
        return -1;
    VirtualClock& clock = m_ports.m_clock;
    const uint64_t now = clock.nowUs();
    const uint64_t deadline = now + uint64_t(std::max(0, timeoutMs)) * 1000;
    BusLine& line = m_ports.m_line;
    const auto last = count > 0 ? line.readableAt(size_t(count) - 1, now, deadline) : now;
    const uint64_t until = last ? std::max(now, *last) : deadline;
    clock.advanceUs(until - now);
    return line.take(buffer, count, until);
}

int MemorySerialDevice::write(const uint8_t* buffer, int count)
{
    if (!isOpen())
        return -1;
    const uint64_t now = m_ports.m_clock.nowUs();
    for (int i = 0; i < count; ++i) {
        m_ports.m_transmitFreeUs =
            std::max(now, m_ports.m_transmitFreeUs) + m_ports.m_line.byteUs();
        m_ports.m_line.receive(buffer[i], m_ports.m_transmitFreeUs);
    }
    return count;
}

bool MemorySerialDevice::purge()
{
    if (!isOpen())
        return false;
    m_ports.m_line.discardReadable(m_ports.m_clock.nowUs());
    return true;
}

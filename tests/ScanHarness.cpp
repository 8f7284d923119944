#include "ScanHarness.h"

class TracingDevice final : public SerialDevice {
public:
    TracingDevice(TracingPorts& ports, std::unique_ptr<SerialDevice> inner)
        : m_ports(ports), m_inner(std::move(inner))
    {}
    bool open(const QString& path) override { return m_inner->open(path); }
    bool isOpen() const override { return m_inner->isOpen(); }
    void close() override { m_inner->close(); }
    bool lost() const override { return m_inner->lost(); }
    bool readLine(LineSettings& s) override { return m_inner->readLine(s); }
    bool applyLine(const LineSettings& s) override { return m_inner->applyLine(s); }
    bool setDtr(bool on) override { return m_inner->setDtr(on); }
    bool setRts(bool on) override { return m_inner->setRts(on); }
    int read(uint8_t* b, int n, int t) override { return m_inner->read(b, n, t); }
    bool purge() override { return m_inner->purge(); }
    int write(const uint8_t* buffer, int count) override
    {
        if (m_ports.m_pending.isEmpty())
            m_ports.m_pendingStartUs = m_ports.m_clock.nowUs();
        m_ports.m_pending.append(reinterpret_cast<const char*>(buffer), count);
        while (m_ports.m_pending.size() >= 6) {
            m_ports.requests << TracedRequest{m_ports.m_pending.left(6), m_ports.m_pendingStartUs};
            m_ports.m_pending.remove(0, 6);
        }
        return m_inner->write(buffer, count);
    }

private:
    TracingPorts& m_ports;
    std::unique_ptr<SerialDevice> m_inner;
};

std::unique_ptr<SerialDevice> TracingPorts::createDevice()
{
    return std::make_unique<TracingDevice>(*this, m_inner.createDevice());
}

ScanHarness::ScanHarness(const BusSetup& setup)
    : bus(setup), memoryPorts(clock, bus), ports(memoryPorts, clock),
      pc(clock, ports, QStringLiteral("/nonexistent/Fenestrix.ini"))
{}

ScanResult ScanHarness::scan(int comPort)
{
    return BusScan(clock, ports, pc, list, host).run(BusConnection{comPort, 19200});
}

QList<int> ScanHarness::probedAddresses() const
{
    QList<int> addresses;
    for (const TracedRequest& r : ports.requests) {
        if (r.mode() == 0x76)
            addresses << r.window();
    }
    return addresses;
}

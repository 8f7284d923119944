#include "Addressing.h"

#include "buslink/Veltradt.h"
#include "buslink/Zuzevsave.h"
#include "platform/Clock.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

namespace {

constexpr int kAddressByte = 0x34;
// The controller needs this long to take over an address write.
constexpr uint32_t kAfterWriteMs = 123;
constexpr int kHighestAddress = 30;
constexpr int kEmergencyRuns = 31;
constexpr int kEmergencyOpenTimeLimitMs = 10;
constexpr int kEmergencyReplyTimeLimitMs = 2000;
constexpr int kEmergencyRequest = 0x60;
constexpr int kEmergencyReply = 0x63;
constexpr int kEmergencyEnd = 0x65;
constexpr int kEmergencyWindow = 40;

} // namespace

BusAddressing::BusAddressing(Clock& clock, SerialPorts& ports, TFensterSteuerung& bus,
                             WindowListModel& list, AddressingHost& host)
    : m_clock(clock), m_ports(ports), m_bus(bus), m_list(list), m_host(host)
{}

int BusAddressing::TemporaryAddress(int oldAddress)
{
    return oldAddress <= 8 ? oldAddress + 31 : oldAddress + 32;
}

int BusAddressing::PlanErrors(const QList<int>& oldAddresses, const QList<int>& planned)
{
    int errors = 0;
    for (qsizetype k = 0; k < planned.size(); ++k) {
        if (planned[k] != oldAddresses[k]) {
            for (qsizetype i = 0; i < planned.size(); ++i)
                errors += i != k && planned[i] == planned[k] ? 1 : 0;
        }
        if (static_cast<unsigned>(planned[k]) > kHighestAddress)
            errors += 16;
    }
    return errors;
}

bool BusAddressing::addressInList(int address) const
{
    // Every row up to the empty last one, whose cell reads as 0.
    for (int row = 0; row <= m_list.deviceCount(); ++row) {
        const QString text = m_list.cell(row, 0);
        if ((text.isEmpty() ? 0 : m_list.rowAddress(row)) == address)
            return true;
    }
    return false;
}

void BusAddressing::changeAddress(int row)
{
    const int current = m_list.rowAddress(row);
    if (current < 1 || current > 64)
        return;
    const std::optional<int> chosen = m_host.askNewAddress(current);
    if (!chosen || *chosen == current)
        return;
    const int address = *chosen;

    if (m_readdressing) {
        if (address < 1 || address > kHighestAddress)
            return;
        m_planned[row] = address;
        m_list.setCell(row, 0, QString::number(address));
        return;
    }
    if (addressInList(address)) {
        m_host.messages().error(LanguageText(276));
        return;
    }
    if (!m_host.messages().confirm(LanguageText(277)))
        return;
    m_bus.SetWindowAddress(current);
    (void)m_bus.WriteEepromByte(kAddressByte, address);
    m_list.setCell(row, 0, QString::number(address));
    m_clock.sleepMs(kAfterWriteMs);
    (void)m_bus.SendCommand33();
}

void BusAddressing::enterReaddressing()
{
    m_readdressing = true;
    m_old.clear();
    for (int row = 0; row < m_list.deviceCount(); ++row)
        m_old << m_list.rowAddress(row);
    m_planned = m_old;
}

void BusAddressing::writeAddressPhase(int entry, int fromAddress, int toAddress)
{
    if (m_planned[entry] == m_old[entry])
        return;
    m_host.SendKeepAlive();
    m_bus.SetWindowAddress(fromAddress);
    (void)m_bus.WriteEepromByte(kAddressByte, toAddress);
    m_clock.sleepMs(kAfterWriteMs);
    int readBack = -1;
    (void)m_bus.ReadEepromByte(kAddressByte, readBack);
    if (readBack != toAddress)
        (void)m_bus.WriteEepromByte(kAddressByte, toAddress);
    m_clock.sleepMs(kAfterWriteMs);
    (void)m_bus.SendCommand33();
    m_clock.sleepMs(kAfterWriteMs);
}

bool BusAddressing::applyReaddressing()
{
    if (PlanErrors(m_old, m_planned) != 0) {
        m_host.messages().error(LanguageText(425));
        return false;
    }
    if (!m_host.messages().confirm(LanguageText(277)))
        return false;

    const int entries = static_cast<int>(m_planned.size());
    ProgressReporter& progress = m_host.progress();
    progress.PrepareProgress(ProgressReporter::Readdressing, entries);
    progress.showProgress();
    m_host.processEvents();

    for (int k = 0; k < entries; ++k) {
        progress.setPosition(k + 1);
        writeAddressPhase(k, m_old[k], TemporaryAddress(m_old[k]));
    }
    m_clock.sleepMs(1000);
    m_host.SendKeepAlive();
    m_clock.sleepMs(80);
    m_host.SendKeepAlive();
    for (int k = 0; k < entries; ++k) {
        progress.setPosition(entries + k + 1);
        writeAddressPhase(k, TemporaryAddress(m_old[k]), m_planned[k]);
    }
    m_readdressing = false;
    progress.closeProgress();
    return true;
}

void BusAddressing::abortReaddressing()
{
    m_readdressing = false;
    for (qsizetype k = 0; k < m_planned.size(); ++k) {
        if (m_planned[k] == m_old[k])
            continue;
        m_list.setCell(static_cast<int>(k), 0, QString::number(m_old[k]));
        m_planned[k] = m_old[k];
    }
}

BusAddressing::EmergencyEnd BusAddressing::emergencyAddressing(const BusConnection& connection)
{
    if (!m_host.messages().confirm(LanguageText(221)))
        return EmergencyEnd::NotConfirmed;
    m_host.DisconnectBus(true);
    TZuzevSave port(m_clock, m_ports);
    if (port.RawOpen(connection.comPort, connection.baud, kEmergencyOpenTimeLimitMs) != 0) {
        m_host.messages().error(LanguageText(315));
        return EmergencyEnd::PortFailed;
    }
    ProgressReporter& progress = m_host.progress();
    progress.PrepareProgress(ProgressReporter::EmergencyAddressing, kEmergencyRuns);
    progress.showProgress();
    m_host.processEvents();

    EmergencyEnd end = EmergencyEnd::Finished;
    for (int n = 1; n <= kEmergencyRuns; ++n) {
        m_host.setConnectionStatus(QStringLiteral("%1 %2").arg(LanguageText(330)).arg(n));
        progress.setPosition(n);
        m_host.processEvents();
        if (progress.aborted())
            break;
        m_clock.sleepMs(40);
        port.SetReplyTimeout(40);
        port.SendKeepAlive();

        port.SetReplyTimeout(kEmergencyReplyTimeLimitMs);
        int mode = kEmergencyRequest, field = MakeBusAddress(kEmergencyWindow, n), data = 0;
        if (port.RawTransmit(mode, field, data) != TZuzevSave::Ok)
            break;
        if (mode != kEmergencyReply || (field >> 8) != n) {
            end = EmergencyEnd::WrongAnswer;
            break;
        }
    }
    port.SetReplyTimeout(20);
    int mode = kEmergencyEnd, field = MakeBusAddress(kEmergencyWindow, 0), data = 0;
    (void)port.RawTransmit(mode, field, data);
    m_clock.sleepMs(1);
    port.RawClose();
    progress.closeProgress();
    m_host.setConnectionStatus(QStringLiteral(" "));
    if (end == EmergencyEnd::WrongAnswer)
        m_host.messages().warning(LanguageText(309), LanguageText(268));
    return end;
}

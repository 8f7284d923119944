#include "Addressing.h"

#include "buslink/PortMessages.h"
#include "buslink/Protocol.h"
#include "buslink/Veltradt.h"
#include "buslink/Zuzevsave.h"
#include "platform/Clock.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <algorithm>

namespace {

constexpr int kAddressByte = Protocol::kBusAddressByte;
// The controller needs this long to take over an address write.
constexpr uint32_t kAfterWriteMs = 123;
constexpr int kHighestAddress = 30;
constexpr int kEmergencyRuns = 31;
constexpr int kEmergencyOpenTimeLimitMs = 10;
constexpr int kEmergencyReplyTimeLimitMs = 2000;
constexpr int kWriteFailedText = 285;
// The questions before addresses change offer Yes, No and Cancel.
constexpr auto kAddressQuestion = UserMessages::Buttons::YesNoCancel;

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
    // The empty last row counts as address 0.
    for (int row = 0; row <= m_list.deviceCount(); ++row) {
        if (std::max(0, m_list.rowAddress(row)) == address)
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
        // The plan holds the rows of the list as it was when readdressing began.
        if (address < 1 || address > kHighestAddress || row >= m_planned.size())
            return;
        m_planned[row] = address;
        m_list.setRowAddress(row, address);
        return;
    }
    if (addressInList(address)) {
        m_host.messages().error(LanguageText(276));
        return;
    }
    if (!m_host.messages().confirm(LanguageText(277), kAddressQuestion))
        return;
    m_bus.SetWindowAddress(current);
    const bool written = m_bus.WriteEepromByte(kAddressByte, address) == 0;
    if (written)
        m_list.setRowAddress(row, address);
    // A write whose reply was lost may still have been stored: the take-over follows either way.
    m_clock.sleepMs(kAfterWriteMs);
    (void)m_bus.SendCommand33();
    if (!written)
        m_host.messages().error(LanguageText(kWriteFailedText));
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
    // A read-back that failed proves nothing: the address is written once more, as after a
    // read-back that differs.
    int readBack = -1;
    if (m_bus.ReadEepromByte(kAddressByte, readBack) != 0 || readBack != toAddress)
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
    if (!m_host.messages().confirm(LanguageText(277), kAddressQuestion))
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
        m_list.setRowAddress(static_cast<int>(k), m_old[k]);
        m_planned[k] = m_old[k];
    }
}

BusAddressing::EmergencyEnd BusAddressing::emergencyAddressing(const BusConnection& connection)
{
    if (!m_host.messages().confirm(LanguageText(221), kAddressQuestion))
        return EmergencyEnd::NotConfirmed;
    m_host.DisconnectBus(true);
    TZuzevSave port(m_clock, m_ports);
    if (port.RawOpen(connection.port(), connection.baud, kEmergencyOpenTimeLimitMs) != 0) {
        // The link is closed now; the status says so.
        m_host.DisconnectBus(false);
        m_host.messages().error(
            PortNotOpenedText(connection.port(), port.openFailure(), connection.baud));
        return EmergencyEnd::PortFailed;
    }
    ProgressReporter& progress = m_host.progress();
    progress.PrepareProgress(ProgressReporter::EmergencyAddressing, kEmergencyRuns);
    progress.showProgress();
    m_host.processEvents();

    EmergencyEnd end = EmergencyEnd::Finished;
    for (int n = 1; n <= kEmergencyRuns; ++n) {
        m_host.setProgressStatus(QStringLiteral("%1 %2").arg(LanguageText(330)).arg(n));
        progress.setPosition(n);
        m_host.processEvents();
        if (progress.aborted())
            break;
        m_clock.sleepMs(40);
        port.SetReplyTimeout(40);
        port.SendKeepAlive();

        port.SetReplyTimeout(kEmergencyReplyTimeLimitMs);
        int mode = Protocol::EmergencyRequest, data = 0;
        int field = MakeBusAddress(Protocol::kEmergencyWindow, n);
        if (port.RawTransmit(mode, field, data) != TZuzevSave::Ok)
            break;
        if (mode != Protocol::EmergencyReply || (field >> 8) != n) {
            end = EmergencyEnd::WrongAnswer;
            break;
        }
    }
    port.SetReplyTimeout(20);
    int mode = Protocol::EmergencyEnd, field = MakeBusAddress(Protocol::kEmergencyWindow, 0);
    int data = 0;
    (void)port.RawTransmit(mode, field, data);
    m_clock.sleepMs(1);
    port.RawClose();
    progress.closeProgress();
    m_host.setProgressStatus(QStringLiteral(" "));
    if (end == EmergencyEnd::WrongAnswer)
        m_host.messages().warning(LanguageText(309), LanguageText(268));
    return end;
}

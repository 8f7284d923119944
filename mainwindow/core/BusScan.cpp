#include "BusScan.h"

#include "buslink/ParameterTable.h"
#include "buslink/PortMessages.h"
#include "buslink/Protocol.h"
#include "buslink/Veltradt.h"
#include "buslink/Zuzevsave.h"
#include "platform/Clock.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

namespace {

constexpr int kOpenReplyTimeLimitMs = 18;
constexpr int kScanReplyTimeLimitMs = 100;
constexpr uint32_t kStepPauseMs = 50;
constexpr uint32_t kAfterQueryPauseMs = 100;
constexpr int kAddress3F = 63;
constexpr int kLastControllerAddress = 30;

struct Request {
    int mode;
    int memoryAddress;
    int data;
};

Request parameterRequest(int index)
{
    const TStrgItem item = InitialParameter(index);
    return {item.mode, item.memoryAddress, item.data};
}

Request eepromRequest(int memoryAddress)
{
    return {Protocol::EepromReadByte, memoryAddress, 0};
}

// One exchange; the reply's data, or the data word sent when the device did not answer.
int readOrSent(TZuzevSave& port, int address, Request r, bool* ok = nullptr)
{
    int mode = r.mode, field = MakeBusAddress(address, r.memoryAddress), data = r.data;
    const bool answered = port.RawTransmit(mode, field, data) == TZuzevSave::Ok;
    if (ok)
        *ok = answered;
    return answered ? data : r.data;
}

} // namespace

QString PortText(const BusConnection& connection)
{
    // A raw TCP gateway sets its line itself: its rate is not the tool's to name.
    const BusPort port = connection.port();
    if (port.network() && port.network()->protocol == NetworkPort::Protocol::RawTcp)
        return port.text();
    return QStringLiteral("%1, %2 Baud").arg(port.text()).arg(connection.baud);
}

BusScan::BusScan(Clock& clock, SerialPorts& ports, TFensterSteuerung& bus, WindowListModel& list,
                 BusScanHost& host)
    : m_clock(clock), m_ports(ports), m_bus(bus), m_list(list), m_host(host)
{}

ScanResult BusScan::run(const BusConnection& connection)
{
    ScanResult result;
    TZuzevSave port(m_clock, m_ports);
    m_host.setScanCommandsEnabled(false);
    m_host.DisconnectBus(true);
    m_host.processEvents();
    m_list.addressGap = false;
    m_list.lastAddress = 0;
    m_list.groupUnitFound = false;
    m_busyReported = false;

    if (m_host.confirmScanStart()) {
        m_host.DisconnectBus(true);
        if (port.RawOpen(connection.port(), connection.baud, kOpenReplyTimeLimitMs) != 0) {
            m_host.messages().error(
                PortNotOpenedText(connection.port(), port.openFailure(), connection.baud));
        } else {
            result.portOpened = true;
            m_list.clear();
            m_list.lastAddress = 0;
            m_list.addressGap = false;
            m_host.setScanStatus(QString(), false);
            m_host.progress().PrepareProgress(ProgressReporter::BusScan, 31);
            m_host.progress().showProgress();
            m_host.processEvents();

            port.SetReplyTimeout(kScanReplyTimeLimitMs);
            for (int i = 0; i < 2; ++i) {
                port.SendKeepAlive();
                m_clock.sleepMs(kStepPauseMs);
            }
            scanGroupUnit(port);
            if (!m_host.progress().aborted()) {
                m_host.setScanStatus(LanguageText(319) + QStringLiteral(" 3Fh"), false);
                QueryWindow(kAddress3F, port);
            }
            m_clock.sleepMs(kStepPauseMs);
            scanControllers(port);
            port.RawClose();
            m_host.progress().closeProgress();
        }
    }

    result.summary = m_list.summary();
    m_host.setScanStatus(result.summary, m_list.addressGap);
    m_host.setScanCommandsEnabled(true);
    m_host.ConnectBus();
    return result;
}

void BusScan::scanGroupUnit(TZuzevSave& port)
{
    m_host.setScanStatus(LanguageText(320), false);
    // Every read of the group control unit gets one more try after 50 ms.
    const auto read = [&](int memoryAddress, bool* ok) {
        const int value = readOrSent(port, 0, eepromRequest(memoryAddress), ok);
        if (*ok)
            return value;
        m_clock.sleepMs(kStepPauseMs);
        return readOrSent(port, 0, eepromRequest(memoryAddress), ok);
    };
    bool ok = false;
    const int versionLow = read(0x0E, &ok);
    if (!ok)
        return;
    m_list.groupUnitFound = true;
    const int versionHigh = read(0x0F, &ok);
    const int hardwareLow = read(0x0C, &ok);
    const int hardwareHigh = read(0x0D, &ok);
    TFensterInfo info;
    info.kind = DeviceKind::GroupUnit;
    info.softwareVersion = versionLow + 256 * versionHigh;
    info.hardwareVersion = hardwareLow + 256 * hardwareHigh;
    info.status = 1;
    m_list.AddWindowRow(info);
    m_list.groupDrivePause = static_cast<uint8_t>(read(0x100, &ok) & 0xFF);
}

void BusScan::scanControllers(TZuzevSave& port)
{
    m_gapSkip = 0;
    for (int address = 1; address <= kLastControllerAddress; ++address) {
        m_host.setScanStatus(QStringLiteral("%1 %2...").arg(LanguageText(319)).arg(address), false);
        m_host.progress().setPosition(address);
        m_host.processEvents();

        bool stop = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            port.SendKeepAlive();
            gapTest();
            const int rowsBefore = m_list.deviceCount();
            const int result = QueryWindow(address, port);
            m_clock.sleepMs(kAfterQueryPauseMs);
            m_host.processEvents();
            stop = result == 1 || m_host.progress().aborted();
            if (stop || m_list.deviceCount() > rowsBefore)
                break;
        }
        m_clock.sleepMs(kStepPauseMs);
        if (stop)
            break;
    }
}

void BusScan::gapTest()
{
    const int rows = m_list.deviceCount();
    if (m_list.lastAddress == 0 && rows == 1)
        m_gapSkip = 1;
    else if (m_list.lastAddress == 0 && rows == 0)
        m_gapSkip = 0;
    else if (rows - m_gapSkip != m_list.lastAddress)
        m_list.addressGap = true;
}

int BusScan::QueryWindow(int address, TZuzevSave& port)
{
    m_host.progress().showProgress();
    TFensterInfo info;
    info.address = address;
    m_bus.SetWindowAddress(address);

    const Request version = parameterRequest(ParSoftwareVersion);
    int mode = version.mode, field = MakeBusAddress(address, version.memoryAddress),
        data = version.data;
    int r = port.RawTransmit(mode, field, data);
    if (r != TZuzevSave::Ok) {
        mode = version.mode, field = MakeBusAddress(address, version.memoryAddress),
        data = version.data;
        r = port.RawTransmit(mode, field, data);
    }
    switch (r) {
    case TZuzevSave::Ok: {
        info.softwareVersion = data;
        const auto read = [&](Request request) { return readOrSent(port, address, request); };
        // Two statements: the low byte is read first.
        const int hardwareLow = read(eepromRequest(0x10)) & 0xFF;
        const int hardwareHigh = read(eepromRequest(0x11)) & 0xFF;
        info.hardwareVersion = hardwareLow + 256 * hardwareHigh;
        info.state = info.status = read(parameterRequest(ParState));
        info.windowKind = read(parameterRequest(ParWindowKind));
        uint32_t code = 0;
        for (int byte = 0; byte < 4; ++byte)
            code += uint32_t(read(eepromRequest(0x17 + byte))) << (24 - 8 * byte);
        info.articleNumber = ArticleText(code);
        const bool newChain = info.softwareVersion >= 0x500;
        info.chainLength = read(parameterRequest(newChain ? ParChainLength : ParMaxTiltPosition));
        if (!newChain && info.windowKind <= 3)
            info.chainLength = 503;
        else if (!newChain && info.windowKind == 4)
            info.chainLength = 598;
        info.handleFlag = read(parameterRequest(ParHandle));
        info.electronicsSide = read(parameterRequest(ParElectronicsSide));
        bool eventsRead = false;
        const int events = readOrSent(port, address, parameterRequest(ParEventBits), &eventsRead);
        info.eventBits = eventsRead ? events : 0;
        m_list.AddWindowRow(info);
        return 0;
    }
    case TZuzevSave::Incomplete:
        info.status = kStatusIncomplete;
        m_list.AddWindowRow(info);
        return 0;
    case TZuzevSave::ChecksumWrong:
        info.status = kStatusChecksumError;
        m_list.AddWindowRow(info);
        return 0;
    case TZuzevSave::BusBusy:
        // A busy bus is reported once per scan, though 3Fh and the next address both meet it.
        if (!m_busyReported)
            m_host.messages().error(LanguageText(333));
        m_busyReported = true;
        return 1;
    default:
        return 0;
    }
}

#include "Veltradt.h"

#include "Protocol.h"
#include "SettingsFile.h"
#include "texts/Sprachen.h"

namespace {

constexpr uint32_t kMinimumGapMs = 10;
constexpr uint32_t kRetryWaitMs = 41;
constexpr uint32_t kKeepAliveRetryWaitMs = 40;
constexpr uint32_t kWindowRetryWaitMs = 20;

} // namespace

uint16_t MakeBusAddress(int windowAddress, int memoryAddress)
{
    const unsigned low =
        ((unsigned(windowAddress) * 4) & 0xFF) + ((unsigned(memoryAddress) / 256) & 3);
    const unsigned high = unsigned(memoryAddress) & 0xFF;
    return static_cast<uint16_t>(low + 256 * high);
}

TFensterSteuerung::TFensterSteuerung(Clock& clock, SerialPorts& ports, const QString& settingsPath)
    : CZuzev(clock, ports)
{
    m_lastExchangeTick = this->clock().tickMs();
    if (const auto settings = ReadSettingsFile(settingsPath))
        SetCurrentLanguage(settings->language);
    for (int i = 0; i < kParameterCount; ++i)
        m_table[static_cast<size_t>(i)] = InitialParameter(i);
    m_readFrom.fill(-1);
}

int TFensterSteuerung::exchange(int& mode, int& field, int& data, uint16_t addressField,
                                uint32_t retryWaitMs)
{
    std::lock_guard guard(m_lock);
    clock().sleepUntilElapsed(m_lastExchangeTick, kMinimumGapMs);

    const auto copyReply = [&] {
        const Telegram& r = lastGoodReply();
        mode = r[0];
        field = r[1] + 256 * r[2];
        data = r[3] + 256 * r[4];
    };
    const unsigned sentData = static_cast<unsigned>(data);
    const auto sentMode = static_cast<unsigned short>(mode);
    bool ok = ZuzevTransmit(addressField, sentData, sentMode);
    if (ok) {
        copyReply();
    } else {
        clock().sleepMs(retryWaitMs);
        ok = ZuzevTransmit(addressField, sentData, sentMode);
        copyReply();
    }
    const int result = ok ? 0 : errorCode();
    if (!ok)
        m_lastError = result;
    m_lastExchangeTick = clock().tickMs();
    return result;
}

int TFensterSteuerung::SendTelegram(int& mode, int& addressField, int& data)
{
    const uint32_t wait =
        (mode & 0xFF) == Protocol::KeepAlive ? kKeepAliveRetryWaitMs : kRetryWaitMs;
    return exchange(mode, addressField, data, static_cast<uint16_t>(addressField), wait);
}

int TFensterSteuerung::SendToWindow(int& mode, int& memoryAddress, int& data)
{
    std::lock_guard guard(m_lock);
    const uint16_t field = MakeBusAddress(m_windowAddress, memoryAddress);
    return exchange(mode, memoryAddress, data, field, kWindowRetryWaitMs);
}

int TFensterSteuerung::ReadParameter(int index)
{
    std::lock_guard guard(m_lock);
    TStrgItem& item = m_table.at(static_cast<size_t>(index));
    const bool ok =
        ZuzevTransmit(MakeBusAddress(m_windowAddress, item.memoryAddress), item.data, item.mode);
    if (ok) {
        const Telegram& r = lastGoodReply();
        item.value = static_cast<uint16_t>(r[3] + 256 * r[4]);
        m_readFrom.at(static_cast<size_t>(index)) = m_windowAddress;
    } else {
        m_lastError = errorCode();
    }
    m_lastExchangeTick = clock().tickMs();
    return ok ? 0 : 1;
}

void TFensterSteuerung::SetWindowAddress(int address)
{
    m_windowAddress = address >= 0 && address <= 65535 ? address : 0;
}

void TFensterSteuerung::GetParameterInfo(int index, TStrgItem& item) const
{
    if (index >= 0 && index < kParameterCount)
        item = m_table[static_cast<size_t>(index)];
}

bool TFensterSteuerung::Connect(unsigned long baud, const BusPort& port, int replyTimeoutMs,
                                Settle settle)
{
    std::lock_guard guard(m_lock);
    Disconnect();
    m_connected = OpenCom(port, replyTimeoutMs, baud, 0, settle);
    return m_connected;
}

void TFensterSteuerung::Disconnect()
{
    std::lock_guard guard(m_lock);
    m_connected = false;
    CloseCom();
}

int TFensterSteuerung::StartPolling()
{
    m_pollIndex = 0;
    m_pollingState = PollingRunning;
    return 0;
}

void TFensterSteuerung::PausePolling()
{
    if (m_pollingState == PollingRunning)
        m_pollingState = PollingPaused;
}

void TFensterSteuerung::ResumePolling()
{
    if (m_pollingState == PollingPaused)
        m_pollingState = PollingRunning;
}

int TFensterSteuerung::PollNext()
{
    std::lock_guard guard(m_lock);
    if (!m_connected)
        return 2;
    if (m_pollingState != PollingRunning)
        return 3;
    const auto advance = [this] { m_pollIndex = (m_pollIndex + 1) % kParameterCount; };
    for (int skipped = 0; skipped < kParameterCount + 1 && !m_table[size_t(m_pollIndex)].cyclic;
         ++skipped)
        advance();
    ReadParameter(m_pollIndex);
    advance();
    return 0;
}

int TFensterSteuerung::SendCommand33()
{
    int mode = Protocol::Command, address = Protocol::kTakeOverAddressMemory,
        data = Protocol::kTakeOverAddressCode;
    return SendToWindow(mode, address, data);
}

int TFensterSteuerung::SendCommand66()
{
    int mode = Protocol::Command, address = Protocol::kCommand66Memory,
        data = Protocol::kCommand66Code;
    return SendToWindow(mode, address, data);
}

int TFensterSteuerung::ReadEepromByte(int memoryAddress, int& value)
{
    int mode = Protocol::EepromReadByte, data = 0;
    const int result = SendToWindow(mode, memoryAddress, data);
    value = data;
    return result;
}

int TFensterSteuerung::WriteEepromByte(int memoryAddress, int value)
{
    int mode = Protocol::EepromWriteByte;
    return SendToWindow(mode, memoryAddress, value);
}

int TFensterSteuerung::SendKeepAlive()
{
    if (!m_connected)
        return ErrNotOpen;
    auto [mode, field, data] = Protocol::KeepAliveRequest();
    return SendTelegram(mode, field, data);
}

void TFensterSteuerung::EnableEepromWrite()
{
    if (!m_connected)
        return;
    int mode = Protocol::WindowCommand, address = 0, data = Protocol::kEepromWriteEnableCode;
    (void)SendToWindow(mode, address, data);
}

int TFensterSteuerung::UpdatePage0Checksum()
{
    std::lock_guard guard(m_lock);
    int checksum = 0;
    for (int address = Protocol::kPage0First; address <= Protocol::kPage0Last; ++address) {
        int value = 0;
        if (const int result = ReadEepromByte(address, value); result != 0)
            return result;
        checksum ^= value & 0xFF;
    }
    EnableEepromWrite();
    return WriteEepromByte(Protocol::kPage0Checksum, checksum);
}

int TFensterSteuerung::readParameterIfNeeded(int index)
{
    if (index < 0 || index >= kParameterCount)
        return ParBadIndex;
    if (!m_connected)
        return ParNotConnected;
    const TStrgItem& item = m_table[static_cast<size_t>(index)];
    // The cache serves only values of the controller now addressed; a value polled from the
    // controller opened before is read again.
    const bool fromCache = item.cyclic && m_pollingState == PollingRunning &&
                           m_readFrom[static_cast<size_t>(index)] == m_windowAddress;
    if (!fromCache && ReadParameter(index) != 0)
        return ParReadFailed;
    return ParOk;
}

int TFensterSteuerung::GetParameterValue(int index, int& value)
{
    clock().sleepMs(10);
    std::lock_guard guard(m_lock);
    const int result = readParameterIfNeeded(index);
    if (result == ParOk || result == ParReadFailed)
        value = m_table[static_cast<size_t>(index)].value;
    return result;
}

int TFensterSteuerung::GetParameterText(int index, QString& text)
{
    std::lock_guard guard(m_lock);
    const int result = readParameterIfNeeded(index);
    if (result == ParOk || result == ParReadFailed)
        text = ParameterValueText(index, m_table[static_cast<size_t>(index)].value);
    return result;
}

void TFensterSteuerung::RenameParameters()
{
    for (int i = 0; i < kParameterCount; ++i)
        m_table[static_cast<size_t>(i)].name = ParameterName(i);
}

#include "CZuzev.h"

#include "TelegramTrace.h"

#include <algorithm>

namespace {

// Quiet time on the line after the purge that ends an open.
constexpr uint64_t kQuietAfterOpenUs = 100'000;

} // namespace

uint8_t CZuzev::s_expectedEcho = 0;

uint8_t TelegramChecksum(const uint8_t* bytes)
{
    return bytes[0] ^ bytes[1] ^ bytes[2] ^ bytes[3] ^ bytes[4];
}

Telegram MakeTelegram(unsigned mode, unsigned addressField, unsigned data)
{
    Telegram t{static_cast<uint8_t>(mode & 0xFF),
               static_cast<uint8_t>(addressField & 0xFF),
               static_cast<uint8_t>((addressField >> 8) & 0xFF),
               static_cast<uint8_t>(data & 0xFF),
               static_cast<uint8_t>((data >> 8) & 0xFF),
               0};
    t[5] = TelegramChecksum(t.data());
    return t;
}

CZuzev::CZuzev(Clock& clock, SerialPorts& ports) : m_clock(clock), m_ports(ports) {}

CZuzev::~CZuzev()
{
    if (m_port)
        m_port->close();
}

bool CZuzev::failOpen(int code)
{
    m_errorCode = code;
    m_openFailure = m_port->failure();
    m_port->close();
    m_port.reset();
    m_open = 0;
    return false;
}

bool CZuzev::OpenCom(const BusPort& port, int replyTimeoutMs, unsigned long baud, int wakeUp,
                     Settle settle)
{
    if (m_open) {
        if (!deviceLost())
            return true;
        CloseCom();
    }
    m_errorCode = NoError;
    m_port = m_ports.open(port, m_openFailure);
    if (!m_port) {
        m_errorCode = ErrOpen;
        return false;
    }
    m_open = 1;

    LineSettings line;
    if (!m_port->readLine(line))
        return failOpen(ErrGetState);
    // The read time-out is a total for one whole reply; the devices keep it per read call.
    if (replyTimeoutMs < 0)
        return failOpen(ErrTimeouts);
    m_replyTimeoutMs = replyTimeoutMs;

    line = LineSettings{9600, Parity::None, StopBits::One};
    if (!m_port->applyLine(line))
        return failOpen(ErrSetState);
    m_port->setDtr(false);
    m_port->setRts(true);

    if (wakeUp == 1)
        runWakeUpSequence(baud);

    // A rate the port refuses fails the open; the line would otherwise stay at 9600 baud.
    line.baud = static_cast<uint32_t>(baud);
    if (baud > UINT32_MAX || !m_port->applyLine(line))
        return failOpen(ErrSetState);
    m_port->setDtr(true);
    m_port->setRts(true);

    m_port->purge();
    m_quietUntilUs = m_clock.monotonicUs() + kQuietAfterOpenUs;
    if (settle == Settle::Now)
        this->settle();
    m_replyLength = 6;
    m_open = 1;
    return true;
}

void CZuzev::settle()
{
    if (m_quietUntilUs == 0)
        return;
    const uint64_t now = m_clock.monotonicUs();
    if (now < m_quietUntilUs)
        m_clock.sleepMs(static_cast<uint32_t>((m_quietUntilUs - now + 999) / 1000));
    m_quietUntilUs = 0;
}

void CZuzev::runWakeUpSequence(unsigned long targetBaud)
{
    if (m_firstOpen) {
        m_clock.sleepMs(300);
        m_firstOpen = 0;
    }
    const bool counter = m_clock.hasHighResolutionCounter();
    m_port->purge();

    (void)m_port->applyLine(LineSettings{static_cast<uint32_t>(m_interfaceBaud)});
    m_port->setDtr(false);

    // Rates without a switch byte of their own are announced as 9600 baud.
    uint8_t switchByte = 0x16;
    switch (targetBaud) {
    case 4800:
        switchByte = 0x18;
        break;
    case 9600:
        switchByte = 0x16;
        break;
    case 19200:
        switchByte = 0x13;
        break;
    case 38400:
        switchByte = 0x12;
        break;
    case 57600:
        switchByte = 0x11;
        break;
    default:
        break;
    }
    m_interfaceBaud = targetBaud;

    if (counter)
        m_clock.busyWaitUs(20);
    (void)m_port->write(&switchByte, 1);
    if (counter)
        m_clock.busyWaitUs(6000);
    else
        m_clock.sleepMs(6);
    m_port->setDtr(true);
    if (counter)
        m_clock.busyWaitUs(20);
}

int CZuzev::CloseCom()
{
    m_errorCode = NoError;
    if (m_port) {
        settle();
        m_port->close();
        m_port.reset();
    }
    m_open = 0;
    return 1;
}

void CZuzev::Telegramm(unsigned address, unsigned data, unsigned short mode)
{
    m_request = MakeTelegram(mode, address, data);
}

int CZuzev::Schreiben(unsigned long count)
{
    const unsigned long n = Schreiben(m_request.data(), std::min<unsigned long>(count, 6));
    return n == count && m_ioStatus == IoOk ? 1 : 0;
}

unsigned long CZuzev::Schreiben(const unsigned char* buffer, unsigned long count)
{
    settle();
    const int n = m_port ? m_port->write(buffer, static_cast<int>(count)) : -1;
    if (n < 0) {
        m_ioStatus = IoFailed;
        return 0;
    }
    m_ioStatus = static_cast<unsigned long>(n) < count ? IoShort : IoOk;
    return count;
}

unsigned long CZuzev::Lesen(unsigned char* buffer, unsigned long count)
{
    settle();
    const int n = m_port ? m_port->read(buffer, static_cast<int>(count), m_replyTimeoutMs) : -1;
    m_lastReadLength = std::max(n, 0);
    if (n < 0) {
        m_ioStatus = IoFailed;
        return 0;
    }
    m_ioStatus = static_cast<unsigned long>(n) < count ? IoShort : IoOk;
    return count;
}

int CZuzev::Lesen(unsigned long count)
{
    auto fail = [this] {
        m_ioStatus = IoFailed;
        return 0;
    };
    m_received = 0;
    m_strays = 0;
    count = std::min<unsigned long>(count, 6);
    const unsigned long read = Lesen(m_reply.data(), count);
    m_received = m_lastReadLength;
    if (read == 0 || m_ioStatus != IoOk || count < 6)
        return fail();
    if (m_reply[0] == s_expectedEcho)
        return 1;
    for (int stray = 1; stray <= 2; ++stray) {
        if (m_reply[stray] != s_expectedEcho)
            continue;
        m_strays = stray;
        std::copy(m_reply.begin() + stray, m_reply.end(), m_reply.begin());
        m_received = 6 - stray;
        const bool rest = Lesen(m_reply.data() + 6 - stray, stray) != 0 && m_ioStatus == IoOk;
        m_received += m_lastReadLength;
        return rest ? 1 : fail();
    }
    m_strays = -1; // no reply among the bytes
    return fail();
}

int CZuzev::ZuzevError()
{
    if (m_reply[5] == TelegramChecksum(m_reply.data()))
        return 1;
    m_ioStatus = IoFailed;
    return 0;
}

bool CZuzev::ZuzevTransmit(unsigned address, unsigned data, unsigned short mode)
{
    s_expectedEcho = static_cast<uint8_t>(mode & 0xFF);
    m_errorCode = NoError;
    m_reply.fill(0);
    if (!m_open) {
        m_errorCode = ErrNotOpen;
        return false;
    }
    const uint32_t startMs = m_clock.tickMs();
    Telegramm(address, data, mode);
    if (!Schreiben(6)) {
        m_errorCode = ErrWrite;
        return false;
    }
    const bool replied = Lesen(static_cast<unsigned long>(m_replyLength)) != 0;
    const bool valid = replied && ZuzevError();
    trace(startMs, replied, valid);
    if (!replied) {
        m_errorCode = ErrNoReply;
        return false;
    }
    if (!valid) {
        m_errorCode = ErrChecksum;
        return false;
    }
    m_lastGoodReply = m_reply;
    return true;
}

void CZuzev::trace(uint32_t startMs, bool replied, bool valid)
{
    TraceRecord record;
    record.tickMs = startMs;
    record.durationMs = m_clock.tickMs() - startMs;
    m_lastExchangeMs = record.durationMs;
    record.request = m_request;
    record.reply = m_reply;
    record.replyLength = std::clamp(m_received, 0, 6);
    if (valid)
        record.outcome = m_strays > 0 ? TraceOutcome::Resynchronised : TraceOutcome::Answered;
    else if (replied)
        record.outcome = TraceOutcome::WrongChecksum;
    else if (m_strays < 0)
        record.outcome = TraceOutcome::BusBusy;
    else if (m_received == 0)
        record.outcome = TraceOutcome::NoAnswer;
    else
        record.outcome = TraceOutcome::ShortReply;
    TelegramTrace::program().add(record);
}

void CZuzev::ClearComBuffer()
{
    settle();
    uint8_t block[100];
    for (int i = 0; i < 5 && m_port; ++i) {
        if (m_port->read(block, sizeof block, 0) <= 0)
            break;
    }
}

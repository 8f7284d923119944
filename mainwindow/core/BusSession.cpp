#include "BusSession.h"

#include "buslink/PortMessages.h"
#include "platform/Clock.h"
#include "texts/NetworkText.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

namespace {

constexpr int kPollPeriodMs = 200;
constexpr int kKeepAliveTicks = 3;
constexpr int kReplyTimeoutMs = 150;
constexpr int kChecksumFailedText = 284;
constexpr uint32_t kSlowRoundTripMs = 50;

} // namespace

BusSession::BusSession(Clock& clock, SerialPorts& ports, UserMessages& messages, QObject* parent)
    : QObject(parent), m_clock(clock), m_bus(clock, ports), m_messages(messages)
{
    // A child, so that the window that owns the session finds its polling timer.
    m_pollTimer.setParent(this);
    m_pollTimer.setObjectName(QStringLiteral("Timer"));
    m_pollTimer.setInterval(kPollPeriodMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &BusSession::pollTick);
}

bool BusSession::openPort(CZuzev::Settle settle)
{
    // Connect closes the port first.
    return m_bus.Connect(m_connection.baud, m_connection.port(), kReplyTimeoutMs, settle);
}

bool BusSession::ConnectBus(CZuzev::Settle settle)
{
    setRoundTripText(QString());
    const bool connected = openPort(settle);
    if (connected) {
        m_pollTicks = 0;
        m_pollTimer.start();
        setStatus(QStringLiteral("Online, ") + PortText(m_connection));
    } else {
        setStatus(QStringLiteral("Offline"));
    }
    return connected;
}

QString BusSession::notConnectedText() const
{
    return PortNotOpenedText(m_connection.port(), m_bus.openFailure(), m_connection.baud);
}

void BusSession::DisconnectBus(bool keepStatusText)
{
    m_pollTimer.stop();
    m_bus.Disconnect();
    setRoundTripText(QString());
    if (keepStatusText)
        emit connectionChanged();
    else
        setStatus(QStringLiteral("Offline"));
}

void BusSession::reopen(uint32_t pauseMs)
{
    const bool polling = m_pollTimer.isActive();
    m_pollTimer.stop();
    m_bus.Disconnect();
    m_clock.sleepMs(pauseMs);
    const bool connected = openPort();
    if (polling && connected)
        m_pollTimer.start();
    if (!connected)
        setStatus(QStringLiteral("Offline"));
}

void BusSession::UpdatePage0Checksum()
{
    if (m_bus.UpdatePage0Checksum() != 0)
        m_messages.error(LanguageText(kChecksumFailedText));
}

void BusSession::SendKeepAlive()
{
    const bool answered = m_bus.SendKeepAlive() == 0;
    if (!answered || !m_connection.port().network())
        return;
    const uint32_t roundTripMs = m_bus.lastExchangeMs();
    setRoundTripText(roundTripMs > kSlowRoundTripMs
                         ? NetworkLanguageText(NetworkText::RoundTrip).arg(roundTripMs)
                         : QString());
}

void BusSession::pollTick()
{
    if (++m_pollTicks >= kKeepAliveTicks) {
        m_pollTicks = 0;
        SendKeepAlive();
    }
    (void)m_bus.PollNext();
    (void)endIfAdapterLost();
}

bool BusSession::endIfAdapterLost()
{
    // A serial adapter that was pulled, a gateway that closed the connection: the link ends once
    // and says so; the next scan or port selection connects again.
    if (!m_bus.IsConnected() || !m_bus.deviceLost())
        return false;
    DisconnectBus(false);
    m_messages.error(PortLostText(m_connection.port()));
    return true;
}

void BusSession::setStatus(const QString& text)
{
    m_statusText = text;
    emit connectionChanged();
}

void BusSession::setRoundTripText(const QString& text)
{
    if (text == m_roundTripText)
        return;
    m_roundTripText = text;
    emit roundTripChanged();
}

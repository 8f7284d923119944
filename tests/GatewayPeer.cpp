#include "GatewayPeer.h"

#include <QtEndian>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr uint8_t IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, DO = 253, DONT = 254;
constexpr uint8_t kComPort = 44, kBinary = 0, kSuppressGoAhead = 3, kEcho = 1;
constexpr uint8_t kSetBaudRate = 1;

QByteArray bytes(std::initializer_list<uint8_t> list)
{
    QByteArray out;
    for (uint8_t b : list)
        out += char(b);
    return out;
}

QByteArray doubled(const QByteArray& data)
{
    QByteArray out;
    for (char c : data)
        out += uint8_t(c) == IAC ? QByteArray(2, c) : QByteArray(1, c);
    return out;
}

QString verbName(uint8_t verb)
{
    switch (verb) {
    case WILL:
        return QStringLiteral("WILL");
    case WONT:
        return QStringLiteral("WONT");
    case DO:
        return QStringLiteral("DO");
    default:
        return QStringLiteral("DONT");
    }
}

} // namespace

GatewayPeer::GatewayPeer(Kind kind) : m_kind(kind)
{
    listen();
}

GatewayPeer::~GatewayPeer()
{
    hangUp();
}

QString GatewayPeer::address() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_kind == Kind::Raw ? QStringLiteral("tcp") : QStringLiteral("rfc2217"))
        .arg(m_port);
}

void GatewayPeer::listen()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(m_port);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_listener, 4);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_stop = false;
    m_thread = std::thread([this] { serve(); });
}

void GatewayPeer::hangUp()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        ::close(m_listener);
    m_listener = -1;
}

void GatewayPeer::comeBack()
{
    hangUp();
    m_closeOnRequest = false;
    listen();
}

void GatewayPeer::waitForAnswers(int count) const
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (m_answered < count && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

QByteArray GatewayPeer::data() const
{
    const std::lock_guard guard(m_lock);
    return m_data;
}

QStringList GatewayPeer::options() const
{
    const std::lock_guard guard(m_lock);
    return m_options;
}

QList<int> GatewayPeer::readSizes() const
{
    const std::lock_guard guard(m_lock);
    return m_readSizes;
}

QList<QByteArray> GatewayPeer::comPortCommands() const
{
    const std::lock_guard guard(m_lock);
    return m_comPortCommands;
}

void GatewayPeer::serve()
{
    while (!m_stop) {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        serveClient(client);
        ::close(client);
    }
}

void GatewayPeer::serveClient(int client)
{
    m_stage = Stage::Data;
    m_request.clear();
    m_closeNow = false;
    const int yes = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    // ser2net's greeting: it will and wants suppressed go-ahead, will echo, and wants binary
    // transmission and COM-PORT-OPTION; a Telnet server without RFC 2217 does not ask for that.
    const QByteArray greeting =
        bytes({IAC, WILL, kSuppressGoAhead, IAC, DO, kSuppressGoAhead, IAC, WILL, kEcho, IAC, DONT,
               kEcho, IAC, DO, kBinary, IAC, WILL, kBinary});
    if (m_kind == Kind::Rfc2217)
        sendTelnet(client, greeting + bytes({IAC, DO, kComPort}));
    else if (m_kind == Kind::RefusesComPort)
        sendTelnet(client, greeting);
    uint8_t buffer[256];
    while (!m_stop && !m_closeNow) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        const ssize_t n = ::read(client, buffer, sizeof buffer);
        if (n <= 0)
            return;
        {
            const std::lock_guard guard(m_lock);
            m_readSizes << int(n);
        }
        take(client, buffer, int(n));
    }
}

void GatewayPeer::take(int client, const uint8_t* received, int count)
{
    const bool telnet = m_kind == Kind::Rfc2217 || m_kind == Kind::RefusesComPort;
    for (int i = 0; i < count && !m_closeNow; ++i) {
        const uint8_t b = received[i];
        bool isData = false;
        switch (telnet ? m_stage : Stage::Data) {
        case Stage::Data:
            if (telnet && b == IAC)
                m_stage = Stage::Command;
            else
                isData = true;
            break;
        case Stage::Command:
            m_stage = Stage::Data;
            if (b == IAC)
                isData = true;
            else if (b == SB)
                m_stage = Stage::Sub, m_sub.clear();
            else if (b >= WILL)
                m_stage = Stage::Option, m_verb = b;
            break;
        case Stage::Option: {
            m_stage = Stage::Data;
            {
                const std::lock_guard guard(m_lock);
                m_options << QStringLiteral("%1 %2").arg(verbName(m_verb)).arg(b);
            }
            // Like ser2net it confirms what the client will do, also what it asked for already,
            // except COM-PORT-OPTION, which its greeting asked for.
            const bool known = b == kBinary || b == kSuppressGoAhead;
            if (m_verb == WILL && b != kComPort)
                sendTelnet(client, bytes({IAC, uint8_t(known ? DO : DONT), b}));
            else if (m_verb == WILL && m_kind == Kind::RefusesComPort)
                sendTelnet(client, bytes({IAC, DONT, b}));
            else if (m_verb == DONT && b == kEcho)
                sendTelnet(client, bytes({IAC, WONT, b}));
            break;
        }
        case Stage::Sub:
            if (b == IAC)
                m_stage = Stage::SubCommand;
            else
                m_sub += char(b);
            break;
        case Stage::SubCommand:
            if (b == IAC) {
                m_sub += char(b);
                m_stage = Stage::Sub;
                break;
            }
            m_stage = Stage::Data;
            if (b == SE && m_sub.size() >= 2 && uint8_t(m_sub[0]) == kComPort)
                comPortCommand(client, m_sub.mid(1));
            break;
        }
        if (!isData)
            continue;
        {
            const std::lock_guard guard(m_lock);
            m_data += char(b);
        }
        m_request += char(b);
        if (m_request.size() == 6) {
            answer(client, m_request);
            m_request.clear();
        }
    }
}

void GatewayPeer::sendTelnet(int client, const QByteArray& out)
{
    (void)::write(client, out.constData(), size_t(out.size()));
}

void GatewayPeer::comPortCommand(int client, const QByteArray& command)
{
    {
        const std::lock_guard guard(m_lock);
        m_comPortCommands << command;
    }
    QByteArray value = command.mid(1);
    if (uint8_t(command[0]) == kSetBaudRate && value.size() == 4) {
        const uint32_t asked = qFromBigEndian<uint32_t>(value.constData());
        if (asked != 0 && asked <= m_highestBaud)
            m_baud = asked;
        value = QByteArray(4, '\0');
        qToBigEndian(m_baud, value.data());
    }
    sendTelnet(client, bytes({IAC, SB, kComPort, uint8_t(uint8_t(command[0]) + 100)}) +
                           doubled(value) + bytes({IAC, SE}));
}

void GatewayPeer::answer(int client, const QByteArray& request)
{
    ++m_requests;
    if (m_kind == Kind::Silent)
        return;
    if (m_closeOnRequest.exchange(false)) {
        m_closeNow = true;
        return;
    }
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_replyDelayMs);
    while (std::chrono::steady_clock::now() < due) {
        if (m_stop)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto u = [&](int i) { return static_cast<uint8_t>(request[i]); };
    const Telegram reply = MakeTelegram(u(0), u(1) + 256u * u(2), m_replyData);
    const QByteArray out =
        QByteArray(reinterpret_cast<const char*>(reply.data()), 6).left(m_replyLength);
    const bool telnet = m_kind == Kind::Rfc2217 || m_kind == Kind::RefusesComPort;
    sendTelnet(client, telnet ? doubled(out) : out);
    ++m_answered;
}

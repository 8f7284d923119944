#include "PtyBusServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// How long the server sleeps at most when nothing is due, so that a bus that starts to chatter
// is noticed soon.
constexpr int kIdlePollMs = 20;

// The rate of a terminal speed; 0 for one the bus does not know.
uint32_t baudOf(speed_t speed)
{
    switch (speed) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

PtyBusServer::PtyBusServer(std::unique_ptr<SimulatedBus> bus)
    : m_bus(std::move(bus)), m_line(*m_bus)
{}

PtyBusServer::~PtyBusServer()
{
    stop();
}

void PtyBusServer::setLog(TelegramLog* log)
{
    m_log = log;
    m_line.setLog(log);
}

bool PtyBusServer::start(QString* error)
{
    const auto fail = [&](const char* what) {
        if (error)
            *error = systemError(what);
        closeDescriptors();
        return false;
    };
    if (isRunning())
        return true;
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        return fail("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return fail("unlockpt");
    const char* name = ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return fail("open slave");
    termios raw{};
    if (tcgetattr(m_slave, &raw) != 0)
        return fail("tcgetattr");
    cfmakeraw(&raw);
    cfsetspeed(&raw, B19200);
    if (tcsetattr(m_slave, TCSANOW, &raw) != 0)
        return fail("tcsetattr");
    if (fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0)
        return fail("fcntl");
    if (pipe2(m_wake, O_NONBLOCK | O_CLOEXEC) != 0)
        return fail("pipe");
    m_stopRequested = false;
    m_start = std::chrono::steady_clock::now();
    m_thread = std::thread([this] { serve(); });
    return true;
}

void PtyBusServer::stop()
{
    if (m_thread.joinable()) {
        m_stopRequested = true;
        const char wake = 1;
        (void)::write(m_wake[1], &wake, 1);
        m_thread.join();
    }
    closeDescriptors();
}

void PtyBusServer::closeDescriptors()
{
    for (int* fd : {&m_master, &m_slave, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void PtyBusServer::withBus(const std::function<void(SimulatedBus&)>& change)
{
    std::lock_guard guard(m_lock);
    change(*m_bus);
    if (m_wake[1] >= 0) {
        const char wake = 1;
        (void)::write(m_wake[1], &wake, 1);
    }
}

uint64_t PtyBusServer::nowUs() const
{
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now() - m_start).count());
}

void PtyBusServer::serve()
{
    while (!m_stopRequested) {
        int timeoutMs = kIdlePollMs;
        {
            std::lock_guard guard(m_lock);
            const uint64_t now = nowUs();
            writeReplies(now);
            const uint64_t horizon = now + uint64_t(kIdlePollMs) * 1000;
            if (const auto next = m_line.readableAt(0, now, horizon))
                timeoutMs = int((*next > now ? *next - now + 999 : 0) / 1000);
        }
        pollfd fds[] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            char drained[16];
            (void)::read(m_wake[0], drained, sizeof drained);
        }
        if (fds[0].revents & POLLIN) {
            std::lock_guard guard(m_lock);
            readRequests(nowUs());
        }
    }
}

void PtyBusServer::readRequests(uint64_t nowUs)
{
    // The client sets the baud rate on its side of the terminal; it decides the byte times, and
    // the log shows each rate the requests come at. A rate the bus does not know runs at 19200.
    termios settings{};
    if (tcgetattr(m_slave, &settings) == 0) {
        const uint32_t baud = baudOf(cfgetospeed(&settings));
        m_line.setBaud(baud != 0 ? baud : 19200);
        if (m_log && m_loggedBaud != baud)
            m_log->baudRate(nowUs, baud);
        m_loggedBaud = baud;
    }
    uint8_t buffer[256];
    ssize_t n;
    while ((n = ::read(m_master, buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < n; ++i)
            m_line.receive(buffer[i], nowUs);
    }
}

void PtyBusServer::writeReplies(uint64_t nowUs)
{
    uint8_t buffer[256];
    int n;
    while ((n = m_line.take(buffer, int(sizeof buffer), nowUs)) > 0) {
        // A client that does not read lets the terminal's buffer fill; the rest is lost, as on a
        // serial port whose receiver overflows.
        if (::write(m_master, buffer, size_t(n)) < 0 && errno != EAGAIN)
            break;
    }
}

#include "PtyPeer.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer() : m_portPath(m_linkFolder.filePath(QStringLiteral("adapter")))
{
    start();
}

PtyPeer::~PtyPeer()
{
    hangUp();
}

void PtyPeer::start()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(m_master);
    unlockpt(m_master);
    m_terminalPath = QString::fromLatin1(ptsname(m_master));
    m_terminal = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(m_terminal, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_terminal, TCSANOW, &raw);
    (void)::symlink(ptsname(m_master), m_portPath.toLocal8Bit().constData());
    m_stop = false;
    m_thread = std::thread([this] { serve(); });
}

void PtyPeer::hangUp()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    closeTerminal();
}

void PtyPeer::closeTerminal()
{
    (void)::unlink(m_portPath.toLocal8Bit().constData());
    // Closing the master side hangs the terminal up.
    for (int* fd : {&m_master, &m_terminal}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void PtyPeer::comeBack()
{
    hangUp();
    m_hangUpOnRequest = false;
    start();
}

void PtyPeer::waitForAnswers(int count) const
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (m_answered < count && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void PtyPeer::serve()
{
    uint8_t frame[6];
    int have = 0;
    while (!m_stop) {
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
            continue;
        const ssize_t n = ::read(m_master, frame + have, size_t(6 - have));
        if (n <= 0)
            continue;
        have += int(n);
        if (have < 6)
            continue;
        have = 0;
        ++m_requests;
        if (m_hangUpOnRequest) {
            closeTerminal();
            return;
        }
        const Telegram reply = MakeTelegram(frame[0], frame[1] + 256u * frame[2], kReplyData);
        (void)::write(m_master, reply.data(), size_t(m_replyLength));
        ++m_answered;
    }
}

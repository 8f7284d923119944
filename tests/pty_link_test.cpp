// The telegram link over a real pseudo-terminal in real time, against a small answering peer,
// reached through the COM port map (FENESTRIX_PORTS).
#include "buslink/CZuzev.h"
#include "platform/ComPortMap.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// Answers every 6-byte request with its own mode and address and the data word 0x0512.
class EchoPeer {
public:
    EchoPeer()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(m_master);
        unlockpt(m_master);
        m_slavePath = QString::fromLatin1(ptsname(m_master));
        // Holding the slave open keeps the master alive across the client's close and reopen.
        m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
        termios raw{};
        tcgetattr(m_slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
        m_thread = std::thread([this] { serve(); });
    }
    ~EchoPeer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_slave);
        ::close(m_master);
    }
    QString slavePath() const { return m_slavePath; }
    int requests() const { return m_requests; }

private:
    void serve()
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
            const Telegram reply = MakeTelegram(frame[0], frame[1] + 256u * frame[2], 0x0512);
            (void)::write(m_master, reply.data(), reply.size());
        }
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
};

TEST(TelegramLinkOverPty, OpenExchangeCloseReopen)
{
    EchoPeer peer;
    QTemporaryDir ports;
    ASSERT_TRUE(QFile::link(peer.slavePath(), ports.filePath(QStringLiteral("COM7"))));
    qputenv("FENESTRIX_PORTS", ports.path().toLocal8Bit());
    EXPECT_EQ(comPortPath(7), peer.slavePath());

    RealClock clock;
    QtSerialPorts serial;
    CZuzev link{clock, serial};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(link.OpenCom(7, 150, 19200, 0)) << link.errorCode();
        ASSERT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76)) << link.errorCode();
        EXPECT_EQ(link.lastGoodReply(), MakeTelegram(0x76, 0x0104, 0x0512));
        EXPECT_EQ(link.CloseCom(), 1);
    }
    EXPECT_EQ(peer.requests(), 2);
    // A port whose entry is missing maps elsewhere and does not open here.
    EXPECT_FALSE(link.OpenCom(3, 150, 19200, 0));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrOpen);
    qunsetenv("FENESTRIX_PORTS");
}

} // namespace

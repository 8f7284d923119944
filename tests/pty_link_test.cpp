// The telegram link over a real pseudo-terminal in real time, against a small answering peer,
// reached through the COM port map (FENESTRIX_PORTS).
#include "PtyPeer.h"
#include "buslink/CZuzev.h"
#include "platform/ComPortMap.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(TelegramLinkOverPty, OpenExchangeCloseReopen)
{
    PtyPeer peer;
    QTemporaryDir ports;
    ASSERT_TRUE(QFile::link(peer.terminalPath(), ports.filePath(QStringLiteral("COM7"))));
    qputenv("FENESTRIX_PORTS", ports.path().toLocal8Bit());
    EXPECT_EQ(comPortPath(7), peer.terminalPath());

    RealClock clock;
    QtSerialPorts serial;
    CZuzev link{clock, serial};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(link.OpenCom(7, 150, 19200, 0)) << link.errorCode();
        ASSERT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76)) << link.errorCode();
        EXPECT_EQ(link.lastGoodReply(), MakeTelegram(0x76, 0x0104, PtyPeer::kReplyData));
        EXPECT_EQ(link.CloseCom(), 1);
    }
    EXPECT_EQ(peer.requests(), 2);
    // A port whose entry is missing maps elsewhere and does not open here.
    EXPECT_FALSE(link.OpenCom(3, 150, 19200, 0));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrOpen);
    qunsetenv("FENESTRIX_PORTS");
}

} // namespace

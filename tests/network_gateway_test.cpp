// The network gateway's own cases, beyond the serial-device contract: why connecting fails and
// how long it takes, a late reply, a gateway closing mid-exchange, Telnet's IAC both ways, and
// the RFC 2217 negotiation and line commands as the gateway sees them.
#include "GatewayPeer.h"
#include "buslink/CZuzev.h"
#include "buslink/Zuzevsave.h"
#include "platform/ComPortMap.h"
#include "platform/NetworkSerialDevice.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Kind = GatewayPeer::Kind;

// A listener whose queue is full: the connection's first packet goes unanswered, as to a host
// that is not there.
struct UnansweringListener {
    UnansweringListener()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 0);
        socklen_t length = sizeof address;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        // Fills the queue.
        ::connect(queued, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~UnansweringListener()
    {
        ::close(queued);
        ::close(listener);
    }
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    int queued = ::socket(AF_INET, SOCK_STREAM, 0);
    uint16_t port = 0;
};

TEST(NetworkGateway, ConnectingFailsWithItsReasonWithinThreeSeconds)
{
    UnansweringListener unanswering;
    GatewayPeer refusing(Kind::RefusesComPort), silent(Kind::Silent), gone(Kind::Raw);
    gone.hangUp();
    struct Case {
        QString address;
        DeviceFailure failure;
        bool takesTheWholeTime;
    };
    const Case cases[] = {
        {gone.address(), DeviceFailure::Refused, false},
        {QStringLiteral("tcp://gateway.invalid:4001"), DeviceFailure::HostNotFound, false},
        {QStringLiteral("rfc2217://127.0.0.1:%1").arg(unanswering.port), DeviceFailure::TimedOut,
         true},
        {refusing.address(), DeviceFailure::NoComPortOption, false},
        // A raw port forwards the Telnet request to the bus and says nothing.
        {silent.address(), DeviceFailure::NoComPortOption, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address.toStdString());
        NetworkSerialDevice device;
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(device.open(c.address));
        const qint64 took = timer.elapsed();
        EXPECT_EQ(device.failure(), c.failure);
        EXPECT_FALSE(device.isOpen());
        EXPECT_LE(took, NetworkSerialDevice::kConnectTimeMs + 100);
        if (c.takesTheWholeTime)
            EXPECT_GE(took, NetworkSerialDevice::kConnectTimeMs - 10);
        else
            EXPECT_LT(took, 1000);
    }
}

// The telegram link of the program over a gateway: the device as the bus code opens it.
struct LinkOverGateway : ::testing::TestWithParam<Kind> {
    bool open(unsigned long baud = 19200)
    {
        return link.OpenCom(*BusPort::parse(peer.address()), 150, baud, 0);
    }

    GatewayPeer peer{GetParam()};
    RealClock clock;
    QtSerialPorts ports;
    CZuzev link{clock, ports};
};

TEST_P(LinkOverGateway, ReplyLaterThanTheTimeOutFailsAndIsNotTakenForTheNextReply)
{
    ASSERT_TRUE(open());
    peer.setReplyDelayMs(200);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.ZuzevTransmit(0x0104, 1, 0x76));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrNoReply);
    EXPECT_GE(timer.elapsed(), 149);
    EXPECT_LT(timer.elapsed(), 200);
    // The late reply has arrived by the time the next request goes out.
    peer.waitForAnswers(1);
    peer.setReplyDelayMs(0);
    peer.setReplyData(0x0703);
    ASSERT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76));
    EXPECT_EQ(link.lastGoodReply(), MakeTelegram(0x76, 0x0104, 0x0703));
    EXPECT_FALSE(link.deviceLost());
}

TEST_P(LinkOverGateway, GatewayClosingMidExchangeLosesTheDeviceAtOnceAndItOpensAgain)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76));
    peer.closeOnNextRequest();
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.ZuzevTransmit(0x0104, 1, 0x76));
    EXPECT_LT(timer.elapsed(), 150) << "the closed connection ends the wait for the reply";
    EXPECT_EQ(link.errorCode(), CZuzev::ErrNoReply);
    EXPECT_TRUE(link.deviceLost());
    timer.restart();
    EXPECT_FALSE(link.ZuzevTransmit(0x0104, 1, 0x76));
    EXPECT_LT(timer.elapsed(), 20) << "an exchange on a lost device fails at once";
    EXPECT_EQ(link.errorCode(), CZuzev::ErrWrite);

    ASSERT_TRUE(open()) << "opening again needs no close first";
    EXPECT_FALSE(link.deviceLost());
    EXPECT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76));
}

TEST_P(LinkOverGateway, GatewayGoingAwayBetweenExchangesIsNoticedByTheEventLoop)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76));
    peer.hangUp();
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(link.deviceLost()) << "noticed without an exchange";
    EXPECT_FALSE(open()) << "the gateway no longer listens";
    EXPECT_EQ(link.openFailure(), DeviceFailure::Refused);
}

// FFh is Telnet's IAC: over RFC 2217 it is doubled on the connection both ways, over raw TCP it
// passes as it is; the bus sees the same telegram either way.
TEST_P(LinkOverGateway, DataFFhReachesTheBusAndComesBackUnchanged)
{
    ASSERT_TRUE(open());
    peer.setReplyData(0xFFFF);
    ASSERT_TRUE(link.ZuzevTransmit(0xFFFF, 0x00FF, 0x15)) << link.errorCode();
    EXPECT_EQ(link.lastGoodReply(), MakeTelegram(0x15, 0xFFFF, 0xFFFF));
    const Telegram request = MakeTelegram(0x15, 0xFFFF, 0x00FF);
    EXPECT_EQ(peer.data(), QByteArray(reinterpret_cast<const char*>(request.data()), 6));
}

// The raw port writes a request a byte at a time; the gateway gets it in one piece, so that it
// cannot put it on the bus with gaps between its bytes.
TEST(NetworkGateway, RequestWrittenAByteAtATimeTravelsInOnePiece)
{
    GatewayPeer peer(Kind::Raw);
    RealClock clock;
    QtSerialPorts ports;
    TZuzevSave raw{clock, ports, QString()};
    ASSERT_EQ(raw.RawOpen(*BusPort::parse(peer.address()), 19200, 100), 0);
    for (int i = 0; i < 3; ++i) {
        int mode = 0x76, field = 0x0104, data = 1;
        ASSERT_EQ(raw.RawTransmit(mode, field, data), TZuzevSave::Ok);
    }
    EXPECT_EQ(peer.readSizes(), (QList<int>{6, 6, 6}));
}

INSTANTIATE_TEST_SUITE_P(RawAndRfc2217, LinkOverGateway,
                         ::testing::Values(Kind::Raw, Kind::Rfc2217), [](const auto& info) {
                             return info.param == Kind::Raw ? "RawTcp" : "Rfc2217";
                         });

QByteArray comPortCommand(std::initializer_list<uint8_t> bytes)
{
    QByteArray out;
    for (uint8_t b : bytes)
        out += char(b);
    return out;
}

// The open of the telegram link: 9600 baud with DTR off and RTS on, then the asked rate with
// both on, then the purge, as on a local port.
TEST(NetworkGateway, Rfc2217NegotiationAndLineCommandsAsTheGatewaySeesThem)
{
    GatewayPeer peer(Kind::Rfc2217);
    RealClock clock;
    QtSerialPorts ports;
    CZuzev link{clock, ports};
    ASSERT_TRUE(link.OpenCom(*BusPort::parse(peer.address()), 150, 19200, 0));
    ASSERT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76));

    // It asks for COM-PORT-OPTION and binary transmission both ways, takes suppressed go-ahead,
    // refuses echo, and answers nothing twice, also when the gateway confirms again.
    EXPECT_EQ(peer.options(), (QStringList{QStringLiteral("WILL 44"), QStringLiteral("WILL 0"),
                                           QStringLiteral("DO 0"), QStringLiteral("DO 3"),
                                           QStringLiteral("WILL 3"), QStringLiteral("DONT 1")}));
    const QList<QByteArray> line9600 = {comPortCommand({1, 0, 0, 0x25, 0x80}),
                                        comPortCommand({2, 8}), comPortCommand({3, 1}),
                                        comPortCommand({4, 1}), comPortCommand({5, 1})};
    const QList<QByteArray> line19200 = {comPortCommand({1, 0, 0, 0x4B, 0x00}),
                                         comPortCommand({2, 8}), comPortCommand({3, 1}),
                                         comPortCommand({4, 1}), comPortCommand({5, 1})};
    const QList<QByteArray> expected =
        line9600 + QList<QByteArray>{comPortCommand({5, 9}), comPortCommand({5, 11})} + line19200 +
        QList<QByteArray>{comPortCommand({5, 8}), comPortCommand({5, 11}), comPortCommand({12, 3})};
    EXPECT_EQ(peer.comPortCommands(), expected);
    const Telegram request = MakeTelegram(0x76, 0x0104, 1);
    EXPECT_EQ(peer.data(), QByteArray(reinterpret_cast<const char*>(request.data()), 6))
        << "no Telnet byte reaches the bus";
}

TEST(NetworkGateway, RateTheGatewayDoesNotTakeFailsTheOpen)
{
    GatewayPeer peer(Kind::Rfc2217);
    peer.setHighestBaud(9600);
    RealClock clock;
    QtSerialPorts ports;
    CZuzev link{clock, ports};
    const BusPort port = *BusPort::parse(peer.address());
    EXPECT_FALSE(link.OpenCom(port, 150, 19200, 0));
    EXPECT_EQ(link.errorCode(), CZuzev::ErrSetState);
    EXPECT_EQ(link.openFailure(), DeviceFailure::LineRefused);
    EXPECT_FALSE(link.isOpen());
    ASSERT_TRUE(link.OpenCom(port, 150, 9600, 0));
    EXPECT_EQ(link.openFailure(), DeviceFailure::None);
    EXPECT_TRUE(link.ZuzevTransmit(0x0104, 1, 0x76));
}

} // namespace

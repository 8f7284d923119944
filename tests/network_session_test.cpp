// The main window's link over a network gateway in real time, without windows: the status text,
// the keep-alive's round trip and the gateway closing the connection.
#include "GatewayPeer.h"
#include "RecordedMessages.h"
#include "buslink/PortMessages.h"
#include "mainwindow/core/BusSession.h"
#include "platform/ComPortMap.h"
#include "texts/NetworkText.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct SessionOverGateway : ::testing::Test {
    void SetUp() override { SetCurrentLanguage(German); }
    bool connect(const GatewayPeer& gateway)
    {
        BusConnection connection;
        connection.use(*BusPort::parse(gateway.address()));
        session.setConnection(connection);
        return session.ConnectBus();
    }

    RealClock clock;
    QtSerialPorts ports;
    RecordedMessages messages;
    BusSession session{clock, ports, messages};
};

TEST_F(SessionOverGateway, OnlineNamesTheGatewayAndTheRateOnlyWhereTheToolSetsIt)
{
    GatewayPeer raw(GatewayPeer::Kind::Raw), telnet(GatewayPeer::Kind::Rfc2217);
    ASSERT_TRUE(connect(raw));
    EXPECT_EQ(session.statusText(), QStringLiteral("Online, ") + raw.address());
    ASSERT_TRUE(connect(telnet));
    EXPECT_EQ(session.statusText(), QStringLiteral("Online, %1, 19200 Baud").arg(telnet.address()));
}

// The keep-alive goes out on every third tick as over a COM port; its round trip shows when it
// exceeds 50 ms and goes again when it is short.
TEST_F(SessionOverGateway, SlowKeepAliveRoundTripIsShownUntilItIsFastAgain)
{
    GatewayPeer gateway(GatewayPeer::Kind::Raw);
    ASSERT_TRUE(connect(gateway));
    int changes = 0;
    QObject::connect(&session, &BusSession::roundTripChanged, [&] { ++changes; });
    gateway.setReplyDelayMs(80);
    for (int tick = 0; tick < 3; ++tick)
        session.pollTick();
    const QString shown = session.roundTripText();
    const QString prefix = NetworkLanguageText(NetworkText::RoundTrip).section(u'%', 0, 0);
    ASSERT_TRUE(shown.startsWith(prefix)) << shown.toStdString();
    const int ms = shown.mid(prefix.size()).section(u' ', 0, 0).toInt();
    EXPECT_GE(ms, 80);
    EXPECT_LT(ms, 150);

    gateway.setReplyDelayMs(0);
    for (int tick = 0; tick < 3; ++tick)
        session.pollTick();
    EXPECT_TRUE(session.roundTripText().isEmpty());
    EXPECT_EQ(changes, 2);
    const Telegram keepAlive = MakeTelegram(0x4F, 0, 1);
    const QByteArray one(reinterpret_cast<const char*>(keepAlive.data()), 6);
    EXPECT_EQ(gateway.data(), one + one) << "only the two keep-alives went out";
}

TEST_F(SessionOverGateway, GatewayClosingEndsTheLinkOnceWithOneMessageAndItConnectsAgain)
{
    GatewayPeer gateway(GatewayPeer::Kind::Rfc2217);
    ASSERT_TRUE(connect(gateway));
    gateway.setReplyDelayMs(80);
    for (int tick = 0; tick < 3; ++tick)
        session.pollTick();
    ASSERT_FALSE(session.roundTripText().isEmpty());
    gateway.closeOnNextRequest();
    for (int tick = 0; tick < 10; ++tick)
        session.pollTick();
    EXPECT_EQ(session.statusText(), QStringLiteral("Offline"));
    EXPECT_FALSE(session.polling());
    EXPECT_TRUE(session.roundTripText().isEmpty());
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("error: ") +
                                          PortLostText(*BusPort::parse(gateway.address()))});
    EXPECT_TRUE(messages.shown.front().contains(gateway.address()));
    ASSERT_TRUE(session.ConnectBus());
    EXPECT_TRUE(session.polling());
}

} // namespace

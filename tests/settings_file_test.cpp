// "Fenestrix.ini": parsing of both line ends, fall-backs, the gateway's fourth line, and a
// complete write; and the port's text form as the command line and the file take it.
#include "RecordingSerial.h"
#include "buslink/SettingsFile.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(SettingsFile, ParsesEitherLineEndAndFallsBack)
{
    struct Case {
        const char* text;
        int port;
        uint32_t baud;
        int language;
    };
    const Case cases[] = {
        {"COM3\n9600\nSprache1\n", 3, 9600, 1},
        {"COM3\r\n9600\r\nSprache1\r\n", 3, 9600, 1},
        {"COM0\n19200\nSprache0\n", 1, 19200, 0}, // port below 1
        {"COM2\n19200\nSprache9\n", 2, 19200, 0}, // language outside 0..5
        {"COM2\n19200\nSprache-1\n", 2, 19200, 0},
        {"COM7\nfast\nSprache4\n", 7, 19200, 0}, // stops at the first mismatch
        {"", 1, 19200, 0},
        {"  COM5   38400  Sprache5", 5, 38400, 5},
        {"COM 3\n9600\nSprache  2\n", 3, 9600, 2}, // blanks before the numbers
        {"COM\t4\r\n19200\r\nSprache 1\r\n", 4, 19200, 1},
        {"COM -2\n19200\nSprache 3\n", 1, 19200, 3},
        {"COM x\n9600\nSprache1\n", 1, 19200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Settings s = ParseSettings(QByteArray(c.text));
        EXPECT_EQ(s.comPort, c.port);
        EXPECT_EQ(s.baud, c.baud);
        EXPECT_EQ(s.language, c.language);
    }
}

TEST(SettingsFile, WritesThreeLinesAndReadsThemBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Fenestrix.ini"));
    EXPECT_FALSE(ReadSettingsFile(path).has_value());
    ASSERT_TRUE(WriteSettingsFile(path, Settings{1, 19200, 0}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("COM1\n19200\nSprache0\n"));
    const auto back = ReadSettingsFile(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->comPort, 1);
    EXPECT_FALSE(
        WriteSettingsFile(dir.filePath(QStringLiteral("missing/Fenestrix.ini")), Settings{}));
}

TEST(SettingsFile, FourthLineNamesTheGatewayAfterACompleteThirdLine)
{
    const NetworkPort gateway{NetworkPort::Protocol::Rfc2217, QStringLiteral("gw.example"), 4001};
    struct Case {
        const char* text;
        std::optional<NetworkPort> gateway;
        bool overNetwork;
    };
    const Case cases[] = {
        {"COM3\n9600\nSprache1\n", std::nullopt, false},
        {"COM3\n9600\nSprache1\nNetzwerk1 rfc2217://gw.example:4001\n", gateway, true},
        {"COM3\r\n9600\r\nSprache1\r\nNetzwerk0 rfc2217://gw.example:4001\r\n", gateway, false},
        {"COM3\n9600\nSprache1\nNetzwerk1 rfc2217://gw.example\n", std::nullopt, false},
        {"COM3\n9600\nSprache1\nNetzwerk1 ssh://gw.example:22\n", std::nullopt, false},
        {"COM3\nfast\nSprache1\nNetzwerk1 rfc2217://gw.example:4001\n", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Settings s = ParseSettings(QByteArray(c.text));
        EXPECT_EQ(s.comPort, 3);
        EXPECT_EQ(s.gateway, c.gateway);
        EXPECT_EQ(s.overNetwork, c.overNetwork);
    }
}

// A copy of the tool that reads three lines, with the format "COM%d\r%d\rSprache%d" in which a
// line break matches any white space, reads the new file as it read the old one.
TEST(SettingsFile, GatewayIsWrittenInAFourthLineThatThreeLineReadersPassOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Fenestrix.ini"));
    for (const bool overNetwork : {true, false}) {
        SCOPED_TRACE(overNetwork);
        Settings settings{3, 9600, 1};
        settings.gateway = NetworkPort{NetworkPort::Protocol::RawTcp, QStringLiteral("::1"), 2000};
        settings.overNetwork = overNetwork;
        ASSERT_TRUE(WriteSettingsFile(path, settings));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_EQ(text, QByteArray("COM3\n9600\nSprache1\nNetzwerk") + (overNetwork ? "1" : "0") +
                            " tcp://[::1]:2000\n");
        int port = 0, baud = 0, language = 0;
        EXPECT_EQ(std::sscanf(text.constData(), "COM%d\r%d\rSprache%d", &port, &baud, &language),
                  3);
        EXPECT_EQ(port, 3);
        EXPECT_EQ(baud, 9600);
        EXPECT_EQ(language, 1);
        const auto back = ReadSettingsFile(path);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->gateway, settings.gateway);
        EXPECT_EQ(back->overNetwork, overNetwork);
        EXPECT_EQ(back->comPort, 3);
    }
}

TEST(BusPortText, ComNumbersAndGatewaysReadAndWriteBack)
{
    struct Case {
        const char* text;
        const char* written; // nothing: not a port
    };
    const Case cases[] = {
        {"3", "COM3"},
        {"COM12", "COM12"},
        {"tcp://gw.example:4001", "tcp://gw.example:4001"},
        {" rfc2217://10.0.0.5:2217 ", "rfc2217://10.0.0.5:2217"},
        {"rfc2217://[::1]:4001", "rfc2217://[::1]:4001"},
        {"tcp://gw.example:4001/", "tcp://gw.example:4001"},
        {"tcp://gw.example", nullptr},
        {"tcp://gw.example:0", nullptr},
        {"tcp://gw.example:65536", nullptr},
        {"tcp://:4001", nullptr},
        {"udp://gw.example:4001", nullptr},
        {"tcp://gw.example:4001/bus", nullptr},
        {"tcp://user@gw.example:4001", nullptr},
        {"COMx", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<BusPort> port = BusPort::parse(QString::fromLatin1(c.text));
        ASSERT_EQ(port.has_value(), c.written != nullptr);
        if (!port)
            continue;
        EXPECT_EQ(port->text(), QString::fromLatin1(c.written));
        EXPECT_EQ(BusPort::parse(port->text())->text(), port->text());
    }
    EXPECT_EQ(BusPort::parse(QStringLiteral("rfc2217://gw.example:4001"))->network()->protocol,
              NetworkPort::Protocol::Rfc2217);
    EXPECT_EQ(BusPort::parse(QStringLiteral("COM7"))->comNumber(), 7);
}

TEST(SettingsFile, AccessObjectTakesOnlyTheLanguage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Fenestrix.ini"));
    ASSERT_TRUE(WriteSettingsFile(path, Settings{3, 9600, 1}));
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {}};
    SetCurrentLanguage(German);
    TFensterSteuerung bus{clock, ports, path};
    EXPECT_EQ(CurrentLanguage(), English);
    TStrgItem item;
    bus.GetParameterInfo(0, item);
    EXPECT_EQ(item.name, LanguageTable::builtIn().text(English, 96));
    SetCurrentLanguage(German);
}

} // namespace

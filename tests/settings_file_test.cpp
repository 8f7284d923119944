// "Fenestrix.ini": parsing of both line ends, fall-backs, and a complete write.
#include "RecordingSerial.h"
#include "buslink/SettingsFile.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

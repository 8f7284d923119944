// The EEPROM dialog's flow against the simulated default bus on the virtual clock: pages and
// checksum lines, the description files, and the write-back with its verification and cancel.
#include "buslink/Veltradt.h"
#include "service/core/EepromPages.h"
#include "tests/OpenController.h"
#include "tests/RecordedFlowHost.h"
#include "tests/RecordingSerial.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace {

QString checksumLine(int checksum, int first, int last)
{
    const auto hex = [](int value) {
        return QStringLiteral("%1h").arg(value, 2, 16, QChar(u'0')).toUpper().replace(u'H', u'h');
    };
    return QStringLiteral("Checksum: %1  (Adressbereich %2 bis %3)")
        .arg(hex(checksum), hex(first), hex(last));
}

struct EepromPagesTest : OpenControllerTest {
    // No description files in the working directory or the program directory.
    void SetUp() override
    {
        OpenControllerTest::SetUp();
        QDir::setCurrent(programDir.path());
    }
    void TearDown() override { QDir::setCurrent(previousDir); }
    int xorOf(int address, int first, int last)
    {
        int x = 0;
        for (int a = first; a <= last; ++a)
            x ^= controller(address).eepromByte(a);
        return x;
    }

    QTemporaryDir programDir;
    QString previousDir = QDir::currentPath();
    EepromPages pages{h.pc, h.clock};
    RecordedFlowHost host;
};

TEST(DescriptionFiles, NameByPageVariantAndControllerFamily)
{
    struct Case {
        int page, variant, type;
        const char* name;
    };
    const Case cases[] = {
        {0, 0xAA, 4, "S0_EEPROM.dat"}, {0, 0x55, 1, "S0OEEPROM.dat"}, {1, 0x55, 8, "S1_EEPROM.dat"},
        {2, 0xAA, 1, "S2DEEPROM.dat"}, {2, 0xAA, 2, "S2DEEPROM.dat"}, {2, 0x55, 3, "S2_EEPROM.dat"},
        {2, 0x55, 4, "S2_EEPROM.dat"}, {2, 0x55, 6, "S2REEPROM.dat"}, {2, 0x55, 7, "S2SEEPROM.dat"},
        {2, 0x55, 9, "S2PEEPROM.dat"}, {3, 0x55, 5, "S3_EEPROM.dat"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescriptionFileName(c.page, c.variant, c.type), QString::fromLatin1(c.name))
            << c.page << " " << c.type;
}

TEST(DescriptionFiles, LinesEndAtTheLineFeedAndHold498CharactersAtMost)
{
    // Three lines, one with Windows-1252 umlauts and CR LF.
    QStringList lines =
        DescriptionLines("Variante\r\nBusadresse\r\nMaximale \xD6\x66\x66nungsweite\r\n");
    ASSERT_EQ(lines.size(), 64);
    EXPECT_EQ(lines.mid(0, 4), (QStringList{"Variante", "Busadresse",
                                            QStringLiteral("Maximale Öffnungsweite"), ""}));
    EXPECT_TRUE(lines.last().isEmpty());
    // A longer line goes on in the next row; a line without its line feed still counts.
    lines = DescriptionLines(QByteArray(600, 'x') + "\r\nnext");
    EXPECT_EQ(lines[0].size(), 498);
    EXPECT_EQ(lines[1], QString(102, u'x'));
    EXPECT_EQ(lines[2], QStringLiteral("next"));
    // Only the first 64 lines are used.
    QByteArray many;
    for (int line = 0; line < 70; ++line)
        many += QByteArray::number(line) + "\r\n";
    lines = DescriptionLines(many);
    ASSERT_EQ(lines.size(), 64);
    EXPECT_EQ(lines.last(), QStringLiteral("63"));
}

TEST(DescriptionFiles, WorkingDirectoryFirstThenTheProgramDirectoryElseEmpty)
{
    QTemporaryDir working, program;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(working.path());
    const auto write = [](const QString& path, const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    EXPECT_EQ(ReadDescriptions(QStringLiteral("S1_EEPROM.dat"), program.path()),
              QStringList(64, QString()));
    write(program.filePath(QStringLiteral("S1_EEPROM.dat")), "installed\r\n");
    EXPECT_EQ(ReadDescriptions(QStringLiteral("S1_EEPROM.dat"), program.path())->first(),
              QStringLiteral("installed"));
    write(working.filePath(QStringLiteral("S1_EEPROM.dat")), "local\r\n");
    EXPECT_EQ(ReadDescriptions(QStringLiteral("S1_EEPROM.dat"), program.path())->first(),
              QStringLiteral("local"));
    QDir::setCurrent(previous);
}

TEST_F(EepromPagesTest, PagesShowTheBytesAndTheChecksumOfTheirRange)
{
    struct Case {
        int address; // controller of the default bus: 1 variant AAh, 2 variant 55h
        int page;
        int first;
        int last; // -1: no checksum line
    };
    const Case cases[] = {
        {1, 0, 0x21, 0x2F}, {1, 1, 0x40, 0x67}, {2, 1, 0x40, 0x68}, {2, 2, 0, -1}, {2, 3, 0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.address << " page " << c.page);
        open(c.address);
        const int variant = controller(c.address).eepromByte(0);
        const EepromPageView view = pages.open(c.page, variant, 4, programDir.path());
        ASSERT_EQ(view.values.size(), 64);
        for (int row = 0; row < 64; ++row)
            ASSERT_EQ(view.values[row], controller(c.address).eepromByte(c.page * 64 + row));
        EXPECT_EQ(telegrams().size(), 64);
        EXPECT_EQ(telegrams().first(),
                  QStringLiteral("08:%1=0000").arg(c.page * 64, 3, 16, QChar(u'0')));
        if (c.last < 0)
            EXPECT_TRUE(view.checksumLine.isEmpty());
        else
            EXPECT_EQ(view.checksumLine,
                      checksumLine(xorOf(c.address, c.first, c.last), c.first, c.last));
        EXPECT_EQ(view.descriptions, QStringList(64, QString())); // no description files here
    }
}

TEST_F(EepromPagesTest, UnreadableByteShowsNothingAndCountsAsFFh)
{
    open(1);
    h.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x25}, RequestFault::silence(), 2);
    const EepromPageView view = pages.open(0, 0xAA, 1, programDir.path());
    EXPECT_EQ(view.values[0x25], std::nullopt);
    const int expected = xorOf(1, 0x21, 0x2F) ^ controller(1).eepromByte(0x25) ^ 0xFF;
    EXPECT_EQ(view.checksumLine, checksumLine(expected, 0x21, 0x2F));
}

TEST_F(EepromPagesTest, WriteBackWritesTheChecksumsOfThePagesShown)
{
    struct Case {
        const char* name;
        QList<int> shown; // opened on the first, then chosen
        QStringList writes;
    };
    // The sliding drive (address 4) has a stale page-1 checksum.
    const int page0 = xorOf(4, 0x21, 0x2F);
    const int page1 = xorOf(4, 0x40, 0x68);
    ASSERT_NE(controller(4).eepromByte(0x7E), page1);
    const auto write = [](int address, int value) {
        return QStringLiteral("09:%1=%2")
            .arg(address, 3, 16, QChar(u'0'))
            .arg(value, 4, 16, QChar(u'0'));
    };
    const Case cases[] = {
        {"page 2 only", {2}, {}},
        {"page 0", {0}, {write(0x30, page0)}},
        {"pages 0 and 1", {0, 1, 3}, {write(0x30, page0), write(0x7E, page1)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(4);
        (void)pages.open(c.shown.first(), 0x55, 7, programDir.path());
        for (const int page : c.shown.mid(1))
            (void)pages.show(page);
        h.ports.requests.clear();
        host.recordedProgress.positions.clear();
        EXPECT_EQ(pages.writeBack(host), WriteBackOutcome::Written);
        QStringList sent = telegrams();
        ASSERT_FALSE(sent.isEmpty());
        EXPECT_EQ(sent.takeFirst(), QStringLiteral("13:000=6677"));
        QStringList writes;
        for (qsizetype i = 0; i < sent.size(); ++i) {
            if (!sent[i].startsWith(QStringLiteral("09:")))
                continue;
            writes << sent[i];
            // Each write is read back after 123 ms.
            ASSERT_LT(i + 1, sent.size());
            EXPECT_EQ(sent[i + 1].left(6), QStringLiteral("08:") + sent[i].mid(3, 3));
            EXPECT_GE(h.ports.requests[i + 2].atUs - h.ports.requests[i + 1].atUs, 123'000u);
        }
        EXPECT_EQ(writes, c.writes);
        EXPECT_EQ(host.recordedProgress.maximum, 256);
        EXPECT_EQ(host.recordedProgress.positions.size(), 256);
        EXPECT_TRUE(host.recorded.shown.isEmpty());
    }
    EXPECT_EQ(controller(4).eepromByte(0x7E), page1);
}

TEST_F(EepromPagesTest, FailedVerificationStopsAndIsReported)
{
    struct Case {
        const char* name;
        std::function<void(SimulatedBus&)> fault;
    };
    const Case cases[] = {
        {"read-back unanswered",
         [](SimulatedBus& bus) {
             bus.failRequests({.mode = 0x08, .window = 4, .memory = 0x30}, RequestFault::silence(),
                              2);
         }},
        // The controller acknowledges the write but keeps the stale byte.
        {"write lost",
         [](SimulatedBus& bus) { bus.loseEepromWrites({.mode = 0x09, .window = 4}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Page 0's checksum is stale as well, so that writing it changes the byte.
        BusSetup setup = DefaultBusSetup();
        setup.controllers[3].eeprom.insert(0x30, 0x00);
        ScanHarness bus(setup);
        ASSERT_TRUE(bus.pc.Connect(19200, 1, 150));
        bus.pc.SetWindowAddress(4);
        EepromPages flow(bus.pc, bus.clock);
        (void)flow.open(1, 0x55, 7, programDir.path());
        (void)flow.show(0);
        c.fault(bus.bus);
        bus.ports.requests.clear();
        RecordedFlowHost failing;
        const uint8_t stale = bus.bus.controllerAt(4)->eepromByte(0x7E);
        int page0 = 0;
        for (int a = 0x21; a <= 0x2F; ++a)
            page0 ^= bus.bus.controllerAt(4)->eepromByte(a);
        ASSERT_NE(page0, 0x00);
        EXPECT_EQ(flow.writeBack(failing), WriteBackOutcome::VerificationFailed);
        QStringList writes;
        for (const TracedRequest& r : bus.ports.requests) {
            if (r.mode() == 0x09)
                writes << requestText(r).left(6);
        }
        // 30h is the first pending byte; its failure ends the write-back before 7Eh.
        EXPECT_EQ(writes, QStringList{"09:030"});
        EXPECT_EQ(failing.recorded.shown,
                  QStringList{QStringLiteral("error: %1 48 %2!\n%3")
                                  .arg(LanguageText(369), LanguageText(370), LanguageText(371))});
        EXPECT_EQ(bus.bus.controllerAt(4)->eepromByte(0x7E), stale);
        EXPECT_FALSE(failing.recordedProgress.shown);
    }
}

// A controller that puts 01h in the high byte of every EEPROM read's data word: the read-back
// compares the byte, so a kept write passes and a lost one still fails.
TEST(EepromWriteVerified, ComparesTheByteOfTheReadBack)
{
    VirtualClock clock;
    ScriptedLine line{clock};
    ScriptedPorts ports{line, {1}};
    TFensterSteuerung bus{clock, ports, QStringLiteral("/nonexistent/Fenestrix.ini")};
    QHash<QByteArray, uint8_t> eeprom; // by the request's address field
    bool keepWrites = true;
    line.responder = [&](const QByteArray& request) {
        const QByteArray field = request.mid(1, 2);
        const auto data = uint16_t(uint8_t(request[3]) + 256 * uint8_t(request[4]));
        if (request[0] == 0x09 && keepWrites)
            eeprom[field] = uint8_t(data);
        return ReplyTo(request, request[0] == 0x08 ? 0x0100 | eeprom.value(field) : data);
    };
    ASSERT_TRUE(bus.Connect(19200, 1, 150));
    bus.SetWindowAddress(4);

    EXPECT_TRUE(WriteEepromByteVerified(bus, clock, 0x30, 0x5A));
    EXPECT_EQ(eeprom.size(), 1);
    keepWrites = false;
    EXPECT_FALSE(WriteEepromByteVerified(bus, clock, 0x30, 0x3C));
    EXPECT_EQ(line.requests.size(), 4);
}

TEST_F(EepromPagesTest, CancelStopsAfterTheCurrentAddressWithAWarning)
{
    open(1);
    (void)pages.open(0, 0xAA, 1, programDir.path());
    (void)pages.show(1);
    host.recordedProgress.onPosition = [this](int position) {
        host.recordedProgress.abortFlag = position == 0x30;
    };
    h.ports.requests.clear();
    EXPECT_EQ(pages.writeBack(host), WriteBackOutcome::Cancelled);
    // 30h is still written and verified; 7Eh is not reached.
    QStringList writes;
    for (const QString& request : telegrams()) {
        if (request.startsWith(QStringLiteral("09:")))
            writes << request.left(6);
    }
    EXPECT_EQ(writes, QStringList{"09:030"});
    EXPECT_EQ(host.recordedProgress.positions.last(), 0x30);
    EXPECT_EQ(host.recorded.shown,
              QStringList{"warning: " + LanguageText(257) + ": " + LanguageText(368)});
}

} // namespace

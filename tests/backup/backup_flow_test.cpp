// Save, compare and restore against simulated controllers on the virtual clock: what reaches the
// bus, what the controllers hold afterwards, and what the user is told.
#include "controller/core/BackupFlows.h"
#include "controller/core/BackupRead.h"
#include "controller/core/BackupSettings.h"
#include "sim/ControllerEeprom.h"
#include "tests/OpenController.h"
#include "tests/RecordedFlowHost.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// Two chain drives of the same kind (the first set up by a technician, the second as it left the
// factory), a turn/tilt controller and a chain drive with older software.
BusSetup backupBus()
{
    BusSetup bus;
    ControllerSetup tuned = DefaultControllerSetup(ControllerKind::ChainDrive, 1, 1);
    tuned.eeprom = {{0x1E, 0xC0}, {0x21, 0x40}, {0x25, 7},    {0x2F, 1},
                    {0x37, 2},    {0xAA, 3},    {0xAC, 0x32}, {0xA0, 4}};
    bus.controllers << tuned << DefaultControllerSetup(ControllerKind::ChainDrive, 2, 2)
                    << DefaultControllerSetup(ControllerKind::TurnTilt, 3, 3);
    ControllerSetup older = DefaultControllerSetup(ControllerKind::ChainDrive, 4, 4);
    older.software = 0x0610;
    bus.controllers << older;
    return bus;
}

struct BackupFlowTest : OpenControllerTest {
    BackupFlowTest() : OpenControllerTest(backupBus()) {}

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    BackupFlows flows() { return BackupFlows(h.pc, h.clock, host, QString()); }
    QStringList eepromWrites() const
    {
        return telegrams().filter(QRegularExpression(QStringLiteral("^0[79]:")));
    }
    EepromImage image(int address)
    {
        EepromImage bytes{};
        for (int a = 0; a < kEepromBytes; ++a)
            bytes[size_t(a)] = controller(address).eepromByte(a);
        return bytes;
    }
    // Saves the controller at `address` and opens the one at `target`.
    QString saved(int address, int target)
    {
        open(address);
        const QString file = path("backup.json");
        EXPECT_TRUE(flows().save(file));
        h.pc.SetWindowAddress(target);
        h.ports.requests.clear();
        host.recorded.shown.clear();
        return file;
    }

    QTemporaryDir dir;
    RecordedFlowHost host;
};

} // namespace

TEST_F(BackupFlowTest, SavedControllersComeBackByteForByteWithTheirIdentity)
{
    open(2);
    ASSERT_TRUE(BackupRead(h.pc, host).save({1, 4}, path("bus.json")));
    EXPECT_TRUE(eepromWrites().isEmpty());
    EXPECT_EQ(h.pc.GetWindowAddress(), 2) << "the open controller stays addressed";
    EXPECT_EQ(host.recordedProgress.kind, ProgressReporter::BackupRead);
    EXPECT_EQ(host.recordedProgress.maximum, 2 * 512);
    ASSERT_TRUE(host.recorded.shown.last().startsWith(QStringLiteral("notice: Sichern: ")));
    EXPECT_TRUE(host.recorded.shown.last().contains(QStringLiteral("2 Steuergeräten")));

    const BackupFileRead read = ReadBackupFileAt(path("bus.json"));
    ASSERT_EQ(read.error, BackupFileError::None);
    ASSERT_EQ(read.file.controllers.size(), 2);
    EXPECT_EQ(read.file.controllers[0].bytes, image(1));
    EXPECT_EQ(read.file.controllers[1].bytes, image(4));
    const ControllerIdentity& first = read.file.controllers[0].identity;
    EXPECT_EQ(first.busAddress, 1);
    EXPECT_EQ(first.controllerType, 4);
    EXPECT_EQ(first.variantByte, 0x55);
    EXPECT_EQ(first.softwareVersion, 0x0703);
    EXPECT_EQ(first.article, QStringLiteral("480211"));
    EXPECT_EQ(read.file.controllers[1].identity.softwareVersion, 0x0610);
    EXPECT_NE(first.serialNumber, read.file.controllers[1].identity.serialNumber);
    EXPECT_TRUE(read.file.toolVersion.startsWith(QStringLiteral("Fenestrix Service ")));

    // The known settings in words, as the controller window shows them.
    QFile file(path("bus.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* expected :
         {R"("name": "Öffnungsweite",)", R"("value": "150 mm")", R"("value": "gedimmt")",
          R"("value": "24V")", R"x("value": "Dreh-Klapp (außen öffnend)")x"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

TEST_F(BackupFlowTest, BytesThePassesDisagreeOnAreReadAgainOrNothingIsSaved)
{
    open(1);
    // Both tries of the first pass's read of 25h go unanswered: a third read settles it.
    h.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x25}, RequestFault::silence(), 2);
    ASSERT_TRUE(flows().save(path("a.json")));
    EXPECT_EQ(ReadBackupFileAt(path("a.json")).file.controllers[0].bytes, image(1));
    EXPECT_EQ(telegrams().filter(QStringLiteral("08:025=")).size(), 2 + 1 + 1);

    // A byte that never answers: nothing is saved and the message names it.
    h.bus.failRequests({.mode = 0x08, .window = 1, .memory = 0x37}, RequestFault::silence());
    EXPECT_FALSE(flows().save(path("b.json")));
    EXPECT_FALSE(QFile::exists(path("b.json")));
    EXPECT_TRUE(
        host.recorded.shown.last().contains(QStringLiteral("EEPROM-Byte 37h des Steuergeräts 1")))
        << host.recorded.shown.last().toStdString();
}

TEST_F(BackupFlowTest, CancelWritesNoFile)
{
    open(1);
    host.recordedProgress.onPosition = [this](int position) {
        host.recordedProgress.abortFlag = position >= 300;
    };
    EXPECT_FALSE(flows().save(path("c.json")));
    EXPECT_FALSE(QFile::exists(path("c.json")));
    EXPECT_LE(telegrams().size(), 301);
    EXPECT_TRUE(host.recorded.shown.last().startsWith(
        QStringLiteral("warning: Warnung: Das Lesen wurde abgebrochen")));
}

TEST_F(BackupFlowTest, CompareOfTwoControllersNamesSettingsAndTheOtherDevice)
{
    const QString file = saved(1, 2);
    const std::optional<Comparison> comparison = flows().compare(file);
    ASSERT_TRUE(comparison);
    EXPECT_TRUE(eepromWrites().isEmpty());
    EXPECT_EQ(comparison->saved.busAddress, 1);
    const EepromImage tuned = image(1), factory = image(2);
    QList<int> expected;
    for (int a = 0; a < kEepromBytes; ++a) {
        if (tuned[size_t(a)] != factory[size_t(a)])
            expected << a;
    }
    QList<int> shown;
    for (const ByteDifference& d : comparison->differences) {
        shown << d.address;
        EXPECT_EQ(d.otherController, d.address <= 0x1A || (d.address >= 0x90 && d.address <= 0x95))
            << d.address;
    }
    EXPECT_EQ(shown, expected);
    const auto row = [&](int address) {
        for (const ByteDifference& d : comparison->differences)
            if (d.address == address)
                return d;
        return ByteDifference{};
    };
    EXPECT_EQ(row(0x25).saved, QStringLiteral("07h = 150 mm"));
    EXPECT_EQ(row(0x25).now, QStringLiteral("03h = 70 mm"));
    EXPECT_FALSE(row(0x25).otherController);
    EXPECT_TRUE(row(0x15).otherController) << "the serial number";
    EXPECT_EQ(row(0x34).saved, QStringLiteral("01h")) << "the bus address byte is no setting";
}

TEST_F(BackupFlowTest, RestoreWritesOnlyTheSettingsWithReadBackAndChecksums)
{
    const QString file = saved(1, 2);
    const EepromImage before = image(2), tuned = image(1);

    // "No" writes nothing; the question lists every change, old → new.
    EXPECT_FALSE(flows().restore(file));
    EXPECT_TRUE(eepromWrites().isEmpty());
    const QString question = host.recorded.shown.last();
    EXPECT_TRUE(question.contains(QStringLiteral("25h Öffnungsweite: 70 mm → 150 mm")))
        << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("37h e-Griff LED: ein → gedimmt")));
    EXPECT_FALSE(question.contains(QStringLiteral("34h")));

    host.recorded.answers << true;
    h.ports.requests.clear();
    const uint64_t start = h.clock.nowUs();
    ASSERT_TRUE(flows().restore(file));
    const EepromImage after = image(2);
    for (int a = 0; a < kEepromBytes; ++a) {
        if (IsSettingByte(a)) {
            EXPECT_EQ(after[size_t(a)], tuned[size_t(a)]) << a;
        } else if (a != 0x30) {
            EXPECT_EQ(after[size_t(a)], before[size_t(a)]) << a;
        }
    }
    EXPECT_EQ(after[0x30], XorOfRange(after, 0x21, 0x2F));
    EXPECT_EQ(after[0x7E], XorOfRange(after, 0x40, 0x68));

    // The write enable, then each byte written and read back after 123 ms; checksums last.
    const QStringList sent = telegrams();
    const qsizetype enable = sent.indexOf(QRegularExpression(QStringLiteral(".*=6677")));
    const qsizetype firstWrite = sent.indexOf(QRegularExpression(QStringLiteral("09:.*")));
    ASSERT_GE(enable, 0);
    EXPECT_LT(enable, firstWrite);
    QStringList written;
    for (const TracedRequest& r : h.ports.requests) {
        if (r.mode() == 0x09)
            written << QString::number(r.memory(), 16);
    }
    // Page 1's checksum stays as it is: no setting is in its range.
    EXPECT_EQ(written, (QStringList{"1e", "21", "25", "2f", "37", "a0", "aa", "ac", "30"}));
    for (qsizetype i = 0; i + 1 < h.ports.requests.size(); ++i) {
        const TracedRequest& r = h.ports.requests[i];
        if (r.mode() != 0x09)
            continue;
        const TracedRequest& next = h.ports.requests[i + 1];
        EXPECT_EQ(next.mode(), 0x08);
        EXPECT_EQ(next.memory(), r.memory());
        EXPECT_GE(next.atUs - r.atUs, 123000u);
    }
    EXPECT_GE(h.clock.nowUs() - start, 9 * 123000u);
    EXPECT_TRUE(host.recorded.shown.last().startsWith(
        QStringLiteral("notice: Wiederherstellen: Die Einstellungen wurden wiederhergestellt:")));

    // Restored again: nothing left to write.
    h.ports.requests.clear();
    EXPECT_TRUE(flows().restore(file));
    EXPECT_TRUE(eepromWrites().isEmpty());
    EXPECT_TRUE(host.recorded.shown.last().contains(QStringLiteral("stimmen bereits")));
}

TEST_F(BackupFlowTest, ReplacedControllerDiffersOnlyInItsProductionDataAfterRestore)
{
    // The failed controller at address 5 is saved on its bus; a new one with another serial
    // number takes its place and address.
    BusSetup failedBus, newBus;
    ControllerSetup failed = DefaultControllerSetup(ControllerKind::ChainDrive, 5, 11);
    failed.eeprom = {{0x25, 9}, {0x2F, 0}, {0x37, 0}, {0xA1, 5}};
    failedBus.controllers << failed;
    newBus.controllers << DefaultControllerSetup(ControllerKind::ChainDrive, 5, 12);
    ScanHarness old(failedBus), fitted(newBus);
    ASSERT_TRUE(old.pc.Connect(19200, 1, 150));
    ASSERT_TRUE(fitted.pc.Connect(19200, 1, 150));
    old.pc.SetWindowAddress(5);
    fitted.pc.SetWindowAddress(5);
    ASSERT_TRUE(BackupFlows(old.pc, old.clock, host, QString()).save(path("old.json")));

    BackupFlows onNew(fitted.pc, fitted.clock, host, QString());
    host.recorded.answers << true;
    ASSERT_TRUE(onNew.restore(path("old.json")));
    const std::optional<Comparison> comparison = onNew.compare(path("old.json"));
    ASSERT_TRUE(comparison);
    ASSERT_FALSE(comparison->differences.isEmpty());
    for (const ByteDifference& d : comparison->differences)
        EXPECT_TRUE(d.otherController) << d.address;
}

TEST_F(BackupFlowTest, RestoreRefusesAnotherTypeOrSoftwareAndBadFiles)
{
    struct Case {
        int target;
        const char* message;
    };
    for (const Case& c :
         {Case{3, "vom Typ 4, Variante 55h; dieses Steuergerät ist vom Typ 1, Variante AAh"},
          Case{4, "von Software 7.03; dieses Steuergerät hat Software 6.10"}}) {
        const QString file = saved(1, c.target);
        host.recorded.answers << true;
        EXPECT_FALSE(flows().restore(file));
        EXPECT_TRUE(eepromWrites().isEmpty()) << c.target;
        EXPECT_TRUE(host.recorded.shown.last().contains(QString::fromUtf8(c.message)))
            << host.recorded.shown.last().toStdString();
    }

    // A refused file reaches neither the bus nor the question.
    QFile bad(path("bad.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(R"({"backupFormat": "Fenestrix Service settings backup", "formatVersion": 3})");
    bad.close();
    h.ports.requests.clear();
    host.recorded.answers << true;
    EXPECT_FALSE(flows().restore(path("bad.json")));
    EXPECT_FALSE(flows().compare(path("missing.json")));
    EXPECT_TRUE(h.ports.requests.isEmpty());
    EXPECT_TRUE(host.recorded.shown[host.recorded.shown.size() - 2].contains(
        QStringLiteral("neueren Version von Fenestrix Service (Format 3)")));
    EXPECT_TRUE(host.recorded.shown.last().contains(QStringLiteral("kann nicht geöffnet werden")));
}

TEST_F(BackupFlowTest, LostWriteIsCaughtByTheReadBackAndStopsTheRestore)
{
    const QString file = saved(1, 2);
    h.bus.loseEepromWrites({.mode = 0x09, .window = 2, .memory = 0x25}, 1);
    host.recorded.answers << true;
    EXPECT_FALSE(flows().restore(file));
    QStringList written;
    for (const TracedRequest& r : h.ports.requests) {
        if (r.mode() == 0x09)
            written << QString::number(r.memory(), 16);
    }
    EXPECT_EQ(written, (QStringList{"1e", "21", "25"})) << "nothing after the lost write";
    EXPECT_EQ(controller(2).eepromByte(0x25), 3);
    const QString message = host.recorded.shown.last();
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("error: Das Wiederherstellen wurde bei EEPROM-Byte 25h angehalten")))
        << message.toStdString();
    EXPECT_TRUE(
        message.contains(QStringLiteral("Bereits geschrieben:\n1Eh Antrieb: 00h → C0h\n21h")));
    EXPECT_TRUE(message.contains(QStringLiteral("Checksumme")));
}

TEST_F(BackupFlowTest, RestoreStoppedAtAChecksumIsFinishedByRestoringAgain)
{
    const QString file = saved(1, 2);
    h.bus.loseEepromWrites({.mode = 0x09, .window = 2, .memory = 0x30}, 1);
    host.recorded.answers << true << true;
    EXPECT_FALSE(flows().restore(file));
    EXPECT_NE(controller(2).eepromByte(0x30), XorOfRange(image(2), 0x21, 0x2F));

    const int checksum = XorOfRange(image(2), 0x21, 0x2F);
    h.ports.requests.clear();
    EXPECT_TRUE(flows().restore(file));
    EXPECT_EQ(eepromWrites(),
              QStringList{QStringLiteral("09:030=%1").arg(checksum, 4, 16, QChar(u'0'))})
        << "page 0's checksum alone";
    EXPECT_EQ(controller(2).eepromByte(0x30), XorOfRange(image(2), 0x21, 0x2F));
}

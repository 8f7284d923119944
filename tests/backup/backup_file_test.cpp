// The backup file: what is written comes back byte for byte, and anything that is not a whole
// backup of this format is refused with its reason.
#include "controller/core/ControllerBackup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

namespace {

BackupFile twoControllers()
{
    BackupFile file;
    file.saved = QDateTime(QDate(2026, 12, 9), QTime(16, 40, 5));
    file.toolVersion = QStringLiteral("Fenestrix Service 0.1");
    for (int address : {3, 17}) {
        ControllerBackup backup;
        for (int i = 0; i < kEepromBytes; ++i)
            backup.bytes[size_t(i)] = uint8_t(i * 7 + address);
        backup.bytes[IdentityByte::Variant] = 0x55;
        backup.bytes[IdentityByte::ControllerType] = 4;
        backup.identity = {address,
                           4,
                           0x55,
                           QStringLiteral("480211"),
                           QStringLiteral("24 066 %1").arg(1000 + address),
                           0x0703};
        backup.settings = {{0x25, QStringLiteral("Öffnungsweite"), QStringLiteral("90 mm")}};
        file.controllers << backup;
    }
    return file;
}

// The file of twoControllers() with `change` applied to its JSON.
QByteArray edited(const std::function<void(QJsonObject&)>& change)
{
    QJsonObject root = QJsonDocument::fromJson(BackupFileBytes(twoControllers())).object();
    change(root);
    return QJsonDocument(root).toJson();
}

} // namespace

TEST(BackupFile, RoundTripKeepsEveryByteAndTheIdentity)
{
    const BackupFile written = twoControllers();
    const BackupFileRead read = ReadBackupFile(BackupFileBytes(written));
    ASSERT_EQ(read.error, BackupFileError::None);
    EXPECT_EQ(read.file.formatVersion, 1);
    EXPECT_EQ(read.file.saved, written.saved);
    EXPECT_EQ(read.file.toolVersion, written.toolVersion);
    ASSERT_EQ(read.file.controllers.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(read.file.controllers[i].bytes, written.controllers[i].bytes);
        EXPECT_EQ(read.file.controllers[i].identity, written.controllers[i].identity);
    }
    // The settings in words are there for people reading the file.
    const QByteArray bytes = BackupFileBytes(written);
    EXPECT_TRUE(bytes.contains("\"value\": \"90 mm\"")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("\"softwareVersion\": \"7.03\""));
}

TEST(BackupFile, RefusesWhatIsNotAWholeBackup)
{
    const QByteArray good = BackupFileBytes(twoControllers());
    const auto setController = [](const char* name, const QJsonValue& value) {
        return edited([name, value](QJsonObject& root) {
            QJsonArray controllers = root[QStringLiteral("controllers")].toArray();
            QJsonObject first = controllers[0].toObject();
            first[QString::fromLatin1(name)] = value;
            controllers[0] = first;
            root[QStringLiteral("controllers")] = controllers;
        });
    };
    QByteArray flipped = good;
    const qsizetype hex = flipped.indexOf("\"eeprom\": \"") + 11;
    flipped[hex] = flipped[hex] == 'A' ? 'B' : 'A';
    struct Case {
        const char* what;
        QByteArray bytes;
        BackupFileError error;
    };
    const Case cases[] = {
        {"empty", QByteArray(), BackupFileError::NotABackup},
        {"text", "Fensterliste\r\n", BackupFileError::NotABackup},
        {"other JSON", R"({"controllers": []})", BackupFileError::NotABackup},
        {"JSON array", "[1, 2]", BackupFileError::NotABackup},
        {"cut in half", good.left(good.size() / 2), BackupFileError::Truncated},
        {"last brace lost", good.left(good.lastIndexOf('}')), BackupFileError::Truncated},
        {"garbage inside", QByteArray(good).replace("\"controllers\": [", "\"controllers\": [;"),
         BackupFileError::Damaged},
        {"a byte changed", flipped, BackupFileError::Damaged},
        {"type not its byte", setController("controllerType", 5), BackupFileError::Damaged},
        {"variant not its byte", setController("variantByte", "AA"), BackupFileError::Damaged},
        {"bytes short", setController("eeprom", "00FF"), BackupFileError::Damaged},
        {"address out of range", setController("busAddress", 64), BackupFileError::Damaged},
        {"version unreadable", setController("softwareVersion", "7"), BackupFileError::Damaged},
        {"no controllers",
         edited([](QJsonObject& r) { r[QStringLiteral("controllers")] = QJsonArray(); }),
         BackupFileError::Damaged},
        {"no date", edited([](QJsonObject& r) { r.remove(QStringLiteral("saved")); }),
         BackupFileError::Damaged},
        {"format 0", edited([](QJsonObject& r) { r[QStringLiteral("formatVersion")] = 0; }),
         BackupFileError::Damaged},
        {"format 2", edited([](QJsonObject& r) { r[QStringLiteral("formatVersion")] = 2; }),
         BackupFileError::NewerFormat},
    };
    for (const Case& c : cases) {
        const BackupFileRead read = ReadBackupFile(c.bytes);
        EXPECT_EQ(read.error, c.error) << c.what;
        EXPECT_TRUE(read.file.controllers.isEmpty()) << c.what;
    }
    EXPECT_EQ(ReadBackupFile(cases[std::size(cases) - 1].bytes).foundFormatVersion, 2);
}

TEST(BackupFile, EntryForTheSameDeviceThenTheSameAddressThenTheOnlyOne)
{
    const BackupFile file = twoControllers();
    ControllerIdentity now = file.controllers[1].identity;
    now.busAddress = 3; // moved to the other one's address: still the same device
    EXPECT_EQ(EntryFor(file, now), &file.controllers[1]);
    now.serialNumber = QStringLiteral("new");
    EXPECT_EQ(EntryFor(file, now), &file.controllers[0]);
    now.busAddress = 9;
    EXPECT_EQ(EntryFor(file, now), nullptr);
    BackupFile single = file;
    single.controllers.removeLast();
    EXPECT_EQ(EntryFor(single, now), &single.controllers[0]);
}

#include "ControllerBackup.h"

#include "buslink/ParameterTable.h"
#include "platform/WholeFile.h"
#include "service/core/EepromFields.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <optional>

namespace {

// The "backupFormat" member of every backup file, first in it as the members are sorted by name;
// a JSON file without it is something else.
const QString kFormatName = QStringLiteral("Fenestrix Service settings backup");
constexpr int kHighestBusAddress = 63;

QString bytesDigest(const QByteArray& hex)
{
    return QString::fromLatin1(QCryptographicHash::hash(hex, QCryptographicHash::Sha256).toHex());
}

QJsonObject controllerObject(const ControllerBackup& backup)
{
    const ControllerIdentity& id = backup.identity;
    const QByteArray hex =
        QByteArray(reinterpret_cast<const char*>(backup.bytes.data()), kEepromBytes)
            .toHex()
            .toUpper();
    QJsonArray settings;
    for (const SettingText& setting : backup.settings)
        settings.append(QJsonObject{{QStringLiteral("address"), HexDigits(setting.address, 2)},
                                    {QStringLiteral("name"), setting.name},
                                    {QStringLiteral("value"), setting.value}});
    return {
        {QStringLiteral("busAddress"), id.busAddress},
        {QStringLiteral("controllerType"), id.controllerType},
        {QStringLiteral("variantByte"), HexDigits(id.variantByte, 2)},
        {QStringLiteral("article"), id.article},
        {QStringLiteral("serialNumber"), id.serialNumber},
        {QStringLiteral("softwareVersion"),
         ParameterValueText(ParSoftwareVersion, uint16_t(id.softwareVersion))},
        {QStringLiteral("eeprom"), QString::fromLatin1(hex)},
        {QStringLiteral("eepromSha256"), bytesDigest(hex)},
        {QStringLiteral("settings"), settings},
    };
}

// A JSON number that is a whole number from `lowest` to `highest`.
std::optional<int> wholeNumber(const QJsonValue& value, int lowest, int highest)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!(number >= lowest && number <= highest) || std::floor(number) != number)
        return std::nullopt;
    return int(number);
}

std::optional<int> hexByteMember(const QJsonObject& object, const QString& name)
{
    static const QRegularExpression kHexByte(QStringLiteral("^[0-9A-Fa-f]{2}$"));
    const QString text = object.value(name).toString();
    if (!kHexByte.match(text).hasMatch())
        return std::nullopt;
    return text.toInt(nullptr, 16);
}

std::optional<int> softwareVersionMember(const QJsonObject& object)
{
    static const QRegularExpression kVersion(QStringLiteral("^([0-9A-F]{1,2})\\.([0-9A-F]{2})$"));
    const QRegularExpressionMatch match =
        kVersion.match(object.value(QStringLiteral("softwareVersion")).toString());
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt(nullptr, 16) << 8 | match.captured(2).toInt(nullptr, 16);
}

std::optional<EepromImage> eepromMember(const QJsonObject& object)
{
    static const QRegularExpression kHex(QStringLiteral("^[0-9A-F]{%1}$").arg(2 * kEepromBytes));
    const QString text = object.value(QStringLiteral("eeprom")).toString();
    if (!kHex.match(text).hasMatch())
        return std::nullopt;
    const QByteArray hex = text.toLatin1();
    if (object.value(QStringLiteral("eepromSha256")).toString() != bytesDigest(hex))
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(hex);
    EepromImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return image;
}

// A controller entry whose identity agrees with its bytes, or nothing.
std::optional<ControllerBackup> readController(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto address =
        wholeNumber(object.value(QStringLiteral("busAddress")), 0, kHighestBusAddress);
    const auto type = wholeNumber(object.value(QStringLiteral("controllerType")), 0, 0xFF);
    const auto variant = hexByteMember(object, QStringLiteral("variantByte"));
    const auto software = softwareVersionMember(object);
    const auto bytes = eepromMember(object);
    if (!address || !type || !variant || !software || !bytes ||
        *type != (*bytes)[IdentityByte::ControllerType] ||
        *variant != (*bytes)[IdentityByte::Variant])
        return std::nullopt;
    const QJsonValue article = object.value(QStringLiteral("article"));
    const QJsonValue serial = object.value(QStringLiteral("serialNumber"));
    if (!article.isString() || !serial.isString())
        return std::nullopt;
    ControllerBackup backup;
    backup.identity = {*address, *type, *variant, article.toString(), serial.toString(), *software};
    backup.bytes = *bytes;
    return backup;
}

BackupFileRead refused(BackupFileError error)
{
    BackupFileRead read;
    read.error = error;
    return read;
}

// A file that does not parse: ours when it names the format, and cut short when the parser ran
// out of text rather than into a wrong character.
BackupFileError unparsedFileError(const QByteArray& bytes, const QJsonParseError& error)
{
    if (!bytes.contains(kFormatName.toUtf8()))
        return BackupFileError::NotABackup;
    const bool atEnd = error.offset >= bytes.trimmed().size() - 1;
    return atEnd ? BackupFileError::Truncated : BackupFileError::Damaged;
}

} // namespace

QByteArray BackupFileBytes(const BackupFile& file)
{
    QJsonArray controllers;
    for (const ControllerBackup& backup : file.controllers)
        controllers.append(controllerObject(backup));
    const QJsonObject root{
        {QStringLiteral("backupFormat"), kFormatName},
        {QStringLiteral("formatVersion"), file.formatVersion},
        {QStringLiteral("saved"), file.saved.toString(Qt::ISODate)},
        {QStringLiteral("tool"), file.toolVersion},
        {QStringLiteral("controllers"), controllers},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

BackupFileRead ReadBackupFile(const QByteArray& bytes)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refused(unparsedFileError(bytes, parseError));
    const QJsonObject root = document.object();
    if (!document.isObject() ||
        root.value(QStringLiteral("backupFormat")).toString() != kFormatName)
        return refused(BackupFileError::NotABackup);

    const std::optional<int> version = wholeNumber(root.value(QStringLiteral("formatVersion")), 1,
                                                   std::numeric_limits<int>::max());
    if (!version)
        return refused(BackupFileError::Damaged);
    if (*version > BackupFile::kFormatVersion) {
        BackupFileRead read = refused(BackupFileError::NewerFormat);
        read.foundFormatVersion = *version;
        return read;
    }

    BackupFileRead read;
    read.file.formatVersion = *version;
    read.file.saved =
        QDateTime::fromString(root.value(QStringLiteral("saved")).toString(), Qt::ISODate);
    read.file.toolVersion = root.value(QStringLiteral("tool")).toString();
    const QJsonArray controllers = root.value(QStringLiteral("controllers")).toArray();
    if (!read.file.saved.isValid() || controllers.isEmpty())
        return refused(BackupFileError::Damaged);
    for (const QJsonValue& value : controllers) {
        const std::optional<ControllerBackup> backup = readController(value);
        if (!backup)
            return refused(BackupFileError::Damaged);
        read.file.controllers << *backup;
    }
    return read;
}

bool WriteBackupFile(const BackupFile& file, const QString& path)
{
    WholeFile out(path);
    if (!out.open())
        return false;
    const QByteArray bytes = BackupFileBytes(file);
    if (out.device().write(bytes) != bytes.size()) {
        out.cancel();
        return false;
    }
    return out.commit();
}

BackupFileRead ReadBackupFileAt(const QString& path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return refused(BackupFileError::NotOpened);
    return ReadBackupFile(in.readAll());
}

const ControllerBackup* EntryFor(const BackupFile& file, const ControllerIdentity& now)
{
    const auto find = [&file](const auto& fits) -> const ControllerBackup* {
        for (const ControllerBackup& backup : file.controllers) {
            if (fits(backup.identity))
                return &backup;
        }
        return nullptr;
    };
    if (const auto* same = find([&now](const ControllerIdentity& saved) {
            return saved.article == now.article && saved.serialNumber == now.serialNumber;
        }))
        return same;
    if (const auto* sameAddress = find(
            [&now](const ControllerIdentity& saved) { return saved.busAddress == now.busAddress; }))
        return sameAddress;
    return file.controllers.size() == 1 ? &file.controllers.first() : nullptr;
}

// A settings backup: the whole EEPROM of one or more controllers with their identity, and its
// file (JSON) with format version, date, tool version and the known settings in words.
#pragma once

#include "SettingBytes.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>

constexpr int kEepromBytes = 256;
using EepromImage = std::array<uint8_t, kEepromBytes>;

struct ControllerIdentity {
    int busAddress = 0;
    int controllerType = 0;
    int variantByte = 0;
    QString article;
    QString serialNumber;
    int softwareVersion = 0; // major in the high byte, e.g. 0703h for 7.03
    [[nodiscard]] bool operator==(const ControllerIdentity&) const = default;
};

// A known setting as it was in words when saved; the file keeps it for people reading it.
struct SettingText {
    int address = 0;
    QString name;
    QString value;
};

struct ControllerBackup {
    ControllerIdentity identity;
    EepromImage bytes{};
    QList<SettingText> settings; // only written; a file read gives none
};

struct BackupFile {
    static constexpr int kFormatVersion = 1;
    int formatVersion = kFormatVersion;
    QDateTime saved;
    QString toolVersion;
    QList<ControllerBackup> controllers;
};

// The file's bytes: UTF-8 JSON.
[[nodiscard]] QByteArray BackupFileBytes(const BackupFile& file);

enum class BackupFileError { None, NotOpened, NotABackup, Damaged, Truncated, NewerFormat };
struct BackupFileRead {
    BackupFileError error = BackupFileError::None;
    BackupFile file;
    int foundFormatVersion = 0; // for NewerFormat
};
// Reads a backup file's bytes; anything that is not a whole backup of this format or an older
// one is refused with the reason and no controllers.
[[nodiscard]] BackupFileRead ReadBackupFile(const QByteArray& bytes);

// Writes `file` to `path` whole or not at all; false when it could not be written.
[[nodiscard]] bool WriteBackupFile(const BackupFile& file, const QString& path);
// Reads the backup file at `path`.
[[nodiscard]] BackupFileRead ReadBackupFileAt(const QString& path);

// The entry of `file` for the controller `now`: the same device (article and serial number),
// else the one saved from the same bus address, else the only one; nothing when none fits.
[[nodiscard]] const ControllerBackup* EntryFor(const BackupFile& file,
                                               const ControllerIdentity& now);

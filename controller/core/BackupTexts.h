// The settings backup's texts, by their place after the first of them in the language table,
// and the messages for a backup file that is refused.
#pragma once

#include "ControllerBackup.h"

#include <QString>

namespace BackupText {
enum : int {
    Save = 0,
    Compare,
    Restore,
    SaveBus,
    FileType,
    Saved,         // %1 file
    SavedBus,      // %1 count, %2 file
    NotWritten,    // %1 file
    Unreadable,    // %1 byte, %2 bus address
    NotOpened,     // %1 file
    NotABackup,    // %1 file
    Damaged,       // %1 file
    Truncated,     // %1 file
    NewerFormat,   // %1 file, %2 format version
    NotInBackup,   // %1 bus address
    OtherType,     // %1 type, %2 variant of the backup; %3, %4 of the controller
    OtherSoftware, // %1 of the backup, %2 of the controller
    RestoreList,
    RestoreQuestion,
    NothingToRestore,
    Restored,
    RestoreStopped, // %1 byte
    AlreadyWritten,
    NothingWritten,
    CompareTitle,
    Address,
    Description,
    SavedValue,
    ValueNow,
    Difference,
    Changed,
    OtherController,
    NoDifferences,
    BackupOf, // %1 date, %2 bus address, %3 serial number
    Reading,
    SaveCancelled,
    NoControllers,
    OpeningWidth,
    Differences, // %1 count
    ReadCancelled,
};
} // namespace BackupText
[[nodiscard]] QString BackupLanguageText(int backupText);

// Why a backup file at `path` was refused, for a message.
[[nodiscard]] QString RefusedFileText(const BackupFileRead& read, const QString& path);

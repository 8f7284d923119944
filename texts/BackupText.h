// The settings backup's texts, by their place after the first of them in the language table, and
// their lookup in the current language.
#pragma once

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
    NoControllers,
    OpeningWidth,
    Differences, // %1 count
    ReadCancelled,
};
} // namespace BackupText
[[nodiscard]] QString BackupLanguageText(int backupText);

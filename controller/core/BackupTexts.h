// The messages for a backup file that is refused; with them the settings backup's texts.
#pragma once

#include "ControllerBackup.h"
#include "texts/BackupText.h"

#include <QString>

// Why a backup file at `path` was refused, for a message.
[[nodiscard]] QString RefusedFileText(const BackupFileRead& read, const QString& path);

// The file dialogs of the settings backup commands: the backup's file type and the command's
// caption; an empty path when the user cancelled.
#pragma once

#include <QString>

class QWidget;

enum class BackupFileUse { Save, Open };

// `caption` is one of the backup's texts (BackupText).
[[nodiscard]] QString ChooseBackupFile(QWidget* parent, int caption, BackupFileUse use);

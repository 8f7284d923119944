#include "BackupTexts.h"

#include <QDir>

QString RefusedFileText(const BackupFileRead& read, const QString& path)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (read.error) {
    case BackupFileError::None:
        break;
    case BackupFileError::NotOpened:
        return BackupLanguageText(BackupText::NotOpened).arg(file);
    case BackupFileError::NotABackup:
        return BackupLanguageText(BackupText::NotABackup).arg(file);
    case BackupFileError::Damaged:
        return BackupLanguageText(BackupText::Damaged).arg(file);
    case BackupFileError::Truncated:
        return BackupLanguageText(BackupText::Truncated).arg(file);
    case BackupFileError::NewerFormat:
        return BackupLanguageText(BackupText::NewerFormat).arg(file).arg(read.foundFormatVersion);
    }
    return {};
}

#include "BackupText.h"

#include "Sprachen.h"

QString BackupLanguageText(int backupText)
{
    return LanguageText(kTextBackup + backupText);
}

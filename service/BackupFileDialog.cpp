#include "BackupFileDialog.h"

#include "texts/BackupText.h"

#include <QFileDialog>

QString ChooseBackupFile(QWidget* parent, int caption, BackupFileUse use)
{
    const QString filter = BackupLanguageText(BackupText::FileType) + QStringLiteral(" (*.json)");
    if (use == BackupFileUse::Save)
        return QFileDialog::getSaveFileName(parent, BackupLanguageText(caption), QString(), filter);
    return QFileDialog::getOpenFileName(parent, BackupLanguageText(caption), QString(), filter);
}

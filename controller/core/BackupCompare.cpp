#include "BackupCompare.h"

#include "BackupSettings.h"
#include "service/core/EepromDescriptions.h"
#include "service/core/Tools01.h"

namespace {

QString valueText(int address, const ControllerBackup& backup)
{
    const QString hex = HexText(backup.bytes[size_t(address)], 2);
    if (!IsSettingByte(address))
        return hex;
    return hex + QStringLiteral(" = ") + SettingValueText(address, backup.bytes, backup.identity);
}

} // namespace

QStringList EepromDescriptionLines(int variantByte, int controllerType,
                                   const QString& programDirectory)
{
    QStringList lines;
    for (int page = 0; page < kEepromPageCount; ++page)
        lines << ReadDescriptions(DescriptionFileName(page, variantByte, controllerType),
                                  programDirectory)
                     .value_or(QStringList(kEepromPageSize, QString()));
    return lines;
}

QList<ByteDifference> CompareWithBackup(const ControllerBackup& saved, const ControllerBackup& now,
                                        const QStringList& descriptions)
{
    QList<ByteDifference> differences;
    for (int address = 0; address < kEepromBytes; ++address) {
        if (saved.bytes[size_t(address)] == now.bytes[size_t(address)])
            continue;
        differences << ByteDifference{address, descriptions.value(address),
                                      valueText(address, saved), valueText(address, now),
                                      IsDeviceByte(address)};
    }
    return differences;
}

// The EEPROM bytes the tool knows as a controller's settings, the only ones a restore writes,
// named and worded as the controller window shows them; and the bytes that belong to the device.
#pragma once

#include "ControllerBackup.h"

#include <QList>
#include <QString>

// The setting bytes in the order a restore writes them.
[[nodiscard]] const QList<int>& SettingAddresses();
[[nodiscard]] bool IsSettingByte(int address);
// The setting's name in the current language.
[[nodiscard]] QString SettingName(int address);
// The setting's value as the controller window shows it, from the controller's bytes.
[[nodiscard]] QString SettingValueText(int address, const EepromImage& bytes,
                                       const ControllerIdentity& identity);
// Every setting with its name and value, for the backup file.
[[nodiscard]] QList<SettingText> SettingTexts(const EepromImage& bytes,
                                              const ControllerIdentity& identity);
// Production data and operating counters: a difference there means another device, not a change.
[[nodiscard]] bool IsDeviceByte(int address);

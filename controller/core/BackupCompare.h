// The comparison of a backup with the controller as it is now: every byte that differs, with its
// description, both values (and their meaning for a known setting) and the kind of difference.
#pragma once

#include "ControllerBackup.h"

#include <QList>
#include <QString>
#include <QStringList>

struct ByteDifference {
    int address = 0;
    QString description;
    QString saved; // "03h", or "03h = 90 mm" for a known setting
    QString now;
    // Production data or operating counters: the device itself differs, nothing was changed.
    bool otherController = false;
};

// The 256 descriptions of the controller's EEPROM from its description files (empty where there
// is no file), looked up as the EEPROM dialog looks them up.
[[nodiscard]] QStringList EepromDescriptionLines(int variantByte, int controllerType,
                                                 const QString& programDirectory);

[[nodiscard]] QList<ByteDifference> CompareWithBackup(const ControllerBackup& saved,
                                                      const ControllerBackup& now,
                                                      const QStringList& descriptions);

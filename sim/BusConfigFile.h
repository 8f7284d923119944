// The simulator's config file: a JSON object that names the devices of the bus, their kinds,
// versions, EEPROM bytes, pinned parameter values and faults (format in sim/README.md).
#pragma once

#include "BusSetup.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The bus described by `json`; on failure nothing, and `error` says what is wrong and where.
[[nodiscard]] std::optional<BusSetup> ParseBusConfig(const QByteArray& json, QString* error);
[[nodiscard]] std::optional<BusSetup> LoadBusConfig(const QString& path, QString* error);

// The production data dialog's reads: the factory's bytes at the start of the EEPROM and the
// software version, in their fixed order, as the texts of the dialog's value labels.
#pragma once

#include <QList>
#include <QString>

#include <utility>

class TFensterSteuerung;

// Value label and its text, in the order the labels are filled; a field with a byte that could
// not be read shows "?".
using ProductionFields = QList<std::pair<QString, QString>>;
[[nodiscard]] ProductionFields ReadProductionData(TFensterSteuerung& bus);

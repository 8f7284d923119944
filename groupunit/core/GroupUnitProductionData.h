// The group control unit's production data: the in-circuit test, final test and firmware date
// from the first bytes of its EEPROM, as the texts of the dialog's value labels.
#pragma once

#include "service/core/EepromFields.h"

// Value label and text, in the order of the dialog; a field with a byte that could not be read
// shows "?". Leaves the access object's window address at 0.
[[nodiscard]] FieldTexts ReadGroupUnitProductionData(TFensterSteuerung& bus);

// The production data dialog's reads: the factory's bytes at the start of the EEPROM and the
// software version, in their fixed order, as the texts of the dialog's value labels.
#pragma once

#include "EepromFields.h"

// Value label and its text, in the order the labels are filled; a field with a byte that could
// not be read shows "?".
using ProductionFields = FieldTexts;
[[nodiscard]] ProductionFields ReadProductionData(TFensterSteuerung& bus);

// The in-circuit test's fields, kept at the same bytes by controllers and the group control
// unit: the date (04h year, 05h and the low nibble of 06h the day of the year in BCD, the high
// nibble of 06h the shift), the running number (08h, 07h) and the tester with its site (09h, 0Ah).
[[nodiscard]] QString IctDateText(const QMap<int, int>& bytes);
[[nodiscard]] QString IctNumberText(const QMap<int, int>& bytes);
[[nodiscard]] QString IctTesterText(const QMap<int, int>& bytes);

// The text of production data field `label` ("lblSNr", "lblArtikelNr", ...) from the bytes.
[[nodiscard]] QString ProductionFieldText(const char* label, const QMap<int, int>& bytes);
// The caption of a final-test field ("lblArtikelNr", "lblSNr", "lblHW", "lblSW1") in the current
// language, with its colon; empty for any other label.
[[nodiscard]] QString FinalTestCaption(const char* label);

// How much wider than their design the production data dialogs are in `language`.
[[nodiscard]] int ProductionDataExtraWidth(int language);

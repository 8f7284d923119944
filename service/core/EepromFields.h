// Dialog fields made of EEPROM bytes: each names its value label, the bytes it needs in the order
// they are read, and how their values make its text; a field with an unreadable byte shows "?".
#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <utility>

class TFensterSteuerung;

struct EepromField {
    const char* label;
    QList<int> bytes;
    // The text from the bytes' values, by EEPROM address.
    std::function<QString(const QMap<int, int>&)> text;
};

// Value label and text of each field, in order.
using FieldTexts = QList<std::pair<QString, QString>>;
[[nodiscard]] FieldTexts ReadEepromFields(TFensterSteuerung& bus, const QList<EepromField>& fields);

// Upper-case hex digits, at least `digits` of them, without the "h" ("%02X").
[[nodiscard]] QString HexDigits(int value, int digits);

// How numbers are shown and read back as text program-wide: "%02Xh"-style hex display,
// the value parse (decimal, or hex with an "h"), the typing filter of hex inputs, the history.
#pragma once

#include <QString>
#include <QStringList>

// Upper-case hex with at least `digits` digits and a trailing "h" (10, 2 → "0Ah").
[[nodiscard]] QString HexText(int value, int digits);
// Hex without leading zeros and a trailing "h" (10 → "Ah").
[[nodiscard]] QString ShortHexText(int value);
// Decimal, or above 30 short hex: how a bus address is shown in the window list.
[[nodiscard]] QString AddressText(int address);

// Text to number: with a lower-case "h" anywhere, the text less its last character is hex;
// otherwise decimal. Empty text is 0; unreadable text is -1.
[[nodiscard]] int ParseValue(const QString& text);

struct FilteredText {
    QString text;
    int caret;
};
// The typing filter of hex inputs: only hex digits, an "h" after the first letter A..F or typed
// "h", nothing after the "h"; dropped characters move the caret back.
[[nodiscard]] FilteredText FilterHexTyping(const QString& typed, int caret);

// Adds the history form of `value` (hex with at least `digits` digits and "h") unless present.
void AddToHistory(QStringList& history, int value, int digits);

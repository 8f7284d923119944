// How the group control unit's setting bytes map to the entries of the settings dialog's lists,
// and back: gap ventilation width, ventilation interval, automatic-mode time, the functions of
// the inputs X15 and X16 by the unit's function numbering.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The entries of the interval list in minutes and of the automatic-mode list in seconds.
constexpr std::array<int, 10> kIntervalMinutes{10, 20, 30, 40, 50, 60, 90, 120, 180, 240};
constexpr std::array<int, 6> kAutomaticSeconds{10, 15, 20, 30, 45, 60};

// A setting byte whose low byte is FFh cannot be configured on this unit.
[[nodiscard]] constexpr bool IsNotConfigurable(int value)
{
    return (value & 0xFF) == 0xFF;
}

// "10%" .. "100%".
[[nodiscard]] int GapWidthIndex(int value);
[[nodiscard]] int GapWidthValue(int index);
// 10, 20, 30, 40, 50, 60, 90, 120, 180, 240 minutes.
[[nodiscard]] int IntervalIndex(int value);
[[nodiscard]] int IntervalValue(int index);
// 10, 15, 20, 30, 45, 60 seconds.
[[nodiscard]] int AutomaticTimeIndex(int value);
[[nodiscard]] int AutomaticTimeValue(int index);

constexpr int kInputFunctions = 12;
// Units whose version word is below 2.10xx number the input functions from 0 and offer X16 only
// "Lüftungssperre"; the others number from 1. A unit that does not answer counts as new.
[[nodiscard]] bool ExtendedFunctionNumbering(std::optional<uint16_t> versionWord);
// The list entry of a stored function number; `entries` is the list's length (1 or 12).
[[nodiscard]] int InputFunctionIndex(int value, bool extended, int entries);
// The stored function number of X15's or X16's entry.
[[nodiscard]] int X15FunctionValue(int index, bool extended);
[[nodiscard]] int X16FunctionValue(int index, bool extended);
// X15 and X16 cannot carry the same function: choosing the other input's function (other than
// their entries 0) puts the changed input back to its entry 0.
[[nodiscard]] constexpr bool ResetsToFirstEntry(int chosenIndex, int otherIndex)
{
    return chosenIndex > 0 && chosenIndex == otherIndex;
}

// The controller trend's and the command-line recording's texts, by their place after the first
// of them in the language table, and their lookup in the current language.
#pragma once

#include <QString>

namespace TrendText {
enum : int {
    Button = 0,
    Caption, // %1 bus address
    Pause,
    Resume,
    SaveData,
    SavePicture,
    CsvFiles,
    PngFiles,
    Time,
    StateCode,
    StateText,
    EventBits,
    EventTexts,
    DrivePosition,
    SupplyVoltage,
    SafetyEdgeValue, // %1 input, 1 or 2
    NoEvents,
    StateChanges,
    RecordingStarted,  // %1 bus address, %2 file
    RecordingProgress, // %1 rows, %2 state, %3 event bits
    RecordingEnded,    // %1 file, %2 rows, %3 last state
};
} // namespace TrendText
[[nodiscard]] QString TrendLanguageText(int trendText);

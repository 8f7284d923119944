// The values the controller window reads only every fourth refresh (limits, counters, settings
// kept in the EEPROM) and the watch on the controller's software version.
#pragma once

#include "ControllerState.h"
#include "ControllerView.h"

#include <QStringList>

#include <optional>
#include <utility>

// Parameter 30 on a slow-value step. Versions other than the one read at opening are counted
// over the whole run; the third one resets the count and returns true: reopen the connection.
[[nodiscard]] bool CountVersionMismatch(ControllerState& state, int version);

struct OpeningWidthSelection {
    int index = -1;     // in `cbKippAntr`; -1 selects nothing
    int barMaximum = 0; // of the drive position bar
    bool disableBox = false;

    [[nodiscard]] bool operator==(const OpeningWidthSelection&) const = default;
};
// EEPROM byte 25h, the 1-based opening width entry, against the entries `cbKippAntr` holds.
[[nodiscard]] OpeningWidthSelection SelectOpeningWidth(int stored, const QStringList& entries,
                                                       int softwareVersion);

// "aktiviert" or "deaktiviert", as the window shows a switched setting.
[[nodiscard]] QString OnOffText(int value);
// The handle LED setting as the window shows it: off, on or dimmed; anything else counts as on.
[[nodiscard]] QString HandleLedText(int value);
// A PWM level index read from EEPROM A0h or A1h, limited to the levels the drive allows.
[[nodiscard]] int LimitPwmIndex(const ControllerState& state, int index);

// The (low, high) parameters of the turn cycles, the smoke-vent openings for types 5 and 6.
[[nodiscard]] std::pair<int, int> TurnCycleParameters(int controllerType);
// A 16-bit value from two 8-bit entries (`high` as delivered); nothing when the low byte's read
// failed.
[[nodiscard]] std::optional<int> WordFromBytes(std::optional<int> low, int high);

// The slow values read after the opening width; a failed read is nothing. The PWM levels are
// read with variant byte 55h, the automatic locking with AAh; the other one is ignored.
struct SlowReadings {
    std::optional<int> undervoltageLimit; // parameters 10, 11
    std::optional<int> lockingThreshold;  // parameters 7, 8
    std::optional<int> tiltCycles;        // parameters 14, 15
    std::optional<int> turnCycles;        // TurnCycleParameters
    std::optional<int> tiltLock;          // parameter 18
    std::optional<int> pwmClosing;        // EEPROM A0h
    std::optional<int> pwmOpening;        // EEPROM A1h
    std::optional<int> automaticLocking;  // parameter 28
    std::optional<int> unlockLock;        // parameter 19
    std::optional<int> handleLed;         // parameter 20
};

struct SlowValuesDisplay {
    ControllerView view;
    // The entries `PWM_Zu_ComboBox` and `PWM_Auf_ComboBox` select.
    std::optional<int> pwmClosingIndex;
    std::optional<int> pwmOpeningIndex;
};
// Sets the automatic locking threshold in the state.
[[nodiscard]] SlowValuesDisplay DecodeSlowValues(ControllerState& state,
                                                 const SlowReadings& readings);

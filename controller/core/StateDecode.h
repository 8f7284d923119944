// The decodes of one refresh of the controller window: from the values read to what the window
// shows, as views, and to the window-level state they update. Nothing here reads the bus.
#pragma once

#include "ControllerState.h"
#include "ControllerView.h"
#include "StateCodes.h"

#include <optional>
#include <utility>

// The status bar as controls of a view: its background (Red, or Normal for the button face) and
// its two panels, the event summary and the detail text.
inline const QString kStatusBar = QStringLiteral("StatusBar");
inline const QString kStatusEvents = QStringLiteral("StatusBar.0");
inline const QString kStatusDetail = QStringLiteral("StatusBar.1");

// The controllers whose commissioning ends with the zero-position sequence of the mode button.
[[nodiscard]] bool IsZeroPositionController(const ControllerState& state);

struct ModeDisplay {
    ControllerView view;
    // Commissioning starts: the drive position bar goes to 0.
    bool positionBarToZero = false;
};
// Shows commissioning or normal operation and sets the commissioning mode.
[[nodiscard]] ModeDisplay SwitchModeDisplay(ControllerState& state, bool commissioning);
// Parameter 0 of a refresh: the mode display when the state code changed in a way that switches
// it (types 3 to 6 only into or out of commissioning), nothing otherwise.
[[nodiscard]] std::optional<ModeDisplay> DecodeMode(ControllerState& state, int stateCode);

// Parameters 2 and 3: the handle position. `lever` is read only when `handle` is not 1; a failed
// read is nothing and keeps the position.
void DecodeHandlePosition(ControllerState& state, std::optional<int> handle,
                          std::optional<int> lever);

// Whether the event summary needs parameter 55, the strand of a chain drive's event.
[[nodiscard]] bool EventsNeedStrand(const ControllerState& state, int eventBits);
// The status bar after parameter 4 (and 55, when needed) was read.
[[nodiscard]] ControllerView DecodeEvents(int eventBits, std::optional<int> strand);
// The status bar when parameter 4 could not be read.
[[nodiscard]] ControllerView NoCommunicationStatus();

// The mode button while commissioning: the zero-position sequence's display. Clears the
// zero-position run of controllers without it and the type-7 jog latch on "Nullposition erkannt".
[[nodiscard]] ControllerView DecodeCommissioningModeButton(ControllerState& state, int eventBits);

// Variant AAh: the window kind label and the variant button. `windowKind` (parameter 1) is read
// only when the handle position is not 2.
[[nodiscard]] ControllerView DecodeWindowKind(int handlePosition, std::optional<int> windowKind);

// Which locking element an indicator shows.
enum class LockElement { FingerBolt, UpperStrand, LowerStrand };
// The label of a locking indicator; its icon is drawn by the picture rules.
[[nodiscard]] ControllerView LockingIndicatorView(const ControllerState& state, LockElement element,
                                                  bool locked);

struct StateDisplay {
    ControllerView view;
    StateCodeRow row;
};
// Parameter 0: the window state text, the locking indicators and the window state class when the
// code changed; the commissioning text on every refresh while commissioning; else nothing.
[[nodiscard]] std::optional<StateDisplay> DecodeStateText(ControllerState& state, int stateCode);

// Parameter 23: the reversal label when the code changed.
[[nodiscard]] ControllerView DecodeReversal(ControllerState& state, int code);

// Chain types 3 to 6, 8, 9: EEPROM byte B9h (the pole-reversal byte) and parameter 38 (operation
// release): the command buttons, the release message and the closing-roller test group.
[[nodiscard]] ControllerView DecodeOperationRelease(ControllerState& state,
                                                    std::optional<int> poleReversal,
                                                    std::optional<int> release);

// Type 8, before its PAF-slave group: the command buttons follow the mode, the release message
// is hidden.
[[nodiscard]] ControllerView PafMasterCommands(const ControllerState& state);

// The parameters of the two safety-edge analogue values: 48, 49, or 50, 51 for type 8.
[[nodiscard]] std::pair<int, int> SafetyEdgeAnalogueParameters(int controllerType);
struct SafetyEdgeReadings {
    std::optional<int> present;     // parameter 26
    std::optional<int> deactivated; // parameter 25, read when present
    // As delivered (the cached values when their reads failed), read when present.
    int analogue1 = 0;
    int analogue2 = 0;
    std::optional<int> condition; // parameter 13, read when present
};
[[nodiscard]] ControllerView DecodeSafetyEdge(ControllerState& state,
                                              const SafetyEdgeReadings& readings);

// Parameters 9, 5 and 6: supply voltage, vent magnet position (into the state) and the raw Hall
// value; a failed read is nothing.
[[nodiscard]] ControllerView DecodeSupplyAndVent(ControllerState& state, std::optional<int> voltage,
                                                 std::optional<int> magnet,
                                                 std::optional<int> rawHall);

struct DrivePositionDisplay {
    ControllerView view;
    // The position bar's value, limited to 0..`barMaximum`; nothing while commissioning.
    std::optional<int> barValue;
};
// Parameter 12: the drive position in millimetres, into the state and the position label.
[[nodiscard]] DrivePositionDisplay DecodeDrivePosition(ControllerState& state, int raw,
                                                       int barMaximum);

// Parameter 33: which drives the controller has, in `lblAutoRiegel`.
[[nodiscard]] ControllerView DecodeDriveSides(const ControllerState& state, int value);

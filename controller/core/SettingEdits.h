// The controller window's setting edits without widgets: the telegrams each edit sends, the
// questions it asks, and what the window must show afterwards.
#pragma once

#include "ControllerActionHost.h"
#include "ControllerState.h"

#include <QList>
#include <QString>

#include <optional>

class Clock;
class TFensterSteuerung;

// The widths the drive position bar's maximum is taken from after an opening-width write: by
// software version 0700h or higher, else types 5 and 6, else all others.
[[nodiscard]] QList<int> PositionBarScale(int controllerType, int softwareVersion);
// The maximum of the drive position bar after opening-width position `position` (0-based) was
// written; the scale depends on the software version and the controller type.
[[nodiscard]] int PositionBarMaximum(int controllerType, int softwareVersion, int position);

// What the window changes after an opening-width edit: the selection to show again after "No"
// and the position bar's new maximum after "Yes"; nothing stays as it is.
struct OpeningWidthChange {
    std::optional<int> selection;
    std::optional<int> barMaximum;
};

enum class PwmDirection { Opening, Closing };

// The hidden service button's setting: the long chain of software 4.03 to 4.05, or the seal
// pressure of types 3 and 4 from software 7.01 on; none for every other controller.
enum class ServiceSetting { None, LongChain, SealPressure };
[[nodiscard]] ServiceSetting ServiceSettingOf(const ControllerState& state);
// The service button's caption for its setting ("Antrieb" or "Andruck").
[[nodiscard]] QString ServiceButtonCaption(ServiceSetting setting);

class SettingEdits {
public:
    SettingEdits(TFensterSteuerung& bus, ControllerState& state, ControllerActionHost& host,
                 Clock& clock);

    // Toggles the safety edge; the refresh shows its new state.
    void toggleSafetyEdge();
    // Switches the automatic locking from the turn position over and rewrites the page-0
    // checksum; the window disables its button around the call.
    void toggleAutomaticLocking();
    // The user chose opening-width position `position` (0-based).
    [[nodiscard]] OpeningWidthChange changeOpeningWidth(int position);
    // The user chose PWM level `position` (0 = 28V .. 8 = 20V); the level to select again after
    // "No", when it differs.
    [[nodiscard]] std::optional<int> changePwmLevel(PwmDirection direction, int position);
    // The user clicked window-type item `index` (0 Drehfenster .. 3 Senk-Klapp).
    void changeWindowType(int index);
    // Switches a standard controller between turn-tilt window and turn-tilt window with turn
    // lock; the new text of the controller-kind label, nothing when nothing was changed.
    [[nodiscard]] std::optional<QString> switchTurnTiltVariant();
    // The handle LED state the controller reports (0 off, 1 on, 2 dimmed), for the LED dialog.
    [[nodiscard]] std::optional<int> handleLedState();
    // Writes the LED dialog's confirmed choice; a typed text (no entry, -1) writes nothing.
    void writeHandleLed(int position);
    // The hidden service button: after its question, sets the long chain (bits 7 and 6 of EEPROM
    // 1Eh, written only when read) or the seal pressure (ACh := 32h).
    void changeServiceSetting();

private:
    [[nodiscard]] std::optional<int> readEeprom(int memoryAddress);

    TFensterSteuerung& m_bus;
    ControllerState& m_state;
    ControllerActionHost& m_host;
    Clock& m_clock;
};

// The code tables of the controller window: what a window state code, a reason of reversal, a
// safety-edge condition and a drive-sides value say, in the current language.
#pragma once

#include <QString>

#include <optional>

// How a state code sets a locking-element indicator.
enum class LockMark { Unchanged, Locked, Unlocked };

struct StateCodeRow {
    QString text;
    LockMark upperStrand = LockMark::Unchanged;
    LockMark lowerStrand = LockMark::Unchanged;
    LockMark fingerBolt = LockMark::Unchanged;
    // The new window state class (0..2); nothing keeps the old one.
    std::optional<int> windowStateClass;

    [[nodiscard]] bool operator==(const StateCodeRow&) const = default;
};

// The controller's own state code (parameter 0); rows 9 to 11 depend on the controller type.
[[nodiscard]] StateCodeRow StateCodeRowFor(int code, int controllerType);
// The slave state that a PAF master reports in its status word (low four bits used).
[[nodiscard]] QString SlaveStateText(int statusWord);
// "Z15 - Fenster ist in der Inbetriebnahme", shown instead of the state during commissioning.
[[nodiscard]] QString CommissioningStateText();

// Why the drive reversed last: "keine Reversierung", "EKS-SW", ... or the code as "%02Xh".
[[nodiscard]] QString ReversalText(int code);

struct SafetyEdgeCondition {
    // Status bar panel 1: empty, or the fault with "!".
    QString panelText;
    // 1 safety edge in order, 2 anything else.
    int safetyEdgeState;

    [[nodiscard]] bool operator==(const SafetyEdgeCondition&) const = default;
};
[[nodiscard]] SafetyEdgeCondition SafetyEdgeConditionFor(int code);

// Which chain drives a controller has: 1 one side, 3 the other, 2 both; other values say
// nothing. `mirrored` swaps "links" and "rechts" for value 1 and 3.
[[nodiscard]] std::optional<QString> DriveSidesText(int value, bool mirrored);

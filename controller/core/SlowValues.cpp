#include "SlowValues.h"

#include "ValueFormats.h"
#include "texts/Sprachen.h"

#include <algorithm>

namespace {

// The opening width cannot be chosen on software 1.10.
constexpr int kFixedWidthSoftware = 0x0110;
// Reopen the connection on the third mismatch.
constexpr int kToleratedMismatches = 2;

} // namespace

QString OnOffText(int value)
{
    return LanguageText(value != 0 ? 7 : 41); // aktiviert / deaktiviert
}

QString HandleLedText(int value)
{
    // aus, ein, gedimmt; unknown settings count as on.
    constexpr int kTexts[] = {18, 56, 105};
    return LanguageText(kTexts[value > 2 ? 1 : value]);
}

bool CountVersionMismatch(ControllerState& state, int version)
{
    if (version == state.softwareVersion)
        return false;
    if (++state.versionMismatches <= kToleratedMismatches)
        return false;
    state.versionMismatches = 0;
    return true;
}

OpeningWidthSelection SelectOpeningWidth(int stored, const QStringList& entries,
                                         int softwareVersion)
{
    OpeningWidthSelection selection;
    selection.index = std::clamp(stored, 0, int(entries.size())) - 1;
    const int width = selection.index >= 0 ? entries[selection.index].toInt() : 0;
    // The opening widths count from 10 mm, the bar from 0.
    selection.barMaximum = width > 9 ? width - 10 : 0;
    selection.disableBox = softwareVersion == kFixedWidthSoftware;
    return selection;
}

int LimitPwmIndex(const ControllerState& state, int index)
{
    const int type = state.controllerType;
    // Smoke vents and long chains go down to 22V (6), the others to 20V (8); a level stored
    // beyond that shows as 23V or 21V.
    if (type == 5 || type == 6 || state.longChain)
        return index > 6 ? 5 : index;
    return index > 8 ? 7 : index;
}

std::pair<int, int> TurnCycleParameters(int controllerType)
{
    return controllerType == 5 || controllerType == 6 ? std::pair{39, 40} : std::pair{16, 17};
}

std::optional<int> WordFromBytes(std::optional<int> low, int high)
{
    if (!low)
        return std::nullopt;
    return high * 256 + *low;
}

SlowValuesDisplay DecodeSlowValues(ControllerState& state, const SlowReadings& readings)
{
    SlowValuesDisplay display;
    ControllerView& view = display.view;
    if (const auto limit = readings.undervoltageLimit) {
        const QString label = QStringLiteral("lblVccGrenze");
        view.setText(label, VoltageText(*limit));
        view[label].hint = QString::number(*limit);
    }
    if (const auto threshold = readings.lockingThreshold) {
        state.automaticLockingThreshold = SignedWord(*threshold);
        view.setText(QStringLiteral("lblFluegelGrenze"),
                     QString::number(state.automaticLockingThreshold));
    }
    if (readings.tiltCycles)
        view.setText(QStringLiteral("lblZyklKipp"), QString::number(*readings.tiltCycles));
    if (readings.turnCycles)
        view.setText(QStringLiteral("lblZyklDreh"), QString::number(*readings.turnCycles));
    if (readings.tiltLock)
        view.setText(QStringLiteral("lblKippsperre"), OnOffText(*readings.tiltLock));
    if (state.variantByte == kVariant55) {
        if (readings.pwmClosing)
            display.pwmClosingIndex = LimitPwmIndex(state, *readings.pwmClosing);
        if (readings.pwmOpening)
            display.pwmOpeningIndex = LimitPwmIndex(state, *readings.pwmOpening);
    } else if (const auto locking = readings.automaticLocking) {
        view.setText(QStringLiteral("lblAutoRiegel"), OnOffText(*locking));
        // A tilt window has no turn position to lock from.
        if (*locking != 0)
            view.setEnabled(QStringLiteral("bnAutoVerriegeln"), state.handlePosition != 2);
    }
    if (readings.unlockLock)
        view.setText(QStringLiteral("lblEntriegel"), QString::number(*readings.unlockLock));
    if (readings.handleLed)
        view.setText(QStringLiteral("lblLED"), HandleLedText(*readings.handleLed));
    return display;
}

// How the controller window scales and formats measured values: supply voltages, drive and chain
// positions and opening widths in millimetres.
#pragma once

#include "buslink/ParameterTable.h"

#include <QString>

// Besides the chain drive's scale: a turn/tilt drive moves 2.89 counts per millimetre, the
// sliding drive 2/3.
constexpr double kTurnTiltMmPerCount = 0.3460207612456747;
constexpr double kSlidingMmPerCount = 1.5;

// A 16-bit word read as a signed number.
[[nodiscard]] int SignedWord(int word);

// A supply-voltage reading (undervoltage limit as well) in volts, and as "%3.1f Volt".
[[nodiscard]] double Volts(int raw);
[[nodiscard]] QString VoltageText(int raw);
// Millimetres rounded to whole numbers ("%1.0f").
[[nodiscard]] QString MillimetreText(double mm);

// How the drive position (parameter 12) turns into millimetres: the factor, and the offset that
// the position label adds (the state's drive position does not).
struct DriveScale {
    double mmPerCount;
    int displayOffset;
};
[[nodiscard]] DriveScale DriveScaleFor(int variantByte, int controllerType);
// The position label's millimetres: the raw word read as signed, scaled, with the offset.
[[nodiscard]] double DisplayedPositionMm(int raw, const DriveScale& scale);

// The opening width label: parameter 37 of the chain types (+10 mm except PAF), parameter 22 of
// the sliding drive (type 7).
[[nodiscard]] QString OpeningWidthText(int controllerType, int raw);

#include "ValueFormats.h"

#include "ControllerState.h"

#include "texts/Sprachen.h"

#include <cstdint>

namespace {

constexpr int kSlidingDrive = 7;
// The chain positions of other types count from 10 mm, the PAF drives from 0.
constexpr int kChainZeroOffset = 10;

bool isPaf(int controllerType)
{
    return controllerType == 8 || controllerType == 9;
}

} // namespace

int SignedWord(int word)
{
    return std::int16_t(std::uint16_t(word));
}

double Volts(int raw)
{
    return raw * kVoltsPerCount;
}

QString VoltageText(int raw)
{
    return QString::asprintf("%3.1f ", Volts(raw)) + LanguageText(256);
}

QString MillimetreText(double mm)
{
    return QString::asprintf("%1.0f", mm);
}

DriveScale DriveScaleFor(int variantByte, int controllerType)
{
    if (variantByte != kVariant55)
        return {kTurnTiltMmPerCount, kChainZeroOffset};
    if (controllerType == kSlidingDrive)
        return {kSlidingMmPerCount, 0};
    return {kChainMmPerCount, isPaf(controllerType) ? 0 : kChainZeroOffset};
}

double DisplayedPositionMm(int raw, const DriveScale& scale)
{
    return SignedWord(raw) * scale.mmPerCount + scale.displayOffset;
}

QString OpeningWidthText(int controllerType, int raw)
{
    if (controllerType == kSlidingDrive)
        return MillimetreText(raw * kSlidingMmPerCount);
    const int offset = isPaf(controllerType) ? 0 : kChainZeroOffset;
    return MillimetreText(raw * kChainMmPerCount + offset);
}

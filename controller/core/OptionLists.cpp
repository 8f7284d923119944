#include "OptionLists.h"

#include "SettingBytes.h"

#include <algorithm>

namespace {

constexpr int kSoftware400 = 0x0400;
constexpr int kPwmLevels = 9;
constexpr int kHighestPwmVolts = 28;

void appendSteps(QList<int>& widths, int first, int last, int step)
{
    for (int width = first; width <= last; width += step)
        widths.append(width);
}

// Software 7.00 and later: 30 to 250 mm in steps of 20, then in steps of 50 up to `last`.
QList<int> roundWidths(int last)
{
    QList<int> widths;
    appendSteps(widths, 30, std::min(last, 250), 20);
    appendSteps(widths, 300, last, 50);
    return widths;
}

// Older turn/tilt and chain drives: 29 to 106 mm and 112 up to `last`, in steps of 7.
QList<int> turnTiltWidths(int last)
{
    QList<int> widths;
    appendSteps(widths, 29, 106, 7);
    appendSteps(widths, 112, last, 7);
    return widths;
}

} // namespace

QList<int> OpeningWidths(int controllerType, int softwareVersion, bool longChain, bool upTo1000)
{
    const bool roundSteps = softwareVersion >= kSoftware700;
    switch (controllerType) {
    case 3:
    case 4:
        if (longChain) {
            if (roundSteps)
                return roundWidths(upTo1000 ? 1000 : 600);
            return {76,  96,  115, 135, 154, 174, 193, 213, 233, 252, 271, 291, 311, 331,
                    350, 370, 390, 409, 429, 448, 468, 487, 507, 526, 546, 565, 585, 605};
        }
        if (roundSteps)
            return roundWidths(controllerType == 4 ? 210 : 170);
        return turnTiltWidths(controllerType == 4 ? 217 : 189);
    case 5:
    case 6:
        if (roundSteps)
            return roundWidths(upTo1000 ? 1000 : 500);
        return {40,  53,  67,  80,  93,  107, 120, 133, 147, 160, 173,
                187, 200, 213, 227, 240, 253, 267, 280, 293, 307};
    case 7:
        return {};
    case 8:
    case 9:
        return {40, 60, 80, 100, 120, 140, 150, 160, 170, 180};
    default:
        return turnTiltWidths(168);
    }
}

QString PwmLevelText(int position)
{
    return QStringLiteral("%1V").arg(kHighestPwmVolts - position);
}

SettingOptions LoadSettingOptions(ControllerState& state, int chainBits, int maximumWidth,
                                  std::optional<int> version)
{
    const int type = state.controllerType;
    state.takeChainBit((chainBits & kLongChainBit) != 0);

    SettingOptions options;
    for (int width : OpeningWidths(type, state.softwareVersion, state.longChain, maximumWidth == 1))
        options.openingWidths.append(QString::number(width));
    options.openingWidthEnabled = type != 7;
    for (int level = 0; level < kPwmLevels; ++level)
        options.pwmLevels.append(PwmLevelText(level));
    // Software before 4.00 has fixed PWM levels, except on the sliding drive.
    options.pwmEnabled = state.chainType() && (!version || *version >= kSoftware400 || type == 7);
    return options;
}

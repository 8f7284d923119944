// Where a controller keeps its settings in its EEPROM and how the controller window shows a stored
// PWM level: shared by the setting edits, the option lists and the settings backup.
#pragma once

namespace SettingByte {
constexpr int LongChain = 0x1E; // bit 7: long chain (types 3, 4) or heavy window (types 8, 9)
constexpr int LockThresholdLow = 0x21;
constexpr int LockThresholdHigh = 0x22;
constexpr int UndervoltageLow = 0x23;
constexpr int UndervoltageHigh = 0x24;
constexpr int OpeningWidth = 0x25; // the position in the list of widths + 1
constexpr int ControllerType = 0x2D;
constexpr int AutomaticLocking = 0x2F;
constexpr int MaximumOpeningWidth = 0x33; // 1: widths up to 1000 mm
constexpr int HandleLed = 0x37;
constexpr int PwmClosing = 0xA0;
constexpr int PwmOpening = 0xA1;
constexpr int WindowType = 0xAA;
constexpr int SealPressure = 0xAC;
} // namespace SettingByte

constexpr int kLongChainBit = 0x80;
constexpr int kHighestPwmLevel = 8; // level 0 is 28 V, level 8 is 20 V
constexpr int kHighestPwmVolts = 28;

// The level the PWM boxes show for a stored level: one above 8 is shown as 7.
constexpr int ShownPwmLevel(int stored)
{
    return stored > kHighestPwmLevel ? 7 : stored;
}

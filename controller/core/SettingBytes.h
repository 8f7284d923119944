// Where a controller keeps its identity and its settings in its EEPROM: shared by the refresh, the
// setting edits, the option lists and the settings backup.
#pragma once

namespace IdentityByte {
constexpr int Variant = 0x00;
constexpr int ControllerType = 0x2D;
} // namespace IdentityByte

namespace SettingByte {
constexpr int LongChain = 0x1E; // bit 7: long chain (types 3, 4) or heavy window (types 8, 9)
constexpr int LockThresholdLow = 0x21;
constexpr int LockThresholdHigh = 0x22;
constexpr int UndervoltageLow = 0x23;
constexpr int UndervoltageHigh = 0x24;
constexpr int OpeningWidth = 0x25; // the position in the list of widths + 1
constexpr int AutomaticLocking = 0x2F;
constexpr int MaximumOpeningWidth = 0x33; // 1: widths up to 1000 mm
constexpr int HandleLed = 0x37;
constexpr int PwmClosing = 0xA0;
constexpr int PwmOpening = 0xA1;
constexpr int WindowType = 0xAA;
constexpr int SealPressure = 0xAC;
} // namespace SettingByte

constexpr int kLongChainBit = 0x80;

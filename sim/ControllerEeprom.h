// The 256-byte EEPROM of a simulated controller: where each value lives, the contents a
// controller leaves the factory with, and the XOR checksums of pages 0 and 1.
#pragma once

#include "BusSetup.h"

#include <array>
#include <cstdint>

using ControllerEepromImage = std::array<uint8_t, 256>;

// Byte addresses; a pair named Low/High holds one 16-bit value, low byte first.
namespace ControllerByte {
constexpr int Variant = 0x00;
constexpr int IctIndex = 0x01;
constexpr int IctSoftwareMinor = 0x02;
constexpr int IctSoftwareMajor = 0x03;
constexpr int IctYear = 0x04;
constexpr int IctDay = 0x05;
constexpr int IctDayHundredsAndShift = 0x06;
constexpr int IctNumberLow = 0x07;
constexpr int IctNumberHigh = 0x08;
constexpr int Tester = 0x09;
constexpr int TesterSite = 0x0A;
constexpr int IctResult = 0x0B;
constexpr int HardwareLow = 0x10;
constexpr int HardwareHigh = 0x11;
constexpr int TestYear = 0x12;
constexpr int TestDay = 0x13;
constexpr int TestDayHundredsAndShift = 0x14;
constexpr int SerialLow = 0x15;
constexpr int SerialHigh = 0x16;
constexpr int Identification = 0x17; // four bytes, most significant first
constexpr int LongChain = 0x1E;      // bits 7 and 6 set: long chain
constexpr int Commissioning = 0x20;  // FFh: commissioning requested
constexpr int Page0First = 0x21;
constexpr int LockThresholdLow = 0x21;
constexpr int LockThresholdHigh = 0x22;
constexpr int UndervoltageLow = 0x23;
constexpr int UndervoltageHigh = 0x24;
constexpr int OpeningWidth = 0x25;
constexpr int ControllerType = 0x2D;
constexpr int AutomaticLocking = 0x2F;
constexpr int Page0Last = 0x2F;
constexpr int Page0Checksum = 0x30;
constexpr int MaximumOpeningWidth = 0x33;
constexpr int BusAddress = 0x34;
constexpr int Led = 0x37;
constexpr int Page1First = 0x40;
constexpr int Page1Checksum = 0x7E;
constexpr int TiltCyclesLow = 0x90;
constexpr int TurnCyclesLow = 0x92;
constexpr int SmokeVentCyclesLow = 0x94;
constexpr int PwmClosing = 0xA0;
constexpr int PwmOpening = 0xA1;
constexpr int WindowType = 0xAA;
constexpr int SealPressure = 0xAC;
constexpr int PoleReversal = 0xB9;
} // namespace ControllerByte

// The last byte of the page-1 checksum range: one further byte for the variant 55h.
[[nodiscard]] int Page1Last(uint8_t variant);
[[nodiscard]] uint8_t XorOfRange(const ControllerEepromImage& eeprom, int first, int last);

// The factory contents for `setup`, its EEPROM overrides applied, with both checksums agreeing
// with their pages unless the overrides set a checksum byte themselves.
[[nodiscard]] ControllerEepromImage BuildControllerEeprom(const ControllerSetup& setup);

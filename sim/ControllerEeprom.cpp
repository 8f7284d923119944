#include "ControllerEeprom.h"

#include "BcdDigits.h"

namespace {

constexpr uint8_t kErased = 0xFF;
constexpr uint8_t kIctPassed = 0xAA;
constexpr double kVoltsPerCount = 0.03743;
constexpr double kUndervoltageLimitVolts = 18.0;
constexpr int kLockThreshold = 300;
constexpr int kFactoryOpeningWidth = 3;
constexpr int kFactoryLed = 1;
constexpr int kFactorySealPressure = 0x28;

// Drive calibration values of page 1 as a controller leaves the factory.
constexpr uint8_t kPage1Calibration[] = {
    0x12, 0x34, 0x0A, 0x14, 0x1E, 0x28, 0x32, 0x3C, 0x46, 0x50, 0x05, 0x0F, 0x19, 0x23,
    0x2D, 0x37, 0x41, 0x4B, 0x55, 0x5F, 0x64, 0x6E, 0x78, 0x82, 0x8C, 0x96, 0xA0, 0xAA,
    0xB4, 0xBE, 0xC8, 0xD2, 0xDC, 0xE6, 0xF0, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};

void putWord(ControllerEepromImage& eeprom, int low, int value)
{
    eeprom[size_t(low)] = static_cast<uint8_t>(value & 0xFF);
    eeprom[size_t(low) + 1] = static_cast<uint8_t>(value >> 8 & 0xFF);
}

// Day of the year as three decimal digits: hundreds in the low nibble of the third byte, whose
// high nibble holds the shift, tens and ones in the second; the year's last two digits first.
void putTestDate(ControllerEepromImage& eeprom, int yearByte, const QDate& date, int shift)
{
    const int day = date.dayOfYear();
    eeprom[size_t(yearByte)] = ToBcd(date.year() % 100);
    eeprom[size_t(yearByte) + 1] = ToBcd(day % 100);
    eeprom[size_t(yearByte) + 2] = static_cast<uint8_t>(shift << 4 | day / 100);
}

} // namespace

int Page1Last(uint8_t variant)
{
    return variant == 0x55 ? 0x68 : 0x67;
}

uint8_t XorOfRange(const ControllerEepromImage& eeprom, int first, int last)
{
    uint8_t x = 0;
    for (int a = first; a <= last; ++a)
        x ^= eeprom[size_t(a)];
    return x;
}

ControllerEepromImage BuildControllerEeprom(const ControllerSetup& setup)
{
    using namespace ControllerByte;
    ControllerEepromImage e;
    e.fill(kErased);
    std::fill(e.begin(), e.begin() + MaximumOpeningWidth + 1, uint8_t(0));

    e[Variant] = setup.variant;
    e[IctIndex] = 0x03;
    e[IctSoftwareMinor] = 0x05;
    e[IctSoftwareMajor] = 0x01;
    putTestDate(e, IctYear, setup.produced, 1);
    e[IctNumberLow] = ToBcd(setup.serial % 100);
    e[IctNumberHigh] = ToBcd(setup.serial / 100);
    e[Tester] = 0x01;
    e[TesterSite] = 0x02;
    e[IctResult] = kIctPassed;
    putWord(e, HardwareLow, setup.hardware);
    putTestDate(e, TestYear, setup.produced.addDays(1), 2);
    e[SerialLow] = ToBcd(setup.serial % 100);
    e[SerialHigh] = ToBcd(setup.serial / 100);
    for (int i = 0; i < 4; ++i)
        e[size_t(Identification + i)] = static_cast<uint8_t>(setup.articleCode >> (24 - 8 * i));
    e[LongChain] = setup.longChain ? 0xC0 : 0x00;

    putWord(e, LockThresholdLow, kLockThreshold);
    putWord(e, UndervoltageLow, static_cast<int>(kUndervoltageLimitVolts / kVoltsPerCount));
    e[OpeningWidth] = kFactoryOpeningWidth;
    e[ControllerType] = static_cast<uint8_t>(setup.type);
    e[AutomaticLocking] = setup.variant == 0xAA ? 1 : 0;
    const bool chainFamily = setup.type >= 3 && setup.type <= 6;
    e[MaximumOpeningWidth] = chainFamily && setup.software >= 0x0700 ? 1 : 0;
    e[BusAddress] = static_cast<uint8_t>(setup.address);
    e[Led] = kFactoryLed;
    for (size_t i = 0; i < std::size(kPage1Calibration); ++i)
        e[Page1First + i] = kPage1Calibration[i];

    putWord(e, TiltCyclesLow, 0);
    putWord(e, TurnCyclesLow, 0);
    putWord(e, SmokeVentCyclesLow, 0);
    e[PwmClosing] = setup.pwmClosingLevel;
    e[PwmOpening] = setup.pwmOpeningLevel;
    e[WindowType] = setup.type == 4 ? 1 : 0;
    e[SealPressure] = kFactorySealPressure;
    e[PoleReversal] = 0;

    for (auto it = setup.eeprom.cbegin(); it != setup.eeprom.cend(); ++it)
        e[size_t(it.key())] = it.value();
    if (!setup.eeprom.contains(Page0Checksum))
        e[Page0Checksum] = XorOfRange(e, Page0First, Page0Last);
    if (!setup.eeprom.contains(Page1Checksum))
        e[Page1Checksum] = XorOfRange(e, Page1First, Page1Last(e[Variant]));
    return e;
}

#include "SimulatedGroupUnit.h"

#include "BcdDigits.h"

namespace {

namespace UnitMode {
constexpr uint8_t Setup = 0x0E;
constexpr uint8_t VersionWord = 0x14;
constexpr uint8_t Status = 0x16;
} // namespace UnitMode

constexpr uint8_t kErased = 0xFF;
constexpr uint8_t kIctPassed = 0xAA;

} // namespace

GroupUnitEepromImage BuildGroupUnitEeprom(const GroupUnitSetup& setup, int windows)
{
    using namespace GroupUnitByte;
    GroupUnitEepromImage e;
    e.fill(kErased);
    const QDate& date = setup.produced;
    const int day = date.dayOfYear();
    const uint8_t ict[] = {0x01,
                           0x02,
                           0x05,
                           0x01, // variant, tester index, ICT software 1.05
                           ToBcd(date.year() % 100),
                           ToBcd(day % 100),
                           static_cast<uint8_t>(1 << 4 | day / 100),
                           ToBcd(setup.serial % 100),
                           ToBcd(setup.serial / 100),
                           0x01,
                           0x02,
                           kIctPassed};
    std::copy(std::begin(ict), std::end(ict), e.begin());
    e[HardwareLow] = static_cast<uint8_t>(setup.hardware & 0xFF);
    e[HardwareLow + 1] = static_cast<uint8_t>(setup.hardware >> 8);
    e[SoftwareMinor] = static_cast<uint8_t>(setup.software & 0xFF);
    e[SoftwareMajor] = static_cast<uint8_t>(setup.software >> 8);
    // Serial number: year in binary, day of the year, then the running number.
    e[SerialYear] = static_cast<uint8_t>(date.year() % 100);
    e[SerialYear + 1] = static_cast<uint8_t>(day / 100);
    e[SerialYear + 2] = ToBcd(day % 100);
    e[SerialYear + 3] = ToBcd(setup.serial % 100);
    e[SerialYear + 4] = ToBcd(setup.serial / 100);
    for (int i = 0; i < 4; ++i)
        e[size_t(Article + i)] = static_cast<uint8_t>(setup.articleCode >> (8 * i));
    e[AddressingRuns] = 2;
    e[SoftwareFlashes] = 1;
    // Firmware date and time: day, month, year, hour, minute in BCD.
    const uint8_t firmware[] = {ToBcd(date.day()), ToBcd(date.month()), ToBcd(date.year() % 100),
                                0x14, 0x30};
    std::copy(std::begin(firmware), std::end(firmware), e.begin() + 0x22);
    e[WindowsDetected] = static_cast<uint8_t>(windows);
    e[GapVentilationWidth] = 50;
    e[VentilationInterval] = 30;
    e[InputX15] = 1;
    e[InputX16] = 0;
    e[AutomaticModeTime] = 20;
    e[DrivePause] = static_cast<uint8_t>(setup.drivePauseS);
    for (auto it = setup.eeprom.cbegin(); it != setup.eeprom.cend(); ++it)
        e[size_t(it.key())] = it.value();
    return e;
}

SimulatedGroupUnit::SimulatedGroupUnit(const GroupUnitSetup& setup, int windows)
    : m_eeprom(BuildGroupUnitEeprom(setup, windows)), m_versionWord(setup.versionWord),
      m_status(setup.status)
{
    setFaults(setup.faults);
}

std::optional<uint16_t> SimulatedGroupUnit::answer(const BusRequest& request, uint64_t)
{
    switch (request.mode) {
    case EepromMode::Read:
        return m_eeprom[size_t(request.memory)];
    case EepromMode::Write:
        if (!request.writeLost)
            m_eeprom[size_t(request.memory)] = static_cast<uint8_t>(request.data & 0xFF);
        return request.data;
    case UnitMode::Setup:
        return request.data;
    case UnitMode::VersionWord:
        return m_versionWord;
    case UnitMode::Status:
        return m_status;
    default:
        return std::nullopt;
    }
}

// The simulated group control unit at window address 0: its EEPROM of production data and
// settings, and the unit's own telegrams for status (16h), version word (14h) and 0Eh.
#pragma once

#include "BusDevice.h"
#include "BusSetup.h"

#include <array>

using GroupUnitEepromImage = std::array<uint8_t, 1024>;

namespace GroupUnitByte {
constexpr int HardwareLow = 0x0C;
constexpr int SoftwareMinor = 0x0E;
constexpr int SoftwareMajor = 0x0F;
constexpr int SerialYear = 0x10;
constexpr int Article = 0x15; // four bytes, least significant first
constexpr int AddressingRuns = 0x20;
constexpr int SoftwareFlashes = 0x21;
constexpr int WindowsDetected = 0x2C;
constexpr int GapVentilationWidth = 0x2D;
constexpr int VentilationInterval = 0x30;
constexpr int InputX15 = 0x31;
constexpr int InputX16 = 0x32;
constexpr int AutomaticModeTime = 0x35;
constexpr int DrivePause = 0x100;
} // namespace GroupUnitByte

// The factory contents for `setup` on a bus with `windows` controllers, overrides applied.
[[nodiscard]] GroupUnitEepromImage BuildGroupUnitEeprom(const GroupUnitSetup& setup, int windows);

class SimulatedGroupUnit final : public BusDevice {
public:
    SimulatedGroupUnit(const GroupUnitSetup& setup, int windows);

    [[nodiscard]] int busAddress() const override { return 0; }
    [[nodiscard]] std::optional<uint16_t> answer(const BusRequest& request,
                                                 uint64_t nowUs) override;
    [[nodiscard]] uint8_t eepromByte(int address) const { return m_eeprom.at(size_t(address)); }

private:
    GroupUnitEepromImage m_eeprom;
    uint16_t m_versionWord;
    uint16_t m_status;
};

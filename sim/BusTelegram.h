// The window-bus telegram as the simulated devices read and write it: six bytes of mode, address
// field and data (both low byte first) and the XOR of the five in the sixth.
#pragma once

#include <array>
#include <cstdint>

using BusTelegram = std::array<uint8_t, 6>;

// Mode bytes of the EEPROM telegrams that controllers and the group control unit share.
namespace EepromMode {
constexpr uint8_t ReadWord = 0x06;
constexpr uint8_t WriteWord = 0x07;
constexpr uint8_t Read = 0x08;
constexpr uint8_t Write = 0x09;
} // namespace EepromMode

// A request telegram taken apart: the address field holds the window address in bits 7..2 of its
// low byte and a 10-bit memory address in the rest.
struct BusRequest {
    uint8_t mode = 0;
    uint16_t addressField = 0;
    int window = 0;
    int memory = 0;
    uint16_t data = 0;
    // An EEPROM write that the device answers as usual but does not store.
    bool writeLost = false;

    [[nodiscard]] bool isEepromWrite() const
    {
        return mode == EepromMode::Write || mode == EepromMode::WriteWord;
    }
};

// The XOR of bytes 0 to 4.
[[nodiscard]] uint8_t BusChecksum(const BusTelegram& telegram);
[[nodiscard]] BusTelegram EncodeBusTelegram(uint8_t mode, uint16_t addressField, uint16_t data);
[[nodiscard]] BusRequest DecodeRequest(const BusTelegram& telegram);

// Binary-coded decimal as the devices store dates and serial numbers: two decimal digits a byte,
// so that the hexadecimal display of the byte reads as the decimal number.
#pragma once

#include <cstdint>

[[nodiscard]] constexpr uint8_t ToBcd(int twoDigits)
{
    return static_cast<uint8_t>((twoDigits / 10 % 10) << 4 | twoDigits % 10);
}

[[nodiscard]] constexpr int FromBcd(uint8_t byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

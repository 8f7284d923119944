// The article numbers a simulated controller can be configured with, and the identification code
// it then carries in EEPROM 17h..1Ah (most significant byte first).
#pragma once

#include <QString>

#include <cstdint>

// The identification code of the controller article `article` ("480211"); 0 for an unknown one.
[[nodiscard]] uint32_t IdentificationCodeOf(const QString& article);

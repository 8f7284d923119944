// The 56 controller parameters read by number (name, read telegram, cyclic flag, cached value),
// their display texts, and the article table of identification codes.
#pragma once

#include <QString>

#include <cstdint>

constexpr int kParameterCount = 56;

// The supply voltage counts 37.43 mV; a chain drive moves 3.147 counts per millimetre.
constexpr double kVoltsPerCount = 0.03743;
constexpr double kChainMmPerCount = 0.31776294884016526;

// Parameter indices that flows name.
enum Parameter {
    ParState = 0,
    ParWindowKind = 1,
    ParHandle = 2,
    ParEventBits = 4,
    ParSupplyVoltage = 9,
    ParElectronicsSide = 21,
    ParMaxTiltPosition = 22,
    ParStatusEvents = 29,
    ParSoftwareVersion = 30,
    ParVariant = 31,
    ParChainLength = 47
};

struct TStrgItem {
    uint16_t value = 0;
    uint16_t memoryAddress = 0;
    uint16_t mode = 0;
    uint8_t data = 0;
    uint8_t cyclic = 0;
    QString name;
};

// The entry at `index` as built at start: initial value, telegram and name in the current language.
[[nodiscard]] TStrgItem InitialParameter(int index);
// The name of entry `index` in the current language.
[[nodiscard]] QString ParameterName(int index);
// The display text of a value of entry `index`: volts, "%X.%02X" version, or decimal.
[[nodiscard]] QString ParameterValueText(int index, uint16_t value);

// The article-number text of a controller's identification code (EEPROM 17h..1Ah, MSB first).
[[nodiscard]] QString ArticleText(uint32_t code);
// The identification code of an article number, the first of its codes; 0 when unknown.
[[nodiscard]] uint32_t ArticleCode(const QString& article);

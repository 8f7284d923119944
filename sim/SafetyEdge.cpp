#include "SafetyEdge.h"

namespace {

constexpr int kShortCircuitBit = 12;
constexpr int kInterruptedBit = 13;

struct InputPair {
    uint16_t first;
    uint16_t second;
};

// The two inputs of an edge by its condition: a closed resistor chain reads about half way, a
// pressed edge lower, an interrupted one near the top, a short circuit near zero.
InputPair inputsOf(int condition)
{
    switch (EdgeCondition(condition)) {
    case EdgeCondition::None:
        return {0, 0};
    case EdgeCondition::Pressed:
        return {181, 176};
    case EdgeCondition::Interrupted:
        return {1021, 1019};
    case EdgeCondition::ShortCircuit:
        return {4, 6};
    default:
        return {512, 508};
    }
}

} // namespace

uint16_t SafetyEdge::eventBits() const
{
    if (m_condition == int(EdgeCondition::Interrupted))
        return uint16_t(1u << kInterruptedBit);
    if (m_condition == int(EdgeCondition::ShortCircuit))
        return uint16_t(1u << kShortCircuitBit);
    return 0;
}

uint16_t SafetyEdge::inputValue(int input, bool slave) const
{
    const InputPair pair = inputsOf(m_condition);
    const uint16_t value = input == 1 ? pair.first : pair.second;
    // The slave's edge reads a count apart from the master's, towards the middle.
    if (!slave || value == 0)
        return value;
    return value > 512 ? value - 1 : value + 1;
}

// The safety edge of a simulated controller and of its PAF slave: whether one is fitted, the
// condition it reports, whether it is switched active, the analogue values of its two inputs.
#pragma once

#include "BusSetup.h"

#include <cstdint>

class SafetyEdge {
public:
    // `condition` is the code reported in parameter 06h; 0 when no edge is fitted.
    explicit SafetyEdge(int condition) : m_condition(condition) {}

    [[nodiscard]] bool isFitted() const { return m_condition != int(EdgeCondition::None); }
    [[nodiscard]] int condition() const { return m_condition; }
    [[nodiscard]] bool isActive() const { return m_active; }
    void toggleActive() { m_active = !m_active; }
    // An active edge that is pressed keeps the window from closing.
    [[nodiscard]] bool stopsClosing() const
    {
        return m_active && m_condition == int(EdgeCondition::Pressed);
    }
    // The event bits of an interrupted or short-circuited edge.
    [[nodiscard]] uint16_t eventBits() const;
    // The 10-bit value of input 1 or 2, of the controller's own edge or of its PAF slave's.
    [[nodiscard]] uint16_t inputValue(int input, bool slave) const;

private:
    int m_condition;
    bool m_active = true;
};

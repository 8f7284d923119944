// The supply voltage a simulated controller measures, in counts of 37.43 mV: the configured
// voltage, a little lower while its drive runs, with noise that changes every quarter second.
#pragma once

#include <cstdint>

class SupplyVoltage {
public:
    // `seed` makes the noise of two controllers differ; the same seed gives the same noise.
    SupplyVoltage(int nominalCounts, double noiseVolts, uint16_t seed);

    [[nodiscard]] static int countsOf(double volts);
    [[nodiscard]] int nominalCounts() const { return m_nominal; }
    [[nodiscard]] uint16_t measuredCounts(uint64_t nowUs, bool driveRunning) const;

private:
    int m_nominal;
    int m_noise; // counts either way
    uint16_t m_seed;
};

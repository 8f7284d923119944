#include "SupplyVoltage.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kVoltsPerCount = 0.03743;
constexpr double kDriveLoadVolts = 0.4;
constexpr uint64_t kNoiseStepUs = 250'000;

// A well-mixed 64-bit number from `x` (splitmix64), so that neighbouring steps look unrelated.
uint64_t mixed(uint64_t x)
{
    x += 0x9E3779B97F4A7C15u;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return x ^ (x >> 31);
}

} // namespace

SupplyVoltage::SupplyVoltage(int nominalCounts, double noiseVolts, uint16_t seed)
    : m_nominal(nominalCounts), m_noise(countsOf(noiseVolts)), m_seed(seed)
{}

int SupplyVoltage::countsOf(double volts)
{
    return static_cast<int>(std::lround(volts / kVoltsPerCount));
}

uint16_t SupplyVoltage::measuredCounts(uint64_t nowUs, bool driveRunning) const
{
    int counts = m_nominal - (driveRunning ? countsOf(kDriveLoadVolts) : 0);
    if (m_noise > 0) {
        const uint64_t step = nowUs / kNoiseStepUs;
        const auto spread = static_cast<uint64_t>(2 * m_noise + 1);
        counts += static_cast<int>(mixed(uint64_t(m_seed) << 48 ^ step) % spread) - m_noise;
    }
    return static_cast<uint16_t>(std::clamp(counts, 0, 0xFFFF));
}

#include "DriveMotion.h"

#include <algorithm>
#include <cstdlib>

DriveMotion::DriveMotion(int countsPerSecond) : m_countsPerSecond(std::max(1, countsPerSecond)) {}

std::optional<uint64_t> DriveMotion::arrivalUs() const
{
    if (!m_moving)
        return std::nullopt;
    const uint64_t distance = static_cast<uint64_t>(std::abs(m_target - m_startPosition));
    const uint64_t travelUs = (distance * 1'000'000 + m_countsPerSecond - 1) / m_countsPerSecond;
    return m_sinceUs + travelUs;
}

void DriveMotion::advanceTo(uint64_t nowUs)
{
    if (!m_moving || nowUs < m_sinceUs)
        return;
    if (nowUs >= *arrivalUs()) {
        m_position = m_target;
        m_moving = false;
        return;
    }
    const auto covered = static_cast<int>((nowUs - m_sinceUs) * m_countsPerSecond / 1'000'000);
    m_position = m_target > m_startPosition ? m_startPosition + covered : m_startPosition - covered;
}

void DriveMotion::moveTo(int target, uint64_t nowUs)
{
    advanceTo(nowUs);
    m_target = target;
    m_startPosition = m_position;
    m_sinceUs = nowUs;
    m_moving = target != m_position;
}

void DriveMotion::stop(uint64_t nowUs)
{
    advanceTo(nowUs);
    m_moving = false;
    m_target = m_position;
}

void DriveMotion::setPosition(int position)
{
    m_position = position;
    m_startPosition = position;
    m_target = position;
    m_moving = false;
}

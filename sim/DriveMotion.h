// The drive of a simulated controller: a position in counts that moves at a fixed speed towards
// a target over time, computed for whatever moment it is asked about.
#pragma once

#include <cstdint>
#include <optional>

class DriveMotion {
public:
    explicit DriveMotion(int countsPerSecond);

    [[nodiscard]] int position() const { return m_position; }
    [[nodiscard]] bool isMoving() const { return m_moving; }
    // When the running move reaches its target; nothing while standing.
    [[nodiscard]] std::optional<uint64_t> arrivalUs() const;

    // Brings the position to the time `nowUs`; a move that reaches its target stops there.
    void advanceTo(uint64_t nowUs);
    void moveTo(int target, uint64_t nowUs);
    void stop(uint64_t nowUs);
    // Takes the current position as `position`, as a calibration does.
    void setPosition(int position);

private:
    int m_countsPerSecond;
    int m_position = 0;
    int m_target = 0;
    bool m_moving = false;
    uint64_t m_sinceUs = 0;
    int m_startPosition = 0;
};

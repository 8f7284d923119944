// One clock for every wait of the bus code: a millisecond tick, sleeps and short busy waits.
// The program uses the real monotonic clock; unit tests use the virtual one, which only moves when
// waited on.
#pragma once

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds of a monotonic clock; wraps like a 32-bit system tick.
    [[nodiscard]] virtual uint32_t tickMs() = 0;
    // Microseconds of the same clock, for time limits that must not overrun by a tick.
    [[nodiscard]] virtual uint64_t monotonicUs() = 0;
    virtual void sleepMs(uint32_t ms) = 0;
    // Whether a high-resolution counter exists for microsecond busy waits.
    [[nodiscard]] virtual bool hasHighResolutionCounter() const = 0;
    // Spins on the high-resolution counter without yielding.
    virtual void busyWaitUs(uint32_t us) = 0;

    // Sleeps until at least `ms` have passed since the tick `since`.
    void sleepUntilElapsed(uint32_t since, uint32_t ms);
};

// Wall time of a steady clock, independent of changes to the date.
class RealClock final : public Clock {
public:
    uint32_t tickMs() override;
    uint64_t monotonicUs() override;
    void sleepMs(uint32_t ms) override;
    bool hasHighResolutionCounter() const override { return true; }
    void busyWaitUs(uint32_t us) override;
};

// Time that passes only when code waits on it, in microseconds; for tests and the in-memory bus.
class VirtualClock final : public Clock {
public:
    uint32_t tickMs() override { return static_cast<uint32_t>(m_nowUs / 1000); }
    void sleepMs(uint32_t ms) override { m_nowUs += uint64_t(ms) * 1000; }
    bool hasHighResolutionCounter() const override { return m_counter; }
    void busyWaitUs(uint32_t us) override { m_nowUs += us; }

    uint64_t monotonicUs() override { return m_nowUs; }

    [[nodiscard]] uint64_t nowUs() const { return m_nowUs; }
    void advanceUs(uint64_t us) { m_nowUs += us; }
    void setHighResolutionCounter(bool available) { m_counter = available; }

private:
    uint64_t m_nowUs = 0;
    bool m_counter = true;
};

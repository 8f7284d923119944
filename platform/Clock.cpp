#include "Clock.h"

#include <chrono>
#include <thread>

void Clock::sleepUntilElapsed(uint32_t since, uint32_t ms)
{
    const uint32_t elapsed = tickMs() - since;
    if (elapsed < ms)
        sleepMs(ms - elapsed);
}

uint32_t RealClock::tickMs()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint64_t RealClock::monotonicUs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void RealClock::sleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void RealClock::busyWaitUs(uint32_t us)
{
    using namespace std::chrono;
    const auto end = steady_clock::now() + microseconds(us);
    while (steady_clock::now() < end) {
    }
}

// The bus end of the PC's serial line: frames the PC's bytes into requests, lets the bus answer,
// and holds each reply byte with the time it becomes readable, on the caller's time base.
#pragma once

#include "SimulatedBus.h"
#include "TelegramFramer.h"
#include "TelegramLog.h"

#include <deque>
#include <optional>

// Both transports share it: the in-memory one on the virtual clock, the pseudo-terminal in real
// time.
class BusLine {
public:
    explicit BusLine(SimulatedBus& bus);

    // The line's baud rate sets how long one byte (start, 8 data and stop bit) takes.
    void setBaud(uint32_t baud);
    [[nodiscard]] uint32_t byteUs() const { return m_byteUs; }
    void setLog(TelegramLog* log) { m_log = log; }

    // A byte from the PC whose last bit arrived at `atUs`.
    void receive(uint8_t byte, uint64_t atUs);
    // When the byte `index` places behind the next unread one becomes readable, looking no
    // further ahead than `horizonUs`; nothing when no such byte is on its way by then.
    [[nodiscard]] std::optional<uint64_t> readableAt(size_t index, uint64_t nowUs,
                                                     uint64_t horizonUs);
    // Takes up to `count` bytes that are readable at `nowUs`.
    int take(uint8_t* buffer, int count, uint64_t nowUs);
    // Drops every byte readable at `nowUs`, as a purge of the PC's input does.
    void discardReadable(uint64_t nowUs);

private:
    // Foreign traffic of a bus that never falls silent: a byte in every byte time up to
    // `untilUs`, of which an unread line keeps no more than a receive buffer holds.
    void addTraffic(uint64_t nowUs, uint64_t untilUs);

    struct TimedByte {
        uint8_t byte;
        uint64_t atUs;
    };
    SimulatedBus& m_bus;
    TelegramFramer m_framer;
    TelegramLog* m_log = nullptr;
    uint32_t m_byteUs = 0;
    std::deque<TimedByte> m_out;
    uint64_t m_lastByteUs = 0; // when the last byte put on the line for the PC ends
};

// What can go wrong with the replies of one simulated device or of the whole bus, and how a reply
// is garbled by it on its way to the PC. Faults are fixed settings, so every run reproduces them.
#pragma once

#include <QByteArray>

#include <cstdint>

struct ReplyFaults {
    bool silent = false;        // the device never answers
    int strayBytes = 0;         // 0..3 foreign bytes ahead of every reply
    bool wrongChecksum = false; // byte 5 of the reply does not match
    int shortReply = 0;         // 0: the whole reply; 1..5: only that many of its bytes
    uint32_t delayMs = 0;       // added to the normal turnaround before the reply starts

    [[nodiscard]] bool operator==(const ReplyFaults&) const = default;
};

// A byte that differs from `echo`, so that it can never be taken for the start of the reply.
[[nodiscard]] uint8_t StrayByteFor(uint8_t echo);

// The bytes that reach the line for the reply `bytes` under `faults` (not for `silent`, which the
// bus handles by leaving the device out).
[[nodiscard]] QByteArray GarbleReply(QByteArray bytes, const ReplyFaults& faults);

// Cuts the byte stream from the PC into request telegrams the way a device's receiver does, so
// that a lone baud-rate switch byte or noise never shifts the telegrams after it.
#pragma once

#include "BusTelegram.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

// A pause between two bytes starts a new telegram; six bytes whose checksum does not match lose
// their first byte.
class TelegramFramer {
public:
    explicit TelegramFramer(uint32_t gapUs) : m_gapUs(gapUs) {}

    struct Result {
        std::optional<BusTelegram> telegram; // complete with a matching checksum
        QByteArray dropped;                  // bytes given up as not belonging to any telegram
        uint64_t droppedAtUs = 0;            // when the last of them arrived
    };
    // Takes one byte that arrived at `atUs`.
    [[nodiscard]] Result push(uint8_t byte, uint64_t atUs);

    void setGapUs(uint32_t gapUs) { m_gapUs = gapUs; }

private:
    uint32_t m_gapUs;
    QByteArray m_partial;
    uint64_t m_lastUs = 0;
};

// Which requests on the simulated bus a single-request fault hits: by the request's number on the
// bus, its mode, its window address and its memory address, each left open when not given.
#pragma once

#include "BusTelegram.h"

#include <cstdint>
#include <optional>

struct RequestMatch {
    std::optional<uint8_t> mode = std::nullopt;
    std::optional<int> window = std::nullopt;
    // The 10-bit memory address of the address field.
    std::optional<int> memory = std::nullopt;
    // The Nth request the bus received, counted from 1 since the bus was built.
    std::optional<uint64_t> nth = std::nullopt;

    // Whether `request`, the `number`th request the bus received, is one of those selected.
    [[nodiscard]] bool matches(const BusRequest& request, uint64_t number) const;
};

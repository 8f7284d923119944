// What a PAF master (controller type 8) reports about its slave, as the PAF-slave group shows it:
// position, magnet, error bits, status and state, drive sides and last reversal.
#pragma once

#include "ControllerView.h"

#include <optional>

// The slave values of one refresh; a failed read is nothing.
struct PafSlaveReadings {
    std::optional<int> position; // parameter 43
    std::optional<int> magnet;   // parameter 46
    std::optional<int> errors;   // parameter 44
    std::optional<int> status;   // parameter 45
    std::optional<int> drives;   // parameter 54
    std::optional<int> reversal; // parameter 53
};

// The group's labels in a type-8 refresh. The slave state comes from `statusWord`, parameter 45
// as delivered (its last good value when the read failed); commissioning of the master replaces it.
[[nodiscard]] ControllerView DecodePafSlave(const PafSlaveReadings& readings, int statusWord,
                                            bool commissioning);

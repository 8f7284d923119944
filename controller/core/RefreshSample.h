// The measured values one refresh of the controller window read, as the trend plots them and a
// recording writes them; a value whose read failed (or was not made) is nothing.
#pragma once

#include <optional>

struct RefreshSample {
    int controllerType = 1;
    bool commissioning = false;
    // Parameter 0, the last good read of the refresh.
    std::optional<int> stateCode;
    // Parameter 4; nothing is the missing communication that ends a refresh early.
    std::optional<int> eventBits;
    // The position label's millimetres and the supply in volts.
    std::optional<double> positionMm;
    std::optional<double> supplyVolts;
    // The two analogue inputs, where the controller has a safety edge.
    std::optional<int> safetyEdge1;
    std::optional<int> safetyEdge2;
    std::optional<int> rawHall;
    // Reason of the last reversal (parameter 23).
    std::optional<int> reversal;

    [[nodiscard]] bool operator==(const RefreshSample&) const = default;
};

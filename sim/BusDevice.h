// One device on the simulated window bus as the bus sees it: the address it answers at, the data
// word it replies to a request with, and the faults that garble its replies.
#pragma once

#include "BusTelegram.h"
#include "ReplyFaults.h"

#include <cstdint>
#include <optional>

class BusDevice {
public:
    virtual ~BusDevice() = default;

    // The window address the device answers at.
    [[nodiscard]] virtual int busAddress() const = 0;
    // The data word of the reply to `request` at the time `nowUs`; nothing when the device
    // does not answer this request. The reply echoes the mode and the address field.
    [[nodiscard]] virtual std::optional<uint16_t> answer(const BusRequest& request,
                                                         uint64_t nowUs) = 0;

    [[nodiscard]] const ReplyFaults& faults() const { return m_faults; }
    void setFaults(const ReplyFaults& faults) { m_faults = faults; }

private:
    ReplyFaults m_faults;
};

// The single-request faults of a simulated bus: counts the requests the bus receives, finds the
// rules that hit each one and uses up their counts.
#pragma once

#include "RequestFault.h"
#include "RequestMatch.h"

#include <optional>
#include <vector>

// The replies of the requests that `match` selects get `fault`: the first `times` of them, or
// every one when `times` is not given.
struct ReplyFaultRule {
    RequestMatch match;
    RequestFault fault;
    std::optional<int> times = std::nullopt;
};

// The EEPROM writes that `match` selects are answered as usual but not stored: the first `times`
// of them, or every one when `times` is not given.
struct LostWriteRule {
    RequestMatch match;
    std::optional<int> times = std::nullopt;
};

class RequestFaultRules {
public:
    void add(const ReplyFaultRule& rule) { m_replyRules.push_back(rule); }
    void add(const LostWriteRule& rule) { m_lostWrites.push_back(rule); }

    // Counts `request` as the next one received and marks it when its write is lost; the fault of
    // its reply when a rule hits it. Of several rules that match, the one added first hits.
    [[nodiscard]] std::optional<RequestFault> take(BusRequest& request);
    [[nodiscard]] uint64_t requestsReceived() const { return m_received; }

private:
    std::vector<ReplyFaultRule> m_replyRules;
    std::vector<LostWriteRule> m_lostWrites;
    uint64_t m_received = 0;
};

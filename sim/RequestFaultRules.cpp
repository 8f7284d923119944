#include "RequestFaultRules.h"

#include <algorithm>

namespace {

// The first rule of `rules` that selects the `number`th request and is not used up, with its count
// taken down by one; null when none hits.
template <typename Rule>
Rule* hit(std::vector<Rule>& rules, const BusRequest& request, uint64_t number)
{
    const auto found = std::find_if(rules.begin(), rules.end(), [&](const Rule& rule) {
        return (!rule.times || *rule.times > 0) && rule.match.matches(request, number);
    });
    if (found == rules.end())
        return nullptr;
    if (found->times)
        --*found->times;
    return &*found;
}

} // namespace

std::optional<RequestFault> RequestFaultRules::take(BusRequest& request)
{
    const uint64_t number = ++m_received;
    if (request.isEepromWrite() && hit(m_lostWrites, request, number))
        request.writeLost = true;
    if (const ReplyFaultRule* rule = hit(m_replyRules, request, number))
        return rule->fault;
    return std::nullopt;
}

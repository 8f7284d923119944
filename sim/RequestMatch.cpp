#include "RequestMatch.h"

bool RequestMatch::matches(const BusRequest& request, uint64_t number) const
{
    return (!mode || *mode == request.mode) && (!window || *window == request.window) &&
           (!memory || *memory == request.memory) && (!nth || *nth == number);
}

#include "BusDevice.h"

BusRequest DecodeRequest(const Telegram& telegram)
{
    BusRequest request;
    request.mode = telegram[0];
    request.addressField = static_cast<uint16_t>(telegram[1] | telegram[2] << 8);
    request.window = telegram[1] >> 2;
    request.memory = (telegram[1] & 3) << 8 | telegram[2];
    request.data = static_cast<uint16_t>(telegram[3] | telegram[4] << 8);
    return request;
}

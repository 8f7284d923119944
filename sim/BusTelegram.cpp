#include "BusTelegram.h"

uint8_t BusChecksum(const BusTelegram& telegram)
{
    return static_cast<uint8_t>(telegram[0] ^ telegram[1] ^ telegram[2] ^ telegram[3] ^
                                telegram[4]);
}

BusTelegram EncodeBusTelegram(uint8_t mode, uint16_t addressField, uint16_t data)
{
    BusTelegram t = {mode,
                     static_cast<uint8_t>(addressField & 0xFF),
                     static_cast<uint8_t>(addressField >> 8),
                     static_cast<uint8_t>(data & 0xFF),
                     static_cast<uint8_t>(data >> 8),
                     0};
    t[5] = BusChecksum(t);
    return t;
}

BusRequest DecodeRequest(const BusTelegram& telegram)
{
    BusRequest request;
    request.mode = telegram[0];
    request.addressField = static_cast<uint16_t>(telegram[1] | telegram[2] << 8);
    request.window = telegram[1] >> 2;
    request.memory = (telegram[1] & 3) << 8 | telegram[2];
    request.data = static_cast<uint16_t>(telegram[3] | telegram[4] << 8);
    return request;
}

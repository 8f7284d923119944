#include "ReplyFaults.h"

namespace {

constexpr uint8_t kStrayByte = 0xEE;
constexpr uint8_t kChecksumFlip = 0x5A;

} // namespace

uint8_t StrayByteFor(uint8_t echo)
{
    return echo == kStrayByte ? kStrayByte + 1 : kStrayByte;
}

QByteArray GarbleReply(QByteArray bytes, const ReplyFaults& faults)
{
    if (bytes.isEmpty())
        return bytes;
    if (faults.wrongChecksum && bytes.size() >= 6)
        bytes[5] = static_cast<char>(static_cast<uint8_t>(bytes[5]) ^ kChecksumFlip);
    if (faults.shortReply > 0 && faults.shortReply < bytes.size())
        bytes.truncate(faults.shortReply);
    const char stray = static_cast<char>(StrayByteFor(static_cast<uint8_t>(bytes[0])));
    return QByteArray(faults.strayBytes, stray) + bytes;
}

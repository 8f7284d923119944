#include "RequestFault.h"

#include "ReplyFaults.h"

QByteArray RequestFault::applyTo(const QByteArray& reply) const
{
    ReplyFaults garbling;
    switch (kind) {
    case Kind::Silence:
        return {};
    case Kind::WrongChecksum:
        garbling.wrongChecksum = true;
        break;
    case Kind::ShortReply:
        garbling.shortReply = bytes;
        break;
    case Kind::StrayBytes:
        garbling.strayBytes = bytes;
        break;
    }
    return GarbleReply(reply, garbling);
}

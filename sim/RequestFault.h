// What a single-request fault does to the reply of the request it hits. The devices act on the
// request all the same; only its reply is lost or garbled on the way to the PC.
#pragma once

#include <QByteArray>

struct RequestFault {
    enum class Kind { Silence, WrongChecksum, ShortReply, StrayBytes };

    Kind kind = Kind::Silence;
    int bytes = 0; // ShortReply: the bytes that arrive, 1..5; StrayBytes: those ahead, 1..3

    [[nodiscard]] static RequestFault silence() { return {Kind::Silence, 0}; }
    [[nodiscard]] static RequestFault wrongChecksum() { return {Kind::WrongChecksum, 0}; }
    [[nodiscard]] static RequestFault shortReply(int arriving)
    {
        return {Kind::ShortReply, arriving};
    }
    [[nodiscard]] static RequestFault strayBytes(int ahead) { return {Kind::StrayBytes, ahead}; }

    // The bytes that reach the line instead of `reply`.
    [[nodiscard]] QByteArray applyTo(const QByteArray& reply) const;

    [[nodiscard]] bool operator==(const RequestFault&) const = default;
};

// The client's side of Telnet with RFC 2217's COM-PORT-OPTION: escapes the data, takes received
// bytes apart into data, option negotiation and the gateway's replies, and answers the negotiation.
#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>

namespace ComPort {
// COM-PORT-OPTION commands of the client; the gateway replies with the command plus 100.
enum Command : uint8_t {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
    PurgeData = 12,
};
enum Control : uint8_t { NoFlowControl = 1, DtrOn = 8, DtrOff = 9, RtsOn = 11, RtsOff = 12 };
// PURGE-DATA of both the gateway's receive and transmit buffer.
constexpr uint8_t kPurgeBoth = 3;
} // namespace ComPort

class Rfc2217Framing {
public:
    // What the client sends first: it will use COM-PORT-OPTION, and binary transmission both
    // ways; the negotiation starts afresh.
    [[nodiscard]] QByteArray opening();
    // Data as it goes on the connection: IAC doubled.
    [[nodiscard]] static QByteArray escaped(const QByteArray& data);
    // One COM-PORT-OPTION command with its value, escaped.
    [[nodiscard]] static QByteArray command(uint8_t command, const QByteArray& value);

    // Takes bytes from the gateway: their data is appended to `data`; returns the answers to the
    // negotiation, to be sent back.
    [[nodiscard]] QByteArray receive(const QByteArray& bytes, QByteArray& data);

    // Whether the gateway agreed to COM-PORT-OPTION, or refused it.
    [[nodiscard]] bool comPortAgreed() const { return m_local[kComPort] == Yes; }
    [[nodiscard]] bool comPortRefused() const { return m_local[kComPort] == No; }
    // The value of the gateway's reply to `command` since it was last forgotten.
    [[nodiscard]] std::optional<QByteArray> reply(uint8_t command) const;
    void forgetReply(uint8_t command) { m_replies[command].reset(); }

private:
    static constexpr uint8_t kComPort = 44;
    // One side of an option: off, asked for by us, or agreed.
    enum State : uint8_t { No, WantYes, Yes };

    void negotiate(uint8_t verb, uint8_t option, QByteArray& answers);
    void subnegotiation();

    enum class Stage { Data, Command, Option, Sub, SubCommand } m_stage = Stage::Data;
    uint8_t m_verb = 0;
    QByteArray m_sub;
    // What we do (WILL/WONT) and what the gateway does (DO/DONT), by option.
    std::array<State, 256> m_local{};
    std::array<State, 256> m_remote{};
    std::array<std::optional<QByteArray>, 256> m_replies;
};

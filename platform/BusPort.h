// The port the bus is reached through: a COM number, or a serial gateway on the network reached
// over raw TCP or over Telnet with RFC 2217; with the text form the user reads and types.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct NetworkPort {
    // Raw TCP passes the bytes as they are, the line is set on the gateway; RFC 2217 sets the
    // line through Telnet commands around the data.
    enum class Protocol { RawTcp, Rfc2217 };
    Protocol protocol = Protocol::RawTcp;
    QString host;
    uint16_t port = 0;

    bool operator==(const NetworkPort&) const = default;
};

// "tcp://HOST:PORT" or "rfc2217://HOST:PORT"; an IPv6 address stands in brackets.
[[nodiscard]] QString NetworkPortText(const NetworkPort& port);
// Reads that form; nothing for another scheme, no host, a port outside 1..65535 or anything
// after the port.
[[nodiscard]] std::optional<NetworkPort> ParseNetworkPort(const QString& text);

class BusPort {
public:
    // A COM number is a port, so a number stands wherever a port is asked for.
    BusPort(int comNumber = 1) : m_comNumber(comNumber) {}
    BusPort(NetworkPort network) : m_network(std::move(network)) {}

    // The gateway; none for a COM port.
    [[nodiscard]] const NetworkPort* network() const { return m_network ? &*m_network : nullptr; }
    [[nodiscard]] int comNumber() const { return m_comNumber; }
    // "COM3", or the gateway's address.
    [[nodiscard]] QString text() const;
    // As the command line takes a port: a COM number ("3" or "COM3") or a gateway's address.
    [[nodiscard]] static std::optional<BusPort> parse(const QString& text);

private:
    int m_comNumber = 1;
    std::optional<NetworkPort> m_network;
};

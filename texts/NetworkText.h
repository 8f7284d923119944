// The network gateway's texts, by their place after the first of them in the language table, and
// their lookup in the current language.
#pragma once

#include <QString>

namespace NetworkText {
enum : int {
    Gateway = 0,
    Host,
    TcpPort,
    Protocol,
    RawTcp,
    Rfc2217,
    HostNotFound,     // %1 host
    Refused,          // %1 address
    TimedOut,         // %1 address
    NoComPortOption,  // %1 address
    LineRefused,      // %1 address, %2 baud rate
    ConnectionClosed, // %1 address
    RoundTrip,        // %1 milliseconds
};
} // namespace NetworkText
[[nodiscard]] QString NetworkLanguageText(int networkText);

// "Fenestrix.ini": three lines, COM<port>, the baud rate and Sprache<language>, and a fourth
// with the network gateway once one was entered. Read at start-up; written at shutdown.
#pragma once

#include "platform/BusPort.h"

#include <QString>

#include <cstdint>
#include <optional>

struct Settings {
    int comPort = 1;
    uint32_t baud = 19200;
    int language = 0;
    // The gateway last entered in the port dialog, and whether it is the port in use; the COM
    // port keeps its line either way, so that a reader of three lines still finds its port.
    std::optional<NetworkPort> gateway = std::nullopt;
    bool overNetwork = false;
};

inline const QString kSettingsFileName = QStringLiteral("Fenestrix.ini");

// Parses the file's text. Line breaks match any run of white space, and blanks may stand between
// "COM" or "Sprache" and the number; reading stops at the first field that does not match,
// leaving the defaults for the rest. A port below 1 becomes 1 and a language outside 0..5
// becomes 0. The fourth line, "Netzwerk1 tcp://HOST:PORT" (in use) or "Netzwerk0 ..." (kept for
// the port dialog), is read only after a complete third line; a bad address is no gateway.
[[nodiscard]] Settings ParseSettings(const QByteArray& text);
// Reads the file; nothing when it cannot be opened.
[[nodiscard]] std::optional<Settings> ReadSettingsFile(const QString& path);
// Writes the file completely or not at all.
bool WriteSettingsFile(const QString& path, const Settings& settings);

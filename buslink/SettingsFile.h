// "Fenestrix.ini": three lines, COM<port>, the baud rate and Sprache<language>.
// Read by the access object at construction and by the main window; written at shutdown.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct Settings {
    int comPort = 1;
    uint32_t baud = 19200;
    int language = 0;
};

inline const QString kSettingsFileName = QStringLiteral("Fenestrix.ini");

// Parses the file's text. Line breaks match any run of white space, and blanks may stand between
// "COM" or "Sprache" and the number; reading stops at the first field that does not match,
// leaving the defaults for the rest. A port below 1 becomes 1 and a language outside 0..5
// becomes 0.
[[nodiscard]] Settings ParseSettings(const QByteArray& text);
// Reads the file; nothing when it cannot be opened.
[[nodiscard]] std::optional<Settings> ReadSettingsFile(const QString& path);
// Writes the file completely or not at all.
bool WriteSettingsFile(const QString& path, const Settings& settings);

// Reading controllers for a backup or a comparison: the whole EEPROM in two passes, a third read
// of every byte the passes disagree on, the identity; and saving what was read to a file.
#pragma once

#include "ControllerBackup.h"

#include <QList>

#include <optional>

class EepromFlowHost;
class TFensterSteuerung;

// The tool's name and version as a backup file records it.
[[nodiscard]] QString ToolVersionText();

class BackupRead {
public:
    BackupRead(TFensterSteuerung& bus, EepromFlowHost& host);

    // The controllers at `addresses`, one after the other under one progress dialog; the window
    // address is put back afterwards. Nothing when the user cancelled or a byte could not be read
    // reliably; the user was told which.
    [[nodiscard]] std::optional<QList<ControllerBackup>> read(const QList<int>& addresses);
    // Reads the controllers and writes them to `path` as one file (never a part of them); tells
    // the user where it went or why nothing was written.
    bool save(const QList<int>& addresses, const QString& path);

private:
    enum class Outcome { Read, Cancelled, Unreadable };
    struct ReadOutcome {
        Outcome outcome;
        QString unreadable; // what could not be read: a byte or the software version
    };
    [[nodiscard]] ReadOutcome readController(int progressBase, ControllerBackup& backup);

    TFensterSteuerung& m_bus;
    EepromFlowHost& m_host;
};

// The controller window's backup commands without widgets: save the open controller, compare it
// with a backup file, restore a backup's settings onto it; the window shows what they produce.
#pragma once

#include "BackupCompare.h"
#include "ControllerBackup.h"

#include <QString>

#include <optional>

class Clock;
class EepromFlowHost;
class TFensterSteuerung;

struct Comparison {
    QDateTime savedAt;
    ControllerIdentity saved;
    QList<ByteDifference> differences;
};

class BackupFlows {
public:
    BackupFlows(TFensterSteuerung& bus, Clock& clock, EepromFlowHost& host,
                QString programDirectory);

    // The open controller (the bus's window address) into a new file at `path`.
    bool save(const QString& path);
    // The differences of the open controller from its entry in the file at `path`; nothing when
    // the file was refused, the read cancelled or failed, or no entry fits (the user was told).
    [[nodiscard]] std::optional<Comparison> compare(const QString& path);
    // Writes the settings of the file's entry to the open controller; true when written.
    bool restore(const QString& path);

private:
    struct Pair {
        QDateTime savedAt;
        ControllerBackup saved;
        ControllerBackup now;
    };
    // The file and the controller as it is now, both read; nothing after telling the user why.
    [[nodiscard]] std::optional<Pair> load(const QString& path);

    TFensterSteuerung& m_bus;
    Clock& m_clock;
    EepromFlowHost& m_host;
    QString m_programDirectory;
};

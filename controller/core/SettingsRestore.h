// Writing a backup's settings to a controller: what would change, whether the backup fits the
// controller at all, and the writes with their read-backs and the page checksums.
#pragma once

#include "ControllerBackup.h"

#include <QList>
#include <QString>

#include <optional>

class Clock;
class TFensterSteuerung;
class UserMessages;

struct ByteChange {
    int address = 0;
    int from = 0;
    int to = 0;
};

enum class RestoreRefusal { None, OtherType, OtherSoftware };

struct RestorePlan {
    RestoreRefusal refusal = RestoreRefusal::None;
    // The setting bytes that differ, in the order they are written; then the checksums of pages
    // 0 and 1 that differ from what the bytes will make them.
    QList<ByteChange> settings;
    QList<ByteChange> checksums;
};

// A backup fits a controller of the same type and variant with software of the same major
// version, whose settings mean the same.
[[nodiscard]] RestorePlan PlanRestore(const ControllerBackup& saved, const ControllerBackup& now);
// Why the backup does not fit, for a message.
[[nodiscard]] QString RefusalText(const RestorePlan& plan, const ControllerBackup& saved,
                                  const ControllerBackup& now);
// One line per setting: address, name, the value now and the value it gets.
[[nodiscard]] QString ChangeLines(const QList<ByteChange>& changes, const ControllerBackup& saved,
                                  const ControllerBackup& now);

class SettingsRestore {
public:
    SettingsRestore(TFensterSteuerung& bus, Clock& clock, UserMessages& messages);

    // Refuses a backup that does not fit, says when nothing differs, else asks with the list of
    // changes, checksums included ("No" the default), and writes. `now` is the controller at the
    // window address as just read. True when everything was written and read back.
    bool restore(const ControllerBackup& saved, const ControllerBackup& now);

private:
    // Writes the plan's bytes with the write enable, each read back after the settle time; the
    // bytes written until one failed, and the one that failed.
    [[nodiscard]] std::optional<ByteChange> write(const RestorePlan& plan,
                                                  QList<ByteChange>& written);

    TFensterSteuerung& m_bus;
    Clock& m_clock;
    UserMessages& m_messages;
};

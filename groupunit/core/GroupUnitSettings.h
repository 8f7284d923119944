// The group control unit dialog's work on the bus: the read sequence of its status values and
// settings, and the apply that writes only the settings changed since they were read or written.
#pragma once

#include <QString>

#include <array>
#include <optional>

class Clock;
class TFensterSteuerung;
class UserMessages;

// The list settings, in the order the apply writes them.
enum GroupUnitList { GapWidth, Interval, AutomaticTime, InputX15, InputX16, kGroupUnitLists };

// What the dialog shows after reading: the four status texts ("?" when unread), the drive pause
// (nothing: leave the control), per list its entry and whether it can be changed, and whether
// everything could be read.
struct GroupUnitReading {
    QString status = QStringLiteral("?");
    QString addressingRuns = QStringLiteral("?");
    QString softwareFlashes = QStringLiteral("?");
    QString windowsDetected = QStringLiteral("?");
    std::optional<int> drivePause;
    // Nothing: the control keeps its previous selection.
    std::array<std::optional<int>, kGroupUnitLists> index{};
    std::array<bool, kGroupUnitLists> enabled{};
    bool extendedNumbering = true;
    bool complete = true;
};

// The dialog's current choice when "Übernehmen" is pressed.
struct GroupUnitChoice {
    int drivePause = 0;
    std::array<int, kGroupUnitLists> index{};
    std::array<bool, kGroupUnitLists> enabled{};
};

class GroupUnitHost {
public:
    virtual ~GroupUnitHost() = default;
    [[nodiscard]] virtual UserMessages& messages() = 0;
    // A new drive pause was written: the group drive uses it from now on.
    virtual void setGroupDrivePause(int seconds) = 0;
};

class GroupUnitSettings {
public:
    GroupUnitSettings(TFensterSteuerung& bus, Clock& clock);

    // Reads everything again; the caller shows text 348 and closes when it is not complete.
    [[nodiscard]] GroupUnitReading read();
    // Writes the changed settings and tells the user how it went.
    void apply(const GroupUnitChoice& choice, GroupUnitHost& host);

private:
    [[nodiscard]] std::optional<int> exchange(int mode, int memoryAddress, int data);
    [[nodiscard]] std::optional<int> readByte(int memoryAddress);
    void readList(GroupUnitList list, int memoryAddress, GroupUnitReading& reading);
    [[nodiscard]] bool writeByte(int memoryAddress, int value);

    TFensterSteuerung& m_bus;
    Clock& m_clock;
    bool m_extended = true;
    int m_drivePause = 0;
    std::array<int, kGroupUnitLists> m_index{};
};

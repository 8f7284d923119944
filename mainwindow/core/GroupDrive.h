// The group drive sequence: every controller of the window list driven open, closed or half
// open, one after another with a pause between two commands, one step per 500 ms tick.
#pragma once

#include <QString>

class TFensterSteuerung;
class WindowListModel;

// The drive kinds of the main window's group buttons.
enum GroupDriveKind { GroupOpen = 0, GroupClose = 1, GroupHalfOpen = 2 };

// The telegram of one drive command, sent to memory address 0 of a controller.
struct GroupDriveCommand {
    int mode;
    int data;
};
[[nodiscard]] GroupDriveCommand GroupDriveCommandOf(int driveKind);

// The status text while `ticksLeft` ticks of 500 ms remain before the next command, in whole
// seconds rounded down: "Fahrpause 3 Sekunden".
[[nodiscard]] QString PauseStatusText(int ticksLeft);

// Counts the pause down and, when it runs out, sends the drive command to the next list row.
// Works on the access object and the list only.
class GroupDriveSequence {
public:
    enum class Step { Counting, Sent, Finished };

    GroupDriveSequence(TFensterSteuerung& bus, const WindowListModel& list);

    // Idle at the first row to drive: the row after the group control unit when it is listed
    // first, else the first row. The progress maximum is the number of rows to drive.
    void reset(int driveKind);
    // The first command goes out on the next tick.
    void start();
    void stop() { m_running = false; }
    // One tick of a running sequence. After a command the pause is `pauseTicks` ticks; after the
    // last row the sequence has stopped and the result is Finished.
    [[nodiscard]] Step tick(int pauseTicks);

    [[nodiscard]] bool running() const { return m_running; }
    [[nodiscard]] int countdown() const { return m_countdown; }
    [[nodiscard]] int currentRow() const { return m_currentRow; }
    [[nodiscard]] int progressPosition() const { return m_progress; }
    [[nodiscard]] int progressMaximum() const { return m_progressMaximum; }

private:
    void driveCurrentRow();

    TFensterSteuerung& m_bus;
    const WindowListModel& m_list;
    int m_driveKind = GroupOpen;
    bool m_running = false;
    int m_countdown = 0;
    int m_currentRow = 0;
    int m_progress = 0;
    int m_progressMaximum = 0;
};

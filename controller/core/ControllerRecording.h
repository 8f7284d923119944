// A controller recorded without windows: the controller window's opening and refresh for one
// controller on the main window's bus session, whose polling timer sends the keep-alive and polls
// between refreshes as while the window is open, and one row per refresh appended to the file.
#pragma once

#include "ControllerRefresh.h"
#include "RecordingFile.h"

#include <QObject>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <optional>

class BusSession;
class QEventLoop;

class ControllerRecording final : public QObject, private RefreshHost {
    Q_OBJECT
public:
    enum class End { Stopped, TimeUp, AdapterLost, WriteFailed };

    // `nowMs` gives the wall time of a row, milliseconds since 1970 (UTC). Progress and the end
    // go to `log`.
    ControllerRecording(BusSession& session, RecordingFile& file, QTextStream& log,
                        std::function<qint64()> nowMs);

    // The window's opening reads for `address` and its first refresh, and that refresh's row.
    [[nodiscard]] std::optional<End> open(int address);
    // One tick of the refresh timer: a refresh with polling paused, and its row.
    [[nodiscard]] std::optional<End> tick();
    // The first row at or after `atMs` is the last (the end of the minutes asked for).
    void endAt(qint64 atMs) { m_untilMs = atMs; }
    // Opens, then refreshes on every tick of the refresh timer until `stop`, the time of `endAt`,
    // a lost adapter or a failed write; says so on the log.
    End run(int address);
    // Ends the recording: at once between refreshes, else after the row of the one under way.
    void stop();

    [[nodiscard]] int rows() const { return m_rows; }

private:
    void processEvents() override;
    [[nodiscard]] bool closed() const override { return false; }
    [[nodiscard]] bool rollerTestRunning() const override { return false; }
    void reconnect() override;

    [[nodiscard]] std::optional<End> record(const RefreshResult& result);
    void logChange(const TimedSample& timed);
    void finish(End end);

    BusSession& m_session;
    RecordingFile& m_file;
    QTextStream& m_log;
    std::function<qint64()> m_nowMs;
    ControllerState m_state;
    ControllerRefresh m_refresh;
    QTimer m_timer;
    QEventLoop* m_loop = nullptr;
    std::optional<End> m_end;
    std::optional<qint64> m_untilMs;
    bool m_refreshing = false;
    bool m_stopRequested = false;
    int m_rows = 0;
    QString m_lastState;
    QString m_lastEvents;
};

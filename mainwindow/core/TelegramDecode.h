// What a traced telegram means, for the bus monitor and the --trace file: each exchange as a
// request line and a reply line with its mode, addresses, data and meaning, and its outcome. An
// unknown mode is shown as its number only.
#pragma once

#include "buslink/TelegramTrace.h"

#include <QString>
#include <QStringList>

#include <optional>

// The bus monitor's texts, counted from kTextBusMonitor.
namespace MonitorText {
enum : int {
    Title = 0,
    Direction,
    Request,
    Reply,
    Outcome,
    Answered, // the outcomes, in the order of TraceOutcome
    Pause = Answered + kTraceOutcomes,
    Continue,
    Clear,
    FailuresOnly,
    Find,
    Copy,
    Save,
    All,
    EepromRead,
    EepromWrite,
    EepromWordRead,
    EepromWordWrite,
    ParameterRead,
    StateAndEvents,
    SoftwareVersion,
    WindowCommand,
    Command,
    DriveToPosition,
    KeepAlive,
    EndEmergency,
    VersionWord,
    QueryGroupUnit,
    Telegrams,
};
} // namespace MonitorText
[[nodiscard]] QString MonitorLanguageText(int monitorText);
[[nodiscard]] QString OutcomeText(TraceOutcome outcome);

// The columns of a monitor line, in their order.
enum MonitorColumn {
    ColTime,
    ColDelta,
    ColDirection,
    ColBytes,
    ColMode,
    ColWindow,
    ColMemory,
    ColData,
    ColMeaning,
    ColOutcome,
    kMonitorColumns
};
[[nodiscard]] QString MonitorColumnTitle(int column);
// The titles of all columns, in order: the header line of a saved or traced file.
[[nodiscard]] QStringList MonitorColumnTitles();

// Line 0 is the request, line 1 the reply; `previousTickMs` is the tick of the exchange before
// (the delta of the first one is empty).
[[nodiscard]] QStringList MonitorLine(const TraceRecord& record, int line,
                                      std::optional<uint32_t> previousTickMs);

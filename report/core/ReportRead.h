// The commissioning report's work on the bus: each controller of the window list read as its
// controller window opens and refreshes it, with its production data and event words, and the
// group control unit as its dialog reads it; progress per device, cancel between telegrams.
#pragma once

#include "ReportSections.h"

#include <optional>

class Clock;
class EepromFlowHost;
class TFensterSteuerung;

class ReportRead {
public:
    ReportRead(TFensterSteuerung& bus, Clock& clock, EepromFlowHost& host);

    // The report of the devices in `list`; nothing when the user cancelled. Polling is paused
    // meanwhile and the window address put back afterwards.
    [[nodiscard]] std::optional<CommissioningReport> read(const WindowListModel& list,
                                                          const ReportVisit& visit);

private:
    [[nodiscard]] ReportSection controller(const WindowListModel& list, int row);
    [[nodiscard]] ReportSection groupUnit();

    TFensterSteuerung& m_bus;
    Clock& m_clock;
    EepromFlowHost& m_host;
};

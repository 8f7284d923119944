// The parts of the commissioning report made from what the flows read: the cover, the window
// list, a controller as its windows show it, and the group control unit as its dialog shows it.
#pragma once

#include "ReportModel.h"
#include "controller/core/ControllerRefresh.h"
#include "groupunit/core/GroupUnitSettings.h"
#include "mainwindow/core/BusScan.h"
#include "service/core/EepromFields.h"
#include "service/core/EventList.h"

#include <QDateTime>

// The visit: what the technician gave and when and where the tool was used.
struct ReportVisit {
    QString site;
    QString technician;
    QDateTime madeAt;
    BusConnection connection;
};

// Site, technician, date and time, tool version, port and the bus summary.
[[nodiscard]] QList<ReportRow> CoverRows(const ReportVisit& visit, const QString& summary);
// Every device row with the header, status colours included.
[[nodiscard]] ReportTable WindowListTable(const WindowListModel& list);

// What was read of a controller that answered: the controller window's opening and first
// refresh, its production data, its event words, and its type and variant as the refresh found.
struct ControllerReading {
    RefreshResult refresh;
    FieldTexts production;
    EventWords events;
    int controllerType = 1;
    int variantByte = 0xAA;
};
// `row` is the controller's row of the list.
[[nodiscard]] ReportSection ControllerSection(const WindowListModel& list, int row,
                                              const ControllerReading& reading);
// A controller that did not answer: the cells of its list row and that fact.
[[nodiscard]] ReportSection SilentControllerSection(const WindowListModel& list, int row);
[[nodiscard]] ReportSection GroupUnitSection(const GroupUnitReading& reading);

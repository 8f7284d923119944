// The recording without windows ("fenestrix --record ADDRESS --csv FILE [--minutes N]"): the
// controller window's refresh of one controller, one CSV row per refresh appended to FILE, until
// SIGINT or SIGTERM, the minutes or a lost adapter; progress and the end on standard error.
#pragma once

#include "mainwindow/core/BusScan.h"

#include <QTextStream>

#include <optional>

struct RecordingRequest {
    int address = 0;
    QString csvPath;
    std::optional<int> minutes;
};

// The exit status: 0 when stopped by a signal or at the end of the minutes, 1 when the port or
// the file failed or the adapter was lost.
[[nodiscard]] int RecordController(Clock& clock, SerialPorts& ports,
                                   const BusConnection& connection, const RecordingRequest& request,
                                   QTextStream& err);

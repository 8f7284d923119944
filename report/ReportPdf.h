// The commissioning report as an A4 PDF file: headings, bordered tables, the window list's status
// colours, page numbers and the lines to sign; the file is written whole or not at all.
#pragma once

#include "core/ReportModel.h"

class QIODevice;
class ReportRead;
class UserMessages;
class WindowListModel;
struct ReportVisit;

// The report's pages into `device`, which is open for writing; false when they could not be made.
[[nodiscard]] bool RenderReportPdf(const CommissioningReport& report, QIODevice& device);
// The file at `path`, whole or not at all: a file already there is kept when this fails.
[[nodiscard]] bool WriteReportPdf(const CommissioningReport& report, const QString& path);

// Reads the report of the devices in `list` and writes it to `path`; tells the user where it
// went, or that it was cancelled or could not be written. True when written.
bool SaveReport(ReportRead& read, const WindowListModel& list, const ReportVisit& visit,
                const QString& path, UserMessages& messages);

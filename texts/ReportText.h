// The commissioning report's texts, by their place after the first of them in the language table,
// and their lookup in the current language.
#pragma once

#include <QString>

namespace ReportText {
enum : int {
    Report = 0,
    ReportHint,
    Title,
    Technician,
    DateAndTime,
    BusSummary,
    Identity,
    SupplyAndDrive,
    ProductionDate,
    NoEvents,
    NoAnswer,
    Incomplete,
    Page, // %1 page, %2 pages
    TechnicianSignature,
    CustomerSignature,
    FileType,
    Saved, // %1 file
    Cancelled,
};
} // namespace ReportText
[[nodiscard]] QString ReportLanguageText(int reportText);

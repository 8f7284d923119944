// A commissioning report as plain data: the visit on its cover, the window list as the main
// window shows it, and one section per device of captioned values in groups.
#pragma once

#include "mainwindow/core/WindowRow.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the report shows for a value that could not be read.
inline const QString kUnreadValue = QStringLiteral("?");

// A value and its caption, as a window words them.
struct ReportRow {
    QString caption;
    QString value; // lines separated by "\n"

    [[nodiscard]] bool operator==(const ReportRow&) const = default;
};

struct ReportGroup {
    QString heading;
    QList<ReportRow> rows;
};

struct ReportSection {
    QString title;
    // Said ahead of the groups: that the device did not answer, or not to every read.
    QString note;
    QList<ReportGroup> groups;
};

struct ReportCell {
    QString text;
    StatusColour colour = StatusColour::Plain;
};

struct ReportTable {
    QStringList header;
    QList<QList<ReportCell>> rows;
};

struct CommissioningReport {
    QString title;
    // Beside the number at the foot of every page: the title and the site.
    QString pageFooter;
    QList<ReportRow> cover;
    QString listHeading;
    ReportTable windowList;
    // The devices in list order.
    QList<ReportSection> sections;
    // The captions of the lines to sign.
    QStringList signatures;
};

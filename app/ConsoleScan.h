// The bus scan without windows ("fenestrix --scan"): runs the same scan as the main window and
// prints the window list and its summary as tab-separated UTF-8 lines; with "--export FILE" it
// then writes the window list report of the scanned list to FILE, with "--backup FILE" the
// settings of every controller found, with "--report FILE" the commissioning report as a PDF.
#pragma once

#include "mainwindow/core/BusScan.h"

#include <QTextStream>

// The files a scan writes after it; an empty path: none.
struct ScanOutputs {
    QString exportPath;
    QString backupPath;
    QString reportPath;
    // The commissioning report's site and technician.
    QString site;
    QString technician;

    [[nodiscard]] bool any() const
    {
        return !exportPath.isEmpty() || !backupPath.isEmpty() || !reportPath.isEmpty();
    }
};

class ConsoleScan {
public:
    ConsoleScan(Clock& clock, SerialPorts& ports);
    // Scans and prints, then writes the report and the backup asked for. The exit status: 0 when
    // the port opened and every file asked for was written, else 1.
    int run(const BusConnection& connection, QTextStream& out, QTextStream& err,
            const ScanOutputs& outputs = {});

private:
    Clock& m_clock;
    SerialPorts& m_ports;
};

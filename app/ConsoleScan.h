// The bus scan without windows ("fenestrix --scan"): runs the same scan as the main window and
// prints the window list and its summary as tab-separated UTF-8 lines; with "--export FILE" it
// then writes the window list report of the scanned list to FILE.
#pragma once

#include "mainwindow/core/BusScan.h"

#include <QTextStream>

class ConsoleScan {
public:
    ConsoleScan(Clock& clock, SerialPorts& ports);
    // Scans and prints, then writes the report to `exportPath` unless it is empty. The exit
    // status: 0 when the port opened and the report (if asked for) was written, else 1.
    int run(const BusConnection& connection, QTextStream& out, QTextStream& err,
            const QString& exportPath = {});

private:
    Clock& m_clock;
    SerialPorts& m_ports;
};

// The bus scan without windows ("fenestrix --scan"): runs the same scan as the main window and
// prints the window list and its summary as tab-separated UTF-8 lines.
#pragma once

#include "mainwindow/BusScan.h"

#include <QTextStream>

class ConsoleScan {
public:
    ConsoleScan(Clock& clock, SerialPorts& ports);
    // Scans and prints; the exit status: 0 when the port opened, else 1.
    int run(const BusConnection& connection, QTextStream& out, QTextStream& err);

private:
    Clock& m_clock;
    SerialPorts& m_ports;
};

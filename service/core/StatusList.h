// The status list's fill: every entry of the parameter table read from the controller with
// polling paused, as name and hex value ("?" where the read failed).
#pragma once

#include <QString>

class TFensterSteuerung;

class StatusListHost {
public:
    virtual ~StatusListHost() = default;
    // Lets pending user-interface events run; called before each entry.
    virtual void processEvents() = 0;
    // The controller window closed meanwhile: the fill reads no further entry.
    [[nodiscard]] virtual bool stopped() const = 0;
    virtual void showEntry(int index, const QString& name, const QString& value) = 0;
};

// Reads entries 0..55 in order; false when the host stopped it first.
bool FillStatusList(TFensterSteuerung& bus, StatusListHost& host);

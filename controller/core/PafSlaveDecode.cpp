#include "PafSlaveDecode.h"

#include "StateCodes.h"
#include "ValueFormats.h"
#include "service/core/Tools01.h"

ControllerView DecodePafSlave(const PafSlaveReadings& readings, int statusWord, bool commissioning)
{
    ControllerView view;
    if (readings.position)
        view.setText(QStringLiteral("lblSlavePos"),
                     MillimetreText(SignedWord(*readings.position) * kChainMmPerCount));
    if (readings.magnet)
        view.setText(QStringLiteral("lblSlaveHall"), QString::number(*readings.magnet));
    if (readings.errors)
        view.setText(QStringLiteral("lblSlaveErr"), ShortHexText(*readings.errors));
    if (readings.status)
        view.setText(QStringLiteral("lblSlaveStatus"), ShortHexText(*readings.status));
    view.setText(QStringLiteral("lblFensterZustand2"),
                 commissioning ? CommissioningStateText() : SlaveStateText(statusWord));
    if (readings.drives) {
        if (const auto text = DriveSidesText(*readings.drives, false))
            view.setText(QStringLiteral("lblSlaveAntriebe"), *text);
    }
    if (readings.reversal)
        view.setText(QStringLiteral("lblSlaveRevers"), ReversalText(*readings.reversal));
    return view;
}

// What the user is told of a port that did not open or went away: a network gateway's reason in
// its own words, and the serial interface's texts for a COM port.
#pragma once

#include "platform/SerialDevice.h"

#include <QString>

// Text 315 "Serielle Schnittstelle kann nicht geöffnet werden!" unless a gateway gave a reason.
[[nodiscard]] QString PortNotOpenedText(const BusPort& port, DeviceFailure failure, uint32_t baud);
// Text 447 for a COM port, the gateway's closed connection for a network port.
[[nodiscard]] QString PortLostText(const BusPort& port);

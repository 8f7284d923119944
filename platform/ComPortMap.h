// COM port numbers to device paths: "\\.\COM<n>" on Windows; on Linux the entry COM<n> of the
// folder named by FENESTRIX_PORTS when it exists there, else a fixed map of the usual tty devices.
#pragma once

#include "SerialDevice.h"

#include <QString>

// The device path of COM port `number`; empty when the number maps to no device name.
[[nodiscard]] QString comPortPath(int number);

// The machine's serial ports through QSerialPort, and serial gateways on the network.
class QtSerialPorts final : public SerialPorts {
public:
    std::unique_ptr<SerialDevice> createDevice() override;
    QString devicePath(int number) const override { return comPortPath(number); }
    std::unique_ptr<SerialDevice> createNetworkDevice() override;
};

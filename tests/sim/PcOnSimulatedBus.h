// The PC side of the simulator tests: a simulated bus on the in-memory transport with the access
// object connected to it on COM1, and short ways to read what the PC sees.
#pragma once

#include "buslink/Veltradt.h"
#include "sim/MemoryBusPorts.h"
#include "sim/SimulatedBus.h"

#include <optional>

struct PcOnSimulatedBus {
    explicit PcOnSimulatedBus(const BusSetup& setup = DefaultBusSetup());

    // Parameter-table entry `index` of the controller at `address`; nothing when the read failed.
    std::optional<int> parameter(int address, int index);
    std::optional<int> eepromByte(int address, int memory);
    // One window-relative exchange (paced, one retry); the result code of the access object.
    int send(int address, int mode, int memory, int data);
    void waitMs(uint32_t ms) { clock.sleepMs(ms); }

    VirtualClock clock;
    SimulatedBus bus;
    MemoryBusPorts ports;
    TFensterSteuerung pc;
};

// The six bytes of a telegram, for comparing with what was read.
QByteArray TelegramBytes(int mode, int addressField, int data);

// A request written the way the raw port writes it, one byte at a time; the reply is collected
// with single-byte reads of 1 ms each, skipping foreign bytes until one equals `acceptedEcho`.
// The bytes received from the accepted one on, at most six, within `limitMs` reads.
QByteArray RawExchange(SerialDevice& port, int mode, int addressField, int data, int acceptedEcho,
                       int limitMs);

// The description of a simulated bus before it is built: its devices with their identities,
// versions, settings, pinned values and faults. Filled from a config file or from the defaults.
#pragma once

#include "ReplyFaults.h"
#include "RequestFaultRules.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <cstdint>
#include <optional>

// The kinds of controllers the simulator knows; each gives the defaults of a setup.
enum class ControllerKind { TurnTilt, ChainDrive, SmokeVent, SlidingDrive, PafMaster };

// One event bit that is set from `fromMs` to `untilMs` after the bus starts, and again every
// `everyMs` after that when `everyMs` is not 0.
struct ScheduledEvent {
    int bit = 0;
    uint32_t fromMs = 0;
    uint32_t untilMs = 0;
    uint32_t everyMs = 0;
};

// The condition a safety edge reports (parameter 06h); None: no safety edge fitted.
enum class EdgeCondition { None = 0, Ok = 1, Pressed = 2, Interrupted = 3, ShortCircuit = 4 };

// The strand of a chain drive that its strand events name (parameter 1Dh).
enum class Strand { Left = 0, Right = 1 };

struct ControllerSetup {
    int address = 1;
    int type = 1;           // controller type, EEPROM 2Dh
    uint8_t variant = 0xAA; // 55h or AAh
    uint16_t software = 0x0512;
    uint16_t hardware = 0x0203;
    uint32_t articleCode = 0x07310021;
    uint16_t serial = 1; // four decimal digits, stored as BCD
    QDate produced{2024, 3, 5};
    bool electronicsLeft = false;
    bool tiltOnly = false; // a window with the handle flag: tilting only
    bool longChain = false;
    uint8_t pwmClosingLevel = 0; // PWM reduction levels, EEPROM A0h and A1h (variant 55h)
    uint8_t pwmOpeningLevel = 0;
    double supplyVolts = 24.0;
    double supplyNoiseVolts = 0.1; // the measured supply varies by up to this much
    EdgeCondition safetyEdge = EdgeCondition::Ok;
    int travelMm = 150; // full opening of the drive
    int speedMmPerS = 20;
    uint16_t events = 0; // event bits set from the start
    Strand eventStrand = Strand::Left;
    QList<ScheduledEvent> eventSchedule;
    QMap<int, uint8_t> eeprom;      // EEPROM bytes set over the generated contents
    QMap<int, uint16_t> parameters; // parameter numbers answered with a fixed value
    ReplyFaults faults;
};

struct GroupUnitSetup {
    uint16_t software = 0x0302;    // EEPROM 0Eh (minor), 0Fh (major)
    uint16_t hardware = 0x0101;    // EEPROM 0Ch, 0Dh
    uint16_t versionWord = 0x1002; // reply to telegram 14h
    uint16_t status = 0x01;        // reply to telegram 16h
    uint32_t articleCode = 0x07310040;
    uint16_t serial = 1;
    QDate produced{2024, 3, 5};
    int drivePauseS = 3; // EEPROM 100h
    QMap<int, uint8_t> eeprom;
    ReplyFaults faults;
};

struct BusTiming {
    uint32_t turnaroundUs = 2000; // from the end of a request to the start of its reply
    uint32_t frameGapUs = 5000;   // a pause this long between two bytes starts a new request
};

struct BusSetup {
    BusTiming timing;
    ReplyFaults faults;       // applied to every reply on the bus
    bool neverSilent = false; // foreign traffic on the bus without a pause
    QList<ReplyFaultRule> requestFaults;
    QList<LostWriteRule> lostEepromWrites;
    std::optional<GroupUnitSetup> groupUnit;
    QList<ControllerSetup> controllers;
};

// The setup of a controller of `kind` at `address`; `ordinal` makes its serial number unique.
[[nodiscard]] ControllerSetup DefaultControllerSetup(ControllerKind kind, int address, int ordinal);
// A group control unit and, at addresses 1 to 5, one controller of each kind in the order above;
// the PAF master reports an event of its right strand for 10 s of every minute.
[[nodiscard]] BusSetup DefaultBusSetup();

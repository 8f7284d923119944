#include "BusSetup.h"

#include "ControllerEeprom.h"

namespace {

// The strand event of the default bus's PAF master: event bit 3, from the 20th to the 30th
// second of every minute.
constexpr ScheduledEvent kRecurringStrandEvent{3, 20'000, 30'000, 60'000};
// A page-1 checksum that does not match the factory contents of page 1.
constexpr uint8_t kStalePage1Checksum = 0x00;

} // namespace

ControllerSetup DefaultControllerSetup(ControllerKind kind, int address, int ordinal)
{
    ControllerSetup setup;
    setup.address = address;
    setup.serial = static_cast<uint16_t>(1000 + ordinal);
    switch (kind) {
    case ControllerKind::TurnTilt:
        break;
    case ControllerKind::ChainDrive:
        setup.type = 4;
        setup.variant = 0x55;
        setup.software = 0x0703;
        setup.hardware = 0x0301;
        setup.articleCode = 0x20500027;
        setup.travelMm = 300;
        setup.speedMmPerS = 12;
        setup.pwmClosingLevel = 2;
        setup.pwmOpeningLevel = 1;
        break;
    case ControllerKind::SmokeVent:
        setup.type = 5;
        setup.variant = 0x55;
        setup.software = 0x0520;
        setup.hardware = 0x0301;
        setup.articleCode = 0x20500030;
        setup.travelMm = 500;
        setup.speedMmPerS = 25;
        break;
    case ControllerKind::SlidingDrive:
        setup.type = 7;
        setup.variant = 0x55;
        setup.software = 0x0610;
        setup.hardware = 0x0302;
        setup.articleCode = 0x20510091;
        setup.travelMm = 600;
        setup.speedMmPerS = 40;
        break;
    case ControllerKind::PafMaster:
        setup.type = 8;
        setup.variant = 0x55;
        setup.software = 0x0702;
        setup.hardware = 0x0302;
        setup.articleCode = 0x20510544;
        setup.travelMm = 400;
        setup.speedMmPerS = 12;
        break;
    }
    return setup;
}

BusSetup DefaultBusSetup()
{
    BusSetup bus;
    bus.groupUnit = GroupUnitSetup{};
    const ControllerKind kinds[] = {ControllerKind::TurnTilt, ControllerKind::ChainDrive,
                                    ControllerKind::SmokeVent, ControllerKind::SlidingDrive,
                                    ControllerKind::PafMaster};
    int address = 1;
    for (const ControllerKind kind : kinds) {
        bus.controllers << DefaultControllerSetup(kind, address, address);
        ++address;
    }
    // The sliding drive's page-1 checksum is stale, as after an interrupted write, so that the
    // EEPROM dialog's write-back has something to mend.
    bus.controllers[3].eeprom.insert(ControllerByte::Page1Checksum, kStalePage1Checksum);
    ControllerSetup& pafMaster = bus.controllers.last();
    pafMaster.eventStrand = Strand::Right;
    pafMaster.eventSchedule << kRecurringStrandEvent;
    return bus;
}

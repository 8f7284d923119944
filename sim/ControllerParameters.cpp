// The values a simulated controller reports to parameter reads (mode 15h), by parameter number.
#include "SimulatedController.h"

#include <algorithm>

namespace {

// Parameter numbers: the memory address of the mode-15h read. Those not named here (tilt lock,
// unlock lock, overload pause, radio, the PAF slave's events) report 0.
namespace Param {
constexpr int State = 0x00;
constexpr int LeverPosition = 0x01;
constexpr int EventBits = 0x02;
constexpr int VentMagnet = 0x03;
constexpr int Supply = 0x04;
constexpr int DrivePosition = 0x05;
constexpr int EdgeCode = 0x06;
constexpr int ElectronicsLeft = 0x07;
constexpr int MaximumTilt = 0x0B;
constexpr int LastReversal = 0x0C;
constexpr int TiltAfterOneSecond = 0x0D;
constexpr int EdgeFitted = 0x0E;
constexpr int Handle = 0x0F;
constexpr int WindowKind = 0x10;
constexpr int EdgeSwitchedOff = 0x11;
constexpr int RawHall = 0x13;
constexpr int Variant = 0x15;
constexpr int DriveSides = 0x17;
constexpr int OpeningWidth = 0x19;
constexpr int OperationRelease = 0x1A;
constexpr int SlavePosition = 0x1B;
constexpr int Strand = 0x1D;
constexpr int EdgeInput1 = 0x1E;
constexpr int EdgeInput2 = 0x1F;
constexpr int SlaveStatus = 0x20;
constexpr int SlaveMagnet = 0x21;
constexpr int SlaveEdgeInput1 = 0x22;
constexpr int SlaveEdgeInput2 = 0x23;
constexpr int SlaveEdgeType = 0x24;
constexpr int SlaveLastReversal = 0x25;
constexpr int SlaveDrives = 0x26;
} // namespace Param

constexpr int kClosedMagnet = 120;
constexpr int kMagnetTravel = 900;    // the magnet value stops rising this far open
constexpr int kSlaveMagnetOffset = 7; // the slave's sensor sits a little apart
constexpr int kHallCountsPerMagnet = 4;
constexpr uint16_t kStrandEvents = 0x0378;
constexpr uint16_t kOneDrive = 1;   // drive sides: left only
constexpr uint16_t kBothDrives = 2; // left and right
constexpr uint16_t kResistorEdge = 1;

} // namespace

uint16_t SimulatedController::parameter(int number, uint64_t nowUs)
{
    advanceTo(nowUs);
    if (m_pinned.contains(number))
        return m_pinned.value(number);
    if (const auto value = windowParameter(number, nowUs))
        return *value;
    if (const auto value = edgeParameter(number))
        return *value;
    return m_type == 8 ? pafSlaveParameter(number) : 0;
}

std::optional<uint16_t> SimulatedController::windowParameter(int number, uint64_t nowUs) const
{
    const int position = m_drive.position();
    const int magnet = kClosedMagnet + std::min(position, kMagnetTravel);
    switch (number) {
    case Param::State:
        return static_cast<uint16_t>(stateCode());
    case Param::LeverPosition:
        return m_phase == Phase::TurnUnlocked ? 1 : 0;
    case Param::EventBits:
        return eventBits(nowUs);
    case Param::VentMagnet:
        return static_cast<uint16_t>(magnet);
    case Param::Supply:
        return m_supply.measuredCounts(nowUs, m_drive.isMoving());
    case Param::DrivePosition:
        return static_cast<uint16_t>(position);
    case Param::ElectronicsLeft:
        return m_electronicsLeft ? 1 : 0;
    case Param::MaximumTilt:
    case Param::OpeningWidth:
        return static_cast<uint16_t>(m_travel);
    case Param::LastReversal:
        return static_cast<uint16_t>(m_lastReversal);
    case Param::TiltAfterOneSecond:
        return static_cast<uint16_t>(std::min(m_travel, m_speed));
    case Param::Handle:
        return m_tiltOnly ? 1 : 0;
    case Param::WindowKind:
        return static_cast<uint16_t>(m_type);
    case Param::RawHall:
        return static_cast<uint16_t>(magnet * kHallCountsPerMagnet);
    case Param::Variant:
        return m_variant;
    case Param::DriveSides:
        return isStandard() ? kOneDrive : kBothDrives;
    case Param::OperationRelease:
        return 1;
    case Param::Strand:
        return (eventBits(nowUs) & kStrandEvents) != 0 ? static_cast<uint16_t>(m_eventStrand) : 0;
    default:
        return std::nullopt;
    }
}

std::optional<uint16_t> SimulatedController::edgeParameter(int number) const
{
    switch (number) {
    case Param::EdgeCode:
        return static_cast<uint16_t>(m_edge.condition());
    case Param::EdgeFitted:
        return m_edge.isFitted() ? 1 : 0;
    case Param::EdgeSwitchedOff:
        return m_edge.isActive() ? 0 : 1;
    case Param::EdgeInput1:
        return m_edge.inputValue(1, false);
    case Param::EdgeInput2:
        return m_edge.inputValue(2, false);
    default:
        return std::nullopt;
    }
}

uint16_t SimulatedController::pafSlaveParameter(int number) const
{
    // The slave drives in step with the master and reports through it.
    const int position = m_drive.position();
    switch (number) {
    case Param::SlavePosition:
        return static_cast<uint16_t>(position);
    case Param::SlaveStatus:
        return static_cast<uint16_t>(stateCode() & 0x0F);
    case Param::SlaveMagnet:
        return static_cast<uint16_t>(kClosedMagnet + kSlaveMagnetOffset +
                                     std::min(position, kMagnetTravel));
    case Param::SlaveEdgeInput1:
        return m_edge.inputValue(1, true);
    case Param::SlaveEdgeInput2:
        return m_edge.inputValue(2, true);
    case Param::SlaveEdgeType:
        return m_edge.isFitted() ? kResistorEdge : 0;
    case Param::SlaveLastReversal:
        return static_cast<uint16_t>(m_lastReversal);
    case Param::SlaveDrives:
        return kBothDrives;
    default:
        return 0;
    }
}

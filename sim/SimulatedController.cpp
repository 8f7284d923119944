#include "SimulatedController.h"

#include <algorithm>

namespace {

constexpr uint64_t kUnlockUs = 500'000;
constexpr uint64_t kLockUs = 800'000;
constexpr int kReversalBySafetyEdge = 2;

// Mode bytes of the requests a controller answers besides the EEPROM telegrams.
namespace Mode {
constexpr uint8_t WindowCommand = 0x13;
constexpr uint8_t Parameter = 0x15;
constexpr uint8_t Command = 0x30;
constexpr uint8_t Status = 0x40;
constexpr uint8_t Open = 0x41;
constexpr uint8_t Close = 0x42;
constexpr uint8_t OpenPart = 0x43;
constexpr uint8_t Stop = 0x44;
constexpr uint8_t SoftwareVersion = 0x76;
} // namespace Mode

// Data words of window commands (modes 13h and 43h) and of the two configuration commands.
constexpr uint16_t kOpenFully = 0xAA55;
constexpr uint16_t kToggleSafetyEdge = 0x1122;
constexpr uint16_t kOpenToMaximum = 0xAA00;
constexpr int kTakeOverAddress = 0x33;
constexpr uint16_t kTakeOverCode = 0x4455;
constexpr int kLeaveCommissioningAddress = 0x66;
constexpr uint16_t kLeaveCommissioningCode = 0xAA55;

// Command codes of mode 30h with memory address 0.
namespace Code {
constexpr uint16_t LockLower = 0x0A;
constexpr uint16_t UnlockLower = 0x0B;
constexpr uint16_t LockUpper = 0x0C;
constexpr uint16_t UnlockUpper = 0x0D;
constexpr uint16_t LockBolt = 0x0E;
constexpr uint16_t UnlockBolt = 0x0F;
constexpr uint16_t JogOpen = 0x10;
constexpr uint16_t JogClose = 0x11;
constexpr uint16_t JogStop = 0x12;
} // namespace Code

namespace EventBit {
constexpr int Undervoltage = 1;
constexpr int DriveBlocked = 5;
} // namespace EventBit

constexpr int kEdgeConditionParameter = 0x06;
constexpr int kSupplyParameter = 0x04;

bool isSetAt(const ScheduledEvent& e, uint64_t nowMs)
{
    if (nowMs < e.fromMs)
        return false;
    const uint64_t since = nowMs - e.fromMs;
    return (e.everyMs != 0 ? since % e.everyMs : since) < e.untilMs - e.fromMs;
}

double countsPerMm(int type, uint8_t variant)
{
    if (type == 7)
        return 1 / 1.5;
    return variant == 0xAA ? 2.89 : 3.147;
}

} // namespace

SimulatedController::SimulatedController(const ControllerSetup& setup)
    : m_eeprom(BuildControllerEeprom(setup)), m_address(m_eeprom[ControllerByte::BusAddress]),
      m_type(m_eeprom[ControllerByte::ControllerType]),
      m_variant(m_eeprom[ControllerByte::Variant]), m_software(setup.software),
      m_serial(setup.serial), m_electronicsLeft(setup.electronicsLeft), m_tiltOnly(setup.tiltOnly),
      m_supply(setup.parameters.value(kSupplyParameter, SupplyVoltage::countsOf(setup.supplyVolts)),
               setup.supplyNoiseVolts, setup.serial),
      m_travel(std::max(1, static_cast<int>(setup.travelMm * countsPerMm(m_type, m_variant)))),
      m_speed(std::max(1, static_cast<int>(setup.speedMmPerS * countsPerMm(m_type, m_variant)))),
      m_events(setup.events), m_eventStrand(setup.eventStrand), m_schedule(setup.eventSchedule),
      m_pinned(setup.parameters), m_drive(m_speed),
      m_edge(setup.parameters.value(kEdgeConditionParameter, int(setup.safetyEdge)))
{
    setFaults(setup.faults);
}

std::optional<uint16_t> SimulatedController::answer(const BusRequest& request, uint64_t nowUs)
{
    advanceTo(nowUs);
    const int memory = request.memory;
    switch (request.mode) {
    case EepromMode::Read:
        return memory < int(m_eeprom.size()) ? m_eeprom[size_t(memory)] : 0xFF;
    case EepromMode::Write:
        if (memory < int(m_eeprom.size()) && !request.writeLost)
            m_eeprom[size_t(memory)] = static_cast<uint8_t>(request.data & 0xFF);
        return request.data;
    case EepromMode::ReadWord:
        return memory + 1 < int(m_eeprom.size()) ? static_cast<uint16_t>(word(memory)) : 0xFFFF;
    case EepromMode::WriteWord:
        if (memory + 1 < int(m_eeprom.size()) && !request.writeLost) {
            m_eeprom[size_t(memory)] = static_cast<uint8_t>(request.data & 0xFF);
            m_eeprom[size_t(memory) + 1] = static_cast<uint8_t>(request.data >> 8);
        }
        return request.data;
    case Mode::Parameter:
        return parameter(memory, nowUs);
    case Mode::Status:
        return static_cast<uint16_t>(stateCode() | (eventBits(nowUs) != 0 ? 0x100 : 0));
    case Mode::SoftwareVersion:
        return m_software;
    case Mode::WindowCommand:
        windowCommand(request.data, nowUs);
        return request.data;
    case Mode::Command:
        if (memory == 0)
            command(request.data, nowUs);
        else if (memory == kTakeOverAddress && request.data == kTakeOverCode)
            takeOverConfiguration(nowUs);
        else if (memory == kLeaveCommissioningAddress && request.data == kLeaveCommissioningCode)
            leaveCommissioningStep(nowUs);
        return request.data;
    case Mode::Open:
        open(isStandard() ? m_travel : m_travel / 2, false, nowUs);
        return request.data;
    case Mode::Close:
        close(nowUs);
        return request.data;
    case Mode::OpenPart: {
        if (request.data == kOpenToMaximum) {
            open(m_travel, true, nowUs);
        } else {
            // Percent in the low byte, or tens of percent in the high byte.
            const int low = request.data & 0xFF;
            const int percent = std::clamp(low != 0 ? low : (request.data >> 8) * 10, 0, 100);
            open(m_travel * percent / 100, false, nowUs);
        }
        return request.data;
    }
    case Mode::Stop:
        stop(nowUs);
        return request.data;
    default:
        return std::nullopt;
    }
}

SimulatedController::Observed SimulatedController::observe(uint64_t nowUs)
{
    advanceTo(nowUs);
    return {.upperLocked = m_upperLocked,
            .lowerLocked = m_lowerLocked,
            .boltLocked = m_boltLocked,
            .commissioning = m_commissioning,
            .zeroPositionRun = m_zeroPositionRun,
            .driveMoving = m_drive.isMoving(),
            .driveCounts = m_drive.position(),
            .safetyEdgeActive = m_edge.isActive(),
            .controllerType = m_type};
}

void SimulatedController::takeAddress(int address)
{
    m_address = address;
    m_eeprom[ControllerByte::BusAddress] = static_cast<uint8_t>(address);
}

bool SimulatedController::isZeroPositionController() const
{
    const bool smokeVentOrPaf = m_type == 5 || m_type == 6 || m_type == 8 || m_type == 9;
    return smokeVentOrPaf || ((m_type == 3 || m_type == 4) && m_software >= 0x0700);
}

int SimulatedController::stateCode() const
{
    if (m_commissioning)
        return 15;
    switch (m_phase) {
    case Phase::Closed:
        return m_upperLocked && m_lowerLocked && m_boltLocked ? 0 : 2;
    case Phase::Unlocking:
        return m_fullOpening ? 9 : 1;
    case Phase::Opening:
        return m_fullOpening ? 9 : 3;
    case Phase::Open:
        return m_fullOpening ? 10 : 5;
    case Phase::Stopped:
        return 4;
    case Phase::Closing:
        return m_fullOpening ? 11 : 6;
    case Phase::Locking:
        return m_fullOpening && isStandard() ? 11 : 7;
    case Phase::TurnUnlocked:
        return 9;
    }
    return 0;
}

uint16_t SimulatedController::eventBits(uint64_t nowUs) const
{
    uint16_t bits = m_events;
    const uint64_t nowMs = nowUs / 1000;
    for (const ScheduledEvent& e : m_schedule) {
        if (isSetAt(e, nowMs))
            bits |= uint16_t(1u << e.bit);
    }
    if (m_supply.nominalCounts() < word(ControllerByte::UndervoltageLow))
        bits |= uint16_t(1u << EventBit::Undervoltage);
    if (m_blocked)
        bits |= uint16_t(1u << EventBit::DriveBlocked);
    return bits | m_edge.eventBits();
}

int SimulatedController::word(int low) const
{
    return m_eeprom[size_t(low)] | m_eeprom[size_t(low) + 1] << 8;
}

void SimulatedController::setLocks(bool locked)
{
    m_upperLocked = m_lowerLocked = m_boltLocked = locked;
}

void SimulatedController::advanceTo(uint64_t nowUs)
{
    while (!m_commissioning) {
        std::optional<uint64_t> end;
        if (m_phase == Phase::Unlocking || m_phase == Phase::Locking)
            end = m_phaseEndUs;
        else if (m_phase == Phase::Opening || m_phase == Phase::Closing)
            end = m_drive.arrivalUs();
        if (!end || *end > nowUs)
            break;
        m_drive.advanceTo(*end);
        finishPhase(*end);
    }
    m_drive.advanceTo(nowUs);
    // Jogging closed against the end stop blocks the drive; the event stays until it moves open.
    if (m_commissioning && m_jogClosing && !m_drive.isMoving() && m_drive.position() == 0)
        m_blocked = true;
}

void SimulatedController::finishPhase(uint64_t atUs)
{
    switch (m_phase) {
    case Phase::Unlocking:
        setLocks(false);
        if (isStandard() && m_fullOpening) {
            m_phase = Phase::TurnUnlocked;
            countCycle();
        } else {
            startDrive(m_pendingTarget, Phase::Opening, atUs);
        }
        break;
    case Phase::Opening:
        m_phase = Phase::Open;
        countCycle();
        break;
    case Phase::Closing:
        m_phase = Phase::Locking;
        m_phaseEndUs = atUs + kLockUs;
        break;
    case Phase::Locking:
        setLocks(true);
        m_phase = Phase::Closed;
        m_fullOpening = false;
        break;
    default:
        break;
    }
}

void SimulatedController::startDrive(int target, Phase phase, uint64_t nowUs)
{
    m_phase = phase;
    m_drive.moveTo(target, nowUs);
    if (!m_drive.isMoving())
        finishPhase(nowUs);
}

void SimulatedController::open(int target, bool full, uint64_t nowUs)
{
    if (m_commissioning)
        return;
    m_fullOpening = full;
    m_pendingTarget = std::clamp(target, 0, m_travel);
    switch (m_phase) {
    case Phase::Closed:
    case Phase::Locking:
        m_phase = Phase::Unlocking;
        m_phaseEndUs = nowUs + kUnlockUs;
        break;
    case Phase::Unlocking:
        break;
    default:
        startDrive(m_pendingTarget, Phase::Opening, nowUs);
        break;
    }
}

void SimulatedController::close(uint64_t nowUs)
{
    if (m_commissioning)
        return;
    const bool driveWouldClose =
        m_phase == Phase::Opening || m_phase == Phase::Open || m_phase == Phase::Stopped;
    if (driveWouldClose && m_edge.stopsClosing()) {
        // The edge reports an obstacle at once: the drive reverses and the window stays open.
        m_lastReversal = kReversalBySafetyEdge;
        return;
    }
    switch (m_phase) {
    case Phase::Closed:
        if (!(m_upperLocked && m_lowerLocked && m_boltLocked)) {
            m_phase = Phase::Locking;
            m_phaseEndUs = nowUs + kLockUs;
        }
        break;
    case Phase::Locking:
        break;
    case Phase::Unlocking:
    case Phase::TurnUnlocked:
        m_phase = Phase::Locking;
        m_phaseEndUs = nowUs + kLockUs;
        break;
    default:
        startDrive(0, Phase::Closing, nowUs);
        break;
    }
}

void SimulatedController::stop(uint64_t nowUs)
{
    m_drive.stop(nowUs);
    m_jogClosing = false;
    if (m_commissioning)
        return;
    if (m_phase == Phase::Opening || m_phase == Phase::Closing)
        m_phase = m_drive.position() == 0 ? Phase::Closed : Phase::Stopped;
    else if (m_phase == Phase::Unlocking)
        m_phase = Phase::Closed;
}

void SimulatedController::windowCommand(uint16_t code, uint64_t nowUs)
{
    // The write enable (6677h) needs no action: this controller accepts every EEPROM write.
    if (code == kToggleSafetyEdge)
        m_edge.toggleActive();
    else if (code == kOpenFully)
        open(m_travel, true, nowUs);
}

void SimulatedController::command(uint16_t code, uint64_t nowUs)
{
    switch (code) {
    case Code::LockLower:
        m_lowerLocked = true;
        break;
    case Code::UnlockLower:
        m_lowerLocked = false;
        break;
    case Code::LockUpper:
        m_upperLocked = true;
        break;
    case Code::UnlockUpper:
        m_upperLocked = false;
        break;
    case Code::LockBolt:
        m_boltLocked = true;
        break;
    case Code::UnlockBolt:
        m_boltLocked = false;
        break;
    case Code::JogOpen:
    case Code::JogClose:
    case Code::JogStop:
        jog(code, nowUs);
        break;
    default:
        break;
    }
}

void SimulatedController::jog(uint16_t code, uint64_t nowUs)
{
    if (!m_commissioning) {
        if (code == Code::JogOpen)
            open(m_travel, false, nowUs);
        else if (code == Code::JogClose)
            close(nowUs);
        else
            stop(nowUs);
        return;
    }
    // In commissioning the drive runs freely up to twice its opening, or down to the end stop.
    if (code == Code::JogOpen) {
        m_blocked = false;
        m_jogClosing = false;
        m_drive.moveTo(std::min(2 * m_travel, 0x7FFF), nowUs);
    } else if (code == Code::JogClose) {
        m_jogClosing = true;
        m_drive.moveTo(0, nowUs);
        advanceTo(nowUs);
    } else {
        stop(nowUs);
    }
}

void SimulatedController::takeOverConfiguration(uint64_t nowUs)
{
    const int address = m_eeprom[ControllerByte::BusAddress];
    if (address >= 1 && address <= 63)
        m_address = address;
    m_type = m_eeprom[ControllerByte::ControllerType];
    if (m_eeprom[ControllerByte::Commissioning] == 0xFF && !m_commissioning) {
        m_drive.stop(nowUs);
        m_commissioning = true;
        m_zeroPositionRun = false;
    }
}

void SimulatedController::leaveCommissioningStep(uint64_t nowUs)
{
    if (!m_commissioning)
        return;
    if (!isZeroPositionController()) {
        leaveCommissioning(nowUs);
        return;
    }
    if (!m_zeroPositionRun) {
        // The drive stands at its end stop: that is position 0, and it now runs open until the
        // second step marks the full opening.
        m_zeroPositionRun = true;
        m_blocked = false;
        m_jogClosing = false;
        m_drive.setPosition(0);
        m_drive.moveTo(std::min(2 * m_travel, 0x7FFF), nowUs);
        return;
    }
    m_drive.stop(nowUs);
    m_travel = std::max(1, m_drive.position());
    m_zeroPositionRun = false;
    leaveCommissioning(nowUs);
}

void SimulatedController::leaveCommissioning(uint64_t nowUs)
{
    m_commissioning = false;
    m_eeprom[ControllerByte::Commissioning] = 0;
    m_jogClosing = false;
    m_blocked = false;
    m_fullOpening = false;
    m_phase = m_drive.position() > 0 ? Phase::Stopped : Phase::Closed;
    close(nowUs);
}

void SimulatedController::countCycle()
{
    int counter = ControllerByte::TiltCyclesLow;
    if (m_fullOpening)
        counter = (m_type == 5 || m_type == 6) ? ControllerByte::SmokeVentCyclesLow
                                               : ControllerByte::TurnCyclesLow;
    const int count = (word(counter) + 1) & 0xFFFF;
    m_eeprom[size_t(counter)] = static_cast<uint8_t>(count & 0xFF);
    m_eeprom[size_t(counter) + 1] = static_cast<uint8_t>(count >> 8);
}

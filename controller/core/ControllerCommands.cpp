#include "ControllerCommands.h"

#include "StateDecode.h"
#include "buslink/Protocol.h"
#include "buslink/Veltradt.h"
#include "platform/Clock.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

namespace {

namespace Code = Protocol::CommandCode;

// The drive stop is sent twice, this far apart.
constexpr uint32_t kJogStopRepeatMs = 40;
constexpr int kCommissioningRequestByte = 0x20;
constexpr int kCommissioningRequest = 0xFF;
// The data word of a 43h telegram that opens to the maximum, and the 50 % of types 8 and 9.
constexpr int kOpenToMaximum = 0xAA00;
constexpr int kOpenHalf = 50;
// The data word of a 13h telegram that opens in turn position.
constexpr int kOpenInTurnPosition = 0xAA55;
constexpr int kRollerTestCycles = 10;
constexpr int kRollerTestSteps = 4;

const QString kModeButton = QStringLiteral("bnModus");
const QString kRollerTestLabel = QStringLiteral("lblFingerR");

int lockCode(LockElement element, bool locked)
{
    switch (element) {
    case LockElement::UpperStrand:
        return locked ? Code::LockUpperStrand : Code::UnlockUpperStrand;
    case LockElement::LowerStrand:
        return locked ? Code::LockLowerStrand : Code::UnlockLowerStrand;
    case LockElement::FingerBolt:
        break;
    }
    return locked ? Code::LockFingerBolt : Code::UnlockFingerBolt;
}

// A cycle of the closing-roller test: lock lower, lock upper, unlock lower, unlock upper.
struct RollerStep {
    LockElement strand;
    bool locked;
};
constexpr RollerStep kRollerSteps[kRollerTestSteps] = {
    {LockElement::LowerStrand, true},
    {LockElement::UpperStrand, true},
    {LockElement::LowerStrand, false},
    {LockElement::UpperStrand, false},
};

QString cycleLabel(int cycle)
{
    return QStringLiteral("%1. %2").arg(cycle + 1).arg(LanguageText(335));
}

} // namespace

ControllerCommands::ControllerCommands(TFensterSteuerung& bus, ControllerState& state,
                                       ControllerActionHost& host, Clock& clock)
    : m_bus(bus), m_state(state), m_host(host), m_clock(clock)
{}

void ControllerCommands::send(int mode, int data)
{
    int memoryAddress = 0;
    (void)m_bus.SendToWindow(mode, memoryAddress, data);
}

RefreshResult ControllerCommands::sendLockCommand(LockElement element, bool locked)
{
    send(Protocol::Command, lockCode(element, locked));
    RefreshResult result;
    result.view = LockingIndicatorView(m_state, element, locked);
    result.icons << std::pair{element, LockingIconFor(locked)};
    return result;
}

RefreshResult ControllerCommands::lockStrand(LockElement strand, bool locked)
{
    return sendLockCommand(strand, locked);
}

bool ControllerCommands::rollerTestApplies() const
{
    return m_state.chainType() && m_state.commissioningMode;
}

RefreshResult ControllerCommands::fingerBoltButton(bool locked)
{
    if (!rollerTestApplies())
        return sendLockCommand(LockElement::FingerBolt, locked);
    return locked ? stopRollerTest() : startRollerTest();
}

void ControllerCommands::sendJogStop()
{
    send(Protocol::Command, Code::DriveStop);
    m_clock.sleepMs(kJogStopRepeatMs);
    send(Protocol::Command, Code::DriveStop);
}

void ControllerCommands::jogPressed(JogDirection direction)
{
    if (m_state.controllerType == 7 || m_jogHeld)
        return;
    m_jogHeld = true;
    m_bus.PausePolling();
    m_host.stopRefreshTimer();
    send(Protocol::Command, direction == JogDirection::Open ? Code::DriveOpen : Code::DriveClose);
}

void ControllerCommands::jogReleased()
{
    // Only the release of a press that started the drive stops it.
    if (!m_jogHeld)
        return;
    m_jogHeld = false;
    sendJogStop();
    m_bus.ResumePolling();
    m_host.startRefreshTimer();
}

void ControllerCommands::endHeldJog()
{
    jogReleased();
}

void ControllerCommands::jogClicked(JogDirection direction)
{
    if (m_state.controllerType != 7)
        return;
    if (m_state.jogLatch) {
        m_state.jogLatch = false;
        sendJogStop();
        return;
    }
    m_state.jogLatch = true;
    send(Protocol::Command, direction == JogDirection::Open ? Code::DriveOpen : Code::DriveClose);
}

void ControllerCommands::windowCommand(WindowCommand command)
{
    switch (command) {
    case WindowCommand::Open:
        send(Protocol::DriveOpen, 0);
        return;
    case WindowCommand::Close:
        send(Protocol::DriveClose, 0);
        return;
    case WindowCommand::Stop:
        send(Protocol::DriveStop, 0);
        return;
    case WindowCommand::OpenFully:
        break;
    }
    const int type = m_state.controllerType;
    if (type >= 3 && type <= 6)
        send(Protocol::DriveToPosition, kOpenToMaximum);
    else if (type == 8 || type == 9)
        send(Protocol::DriveToPosition, kOpenHalf);
    else
        send(Protocol::WindowCommand, kOpenInTurnPosition);
}

ControllerView ControllerCommands::modeButton()
{
    ControllerView view;
    if (m_state.commissioningMode) {
        (void)m_bus.SendCommand66();
        if (!IsZeroPositionController(m_state))
            return view;
        m_state.zeroPositionRun = !m_state.zeroPositionRun;
        if (m_state.zeroPositionRun) {
            // The refresh enables the button again once the drive has left its end stop.
            m_state.drivePosition = 0;
            view.setEnabled(kModeButton, false);
        }
        return view;
    }
    if (!m_host.messages().confirm(LanguageText(146), UserMessages::Buttons::YesNo))
        return view;
    (void)m_bus.WriteEepromByte(kCommissioningRequestByte, kCommissioningRequest);
    m_clock.sleepMs(Protocol::kBeforeCommand33Ms);
    view.setEnabled(kModeButton, false);
    view.setText(kModeButton, LanguageText(158));
    (void)m_bus.SendCommand33();
    m_clock.sleepMs(Protocol::kAfterCommand33Ms);
    return view;
}

RefreshResult ControllerCommands::startRollerTest()
{
    RefreshResult result = sendLockCommand(LockElement::LowerStrand, true);
    result.view.setText(kRollerTestLabel, cycleLabel(0));
    // A start while the test runs neither restarts its period nor its cycle count.
    if (!m_host.rollerTimerActive())
        m_host.startRollerTimer();
    return result;
}

RefreshResult ControllerCommands::stopRollerTest()
{
    if (m_host.rollerTimerActive())
        m_state.rollerTestStopRequest = true;
    RefreshResult result;
    result.view.setText(kRollerTestLabel, LanguageText(440));
    return result;
}

RefreshResult ControllerCommands::rollerTestTick()
{
    int& step = m_state.rollerTestStep;
    int& cycle = m_state.rollerTestCycle;
    // The start button sent the first step of the first cycle.
    if (cycle == 0 && step == 0)
        step = 1;
    const QString label = m_state.rollerTestStopRequest ? LanguageText(440) : cycleLabel(cycle);
    const RollerStep sent = kRollerSteps[step];
    step = (step + 1) % kRollerTestSteps;
    if (step == 0)
        cycle = m_state.rollerTestStopRequest ? kRollerTestCycles : cycle + 1;
    RefreshResult result = sendLockCommand(sent.strand, sent.locked);
    result.view.setText(kRollerTestLabel, label);
    if (cycle == kRollerTestCycles) {
        endRollerTest();
        result.view.setText(kRollerTestLabel, QStringLiteral("10x %1").arg(LanguageText(439)));
    }
    return result;
}

void ControllerCommands::endRollerTest()
{
    m_state.rollerTestStep = 0;
    m_state.rollerTestCycle = 0;
    m_state.rollerTestStopRequest = false;
    m_host.stopRollerTimer();
}

#include "SettingEdits.h"

#include "SettingBytes.h"
#include "buslink/Protocol.h"
#include "buslink/Veltradt.h"
#include "platform/Clock.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kSafetyEdgeToggle = 0x1122;
constexpr int kAutomaticLockingParameter = 28;
constexpr int kWindowKindParameter = 1;
constexpr int kHandleLedParameter = 20;
constexpr int kLongChainBits = 0xC0;
constexpr int kHighestPwmLevel = 8;
constexpr int kPwmLevelOutOfRange = 7; // what a stored level above 8 is shown as after "No"
constexpr int kSealPressure = 0x32;
constexpr int kTurnTiltWindow = 1;
constexpr int kTurnTiltWithTurnLock = 2;
// The controller stores the written byte before the checksum bytes are read again.
constexpr uint32_t kChecksumDelayMs = 40;

constexpr std::array<int, 28> kScaleType5And6{92,  133, 174, 215,  256,  297,  338,  379, 420, 461,
                                              502, 543, 584, 626,  667,  708,  749,  790, 831, 872,
                                              913, 954, 995, 1036, 1077, 1118, 1159, 1200};

} // namespace

QList<int> PositionBarScale(int controllerType, int softwareVersion)
{
    QList<int> scale;
    if (softwareVersion >= 0x0700) {
        scale = {30, 50, 70, 90, 110, 130, 150, 170, 190, 210, 230, 250};
        for (int width = 300; width <= 1200; width += 50)
            scale << width;
    } else if (controllerType == 5 || controllerType == 6) {
        scale = QList<int>(kScaleType5And6.begin(), kScaleType5And6.end());
    } else {
        for (int width = 50; width <= 590; width += 20)
            scale << width;
    }
    return scale;
}

int PositionBarMaximum(int controllerType, int softwareVersion, int position)
{
    const QList<int> scale = PositionBarScale(controllerType, softwareVersion);
    return scale[std::clamp(position, 0, int(scale.size()) - 1)] - 10;
}

ServiceSetting ServiceSettingOf(const ControllerState& state)
{
    if (state.softwareVersion >= 0x0403 && state.softwareVersion <= 0x0405)
        return ServiceSetting::LongChain;
    if ((state.controllerType == 3 || state.controllerType == 4) && state.softwareVersion >= 0x0701)
        return ServiceSetting::SealPressure;
    return ServiceSetting::None;
}

QString ServiceButtonCaption(ServiceSetting setting)
{
    switch (setting) {
    case ServiceSetting::LongChain:
        return LanguageText(373);
    case ServiceSetting::SealPressure:
        return LanguageText(441);
    case ServiceSetting::None:
        break;
    }
    return {};
}

SettingEdits::SettingEdits(TFensterSteuerung& bus, ControllerState& state,
                           ControllerActionHost& host, Clock& clock)
    : m_bus(bus), m_state(state), m_host(host), m_clock(clock)
{}

std::optional<int> SettingEdits::readEeprom(int memoryAddress)
{
    int value = 0;
    if (m_bus.ReadEepromByte(memoryAddress, value) != 0)
        return std::nullopt;
    return value;
}

void SettingEdits::toggleSafetyEdge()
{
    int mode = Protocol::WindowCommand, memoryAddress = 0, data = kSafetyEdgeToggle;
    (void)m_bus.SendToWindow(mode, memoryAddress, data);
}

void SettingEdits::toggleAutomaticLocking()
{
    int current = 0;
    if (m_bus.GetParameterValue(kAutomaticLockingParameter, current) != TFensterSteuerung::ParOk) {
        m_host.messages().error(LanguageText(283));
        return;
    }
    m_host.stopRefreshTimer();
    m_bus.PausePolling();
    TStrgItem item;
    m_bus.GetParameterInfo(kAutomaticLockingParameter, item);
    m_bus.EnableEepromWrite();
    if (m_bus.WriteEepromByte(item.memoryAddress, current != 0 ? 0 : 1) != 0) {
        m_host.messages().error(LanguageText(329));
    } else {
        m_clock.sleepMs(kChecksumDelayMs);
        if (m_bus.UpdatePage0Checksum() != 0)
            m_host.messages().error(LanguageText(284));
    }
    m_bus.ResumePolling();
    m_host.startRefreshTimer();
}

OpeningWidthChange SettingEdits::changeOpeningWidth(int position)
{
    const bool heavy =
        (m_state.controllerType == 8 || m_state.controllerType == 9) && m_state.heavyWindow;
    const QString question = (heavy ? LanguageText(434) : QString()) + LanguageText(324);
    if (m_host.messages().confirm(question, UserMessages::Buttons::YesNo)) {
        (void)m_bus.WriteEepromByte(SettingByte::OpeningWidth, position + 1);
        m_state.positionBarMaximum =
            PositionBarMaximum(m_state.controllerType, m_state.softwareVersion, position);
        return {.selection = std::nullopt, .barMaximum = m_state.positionBarMaximum};
    }
    const std::optional<int> stored = readEeprom(SettingByte::OpeningWidth);
    if (stored && *stored - 1 != position)
        return {.selection = *stored - 1, .barMaximum = std::nullopt};
    return {};
}

std::optional<int> SettingEdits::changePwmLevel(PwmDirection direction, int position)
{
    const bool opening = direction == PwmDirection::Opening;
    const int memoryAddress = opening ? SettingByte::PwmOpening : SettingByte::PwmClosing;
    if (m_host.messages().confirm(LanguageText(opening ? 145 : 303),
                                  UserMessages::Buttons::YesNo)) {
        (void)m_bus.WriteEepromByte(memoryAddress, position);
        return std::nullopt;
    }
    std::optional<int> stored = readEeprom(memoryAddress);
    if (!stored)
        return std::nullopt;
    const int level = *stored > kHighestPwmLevel ? kPwmLevelOutOfRange : *stored;
    return level != position ? std::optional<int>(level) : std::nullopt;
}

void SettingEdits::changeWindowType(int index)
{
    m_state.windowTypeItem = index;
    std::optional<int> stored = readEeprom(SettingByte::WindowType);
    if (!stored)
        return;
    const int storedType = *stored > 4 ? 0 : *stored;
    if (storedType - 1 == index)
        return;
    m_state.windowType = index + 1;
    (void)m_bus.WriteEepromByte(SettingByte::WindowType, index + 1);
}

std::optional<QString> SettingEdits::switchTurnTiltVariant()
{
    int kind = 0;
    if (m_bus.GetParameterValue(kWindowKindParameter, kind) != TFensterSteuerung::ParOk)
        return std::nullopt;
    const bool toTurnLock = kind == kTurnTiltWindow;
    if (!m_host.messages().confirm(LanguageText(toTurnLock ? 304 : 147),
                                   UserMessages::Buttons::YesNo))
        return std::nullopt;
    (void)m_bus.WriteEepromByte(IdentityByte::ControllerType,
                                toTurnLock ? kTurnTiltWithTurnLock : kTurnTiltWindow);
    m_clock.sleepMs(Protocol::kBeforeCommand33Ms);
    (void)m_bus.SendCommand33();
    m_clock.sleepMs(Protocol::kAfterCommand33Ms);
    return LanguageText(toTurnLock ? 42 : 45);
}

std::optional<int> SettingEdits::handleLedState()
{
    int state = 0;
    if (m_bus.GetParameterValue(kHandleLedParameter, state) != TFensterSteuerung::ParOk)
        return std::nullopt;
    return state;
}

void SettingEdits::writeHandleLed(int position)
{
    if (position >= 0 && position <= 2)
        (void)m_bus.WriteEepromByte(SettingByte::HandleLed, position);
}

void SettingEdits::changeServiceSetting()
{
    const ServiceSetting setting = ServiceSettingOf(m_state);
    if (setting == ServiceSetting::None)
        return;
    const bool longChain = setting == ServiceSetting::LongChain;
    if (!m_host.messages().confirm(LanguageText(longChain ? 432 : 443),
                                   UserMessages::Buttons::YesNo))
        return;
    if (!longChain) {
        (void)m_bus.WriteEepromByte(SettingByte::SealPressure, kSealPressure);
        return;
    }
    // Nothing is written when the byte could not be read: its other bits are not known.
    const std::optional<int> stored = readEeprom(SettingByte::LongChain);
    if (stored && (*stored & kLongChainBits) != kLongChainBits)
        (void)m_bus.WriteEepromByte(SettingByte::LongChain, *stored | kLongChainBits);
}
